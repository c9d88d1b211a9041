#pragma once

#include "generator/LoteNovedades.h"

// Brings a generated batch back by its code: header values, the stored rows
// cell for cell, and the window in regeneration mode.
class CargadorLote {
public:
    explicit CargadorLote(LoteNovedades& lote) : lote_(lote) {}
    ResultadoCarga CargaLote();

    static const QString kCodigoInvalido;

private:
    LoteNovedades& lote_;
};
