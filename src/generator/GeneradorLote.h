#pragma once

#include "generator/LoteNovedades.h"

#include <QString>

class SentenciasLote;

// "&Generar": writes the grid into the change files and records it. A new
// batch inserts one MV_TARVELO row per grid row and marks its price rows as
// sent; a reloaded batch is written again and its rows stamped.
//
// Each row's mark and insert are one transaction: a price row is never marked
// as sent without its batch row. Rows go one by one, so the operator's answers
// to a failure (retry the step, go on, leave) keep their meaning.
class GeneradorLote {
public:
    explicit GeneradorLote(LoteNovedades& lote) : lote_(lote) {}
    ResultadoGeneracion Genera();

    static const QString kDebeIngresarLista;
    static const QString kNadaQueGenerar;
    static const QString kRegenerar;
    static const QString kTestigo;
    // "%1" the code taken, "%2" the next free one.
    static const QString kCodigoUsado;

private:
    void GrabaFila(int fila, bool regeneracion, const QString& codigo, const QString& marcaTiempo,
                   SentenciasLote& sentencias);

    LoteNovedades& lote_;
    QString lista_;
    QString nombreLista_;
};
