#include "cli/OperadorLote.h"

int OperadorLote::MsgBox(const QString& texto, int estilo, const QString& titulo) {
    QString limpio = texto;
    limpio.replace(QLatin1String("\r\n"), QLatin1String(" ")).replace(QLatin1Char('\n'), ' ');
    err_ << titulo.trimmed() << ": " << limpio.trimmed() << Qt::endl;
    const int botones = estilo & 7;
    if (botones == AbortarReintentarIgnorar || botones == ReintentarCancelar) {
        huboFallo_ = true;
    }
    return RespuestaSegura(estilo);
}

int OperadorLote::Pregunta(Operador::IdPregunta cual, const QString& texto, int estilo,
                           const QString& titulo) {
    if (cual == IdPregunta::Alertas) {
        return aceptaAlertas_ ? Si : No;
    }
    const int segura = MsgBox(texto, estilo, titulo);
    // The suite writes such records too: without --estricto the run goes on,
    // the findings already on the error stream.
    if (cual == IdPregunta::FueraDeFormato) {
        return estricto_ ? No : Si;
    }
    if ((cual == IdPregunta::Regenerar && aceptaRegenerar_) ||
        (cual == IdPregunta::Testigo && aceptaTestigo_) ||
        (cual == IdPregunta::CodigoUsado && aceptaOtroCodigo_)) {
        return Si;
    }
    return segura;
}

bool OperadorLote::InputBox(const QString& texto, const QString& titulo, QString&) {
    MsgBox(texto, SoloAceptar, titulo);
    return false;
}
