#include "generator/ArchivoPublicado.h"

#include "utility_library/ErrorKX.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>
#endif

namespace {
// Error numbers of the file functions, as the suite reports them.
constexpr qint32 kErrorAcceso = 75;    // path/file access error
constexpr qint32 kErrorEscritura = 57; // device I/O error
const QString kRutina = QStringLiteral("cmdExportar");
const QString kSufijo = QStringLiteral(".tmp");

QString nativo(const QString& ruta) {
    return QDir::toNativeSeparators(ruta);
}

[[noreturn]] void falla(qint32 numero, const QString& que, const QString& ruta,
                        const QString& motivo) {
    throw FalloKX(numero, QStringLiteral("%1 %2: %3").arg(que, nativo(ruta), motivo), kRutina);
}

std::filesystem::path ruta(const QString& r) {
    return std::filesystem::path(r.toStdU16String());
}

#ifdef Q_OS_UNIX
QString motivoSistema(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}
#endif
} // namespace

ArchivoPublicado::ArchivoPublicado(const QString& destino) : destino_(destino) {
    temporal_ =
        destino + QLatin1Char('.') + QString::number(QCoreApplication::applicationPid()) + kSufijo;
}

ArchivoPublicado::~ArchivoPublicado() {
    if (!temporal_.isEmpty()) {
        QFile::remove(temporal_);
    }
}

void ArchivoPublicado::escribe(const QByteArray& contenido) {
    QFile::remove(temporal_); // our own leftover of an earlier attempt
#ifdef Q_OS_UNIX
    const QByteArray nombre = QFile::encodeName(temporal_);
    const int fd =
        ::open(nombre.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd < 0) {
        falla(kErrorAcceso, QStringLiteral("No se pudo crear el archivo"), temporal_,
              motivoSistema(errno));
    }
    const char* p = contenido.constData();
    qint64 resta = contenido.size();
    while (resta > 0) {
        const ssize_t n = ::write(fd, p, size_t(resta));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            const int error = n < 0 ? errno : ENOSPC;
            ::close(fd);
            QFile::remove(temporal_);
            falla(kErrorEscritura, QStringLiteral("No se pudo escribir en el archivo"), destino_,
                  motivoSistema(error));
        }
        p += n;
        resta -= n;
    }
    if (::fsync(fd) != 0 || ::close(fd) != 0) {
        const int error = errno;
        QFile::remove(temporal_);
        falla(kErrorEscritura, QStringLiteral("No se pudo escribir en el archivo"), destino_,
              motivoSistema(error));
    }
#else
    QFile f(temporal_);
    if (!f.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        falla(kErrorAcceso, QStringLiteral("No se pudo crear el archivo"), temporal_,
              f.errorString());
    }
    if (f.write(contenido) != contenido.size() || !f.flush()) {
        const QString motivo = f.errorString();
        f.close();
        QFile::remove(temporal_);
        falla(kErrorEscritura, QStringLiteral("No se pudo escribir en el archivo"), destino_,
              motivo);
    }
    f.close();
#endif
    escrito_ = true;
}

void ArchivoPublicado::publica() {
    if (!escrito_) {
        escribe(QByteArray());
    }
    std::error_code error;
    // rename() replaces the name itself: a link there is replaced, not followed.
    std::filesystem::rename(ruta(temporal_), ruta(destino_), error);
    if (error) {
        falla(kErrorAcceso, QStringLiteral("No se pudo reemplazar el archivo"), destino_,
              QString::fromStdString(error.message()));
    }
    temporal_.clear();
#ifdef Q_OS_UNIX
    // The new name reaches the disk too.
    const QByteArray carpeta = QFile::encodeName(QFileInfo(destino_).absolutePath());
    const int fd = ::open(carpeta.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
#endif
}

void ArchivoPublicado::limpiaRestos(const QString& destino) {
    const QFileInfo info(destino);
    QDir carpeta = info.absoluteDir();
    const QString prefijo = info.fileName() + QLatin1Char('.');
    const QStringList restos = carpeta.entryList({prefijo + QStringLiteral("*") + kSufijo},
                                                 QDir::Files | QDir::System | QDir::Hidden);
    for (const QString& nombre : restos) {
        const QString pid =
            nombre.mid(prefijo.size(), nombre.size() - prefijo.size() - kSufijo.size());
        bool ok = false;
        const qint64 n = pid.toLongLong(&ok);
        if (!ok || n <= 0) {
            continue; // not one of ours
        }
#ifdef Q_OS_UNIX
        // A generation still running in that process keeps its files.
        if (n != QCoreApplication::applicationPid() && ::kill(pid_t(n), 0) == 0) {
            continue;
        }
#endif
        QFile::remove(carpeta.filePath(nombre));
    }
}
