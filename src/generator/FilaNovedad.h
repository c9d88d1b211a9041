#pragma once

#include "schema/TablaLote.h"

#include <QString>
#include <QStringList>
#include <array>
#include <optional>
#include <string_view>

class GrillaLote;

// One price-change row: the eighteen texts of a grid row, in column order.
// What each column is (its header, whether the point-of-sale record carries
// it, where the batch table keeps it) is said once, in kColumnasGrilla below.
// The point-of-sale record is the concatenation of its columns' cells, so
// every such cell's width and form is part of the file layout.
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

// One grid column.
struct ColumnaGrilla {
    FilaNovedad::Columna columna;
    // Its text in the header row.
    std::u16string_view encabezado;
    // Part of the point-of-sale record (CAMBIOS.TXT), in column order.
    bool enRegistro;
    // The MV_TARVELO column that keeps the cell; none for the row's source
    // and its mark, which only the grid holds.
    std::optional<TablaLote::Grabada> grabada;
};

// Every grid column, in column order: the header row, the point-of-sale
// record, the batch table's row and the reload of a stored batch are all
// taken from here.
inline constexpr std::array<ColumnaGrilla, FilaNovedad::Columnas> kColumnasGrilla = {{
    {FilaNovedad::TipoMov, u"TipoMov", true, TablaLote::TipoMov},
    {FilaNovedad::CodInterno, u"CodInterno", true, TablaLote::CodInterno},
    {FilaNovedad::Descripcion, u"Descripción", true, TablaLote::Descripcion},
    {FilaNovedad::Marca, u"Marca", true, TablaLote::Marca},
    {FilaNovedad::PrecioVenta, u"PrecioVenta", true, TablaLote::PrecioVenta},
    {FilaNovedad::Precio, u"Precio", true, TablaLote::Precio},
    {FilaNovedad::Internos, u"Internos", true, TablaLote::Internos},
    {FilaNovedad::PrecioCosto, u"PrecioCosto", true, TablaLote::PrecioCosto},
    {FilaNovedad::CondIva, u"CondIva", true, TablaLote::CondIva},
    {FilaNovedad::TipoIva, u"TipoIva", true, TablaLote::TipoIva},
    {FilaNovedad::Fijo, u"Fijo", true, TablaLote::Fijo},
    {FilaNovedad::CodBarra, u"CodBarra", true, TablaLote::CodBarra},
    {FilaNovedad::Tipo, u"Tipo", true, TablaLote::Tipo},
    {FilaNovedad::Rubro, u"Rubro", true, TablaLote::Rubro},
    {FilaNovedad::Aux1, u"Aux1", true, TablaLote::Aux1},
    {FilaNovedad::Aux2, u"Aux2", true, TablaLote::Aux2},
    {FilaNovedad::Id, u"Id", false, std::nullopt},
    {FilaNovedad::NoMarcar, u"NoMarcar", false, std::nullopt},
}};

namespace ColumnasGrilla {

// The grid column a written batch-table column takes its value from; -1 for
// the columns the batch's header fills (IdLista, Nombre, Fecha, RutaArchivo,
// Usuario).
constexpr int DeTabla(TablaLote::Grabada t) {
    for (const ColumnaGrilla& c : kColumnasGrilla) {
        if (c.grabada == t) {
            return c.columna;
        }
    }
    return -1;
}

constexpr int CantidadEnRegistro() {
    int n = 0;
    for (const ColumnaGrilla& c : kColumnasGrilla) {
        n += c.enRegistro ? 1 : 0;
    }
    return n;
}

// The point-of-sale record's columns, in order.
inline constexpr std::array<int, CantidadEnRegistro()> kRegistro = [] {
    std::array<int, CantidadEnRegistro()> r{};
    size_t i = 0;
    for (const ColumnaGrilla& c : kColumnasGrilla) {
        if (c.enRegistro) {
            r[i++] = c.columna;
        }
    }
    return r;
}();

namespace detalle {
constexpr bool enOrden() {
    for (size_t i = 0; i < kColumnasGrilla.size(); ++i) {
        if (kColumnasGrilla[i].columna != int(i)) {
            return false;
        }
    }
    return true;
}

// Each batch-table column is filled once: the cells of a row from exactly
// one grid column each, the header's columns from none.
constexpr bool cadaColumnaUnaVez() {
    for (const TablaLote::ColumnaGrabada& t : TablaLote::kGrabadas) {
        int veces = 0;
        for (const ColumnaGrilla& c : kColumnasGrilla) {
            veces += c.grabada == t.columna ? 1 : 0;
        }
        const bool deCabecera = t.columna == TablaLote::IdLista || t.columna == TablaLote::Nombre ||
                                t.columna == TablaLote::Fecha ||
                                t.columna == TablaLote::RutaArchivo ||
                                t.columna == TablaLote::Usuario;
        if (veces != (deCabecera ? 0 : 1)) {
            return false;
        }
    }
    return true;
}

constexpr char16_t llana(char16_t c) {
    switch (c) {
    case u'á':
    case u'Á':
        return u'a';
    case u'é':
    case u'É':
        return u'e';
    case u'í':
    case u'Í':
        return u'i';
    case u'ó':
    case u'Ó':
        return u'o';
    case u'ú':
    case u'Ú':
        return u'u';
    case u'ñ':
    case u'Ñ':
        return u'n';
    default:
        return c >= u'A' && c <= u'Z' ? char16_t(c - u'A' + u'a') : c;
    }
}

// A stored cell keeps its header's name, without accents and in any case:
// a table that sent the Tipo cell to the Rubro column does not compile.
constexpr bool mismosNombres() {
    for (const ColumnaGrilla& c : kColumnasGrilla) {
        if (!c.grabada) {
            continue;
        }
        const std::string_view nombre = TablaLote::kGrabadas[size_t(*c.grabada)].nombre;
        if (nombre.size() != c.encabezado.size()) {
            return false;
        }
        for (size_t i = 0; i < nombre.size(); ++i) {
            if (llana(c.encabezado[i]) != llana(char16_t(nombre[i]))) {
                return false;
            }
        }
    }
    return true;
}
} // namespace detalle

static_assert(detalle::enOrden(), "kColumnasGrilla lists the columns in the order of Columna");
static_assert(detalle::cadaColumnaUnaVez(),
              "every cell column of MV_TARVELO is kept from exactly one grid column");
static_assert(detalle::mismosNombres(),
              "a grid column is kept in the MV_TARVELO column of its own name");

} // namespace ColumnasGrilla
