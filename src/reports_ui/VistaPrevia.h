#pragma once

#include "reports/ServicioReportes.h"
#include "reports_ui/DestinoVistaPrevia.h"

#include <QString>

class QWidget;

// The window's report printer: every QlReport::Imprime opens the print
// preview over `padre`. The window installs one for its lifetime:
//   QlReport::fijaImpresora(&impresoraVentana_);
class ImpresoraVistaPrevia : public QlReport::Impresora {
public:
    explicit ImpresoraVistaPrevia(QWidget* padre) : destino_(padre), servicio_(destino_) {}
    void Imprime(const QString& carpeta, const QString& reporte, const QStringList& parametros,
                 const QString& formulaSeleccion, const QString& conexion,
                 const QStringList& formulas) override {
        servicio_.Imprime(carpeta, reporte, parametros, formulaSeleccion, conexion, formulas);
    }

private:
    DestinoVistaPrevia destino_;
    ServicioReportes servicio_;
};

// Previews report `reporte` ("RP_Tarvelo" or "MA_PRE3") of batch `codigo`
// over `padre`, with the same formulas the window prints with. Throws
// FalloKX to the caller's error handler.
void MuestraVistaPrevia(const QString& reporte, const QString& codigo, QWidget* padre);
