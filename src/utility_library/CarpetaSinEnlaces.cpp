#include "utility_library/CarpetaSinEnlaces.h"
#include "utility_library/MotivoSistema.h"

#include "utility_library/ErrorKX.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstring>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {
constexpr qint32 kErrorAcceso = 75; // path/file access error

[[noreturn]] void falla(const QString& ruta, const QString& motivo) {
    throw FalloKX(kErrorAcceso,
                  QStringLiteral("No se pudo abrir la carpeta %1: %2")
                      .arg(QDir::toNativeSeparators(ruta), motivo),
                  QStringLiteral("cmdExportar"));
}
} // namespace

CarpetaSinEnlaces::CarpetaSinEnlaces(const QString& base, const QStringList& nombres) {
    visible_ = base;
#ifdef Q_OS_UNIX
    // The base is the folder the operator chose, link or not.
    fd_ = ::open(QFile::encodeName(base).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd_ < 0) {
        falla(base, MotivoSistema(errno));
    }
    for (const QString& nombre : nombres) {
        visible_ += QLatin1Char('/') + nombre;
        if (nombre.isEmpty() || nombre == QLatin1String(".") || nombre == QLatin1String("..") ||
            nombre.contains(QLatin1Char('/'))) {
            ::close(fd_);
            fd_ = -1;
            falla(visible_, QStringLiteral("el nombre no es válido"));
        }
        const QByteArray n = QFile::encodeName(nombre);
        if (::mkdirat(fd_, n.constData(), 0777) != 0 && errno != EEXIST) {
            const int e = errno;
            ::close(fd_);
            fd_ = -1;
            falla(visible_, MotivoSistema(e));
        }
        const int siguiente =
            ::openat(fd_, n.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        const int e = errno;
        ::close(fd_);
        fd_ = siguiente;
        if (fd_ < 0) {
            // A link where the folder should be reads as "not a folder".
            falla(visible_, e == ELOOP || e == ENOTDIR
                                ? QStringLiteral("no es una carpeta (un enlace no se sigue)")
                                : MotivoSistema(e));
        }
    }
#else
    for (const QString& nombre : nombres) {
        visible_ += QLatin1Char('/') + nombre;
    }
    if (!QDir().mkpath(visible_)) {
        falla(visible_, QStringLiteral("no se pudo crear"));
    }
#endif
}

CarpetaSinEnlaces::~CarpetaSinEnlaces() {
#ifdef Q_OS_UNIX
    if (fd_ >= 0) {
        ::close(fd_);
    }
#endif
}

QString CarpetaSinEnlaces::ruta(const QString& nombre) const {
#ifdef Q_OS_UNIX
    return QStringLiteral("/proc/self/fd/%1/").arg(fd_) + nombre;
#else
    return visible_ + QLatin1Char('/') + nombre;
#endif
}
