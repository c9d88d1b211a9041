#include "Operador.h"

#include "OperadorSilencioso.h"

namespace {
Operador* gOperador = nullptr;
}

Operador& operador() {
    if (gOperador) {
        return *gOperador;
    }
    static OperadorSilencioso silencioso;
    return silencioso;
}

void fijaOperador(Operador* o) { gOperador = o; }
