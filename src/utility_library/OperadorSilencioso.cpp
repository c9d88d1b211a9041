#include "utility_library/OperadorSilencioso.h"

#include <cstdio>

int OperadorSilencioso::MsgBox(const QString& texto, int estilo, const QString& titulo) {
    QString limpio = texto;
    limpio.replace("\r\n", "\n").replace('\r', '\n');
    mensajes_ << titulo + ": " + limpio.trimmed();
    if (eco_) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(titulo.trimmed()),
                     qPrintable(limpio.trimmed()));
    }
    const int botones = estilo & 7;
    if (botones == AbortarReintentarIgnorar || botones == ReintentarCancelar ||
        (botones == SoloAceptar && (estilo & 0x70) == IconoCritico)) {
        huboFallo_ = true;
    }
    return RespuestaSegura(estilo);
}

bool OperadorSilencioso::InputBox(const QString& texto, const QString& titulo, QString&) {
    MsgBox(texto, SoloAceptar, titulo);
    return false;
}
