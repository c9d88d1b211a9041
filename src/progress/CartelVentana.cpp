#include "progress/CartelVentana.h"

#include "progress/Lbf_CtrlDisplay.h"

#include <QCoreApplication>
#include <QGuiApplication>

CartelVentana::~CartelVentana() {
    delete ventana_;
}

Lbf_CtrlDisplay* CartelVentana::carga() {
    if (!ventana_) {
        ventana_ = new Lbf_CtrlDisplay;
    }
    return ventana_;
}

void CartelVentana::CartelInicio(const QString& Titulo, bool PermiteCancelar) {
    Lbf_CtrlDisplay* v = carga();
    v->fijaTitulo(Titulo);
    v->muestraCancelar(PermiteCancelar);
    v->show();
    if (QGuiApplication::platformName() != QLatin1String("offscreen")) {
        v->raise();
    }
}

void CartelVentana::CartelMostrar(bool& Cancelado, const std::optional<QString>& L1,
                                  const std::optional<QString>& L2,
                                  const std::optional<QString>& L3) {
    // On a closed banner the window is loaded but not shown.
    Lbf_CtrlDisplay* v = carga();
    const std::optional<QString>* lineas[3] = {&L1, &L2, &L3};
    for (int i = 0; i < 3; ++i) {
        if (*lineas[i]) {
            v->fijaLinea(i, **lineas[i]);
        }
    }
    v->repaint();
    Cancelado = v->abortado();
    QCoreApplication::processEvents();
}

void CartelVentana::CartelCerrar() {
    if (ventana_) {
        ventana_->hide();
        delete ventana_;
    }
}

void CartelVentana::Siempre_Visible(bool siempre) {
    carga()->fijaSiempreVisible(siempre);
}
