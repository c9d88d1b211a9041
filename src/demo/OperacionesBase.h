#pragma once

#include <QDate>
#include <QString>
#include <QTextStream>

// What the unattended program does to a database itself, its arguments
// already read. Exit codes: 0 done, 2 invalid input, 3 failure; messages in
// Spanish on `err`.

// Creates the SQLite database file `archivo` with the suite's schema and,
// with `demo`, the demo data, its offers placed around `hoy` (null: today).
// An existing file that is not empty is never overwritten.
int CreaBaseSqlite(const QString& archivo, bool demo, const QDate& hoy, QTextStream& out,
                   QTextStream& err);

// A readable summary of the database of a suite's command line: its price
// lists, article count and the changes pending per list (rows in
// '0-C'/'0-M', offers starting tomorrow or ending today). Reads "@Plataforma",
// "@server", "@dbname", "@Puerto", "@usuario" and "@Password"; for SQLite
// "@dbname" is the file, a relative path being taken from the program folder.
int ResumeBase(const QString& linea, QTextStream& out, QTextStream& err);
