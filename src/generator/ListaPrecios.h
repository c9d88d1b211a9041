#pragma once

#include <QString>

// A sales price list as the operator confirmed it: its code as typed
// (trimmed) and the name the database gave for that code, read together so
// that one list's name can never travel with another list's code.
struct ListaPrecios {
    QString codigo;
    QString nombre;
};
