#pragma once

#include <QString>

// The connection list "BASES.TXT" (LBM_Common): where it is, and adding to it.
namespace LBM_Common {
// Appends one registered connection to "BASES.TXT" of the program folder.
// False when the file could not be written.
bool RegistraBase(const QString& nombre, const QString& baseDatos, const QString& usuario,
                  const QString& password, const QString& servidor);
// Path of "BASES.TXT" the module uses (program folder when not set).
QString RutaBases();
void FijaRutaBases(const QString& ruta);
} // namespace LBM_Common
