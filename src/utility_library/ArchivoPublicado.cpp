#include "utility_library/ArchivoPublicado.h"

#include "utility_library/ErrorKX.h"
#include "utility_library/MotivoSistema.h"

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
// Content waits in memory up to this size, then goes to disk in one write:
// few writes, and little memory held by each file a generation writes.
constexpr qsizetype kVolcado = 256 * 1024;

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
// Writes all of `bytes`, going on after a signal; stops at the first failure
// with its error number (a write of nothing counts as a full disk). Returns
// how much was written.
qint64 escribeTodo(int fd, const QByteArray& bytes, int& error) {
    qint64 hecho = 0;
    while (hecho < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + hecho, size_t(bytes.size() - hecho));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            error = n < 0 ? errno : ENOSPC;
            break;
        }
        hecho += n;
    }
    return hecho;
}

#endif
} // namespace

ArchivoPublicado::ArchivoPublicado(const QString& destino) : destino_(destino) {
    temporal_ =
        destino + QLatin1Char('.') + QString::number(QCoreApplication::applicationPid()) + kSufijo;
}

ArchivoPublicado::~ArchivoPublicado() {
#ifdef Q_OS_UNIX
    if (fd_ >= 0) {
        ::close(fd_);
    }
#endif
    if (!temporal_.isEmpty()) {
        QFile::remove(temporal_);
    }
}

void ArchivoPublicado::crea() {
    if (!vuelca()) {
        fallaGuardada();
    }
}

void ArchivoPublicado::agrega(const QByteArray& contenido) {
    pendiente_ += contenido;
    terminado_ = false;
    // Large writes; after a failure, everything waits for termina().
    if (pendiente_.size() >= kVolcado && error_ == 0) {
        vuelca();
    }
}

