#include "runtime/ListaBases.h"

#include "utility_library/CarpetasPrograma.h"
#include "utility_library/ArchivoPublicado.h"

#include "utility_library/Cp1252.h"
#include "utility_library/Programa.h"
#include "utility_library/QlCifrado.h"
#include "utility_library/QlTexto.h"

#include <QFile>

namespace LBM_Common {
namespace {
QString gRutaBases;
} // namespace

QString RutaBases() {
    if (gRutaBases.trimmed().isEmpty()) {
        return CarpetasPrograma::escritura() + QStringLiteral("BASES.TXT");
    }
    return gRutaBases;
}

void FijaRutaBases(const QString& ruta) {
    gRutaBases = ruta;
}

namespace {
// One field of "BASES.TXT": a comma inside would shift every later record,
// so such a field goes between double quotes, as the reader accepts it.
QString campoBases(QString texto) {
    texto.remove(QLatin1Char('\r'));
    texto.remove(QLatin1Char('\n'));
    texto.remove(QLatin1Char('"'));
    texto = texto.trimmed();
    if (texto.contains(QLatin1Char(','))) {
        texto = QLatin1Char('"') + texto + QLatin1Char('"');
    }
    return texto;
}
} // namespace

bool RegistraBase(const QString& nombre, const QString& baseDatos, const QString& usuario,
                  const QString& password, const QString& servidor) {
    const QString ruta = RutaBases();
    const QString clave = QlUtil::Encripta(password);
    const QString linea = campoBases(nombre) + QLatin1Char(',') + campoBases(baseDatos) +
                          QLatin1Char(',') + campoBases(usuario) + QLatin1Char(',') +
                          campoBases(clave) + QLatin1Char(',') + campoBases(servidor);
    QByteArray bytes = Cp1252::codifica(linea) + QByteArrayLiteral("\r\n");
    // A hand-edited file may lack its last line end: the new line must not
    // glue itself to the last registered connection.
    QFile f(ruta);
    if (f.open(QIODevice::ReadOnly) && f.size() > 0 && f.seek(f.size() - 1) &&
        f.peek(1) != QByteArrayLiteral("\n")) {
        bytes.prepend(QByteArrayLiteral("\r\n"));
    }
    f.close();
    // Appended, never through a link.
    return ArchivoPublicado::agregaAlFinal(ruta, bytes);
}

} // namespace LBM_Common
