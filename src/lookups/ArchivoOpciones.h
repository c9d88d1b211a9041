#pragma once

#include <QStringList>

// The lines of a plain text file offered as choices: every line read whole,
// an empty line giving an empty option; CR LF (or LF) ends a line.
namespace ArchivoOpciones {
QStringList Lee(const QString& ruta);
}
