#pragma once

#include <QSizeF>

class Lienzo;
struct DatosReporte;
struct DefinicionReporte;

// A labels report: one label per row, left to right and top to bottom, in
// the grid of the definition (fewer columns or rows when the page is smaller).
class PintorEtiquetas {
public:
    PintorEtiquetas(const DefinicionReporte& d, const DatosReporte& datos) : d_(d), datos_(datos) {}
    // Columns and rows that fit on a printable area (mm). Throws FalloKX when
    // not even one label fits.
    QSize grilla(const QSizeF& area) const;
    int paginas(const QSizeF& area) const;
    void dibuja(Lienzo& l) const;

private:
    const DefinicionReporte& d_;
    const DatosReporte& datos_;
};
