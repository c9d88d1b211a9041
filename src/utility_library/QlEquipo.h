#pragma once

#include <QString>

// Facts of the workstation.
class QlEquipo {
public:
    static QString NombrePC();
    static QString NombreUsuario();
    static QString CarpetaTemporal();
};
