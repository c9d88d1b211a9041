#include "progress/Dll_Display.h"

#include "progress/CartelSilencioso.h"

namespace {
Dll_Display* gCartel = nullptr;
}

Dll_Display& Dll_Display::instancia() {
    if (gCartel) {
        return *gCartel;
    }
    static CartelSilencioso silencioso;
    return silencioso;
}

void Dll_Display::fijaInstancia(Dll_Display* cartel) {
    gCartel = cartel;
}
