#include "lookups/RegistroFallas.h"

#include "runtime/ErroresOperador.h"
#include "utility_library/LogKX.h"
#include "utility_library/Reloj.h"

void RegistraFalla(const QString& rutina, int numero, const QString& descripcion) {
    const ErrorKX e{numero, descripcion, QString()};
    LogKX::agrega(ModGlobal::CarpetaLogErrores() + QStringLiteral("KXERR.LOG"),
                  LogKX::linea(Reloj::ahora(), LogKX::textoRutina(rutina), LogKX::mensaje(e), 0));
}
