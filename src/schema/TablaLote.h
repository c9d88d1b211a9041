#pragma once

#include <QString>
#include <QStringList>

// The batch table MV_TARVELO: the columns a generation writes after Codigo,
// in insert order. Besides them the table has ID (assigned by the engine),
// Codigo and RETRANSMITIDO (stamped by a regeneration).
namespace TablaLote {

inline const QStringList& ColumnasGrabadas() {
    static const QStringList c = {
        QStringLiteral("IdLista"),  QStringLiteral("Nombre"),      QStringLiteral("Fecha"),
        QStringLiteral("TipoMov"),  QStringLiteral("CodInterno"),  QStringLiteral("Descripcion"),
        QStringLiteral("Marca"),    QStringLiteral("PrecioVenta"), QStringLiteral("Precio"),
        QStringLiteral("Internos"), QStringLiteral("PrecioCosto"), QStringLiteral("CondIva"),
        QStringLiteral("TipoIva"),  QStringLiteral("Fijo"),        QStringLiteral("CodBarra"),
        QStringLiteral("Rubro"),    QStringLiteral("Tipo"),        QStringLiteral("Aux1"),
        QStringLiteral("Aux2"),     QStringLiteral("RutaArchivo"), QStringLiteral("Usuario"),
    };
    return c;
}

// Every column of the table.
inline const QStringList& Columnas() {
    static const QStringList c = QStringList{QStringLiteral("ID"), QStringLiteral("Codigo")} +
                                 ColumnasGrabadas() + QStringList{QStringLiteral("RETRANSMITIDO")};
    return c;
}

} // namespace TablaLote
