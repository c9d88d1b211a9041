#pragma once

#include "reports/ReportePreparado.h"

#include <QString>

// Writes the report as a PDF file. The file is replaced only once the whole
// report is written: a failure leaves an earlier file as it was.
class DestinoPdf : public DestinoReporte {
public:
    explicit DestinoPdf(QString archivo) : archivo_(std::move(archivo)) {}
    void imprime(const ReportePreparado& reporte) override;
    int paginas() const { return paginas_; }
    // Writes `reporte` to `archivo` with the definition's page layout.
    static int escribe(const ReportePreparado& reporte, const QString& archivo);

private:
    QString archivo_;
    int paginas_ = 0;
};
