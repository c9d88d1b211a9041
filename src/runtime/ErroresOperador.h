#pragma once

#include "utility_library/ErrorKX.h"
#include "utility_library/Operador.h"

#include <QString>

// ModGlobal's error dialog and error logs.
namespace ModGlobal {
// Returns 3 Abort, 4 Retry or 5 Ignore.
int MuestraErrorOperador(const ErrorKX& ErrObj, int Botones = Operador::ErrorConReintento,
                         const QString& Rutina = QString());
// Folder of "KXERR.LOG": environment "temp", then "tmp", then the system's; ends with a separator.
QString CarpetaLogErrores();
void GrabaErrorAux(const QString& sentencia, const QString& proceso, qint32 numero,
                   const QString& descripcion);
} // namespace ModGlobal
