#pragma once

#include <QString>

// A failure the lookups recover from on their own (a damaged file, a width
// line that does not read) still leaves a line in KXERR.LOG, so whoever looks
// after the installation learns about it; nobody is asked anything.
void RegistraFalla(const QString& rutina, int numero, const QString& descripcion);
