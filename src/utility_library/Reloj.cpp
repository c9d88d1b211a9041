#include "utility_library/Reloj.h"

namespace {
QDate gHoy;
QDateTime gAhora;
} // namespace

QDate Reloj::hoy() { return ahora().date(); }

QDateTime Reloj::ahora() {
    if (gAhora.isValid()) {
        return gAhora;
    }
    QDateTime real = QDateTime::currentDateTime();
    if (gHoy.isValid()) {
        return QDateTime(gHoy, real.time());
    }
    return real;
}

void Reloj::fijaHoy(const QDate& dia) {
    gHoy = dia;
    gAhora = QDateTime();
}

void Reloj::fijaAhora(const QDateTime& instante) { gAhora = instante; }
