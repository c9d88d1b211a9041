#include "generator/HistorialLote.h"

#include "utility_library/ArchivoPublicado.h"
#include "utility_library/CarpetaSinEnlaces.h"
#include "utility_library/ErrorKX.h"

#include <QDir>
#include <QFile>

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

std::optional<CopiaLeida> LeeCopia(const QString& copia) {
    const QStringList partes = QDir::fromNativeSeparators(copia).split(QLatin1Char('/'));
    const qsizetype n = partes.size();
    if (n < 5 || partes[n - 4] != QLatin1String("historial")) {
        return std::nullopt;
    }
    CopiaLeida r;
    bool ok = false;
    r.codigo = partes[n - 2].toLongLong(&ok);
    r.lista = partes[n - 3];
    r.nombre = partes[n - 1];
    r.carpetaSalida = partes.mid(0, n - 4).join(QLatin1Char('/'));
    if (!ok || QString::number(r.codigo) != partes[n - 2] || r.nombre.isEmpty() ||
        r.carpetaSalida.isEmpty() || Nombres(r.lista, r.codigo).value(1) != r.lista) {
        return std::nullopt;
    }
    return r;
}

bool GuardaEn(const QString& copia, const QString& origen) {
    const std::optional<CopiaLeida> c = LeeCopia(copia);
    if (!c) {
        return false;
    }
    Guarda(c->carpetaSalida, c->lista, c->codigo, origen, c->nombre);
    return true;
}

} // namespace HistorialLote
