#include "generator_sql/TestigoQlReport.h"

#include "generator/EstadoVentana.h"
#include "runtime/ModGlobal.h"
#include "utility_library/QlReport.h"

void TestigoQlReport::ImprimeTestigo(bool etiquetas) {
    const QString reporte = etiquetas ? QStringLiteral("MA_PRE3") : QStringLiteral("RP_Tarvelo");
    // A missing key reads as a single blank: the formula then holds an empty name.
    const QString empresa =
        QStringLiteral("Empresa = '") + ModGlobal::Cfg(QStringLiteral("NOMBRE")).trimmed() + "'";
    const QString seleccion =
        QStringLiteral("{mv_tarvelo.codigo} =") + ventana_.campo(QStringLiteral("Codigo"));
    QlReport::Imprime(reporte, QStringList{QString()}, seleccion, ModGlobal::gDsnReportes,
                      QStringList{empresa, QString(), QString(), QString(), QString(), QString(),
                                  QString(), QString()});
}
