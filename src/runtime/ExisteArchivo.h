#pragma once

#include <QString>

namespace LBM_Common {
// True when the file can be opened for reading (double quotes in the path are ignored).
bool ExisteArchivo(const QString& ruta);
} // namespace LBM_Common
