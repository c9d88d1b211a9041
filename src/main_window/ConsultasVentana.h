#pragma once

#include <QString>

// The lookups the main window opens: a search window over a query or a table,
// from which the operator picks one row. The window builds the request; the
// lookup engine shows it.
class ConsultasVentana {
public:
    virtual ~ConsultasVentana() = default;

    // Runs the lookup of kind `tipo` ("V_MA_PRECIOS", "NOVEDADES",
    // "V_MA_ARTICULOS") over `consulta`, an SQL text or a table name, and
    // returns the `campoDevuelto` of the chosen row; empty when the operator
    // leaves without choosing.
    virtual QString ConsultaSearch(const QString& tipo, const QString& consulta,
                                   const QString& campoDevuelto) = 0;
};
