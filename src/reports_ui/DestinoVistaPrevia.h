#pragma once

#include "reports/ReportePreparado.h"

class QWidget;

// Shows a prepared report in the print preview dialog (print, page set-up,
// and "Guardar como PDF" with the definition's page layout). Modal; returns
// when the operator closes it.
class DestinoVistaPrevia : public DestinoReporte {
public:
    explicit DestinoVistaPrevia(QWidget* padre) : padre_(padre) {}
    void imprime(const ReportePreparado& reporte) override;

private:
    QWidget* padre_;
};
