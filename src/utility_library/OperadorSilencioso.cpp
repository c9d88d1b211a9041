#include "OperadorSilencioso.h"

#include <cstdio>

int OperadorSilencioso::MsgBox(const QString& texto, int estilo, const QString& titulo) {
    QString limpio = texto;
    limpio.replace("\r\n", "\n").replace('\r', '\n');
    mensajes_ << titulo + ": " + limpio.trimmed();
    if (eco_) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(titulo.trimmed()),
                     qPrintable(limpio.trimmed()));
    }
    switch (estilo & 7) {
    case AceptarCancelar:
        return Cancelar;
    case AbortarReintentarIgnorar:
        huboFallo_ = true;
        return Abortar;
    case SiNoCancelar:
        return Cancelar;
    case SiNo:
        return No;
    case ReintentarCancelar:
        huboFallo_ = true;
        return Cancelar;
    default:
        if ((estilo & 0x70) == IconoCritico) {
            huboFallo_ = true;
        }
        return Aceptar;
    }
}

bool OperadorSilencioso::InputBox(const QString& texto, const QString& titulo, QString&) {
    MsgBox(texto, SoloAceptar, titulo);
    return false;
}
