#include "progress/CartelSilencioso.h"

CartelSilencioso::CartelSilencioso() : lineas_{QString(), QString(), QString()} {}

void CartelSilencioso::CartelInicio(const QString& Titulo, bool PermiteCancelar) {
    titulo_ = Titulo;
    permiteCancelar_ = PermiteCancelar;
    visible_ = true;
    llamadas_ = 0;
    ++aperturas_;
}

void CartelSilencioso::CartelMostrar(bool& Cancelado, const std::optional<QString>& L1,
                                     const std::optional<QString>& L2,
                                     const std::optional<QString>& L3) {
    if (L1) {
        lineas_[0] = *L1;
    }
    if (L2) {
        lineas_[1] = *L2;
    }
    if (L3) {
        lineas_[2] = *L3;
    }
    ++llamadas_;
    Cancelado = cancelado_;
    // The banner's own events run after the answer is taken, as in the window:
    // a press made now is reported by the next call.
    if (alMostrar_) {
        alMostrar_(llamadas_);
    }
}

void CartelSilencioso::CartelCerrar() {
    visible_ = false;
    permiteCancelar_ = false;
    cancelado_ = false;
    titulo_.clear();
    lineas_ = QStringList{QString(), QString(), QString()};
    ++cierres_;
}

void CartelSilencioso::pulsaCancelar() {
    if (visible_ && permiteCancelar_) {
        cancelado_ = true;
    }
}

bool CartelSilencioso::PideCancelar() {
    if (!visible_ || !permiteCancelar_) {
        return false;
    }
    pulsaCancelar();
    return true;
}
