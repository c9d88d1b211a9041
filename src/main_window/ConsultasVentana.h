#pragma once

#include <QString>

// What the main window asks of a lookup.
struct PedidoConsulta {
    // "V_MA_PRECIOS", "NOVEDADES", "V_MA_ARTICULOS" or "V_TA_FAMILIAS".
    QString tipo;
    // An SQL text or a table name.
    QString consulta;
    // The column whose value comes back.
    QString campoDevuelto;
    // What the field holds now: the lookup opens on that row, so Enter at
    // once leaves the field as it was.
    QString valorActual;
    // The tree window (codes in a hierarchy, as families are).
    bool arbol = false;
};

// The lookups the main window opens: a search window over a query or a table,
// from which the operator picks one row. The window builds the request; the
// lookup engine shows it.
class ConsultasVentana {
public:
    virtual ~ConsultasVentana() = default;

    // The `campoDevuelto` of the chosen row; empty when the operator leaves
    // without choosing.
    virtual QString Consulta(const PedidoConsulta& pedido) = 0;
};
