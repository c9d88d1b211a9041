#pragma once

#include "reports/ReportePreparado.h"
#include "utility_library/QlReport.h"

class DB_Dll;

// The printer behind QlReport::Imprime: finds the report's definition in the
// report folder, reads the batch rows the selection formula chooses through
// the program's connection and hands the prepared report to its destination.
// Every failure throws FalloKX to the caller's error handler; nothing is put
// out then.
class ServicioReportes : public QlReport::Impresora {
public:
    explicit ServicioReportes(DestinoReporte& destino);
    // Reads through `db` instead of the program-wide instance.
    ServicioReportes(DestinoReporte& destino, DB_Dll& db);

    void Imprime(const QString& carpeta, const QString& reporte, const QStringList& parametros,
                 const QString& formulaSeleccion, const QString& conexion,
                 const QStringList& formulas) override;

    // Everything Imprime does short of the destination.
    ReportePreparado prepara(const QString& carpeta, const QString& reporte,
                             const QString& formulaSeleccion, const QStringList& formulas);

    // The definition file of a report: "<carpeta>/reports/<reporte>.txt",
    // the name compared without regard to case. Throws FalloKX for a name
    // that is no plain file name.
    static QString ArchivoDefinicion(const QString& carpeta, const QString& reporte);

private:
    DestinoReporte& destino_;
    DB_Dll* db_;
};
