#pragma once

#include <QString>
#include <QStringList>
#include <QTextStream>
#include <functional>

// How start-up gets connection data that the command line lacks.
enum class ModoInicio {
    ConDialogo, // the connection dialog installed in DB_Dll asks for them
    SinDialogo, // unattended: missing data is an error, nobody is asked
};

// Exit codes of start-up.
namespace CodigoInicio {
constexpr int Correcto = 0;
constexpr int DatosIncompletos = 2; // unattended start without server/user (or bad item)
constexpr int SinConexion = 3;      // dialog cancelled or the connection could not be opened
} // namespace CodigoInicio

// The program's start-up, run once before any window: reads `lineaComando`
// (the suite's grammar), opens the main connection (asking through the
// connection dialog in ConDialogo mode), the statistics connection for the
// command time-out, loads the configuration and writes the access log.
// Returns CodigoInicio::Correcto, or the code the process must end with;
// MensajeInicio() then says why.
int IniciaAplicacion(const QString& lineaComando, ModoInicio modo = ModoInicio::ConDialogo);
QString MensajeInicio();

// Reads the command time-out from the statistics database (360 when it is
// not there, silently).
void ConectaEstadisticas();

// Hands the open connection to the lookup engine and creates its definitions
// file when missing; start-up calls it with the program folder and the
// connection text once the connection is open. Unset: nothing is done.
using PreparaConsultas =
    std::function<void(const QString& carpetaPrograma, const QString& connString)>;
void FijaPreparaConsultas(PreparaConsultas f);
// The command timeout (seconds) of the next start-ups instead of the
// configured one (tarvelo-lote --espera); 0: the configured one.
void FijaTiempoDeEspera(int segundos);

// What start-up found: connection, user, administrator flag, configuration.
QString InformeInicio();

// For a main(): runs start-up on the arguments after the program name (joined
// by blanks into the suite's command line), prints the report to `salida` on
// success or the reason to `errores`, and returns the exit code.
int ComandoInicio(const QStringList& argumentosSinPrograma, ModoInicio modo, QTextStream& salida,
                  QTextStream& errores);
