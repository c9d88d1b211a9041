#pragma once

#include <QStringList>
#include <QTextStream>

// Commands of the unattended program about the database itself. `args` are
// the words after the command's name (a leading command name is accepted too).
// Exit codes: 0 done, 2 bad arguments, 3 failure; messages in Spanish on `err`.

// crear-base ARCHIVO [--demo] [--hoy AAAA-MM-DD]
// Creates an SQLite database file with the suite's schema and, with --demo,
// the demo data, its offers placed around --hoy (default: today). An existing
// file that is not empty is never overwritten.
int ComandoCrearBase(const QStringList& args, QTextStream& out, QTextStream& err);

// resumen "<suite command line>"
// A readable summary of a database: its price lists, article count and the
// changes pending per list (rows in '0-C'/'0-M', offers starting tomorrow or
// ending today). Reads "@Plataforma", "@server", "@dbname", "@Puerto",
// "@usuario" and "@Password"; for SQLite "@dbname" is the file, a relative
// path being taken from the program folder.
int ComandoResumen(const QStringList& args, QTextStream& out, QTextStream& err);
