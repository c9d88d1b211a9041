#pragma once

#include <QString>

// The suite's reading of a yes/no text: FALSE, FALSO, 0, NO, N are false;
// TRUE, VERDADERO, 1, SI, S are true (exact upper-case match after
// upper-casing); anything else, the empty text included, is the default.
bool TextoABooleano(const QString& texto, bool porDefectoVerdadero);
