#pragma once

#include "reports/DestinoPdf.h"
#include "reports/ServicioReportes.h"

// A report printer that answers every print with a PDF file: what the
// unattended commands install so that a witness they are asked for is saved
// instead of printed. Install it with QlReport::fijaImpresora(&impresora).
class ImpresoraPdf : public QlReport::Impresora {
public:
    explicit ImpresoraPdf(const QString& archivo) : destino_(archivo), servicio_(destino_) {}
    void Imprime(const QString& carpeta, const QString& reporte, const QStringList& parametros,
                 const QString& formulaSeleccion, const QString& conexion,
                 const QStringList& formulas) override {
        servicio_.Imprime(carpeta, reporte, parametros, formulaSeleccion, conexion, formulas);
        ++impresiones_;
    }
    // Reports written so far, and the pages of the last one.
    int impresiones() const { return impresiones_; }
    int paginas() const { return destino_.paginas(); }

private:
    DestinoPdf destino_;
    ServicioReportes servicio_;
    int impresiones_ = 0;
};
