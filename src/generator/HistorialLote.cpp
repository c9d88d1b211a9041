#include "generator/HistorialLote.h"

#include "utility_library/ArchivoPublicado.h"
#include "utility_library/CarpetaSinEnlaces.h"
#include "utility_library/ErrorKX.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {
QString nombreSeguro(const QString& texto) {
    QString r = texto.trimmed();
    for (QChar& c : r) {
        const bool valido = (c >= QLatin1Char('0') && c <= QLatin1Char('9')) ||
                            (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) ||
                            (c >= QLatin1Char('a') && c <= QLatin1Char('z')) ||
                            c == QLatin1Char('-') || c == QLatin1Char('_');
        if (!valido) {
            c = QLatin1Char('_');
        }
    }
    return r.isEmpty() ? QStringLiteral("_") : r;
}
} // namespace

namespace HistorialLote {

QStringList Nombres(const QString& lista, qint64 codigo) {
    return {QStringLiteral("historial"), nombreSeguro(lista), QString::number(codigo)};
}

QString Copia(const QString& carpetaSalida, const QString& lista, qint64 codigo,
              const QString& nombre) {
    return QDir::toNativeSeparators(carpetaSalida + QLatin1Char('/') +
                                    Nombres(lista, codigo).join(QLatin1Char('/')) +
                                    QLatin1Char('/') + nombre);
}

void Guarda(const QString& carpetaSalida, const QString& lista, qint64 codigo,
            const QString& origen, const QString& nombre) {
    QFile entrada(origen);
    const auto noSeLee = [&] {
        return FalloKX(75,
                       QStringLiteral("No se pudo leer %1 para el historial: %2")
                           .arg(QDir::toNativeSeparators(origen), entrada.errorString()),
                       QStringLiteral("cmdExportar"));
    };
    if (!entrada.open(QIODevice::ReadOnly)) {
        throw noSeLee();
    }
    const CarpetaSinEnlaces carpeta(carpetaSalida, Nombres(lista, codigo));
    // What a run killed while copying left beside the copy goes first.
    ArchivoPublicado::limpiaRestos(carpeta.ruta(nombre));
    ArchivoPublicado copia(carpeta.ruta(nombre));
    // One buffer for the whole copy: the file may be large.
    QByteArray bloque(256 * 1024, Qt::Uninitialized);
    for (;;) {
        const qint64 leidos = entrada.read(bloque.data(), bloque.size());
        if (leidos <= 0) {
            break;
        }
        copia.agrega(QByteArray::fromRawData(bloque.constData(), qsizetype(leidos)));
    }
    if (entrada.error() != QFileDevice::NoError) {
        throw noSeLee();
    }
    copia.termina();
    copia.publica();
}

bool GuardaEn(const QString& copia, const QString& origen) {
    const QFileInfo fi(QDir::fromNativeSeparators(copia));
    QDir carpetaCodigo = fi.dir();
    const QString codigo = carpetaCodigo.dirName();
    QDir carpetaLista = carpetaCodigo;
    if (!carpetaLista.cdUp()) {
        return false;
    }
    const QString lista = carpetaLista.dirName();
    QDir historial = carpetaLista;
    if (!historial.cdUp() || historial.dirName() != QLatin1String("historial")) {
        return false;
    }
    QDir salida = historial;
    bool ok = false;
    const qint64 numero = codigo.toLongLong(&ok);
    if (!ok || !salida.cdUp() || Nombres(lista, numero).value(1) != lista) {
        return false;
    }
    Guarda(salida.path(), lista, numero, origen, fi.fileName());
    return true;
}

} // namespace HistorialLote
