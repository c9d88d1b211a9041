#include "progress_ui/CartelEnPantalla.h"

#include "progress_ui/VentanaCartel.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QPushButton>

CartelEnPantalla::~CartelEnPantalla() {
    delete ventana_;
}

VentanaCartel* CartelEnPantalla::carga() {
    if (!ventana_) {
        ventana_ = new VentanaCartel;
    }
    return ventana_;
}

void CartelEnPantalla::CartelInicio(const QString& Titulo, bool PermiteCancelar) {
    VentanaCartel* v = carga();
    v->fijaTitulo(Titulo);
    v->muestraCancelar(PermiteCancelar);
    v->show();
    if (QGuiApplication::platformName() != QLatin1String("offscreen")) {
        v->raise();
    }
}

void CartelEnPantalla::CartelMostrar(bool& Cancelado, const std::optional<QString>& L1,
                                     const std::optional<QString>& L2,
                                     const std::optional<QString>& L3) {
    // On a closed banner the window is loaded but not shown.
    VentanaCartel* v = carga();
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

void CartelEnPantalla::CartelCerrar() {
    if (ventana_) {
        ventana_->hide();
        delete ventana_;
    }
}

bool CartelEnPantalla::PideCancelar() {
    // The banner never takes the keyboard from the window: the window hands
    // it Esc, which presses its cancel button when one is shown.
    if (!ventana_ || !ventana_->isVisible() || !ventana_->cancelarVisible()) {
        return false;
    }
    ventana_->CmdDisplayCancelar()->click();
    return true;
}

void CartelEnPantalla::Siempre_Visible(bool siempre) {
    carga()->fijaSiempreVisible(siempre);
}
