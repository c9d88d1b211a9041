#include "utility_library/QlDialogos.h"

#include "utility_library/Operador.h"
#include "utility_library/Regional.h"

#include <QDate>

QString QlUtil::EligeFecha() {
    const QDate d = operador().EligeFecha();
    return d.isValid() ? Regional::fechaCorta(d) : QString();
}

int QlUtil::ReportaError(const ErrorKX& e) {
    const QString texto = QStringLiteral("Error ") + QString::number(e.numero) +
                          QStringLiteral("\r\n") + e.descripcion.trimmed();
    QString titulo = e.fuente.trimmed();
    if (titulo.isEmpty()) {
        titulo = QStringLiteral("Aviso al Operador");
    }
    return operador().MsgBox(texto, Operador::AbortarReintentarIgnorar | Operador::IconoCritico,
                             titulo);
}
