#pragma once

#include "generator/AlertasPrecio.h"

#include <QString>

// What the batch logic needs from the configuration and the session, read
// once by its caller (the window or the unattended command) and handed in:
// the batch rules never reach for program-wide values.
struct ParametrosLote {
    // Price classes: the column suffixes of the source's "precio" columns.
    QString claseVenta;
    QString claseSugerido; // blank: the sale class
    QString claseOferta;
    // The configured VAT rate for an article without one.
    QString ivaPorDefecto;
    // The kilogram unit code of the scale records.
    QString unidadKG;
    // The user written into every batch row.
    QString usuario;
    // When a price stops the generation for the operator's word.
    UmbralesAlerta alertas;
    // How many days back the pending load catches up on nights without a
    // batch (0: it never does).
    int diasRecuperacion = kDiasRecuperacion;

    static constexpr int kDiasRecuperacion = 31;
    static constexpr const char* kClaveDiasRecuperacion = "TARVELO_DIAS_RECUPERACION";

    // The suggested class that applies: the sale class when none is configured
    // (a missing key reads as a blank, which names no price column).
    QString claseSugeridaEfectiva() const {
        const QString s = claseSugerido.trimmed();
        return s.isEmpty() ? claseVenta.trimmed() : s;
    }
};
