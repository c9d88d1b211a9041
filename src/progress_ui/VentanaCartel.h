#pragma once

#include <QImage>
#include <QList>
#include <QWidget>

class QLabel;
class QPushButton;
class QTimer;

// The banner window: a small topmost, semi-transparent window with the title,
// three progress lines, the animation and the "&Cancelar" button. The button's
// caption doubles as the cancel flag: a click turns it into "Abortado".
class VentanaCartel : public QWidget {
    Q_OBJECT
public:
    explicit VentanaCartel(QWidget* parent = nullptr);

    static constexpr double Opacidad = 200.0 / 255.0;

    void fijaTitulo(const QString& titulo);
    void fijaLinea(int indice, const QString& texto);
    QString linea(int indice) const;
    void muestraCancelar(bool mostrar);
    bool cancelarVisible() const;
    // True once the operator pressed "&Cancelar".
    bool abortado() const;
    QPushButton* CmdDisplayCancelar() const { return cancelar_; }
    // Number of the frame shown last (1 to 12).
    int cuadroMostrado() const { return cuadroMostrado_; }
    // One tick of the animation clock (every 100 ms while the window lives).
    void avanzaAnimacion();
    void fijaSiempreVisible(bool siempre);

private:
    void muestraCuadro(int numero);

    QLabel* titulo_;
    QLabel* LblCtrol_[3];
    QLabel* Image1_;
    QPushButton* cancelar_;
    QTimer* Timer1_;
    QList<QImage> ImageList1_;
    int contador_ = 0;
    int cuadroMostrado_ = 0;
};
