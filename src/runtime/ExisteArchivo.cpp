#include "runtime/ExisteArchivo.h"

#include <QDir>
#include <QFile>
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
    if (!QFileInfo(r).isFile()) {
        return false;
    }
    QFile f(r);
    const bool ok = f.open(QIODevice::ReadOnly);
    f.close();
    return ok;
}

} // namespace LBM_Common
