#pragma once

#include <QString>
#include <QStringList>

// The report printer. Reports are looked up by name in the report folder;
// the printing itself is provided by whoever installs an implementation.
class QlReport {
public:
    struct Impresora {
        virtual ~Impresora() = default;
        virtual void Imprime(const QString& carpeta, const QString& reporte,
                             const QStringList& parametros, const QString& formulaSeleccion,
                             const QString& conexion, const QStringList& formulas) = 0;
    };

    static void RutaReportes(const QString& carpeta);
    static QString Ruta();
    static void Imprime(const QString& reporte, const QStringList& parametros,
                        const QString& formulaSeleccion, const QString& conexion,
                        const QStringList& formulas);
    // Does not take ownership.
    static void fijaImpresora(Impresora* i);
};
