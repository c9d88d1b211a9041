#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>

// The row selection a report is printed with: "{table.column} =value", the
// value a whole or decimal number or a text between quotes. The value is
// bound to the query, never written into it.
struct SeleccionReporte {
    QString tabla;
    QString columna;
    QVariant valor;
};

namespace FormulasReporte {
// Throws FalloKX (quoting the formula) for any other form.
SeleccionReporte leeSeleccion(const QString& formula);
// The named texts of the formula list ("Empresa = 'text'"), by lower-case
// name. Empty formulas are skipped; any other form throws FalloKX. The text
// runs from the first quote to the last, so a name holding an apostrophe
// stays whole.
QHash<QString, QString> leeFormulas(const QStringList& formulas);
} // namespace FormulasReporte
