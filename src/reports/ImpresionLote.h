#pragma once

#include <QString>
#include <QStringList>

// The formulas the window prints a batch with: the selection on the batch
// code, as typed, and the company name of configuration key "NOMBRE" in the
// first of eight formula texts.
QString FormulaSeleccionLote(const QString& codigo);
QStringList FormulasLote();

// Writes the witness (or, with `etiquetas`, the labels) of batch `codigo` to
// `archivo` through QlReport with the program's open connection; returns the
// number of pages. Throws FalloKX.
int ImprimeLotePdf(const QString& codigo, bool etiquetas, const QString& archivo);
