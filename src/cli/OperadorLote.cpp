#include "cli/OperadorLote.h"

#include "generator/GeneradorLote.h"

int OperadorLote::MsgBox(const QString& texto, int estilo, const QString& titulo) {
    QString limpio = texto;
    limpio.replace(QLatin1String("\r\n"), QLatin1String(" ")).replace(QLatin1Char('\n'), ' ');
    err_ << titulo.trimmed() << ": " << limpio.trimmed() << Qt::endl;
    if (aceptaRegenerar_ && texto == GeneradorLote::kRegenerar) {
        return Si;
    }
    const int botones = estilo & 7;
    if (botones == AbortarReintentarIgnorar || botones == ReintentarCancelar) {
        huboFallo_ = true;
    }
    return RespuestaSegura(estilo);
}

bool OperadorLote::InputBox(const QString& texto, const QString& titulo, QString&) {
    MsgBox(texto, SoloAceptar, titulo);
    return false;
}
