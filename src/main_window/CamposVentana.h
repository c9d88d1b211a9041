#pragma once

#include <QColor>
#include <QList>
#include <QObject>
#include <QString>
#include <functional>

class QLineEdit;

// The window's input fields and the keyboard and focus services they share:
// each field bound to its data field name, its lookup kind, its longest text
// and its place in the tab order; the focus colour; the typed-character
// filter; Enter accepting a field and moving on.
class CamposVentana : public QObject {
    Q_OBJECT
public:
    struct Definicion {
        const char* campo;    // data field name
        const char* consulta; // lookup kind; empty: none
        int largo;            // longest text; 0: no limit
        int orden;            // tab order
    };
    // The six fields of the main window, by index.
    static const QList<Definicion>& Definiciones();

    explicit CamposVentana(QObject* padre = nullptr);

    // Binds the fields (in the order of Definiciones()) and watches their events.
    void Inicializa(const QList<QLineEdit*>& campos);

    QLineEdit* campo(int indice) const { return campos_.value(indice); }
    int cantidad() const { return int(campos_.size()); }
    int IndiceCampo(const QString& nombre) const;
    QString Consulta(int indice) const;

    // The field that last had the focus (-1: none yet).
    int indiceActual() const { return actual_; }
    void fijaActual(int indice) { actual_ = indice; }

    // Colour of the focused field; a colour number 0x00BBGGRR, 0 giving cyan.
    void fijaColorFoco(quint32 bgr);
    QColor colorFoco() const { return colorFoco_; }
    static QColor ColorDeBgr(quint32 bgr);

    // True when the key code ends a field's entry.
    static bool TeclaAcepta(int tecla);
    // The typed character after the field's filter; a null QChar drops it.
    QChar FiltraTecla(int indice, QChar c) const;
    // Moves the focus on from the field: forwards, or backwards with Shift.
    void MueveFoco(int indice, bool atras);

    // The window's handler of an accepting key in a field: returns true when
    // the field was accepted (the focus then moves on).
    std::function<bool(int indice)> alAceptar;
    // The window's handler of Tab or Shift+Tab in a field: returns true when
    // the focus may leave it.
    std::function<bool(int indice)> alSalir;
    // Told when a field gains the focus (with its index).
    std::function<void(int indice)> alEnfocar;

    // The key-down behaviour of a field, also run for a simulated Enter.
    void TeclaEnCampo(int indice, int tecla, bool mayuscula);

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    void pinta(QLineEdit* e, const QColor& c);

    QList<QLineEdit*> campos_;
    int actual_ = -1;
    QColor colorFoco_ = QColor(0, 255, 255);
};
