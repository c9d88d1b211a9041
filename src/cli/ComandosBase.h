#pragma once

#include <QStringList>
#include <QTextStream>

// The commands of tarvelo-lote about the database itself. `args` are the
// words after the command's name (a leading command name is accepted too).
// Exit codes: 0 done, 2 bad arguments, 3 failure; messages in Spanish on `err`.

// crear-base ARCHIVO [--demo] [--hoy AAAA-MM-DD]
int ComandoCrearBase(const QStringList& args, QTextStream& out, QTextStream& err);
// resumen "<suite command line>"
int ComandoResumen(const QStringList& args, QTextStream& out, QTextStream& err);
// inicio "<suite command line>": start-up with no dialog, and what it found.
int ComandoInicioLote(const QStringList& args, QTextStream& out, QTextStream& err);
