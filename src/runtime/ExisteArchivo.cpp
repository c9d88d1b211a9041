#include "runtime/ExisteArchivo.h"

#include <QDir>
#include <QFileInfo>

namespace LBM_Common {

bool ExisteArchivo(const QString& ruta) {
    QString r = ruta;
    r.remove(QLatin1Char('"'));
    if (r.trimmed().isEmpty()) {
        return false;
    }
    r = QDir::fromNativeSeparators(r);
#ifndef Q_OS_WIN
    r.replace(QLatin1Char('\\'), QLatin1Char('/'));
#endif
    // Asked of the file system, never by opening the file: closing a
    // descriptor of a database file would drop the locks SQLite holds on it.
    const QFileInfo info(r);
    return info.isFile() && info.isReadable();
}

} // namespace LBM_Common
