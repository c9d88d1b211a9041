#pragma once

#include <QDate>

// The days a pending load takes offers for. Today's load takes the offers
// that start tomorrow or end today. After nights on which the list got no
// batch it also takes those that started or ended on the days in between,
// so the branches never keep a price that changed on a missed night.
struct VentanaCarga {
    // The workstation's today when the load ran (never the batch date).
    QDate hoy;
    // Offers whose start falls on these days, both included.
    QDate inicioDesde, inicioHasta;
    // Offers whose end falls on these days, both included.
    QDate finDesde, finHasta;
    // The days without a batch whose offers are taken; null: none.
    QDate recuperaDesde, recuperaHasta;
    // The last day recorded for the list before this load (null: none).
    QDate ultimoDia;
    // Days without a batch further back than the bound: not caught up.
    int diasFueraDeLimite = 0;
    // The bound it was computed with.
    int limiteDias = 0;

    bool recupera() const { return recuperaDesde.isValid() && recuperaHasta.isValid(); }
};
