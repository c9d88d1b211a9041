#include "lookups/ArchivoOpciones.h"

#include "utility_library/Cp1252.h"

#include <QFile>

namespace ArchivoOpciones {
QStringList Lee(const QString& ruta) {
    QFile f(ruta);
    QStringList r;
    if (!f.open(QIODevice::ReadOnly)) {
        return r;
    }
    const QByteArray todo = f.readAll();
    if (todo.isEmpty()) {
        return r;
    }
    QList<QByteArray> partes = todo.split('\n');
    // The line end of the last line opens no further line.
    if (partes.last().isEmpty()) {
        partes.removeLast();
    }
    for (QByteArray l : partes) {
        if (l.endsWith('\r')) {
            l.chop(1);
        }
        r.append(Cp1252::decodifica(l));
    }
    return r;
}
} // namespace ArchivoOpciones
