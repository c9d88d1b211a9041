#pragma once

#include <QByteArray>
#include <QString>

// Windows-1252, one byte per character, as the branches' files and the
// suite's logs are written. Characters without a code become '?'.
namespace Cp1252 {
QByteArray codifica(const QString& texto);
// Appends `texto` to `destino`, one byte per character (as codifica).
void agrega(QByteArray& destino, QStringView texto);
// True when every character of `texto` has its own code (none becomes '?').
bool representable(QStringView texto);
QString decodifica(const QByteArray& bytes);
} // namespace Cp1252
