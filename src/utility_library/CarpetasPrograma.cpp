#include "utility_library/CarpetasPrograma.h"

#include "utility_library/Programa.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QStandardPaths>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>
#endif

namespace {

struct Carpetas {
    QString clave;     // what they were decided from
    QString escritura; // ends with '/'
    QString lectura;   // ends with '/'
    QString motivo;    // why the program folder keeps nothing; empty when it keeps all
    bool creada = true;
};

QString conBarra(QString c) {
    c = QDir::fromNativeSeparators(c);
    if (!c.endsWith(QLatin1Char('/'))) {
        c += QLatin1Char('/');
    }
    return c;
}

// ../share/tarvelo of an installed layout, or empty.
QString datosInstalados(const QString& programa) {
    QDir bin(programa);
    if (bin.dirName() != QLatin1String("bin")) {
        return {};
    }
    const QString datos = QDir::cleanPath(bin.absoluteFilePath(QStringLiteral("../share/tarvelo")));
    return QFileInfo(datos).isDir() ? conBarra(datos) : QString();
}

// Why the folder cannot keep the program's files, or empty when it can.
QString sinEscritura(const QString& programa) {
#ifdef Q_OS_UNIX
    const QByteArray ruta = QFile::encodeName(programa);
    struct statvfs fs {};
    if (::statvfs(ruta.constData(), &fs) == 0 && (fs.f_flag & ST_RDONLY)) {
        return QStringLiteral("sistema de archivos de solo lectura");
    }
    if (::access(ruta.constData(), W_OK) != 0) {
        return QStringLiteral("sin permiso de escritura");
    }
    struct stat st {};
    if (::stat(ruta.constData(), &st) == 0 && (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
        return QStringLiteral("carpeta de solo lectura");
    }
    return {};
#else
    return QFileInfo(programa).isWritable() ? QString()
                                            : QStringLiteral("sin permiso de escritura");
#endif
}

// The folder of the files written when the program folder keeps none.
QString carpetaPropia() {
    // systemd's StateDirectory= may list several folders, separated by ':'.
    const QString estado = qEnvironmentVariable("STATE_DIRECTORY").section(QLatin1Char(':'), 0, 0);
    if (!estado.trimmed().isEmpty()) {
        return conBarra(estado);
    }
    // One folder for both programs, whatever each one's application name.
    return conBarra(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                    QStringLiteral("/tarvelo"));
}

Carpetas decide(const QString& programa) {
    Carpetas c;
    const QString instalados = datosInstalados(programa);
    c.motivo = instalados.isEmpty() ? sinEscritura(programa)
                                    : QStringLiteral("programa instalado");
    c.lectura = instalados.isEmpty() ? programa : instalados;
    if (c.motivo.isEmpty()) {
        c.escritura = programa;
        return c;
    }
    c.escritura = carpetaPropia();
    // The writers expect their folder: a missing one is an error to them.
    c.creada = QDir().mkpath(c.escritura);
    return c;
}

Carpetas actuales() {
    static QMutex mutex;
    static Carpetas cache;
    const QString programa = conBarra(Programa::carpeta());
    const QString clave = programa + QLatin1Char('\n') +
                          qEnvironmentVariable("STATE_DIRECTORY") + QLatin1Char('\n') +
                          qEnvironmentVariable("XDG_DATA_HOME") + QLatin1Char('\n') +
                          qEnvironmentVariable("HOME");
    QMutexLocker bloqueo(&mutex);
    if (cache.clave != clave) {
        cache = decide(programa);
        cache.clave = clave;
    }
    return cache;
}

} // namespace

QString CarpetasPrograma::escritura() {
    return actuales().escritura;
}

QString CarpetasPrograma::lectura() {
    return actuales().lectura;
}

bool CarpetasPrograma::enCarpetaPrograma() {
    return actuales().motivo.isEmpty();
}

QString CarpetasPrograma::informe() {
    const Carpetas c = actuales();
    QString r = QStringLiteral("Carpeta del programa: ") + conBarra(Programa::carpeta());
    if (c.motivo.isEmpty()) {
        return r + QLatin1Char('\n');
    }
    r += QStringLiteral(" (") + c.motivo + QStringLiteral(": no se escribe en ella)\n");
    r += QStringLiteral("Archivos escritos en: ") + c.escritura;
    if (!c.creada) {
        r += QStringLiteral(" (no se pudo crear)");
    }
    r += QStringLiteral("\nArchivos de solo lectura en: ") + c.lectura + QLatin1Char('\n');
    return r;
}

QString CarpetasPrograma::aviso() {
    const Carpetas c = actuales();
    if (c.motivo.isEmpty()) {
        return {};
    }
    return QStringLiteral("archivos de trabajo en ") + c.escritura +
           (c.creada ? QString() : QStringLiteral(" (no se pudo crear)")) +
           QStringLiteral("; recursos en ") + c.lectura;
}
