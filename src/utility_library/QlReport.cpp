#include "utility_library/QlReport.h"

#include "utility_library/ErrorKX.h"

namespace {
QString gRuta;
QlReport::Impresora* gImpresora = nullptr;
} // namespace

void QlReport::RutaReportes(const QString& carpeta) { gRuta = carpeta; }

QString QlReport::Ruta() { return gRuta; }

void QlReport::Imprime(const QString& reporte, const QStringList& parametros,
                       const QString& formulaSeleccion, const QString& conexion,
                       const QStringList& formulas) {
    if (!gImpresora) {
        throw FalloKX(20545, QStringLiteral("No hay impresora de reportes disponible"),
                      QStringLiteral("QlReport"));
    }
    gImpresora->Imprime(gRuta, reporte, parametros, formulaSeleccion, conexion, formulas);
}

void QlReport::fijaImpresora(Impresora* i) { gImpresora = i; }
