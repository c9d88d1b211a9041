#include "db/Plataforma.h"

#include "db/motores/Motor.h"

bool LeePlataforma(const QString& texto, Plataforma& p) {
    const QString t = texto.trimmed().toUpper();
    for (const Motor* m : Motores()) {
        if (t == m->nombre()) {
            p = m->plataforma();
            return true;
        }
    }
    return false;
}

QString NombrePlataforma(Plataforma p) {
    return MotorDe(p).nombre();
}
