#pragma once

#include "reports/DatosReporte.h"
#include "reports/FormulasReporte.h"

#include <QHash>
#include <optional>

class Conexion;
struct DefinicionReporte;

// Reads the rows of MV_TARVELO that a selection chooses, in the order they
// were inserted, each with the price its article had in the latest earlier
// batch of the same list, and turns them into printable texts.
class LectorLote {
public:
    // Throws FalloKX: a selection on another table or an unknown column, a
    // closed connection, a failed query, or no row at all.
    static DatosReporte lee(Conexion& conexion, const SeleccionReporte& seleccion,
                            const DefinicionReporte& definicion,
                            const QHash<QString, QString>& formulas);

    // "001250500" (three implied decimals) as thousandths; none when it is no amount.
    static std::optional<qint64> milesimas(const QString& celda);
    // Thousandths as text: at least `decimales` decimals, more when needed to
    // show the value exactly.
    static QString importe(qint64 milesimas, int decimales, const QString& separador);
};
