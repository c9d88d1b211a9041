#include "utility_library/LogKX.h"

#include "utility_library/ArchivoPublicado.h"
#include "utility_library/Operador.h"

#include "utility_library/Cp1252.h"

#include <QFile>

QString LogKX::mensaje(const ErrorKX& e) {
    return QStringLiteral("Ha ocurrido el Siguiente Error (") + QString::number(e.numero) +
           QStringLiteral(") ") + e.descripcion.trimmed();
}

QString LogKX::textoRutina(const QString& rutina) {
    return rutina.isEmpty() ? QString() : rutina + QStringLiteral(" - ");
}

QString LogKX::textoRespuesta(int respuesta) {
    switch (respuesta) {
    case Operador::Reintentar:
        return QStringLiteral("Reintentar");
    case Operador::Ignorar:
        return QStringLiteral("Ignorar");
    case Operador::Abortar:
        return QStringLiteral("Abortar");
    default:
        return QString();
    }
}

QString LogKX::linea(const QDateTime& cuando, const QString& rutinaTexto, const QString& mensaje,
                     int respuesta) {
    return cuando.toString(QStringLiteral("MM-dd-yyyy HH:mm:ss")) + QStringLiteral(" Rutina: ") +
           rutinaTexto.trimmed() + QStringLiteral(" Mensaje ") + mensaje.trimmed() +
           QStringLiteral(" Respondió : ") + textoRespuesta(respuesta);
}

bool LogKX::agrega(const QString& ruta, const QString& linea) {
    return ArchivoPublicado::agregaAlFinal(ruta,
                                           Cp1252::codifica(linea) + QByteArrayLiteral("\r\n"));
}
