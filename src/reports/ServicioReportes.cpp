#include "reports/ServicioReportes.h"

#include "db/DB_Dll.h"
#include "reports/ErroresReporte.h"
#include "reports/FormulasReporte.h"
#include "reports/LectorLote.h"
#include "utility_library/ErrorKX.h"

#include <QDir>
#include <QRegularExpression>

ServicioReportes::ServicioReportes(DestinoReporte& destino)
    : destino_(destino), db_(&DB_Dll::instancia()) {}

ServicioReportes::ServicioReportes(DestinoReporte& destino, DB_Dll& db)
    : destino_(destino), db_(&db) {}

QString ServicioReportes::ArchivoDefinicion(const QString& carpeta, const QString& reporte) {
    static const QRegularExpression nombre(QStringLiteral(R"(^[A-Za-z0-9_][A-Za-z0-9_.\- ]*$)"));
    const QString r = reporte.trimmed();
    if (!nombre.match(r).hasMatch() || r.contains(QLatin1String(".."))) {
        throw FalloKX(ErroresReporte::kDefinicionFaltante,
                      QStringLiteral("Nombre de reporte no válido: \"%1\"").arg(reporte),
                      QStringLiteral("QlReport"));
    }
    const QDir dir(QDir(carpeta).filePath(QStringLiteral("reports")));
    const QString buscado = r + QStringLiteral(".txt");
    if (dir.exists(buscado)) {
        return dir.filePath(buscado);
    }
    // Report names are compared without regard to case, as on the suite's
    // own system.
    const QStringList archivos = dir.entryList(QDir::Files);
    for (const QString& a : archivos) {
        if (a.compare(buscado, Qt::CaseInsensitive) == 0) {
            return dir.filePath(a);
        }
    }
    return dir.filePath(buscado);
}

ReportePreparado ServicioReportes::prepara(const QString& carpeta, const QString& reporte,
                                           const QString& formulaSeleccion,
                                           const QStringList& formulas) {
    DefinicionReporte d = DefinicionReporte::lee(ArchivoDefinicion(carpeta, reporte));
    const SeleccionReporte s = FormulasReporte::leeSeleccion(formulaSeleccion);
    const QHash<QString, QString> f = FormulasReporte::leeFormulas(formulas);
    if (!db_->gCnn || !db_->gCnn->abierta()) {
        throw FalloKX(
            ErroresReporte::kSinConexion,
            QStringLiteral("No hay conexión con la base de datos para el reporte %1.").arg(reporte),
            QStringLiteral("QlReport"));
    }
    DatosReporte datos = LectorLote::lee(*db_->gCnn, s, d, f);
    return ReportePreparado(reporte.trimmed(), std::move(d), std::move(datos));
}

void ServicioReportes::Imprime(const QString& carpeta, const QString& reporte,
                               const QStringList& /*parametros*/, const QString& formulaSeleccion,
                               const QString& /*conexion*/, const QStringList& formulas) {
    // The connection text is the report engine's own: the rows come through
    // the program's open connection instead.
    destino_.imprime(prepara(carpeta, reporte, formulaSeleccion, formulas));
}
