#pragma once

#include "connection_dialog/ModeloAcceso.h"

#include <QDialog>

class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;

// "Control de Acceso": asks for the connection data the command line lacks
// and keeps the registered connections. All decisions are ModeloAcceso's.
class VentanaConexion : public QDialog {
    Q_OBJECT
public:
    explicit VentanaConexion(QWidget* padre = nullptr);

    // Runs the window's load (list, first entry, hints).
    void Carga();
    bool Aceptar() const { return modelo_.aceptar; }
    ModeloAcceso& modelo() { return modelo_; }
    // Pushes the model's values into the controls.
    void muestra();

    QLineEdit* TxtServidor;
    QLineEdit* TxtDbName;
    QLineEdit* TxtUserId;
    QLineEdit* TxtUserPassword;
    QLineEdit* TxtPuerto;
    QComboBox* CboPlataformaDB;
    QListWidget* lstBases;
    QPushButton* bcAceptar;
    QPushButton* bcCancelar;
    QPushButton* CmdRegistrar;
    QPushButton* CmdLineaComando;

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    void lee();
    void cambioTexto(ModeloAcceso::Caja c);
    void pintaPista(ModeloAcceso::Caja c, QLineEdit* caja);
    QLineEdit* caja(ModeloAcceso::Caja c) const;
    void seleccionLista(int fila);

    ModeloAcceso modelo_;
    bool mostrando_ = false;
};
