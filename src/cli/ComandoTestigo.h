#pragma once

#include <QString>
#include <QStringList>
#include <QTextStream>

// tarvelo-lote testigo "<suite command line>" --codigo N --pdf ARCHIVO [--etiquetas]
// The witness (or the labels) of an existing batch as a PDF. `argumentos` are
// the words after the command's name (a leading "testigo" is accepted too).
// Needs a QGuiApplication. Exit codes: 0 written, 2 bad arguments or input,
// 3 failure (nothing written; an earlier file is left as it was).
int ComandoTestigo(const QStringList& argumentos, QTextStream& out, QTextStream& err);
QString AyudaComandoTestigo();
