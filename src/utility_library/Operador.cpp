#include "utility_library/Operador.h"

#include "utility_library/OperadorSilencioso.h"

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

void fijaOperador(Operador* o) {
    gOperador = o;
}

int Operador::RespuestaSegura(int estilo) {
    switch (estilo & 7) {
    case AbortarReintentarIgnorar:
        return Abortar;
    case SiNo:
        return No;
    case AceptarCancelar:
    case SiNoCancelar:
    case ReintentarCancelar:
        return Cancelar;
    default:
        return Aceptar;
    }
}
