#include "lookups/InicioConsultas.h"

#include "lookups/ArchivoConsultas.h"
#include "lookups/Lib_ClsCons3.h"
#include "lookups/RegistroFallas.h"
#include "runtime/IniciaAplicacion.h"
#include "utility_library/QlTexto.h"

#include <QFileInfo>

void PreparaConsultasInicio(const QString& carpetaPrograma, const QString& connString) {
    Lib_ClsCons3& motor = Lib_ClsCons3::instancia();
    motor.gConnString = connString;
    motor.gUsarMascarasConsultas = true;
    motor.gRutaMascaraConsultas =
        QlUtil::AgregaBarra(carpetaPrograma) + QStringLiteral("consultas.kvx");
    if (!QFileInfo::exists(motor.gRutaMascaraConsultas) &&
        !ArchivoConsultas::CreaArchivoConsultas(motor.gRutaMascaraConsultas)) {
        RegistraFalla(QStringLiteral("CreaArchivoConsultas"), 75,
                      QStringLiteral("No se pudo escribir ") + motor.gRutaMascaraConsultas);
    }
}

void InstalaConsultasEnInicio() {
    FijaPreparaConsultas(PreparaConsultasInicio);
}
