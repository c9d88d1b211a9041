#pragma once

#include <QString>
#include <QStringList>
#include <QTextStream>

// The formulas the window prints a batch with: the selection on the batch
// code, as typed, and the company name of configuration key "NOMBRE" in the
// first of eight formula texts.
QString FormulaSeleccionLote(const QString& codigo);
QStringList FormulasLote();

// Writes the witness (or, with `etiquetas`, the labels) of batch `codigo` to
// `archivo` through QlReport with the program's open connection; returns the
// number of pages. Throws FalloKX.
int ImprimeLotePdf(const QString& codigo, bool etiquetas, const QString& archivo);

// tarvelo-lote testigo "<suite command line>" --codigo N --pdf ARCHIVO [--etiquetas]
// The witness (or the labels) of an existing batch as a PDF. `argumentos` are
// the words after the command's name (a leading "testigo" is accepted too).
// Needs a QGuiApplication. Exit codes: 0 written, 2 bad arguments or input,
// 3 failure (nothing written; an earlier file is left as it was).
int ComandoTestigo(const QStringList& argumentos, QTextStream& out, QTextStream& err);
QString AyudaComandoTestigo();
