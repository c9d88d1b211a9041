#pragma once

#include <QString>
#include <functional>

// Process-wide facts of the running program.
class Programa {
public:
    // The program folder, always ending with a separator. Set at start-up from
    // the executable's folder; tests point it at a temporary folder.
    static QString carpeta();
    static void fijaCarpeta(const QString& carpeta);
    // Executable name without folder and extension ("tarvelo").
    static QString nombreEjecutable();
    static void fijaNombreEjecutable(const QString& nombre);
    // Lets pending window events run; harmless without a window.
    static void permiteEventos();
    // Ends the process (tests replace it with something that throws).
    [[noreturn]] static void termina(int codigo);
    static void fijaTerminacion(std::function<void(int)> f);
};
