#pragma once

#include <QString>
#include <QStringList>
#include <array>

class GrillaLote;

// One price-change row: the eighteen texts of a grid row, in column order.
// The point-of-sale record is the concatenation of the sixteen visible ones,
// so every cell's width and form is part of the file layout.
struct FilaNovedad {
    enum Columna : int {
        TipoMov = 0,
        CodInterno,
        Descripcion,
        Marca,
        PrecioVenta,
        Precio,
        Internos,
        PrecioCosto,
        CondIva,
        TipoIva,
        Fijo,
        CodBarra,
        Tipo,
        Rubro,
        Aux1,
        Aux2,
        Id,
        NoMarcar,
        Columnas // 18
    };

    std::array<QString, Columnas> celdas;

    QString& operator[](int c) { return celdas[size_t(c)]; }
    const QString& operator[](int c) const { return celdas[size_t(c)]; }

    // Header texts of row 0, in column order.
    static const QStringList& Encabezados();

    // Fixed contents of the row model.
    static const QString kCeros9;   // Internos, Aux1
    static const QString kCeros6;   // Aux2
    static const QString kCondIva;  // "S"
    static const QString kFijo;     // "SS"
    static const QString kPesable;  // Tipo of a weighable article
    static const QString kSinRubro; // "99"
    static const QString kIva21;    // the rate that gives TipoIva "0"

    // The row as the grid holds it at `fila`.
    static FilaNovedad DeGrilla(const GrillaLote& grilla, int fila);
    // Writes the row into grid row `fila` (all eighteen cells).
    void EnGrilla(GrillaLote& grilla, int fila) const;
    // True when no visible cell holds anything but blanks: a row where nothing
    // was loaded.
    static bool EnBlanco(const GrillaLote& grilla, int fila);
};
