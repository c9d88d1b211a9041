#pragma once

#include <QStringList>
#include <QTextStream>
#include <optional>

// tarvelo's command line and start-up, before the window opens: --help prints
// the usage; an option or a connection line the program cannot read is said
// on `errores` and in a message box; then start-up runs (the connection
// dialog asks for what the line lacks). No value: the window may open;
// otherwise the code the process ends with. `conPantalla` false (no display
// to show a dialog on): nothing is asked, every message goes to `errores`
// only, and missing connection data ends the start-up.
std::optional<int> ArrancaTarvelo(const QStringList& argumentosSinPrograma, QTextStream& salida,
                                  QTextStream& errores, bool conPantalla = true);

QString AyudaTarvelo();
