#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QTextStream>

// Every command of tarvelo-lote, in one table: its name, what runs it and
// whether it draws (the witness as PDF needs a GUI application).
struct ComandoDeLote {
    const char* nombre;
    int (*corre)(const QStringList& args, QTextStream& out, QTextStream& err);
    bool dibuja;
};

const QList<ComandoDeLote>& ComandosLote();
// The command named so; nullptr when there is none.
const ComandoDeLote* BuscaComando(const QString& nombre);
// The program's --help: every command with its options, and the exit codes.
QString AyudaLote();
