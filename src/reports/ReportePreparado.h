#pragma once

#include "reports/DatosReporte.h"
#include "reports/DefinicionReporte.h"

#include <QSizeF>

class QPagedPaintDevice;
class QPaintDevice;
class Trazador;

// A report ready to draw: its definition and its rows, read once and drawn
// as often as a preview asks.
class ReportePreparado {
public:
    ReportePreparado(QString nombre, DefinicionReporte definicion, DatosReporte datos)
        : nombre_(std::move(nombre)), definicion_(std::move(definicion)), datos_(std::move(datos)) {
    }

    const QString& nombre() const { return nombre_; }
    const DefinicionReporte& definicion() const { return definicion_; }
    const DatosReporte& datos() const { return datos_; }
    // "RP_Tarvelo - lote 12": the document's title.
    QString titulo() const;

    // Draws every page with the device's current page layout; returns the
    // number of pages. Throws FalloKX.
    int dibuja(QPagedPaintDevice& dispositivo) const;
    // Draws every page on `t`, fonts measured for `medidas`, in a printable
    // area of `areaMm`.
    int dibuja(Trazador& t, const QPaintDevice& medidas, const QSizeF& areaMm) const;

private:
    QString nombre_;
    DefinicionReporte definicion_;
    DatosReporte datos_;
};

// Where a prepared report goes: a PDF file, a preview, a printer.
class DestinoReporte {
public:
    virtual ~DestinoReporte() = default;
    // Throws FalloKX when the report cannot be put out.
    virtual void imprime(const ReportePreparado& reporte) = 0;
};
