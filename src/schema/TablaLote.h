#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <string_view>

// The batch table MV_TARVELO. Besides the columns a generation writes it has
// ID (assigned by the engine), Codigo and RETRANSMITIDO (stamped by a
// regeneration). Header-only: the batch core names its columns without
// linking the schema.
namespace TablaLote {

// The columns a generation writes after Codigo, in the table's order, which
// is the insert's: the batch's list and date, the cells of a grid row (the
// grid says which cell goes where: its order is not the table's), then the
// output path and the user.
enum Grabada : int {
    IdLista,
    Nombre,
    Fecha,
    TipoMov,
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
    Rubro,
    Tipo,
    Aux1,
    Aux2,
    RutaArchivo,
    Usuario,
    Grabadas // 21
};

struct ColumnaGrabada {
    Grabada columna;
    std::string_view nombre;
};

inline constexpr std::array<ColumnaGrabada, Grabadas> kGrabadas = {{
    {IdLista, "IdLista"},
    {Nombre, "Nombre"},
    {Fecha, "Fecha"},
    {TipoMov, "TipoMov"},
    {CodInterno, "CodInterno"},
    {Descripcion, "Descripcion"},
    {Marca, "Marca"},
    {PrecioVenta, "PrecioVenta"},
    {Precio, "Precio"},
    {Internos, "Internos"},
    {PrecioCosto, "PrecioCosto"},
    {CondIva, "CondIva"},
    {TipoIva, "TipoIva"},
    {Fijo, "Fijo"},
    {CodBarra, "CodBarra"},
    {Rubro, "Rubro"},
    {Tipo, "Tipo"},
    {Aux1, "Aux1"},
    {Aux2, "Aux2"},
    {RutaArchivo, "RutaArchivo"},
    {Usuario, "Usuario"},
}};

namespace detalle {
constexpr bool enOrden() {
    for (size_t i = 0; i < kGrabadas.size(); ++i) {
        if (kGrabadas[i].columna != Grabada(i)) {
            return false;
        }
    }
    return true;
}
} // namespace detalle
static_assert(detalle::enOrden(), "kGrabadas lists the columns in the order of Grabada");

// The table's own row identity; a reloaded batch's rows are named by it.
inline constexpr std::string_view kId = "ID";

inline QString NombreDe(Grabada c) {
    const std::string_view n = kGrabadas[size_t(c)].nombre;
    return QString::fromLatin1(n.data(), qsizetype(n.size()));
}

// Where a written column's value stands among the insert's values, which
// start with Codigo.
constexpr int PosicionEnInsercion(Grabada c) {
    return 1 + int(c);
}

inline const QStringList& ColumnasGrabadas() {
    static const QStringList c = [] {
        QStringList r;
        for (const ColumnaGrabada& g : kGrabadas) {
            r << NombreDe(g.columna);
        }
        return r;
    }();
    return c;
}

// Every column of the table.
inline const QStringList& Columnas() {
    static const QStringList c = QStringList{QString::fromLatin1(kId.data(), qsizetype(kId.size())),
                                             QStringLiteral("Codigo")} +
                                 ColumnasGrabadas() + QStringList{QStringLiteral("RETRANSMITIDO")};
    return c;
}

} // namespace TablaLote