bool ArchivoPublicado::vuelca() {
#ifdef Q_OS_UNIX
    if (fd_ < 0) {
        // Our own leftover of an earlier run of this process goes first.
        QFile::remove(temporal_);
        const QByteArray nombre = QFile::encodeName(temporal_);
        fd_ =
            ::open(nombre.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
        if (fd_ < 0) {
            error_ = errno;
            errorAlCrear_ = true;
            return false;
        }
    }
    int error = 0;
    const qint64 hecho = escribeTodo(fd_, pendiente_, error);
    if (error != 0) {
        error_ = error;
        errorAlCrear_ = false;
    }
    escritos_ += hecho;
    pendiente_.remove(0, hecho);
    if (error_ != 0) {
        // A short write may have left part of a record: the file ends at
        // the last byte known written, and the rest waits in memory.
        if (::ftruncate(fd_, escritos_) != 0 || ::lseek(fd_, escritos_, SEEK_SET) < 0) {
            ::close(fd_);
            fd_ = -1;
            QFile::remove(temporal_);
            pendiente_.clear();
            escritos_ = 0;
            error_ = EIO;
            errorAlCrear_ = false;
            perdido_ = true;
        }
        return false;
    }
    return true;
#else
    QFile f(temporal_);
    const auto modo = escritos_ == 0 ? (QIODevice::WriteOnly | QIODevice::Truncate)
                                     : (QIODevice::WriteOnly | QIODevice::Append);
    if (!f.open(modo)) {
        error_ = 1;
        errorAlCrear_ = true;
        motivo_ = f.errorString();
        return false;
    }
    const qint64 n = f.write(pendiente_);
    if (n != pendiente_.size() || !f.flush()) {
        error_ = 1;
        errorAlCrear_ = false;
        motivo_ = f.errorString();
        f.resize(escritos_);
        return false;
    }
    escritos_ += n;
    pendiente_.clear();
    return true;
#endif
}

void ArchivoPublicado::fallaGuardada() {
#ifdef Q_OS_UNIX
    const QString motivo = MotivoSistema(error_);
#else
    const QString motivo = motivo_;
#endif
    error_ = 0;
    if (errorAlCrear_) {
        // The temporary name means nothing to the operator: the file they chose does.
        falla(kErrorAcceso, QStringLiteral("No se pudo crear el archivo"), destino_, motivo);
    }
    falla(kErrorEscritura, QStringLiteral("No se pudo escribir en el archivo"), destino_, motivo);
}

void ArchivoPublicado::termina() {
    if (terminado_) {
        return;
    }
    if (perdido_) {
        // What was written could not be kept: the content is gone with it,
        // and no later attempt can give it back.
        error_ = EIO;
        errorAlCrear_ = false;
        fallaGuardada();
    }
    error_ = 0;
    if (!vuelca()) {
        fallaGuardada();
    }
#ifdef Q_OS_UNIX
    if (::fsync(fd_) != 0) {
        error_ = errno;
        errorAlCrear_ = false;
        fallaGuardada();
    }
#endif
    terminado_ = true;
}

void ArchivoPublicado::escribe(const QByteArray& contenido) {
    agrega(contenido);
    termina();
}

void ArchivoPublicado::publica() {
    termina();
#ifdef Q_OS_UNIX
    if (fd_ >= 0 && ::close(fd_) != 0) {
        const int error = errno;
        fd_ = -1;
        falla(kErrorEscritura, QStringLiteral("No se pudo escribir en el archivo"), destino_,
              MotivoSistema(error));
    }
    fd_ = -1;
#endif
    std::error_code error;
    // rename() replaces the name itself: a link there is replaced, not followed.
    std::filesystem::rename(ruta(temporal_), ruta(destino_), error);
    if (error) {
        falla(kErrorAcceso, QStringLiteral("No se pudo reemplazar el archivo"), destino_,
              MotivoSistema(error));
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

void ArchivoPublicado::conserva() {
#ifdef Q_OS_UNIX
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
#endif
    temporal_.clear();
}

bool ArchivoPublicado::publicaTemporal(const QString& temporal, const QString& destino) {
    const QFileInfo info(temporal);
    if (!info.isFile() || info.isSymLink()) {
        return false;
    }
    std::error_code error;
    std::filesystem::rename(ruta(temporal), ruta(destino), error);
    if (error) {
        falla(kErrorAcceso, QStringLiteral("No se pudo reemplazar el archivo"), destino,
              MotivoSistema(error));
    }
    return true;
}

bool ArchivoPublicado::agregaAlFinal(const QString& ruta, const QByteArray& contenido) {
#ifdef Q_OS_UNIX
    const int fd = ::open(QFile::encodeName(ruta).constData(),
                          O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd < 0) {
        return false;
    }
    int error = 0;
    escribeTodo(fd, contenido, error);
    return ::close(fd) == 0 && error == 0;
#else
    if (QFileInfo(ruta).isSymLink()) {
        return false;
    }
    QFile f(ruta);
    return f.open(QIODevice::WriteOnly | QIODevice::Append) &&
           f.write(contenido) == contenido.size();
#endif
}

namespace {
// The process number in a temporary file's name ("CAMBIOS.TXT.1234.tmp"); 0 when none.
qint64 procesoDe(const QString& nombre) {
    if (!nombre.endsWith(kSufijo)) {
        return 0;
    }
    const QString sinSufijo = nombre.left(nombre.size() - kSufijo.size());
    bool ok = false;
    const qint64 n = sinSufijo.mid(sinSufijo.lastIndexOf(QLatin1Char('.')) + 1).toLongLong(&ok);
    return ok && n > 0 ? n : 0;
}

bool vivoYAjeno(qint64 n) {
#ifdef Q_OS_UNIX
    return n > 0 && n != QCoreApplication::applicationPid() && ::kill(pid_t(n), 0) == 0;
#else
    (void)n;
    return false;
#endif
}
} // namespace

bool ArchivoPublicado::deOtroProcesoVivo(const QString& temporal) {
    return vivoYAjeno(procesoDe(QFileInfo(temporal).fileName()));
}

void ArchivoPublicado::limpiaRestos(const QString& destino) {
    const QFileInfo info(destino);
    QDir carpeta = info.absoluteDir();
    const QString prefijo = info.fileName() + QLatin1Char('.');
    const QStringList restos = carpeta.entryList({prefijo + QStringLiteral("*") + kSufijo},
                                                 QDir::Files | QDir::System | QDir::Hidden);
    for (const QString& nombre : restos) {
        bool ok = false;
        const qint64 n = nombre.mid(prefijo.size(), nombre.size() - prefijo.size() - kSufijo.size())
                             .toLongLong(&ok);
        if (!ok || n <= 0) {
            continue; // not one of ours
        }
        // A generation still running in that process keeps its files.
        if (vivoYAjeno(n)) {
            continue;
        }
        QFile::remove(carpeta.filePath(nombre));
    }
}
