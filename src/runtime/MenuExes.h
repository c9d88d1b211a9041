#pragma once

#include <QString>

// Starts another program of the suite with the current connection and user on
// its command line, without waiting for it. `comando` is "SHELL:" + a program
// of this program's folder (any case), or carries a full path from its seventh
// character on. A `parametro` holding a blank is cut to the text after its
// first blank (the caller's variable too). `idProceso` receives the new
// process id; it stays 0 when nothing started ("Opcion no Implementada!").
void MenuExes(const QString& comando, QString& parametro, qint64& idProceso);

// What MenuExes hands over: " ; @server=...; ...; @Caja=...;" for the current values.
QString ArgumentosMenuExes(const QString& parametro);
// The program MenuExes starts for `comando` (no arguments).
QString ProgramaMenuExes(const QString& comando);
