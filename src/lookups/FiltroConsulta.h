#pragma once

#include <QString>

// The statements F5 builds in a search box: the statement narrowed by a LIKE
// condition on one column, the ORDER BY / GROUP BY tail kept at the end.
// The typed text always travels inside one SQL string literal: its
// apostrophes are doubled, so O'BRIEN finds O'BRIEN and cannot end the literal.
namespace FiltroConsulta {

struct Resultado {
    QString sql;   // the new statement
    QString base;  // statement without its tail (what the window keeps as SQLBase)
    QString orden; // the tail set apart
    QString texto; // the typed text as the box shows it afterwards ("*" become "%")
};

// List window. `base` is the statement of the last load; `contiene`: match
// anywhere ("%a%b%" from "a b") instead of at the start ("a%").
Resultado Lista(const QString& sql, const QString& base, const QString& campo, const QString& texto,
                bool contiene);

// Tree window: the text is searched anywhere in "Descripcion".
Resultado Arbol(const QString& sql, const QString& texto);

} // namespace FiltroConsulta
