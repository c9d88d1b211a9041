#pragma once

class Lienzo;
struct DatosReporte;
struct DefinicionReporte;

// A list report: header, column headings and footer on every page, one line
// per row, the totals after the last row.
class PintorListado {
public:
    PintorListado(const DefinicionReporte& d, const DatosReporte& datos) : d_(d), datos_(datos) {}
    // Pages the rows take on a printable area of this height (mm). Throws
    // FalloKX when not even one row fits.
    int paginas(double altoArea) const;
    int filasPorPagina(double altoArea) const;
    void dibuja(Lienzo& l) const;

private:
    const DefinicionReporte& d_;
    const DatosReporte& datos_;
};
