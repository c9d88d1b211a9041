#pragma once

#include "reports/Plantilla.h"

#include <QVector>

// One batch row as the report shows it.
struct FilaReporte {
    ValoresFila valores;
    bool marcada = false; // a price of zero, no price, or a change over the limit
};
// Texts move by their pointers: a growing list of rows moves its memory whole.
Q_DECLARE_TYPEINFO(FilaReporte, Q_RELOCATABLE_TYPE);

// What a report prints: the values of the whole report and its rows, in the
// batch's order. Texts are ready to print.
struct DatosReporte {
    ValoresReporte reporte;
    QVector<FilaReporte> filas;

    QString valor(CampoReporte c) const { return reporte[int(c)]; }
    void fija(CampoReporte c, const QString& v) { reporte[int(c)] = v; }
};
