#include "utility_library/CarpetasPrograma.h"
#include "utility_library/QlIni.h"

#include "utility_library/Cp1252.h"
#include "utility_library/Programa.h"

#include <QFile>
#include <QFileInfo>

QString QlIni::Ruta(const QString& archivo) {
    if (QFileInfo(archivo).isAbsolute()) {
        return archivo;
    }
    return CarpetasPrograma::escritura() + archivo;
}

QString QlIni::LeeValor(const QString& archivo, const QString& seccion, const QString& clave,
                        const QString& porDefecto) {
    QFile f(Ruta(archivo));
    if (!f.open(QIODevice::ReadOnly)) {
        return porDefecto;
    }
    const QString texto = Cp1252::decodifica(f.readAll());
    bool enSeccion = false;
    for (QString linea : texto.split(QLatin1Char('\n'))) {
        linea = linea.trimmed();
        if (linea.isEmpty() || linea.startsWith(';')) {
            continue;
        }
        if (linea.startsWith('[')) {
            const auto fin = linea.indexOf(']');
            const QString nombre = linea.mid(1, fin < 0 ? -1 : fin - 1).trimmed();
            enSeccion = nombre.compare(seccion.trimmed(), Qt::CaseInsensitive) == 0;
            continue;
        }
        if (!enSeccion) {
            continue;
        }
        const auto igual = linea.indexOf('=');
        if (igual < 0) {
            continue;
        }
        if (linea.left(igual).trimmed().compare(clave.trimmed(), Qt::CaseInsensitive) == 0) {
            QString valor = linea.mid(igual + 1).trimmed();
            if (valor.size() >= 2 && valor.startsWith('"') && valor.endsWith('"')) {
                valor = valor.mid(1, valor.size() - 2);
            }
            return valor;
        }
    }
    return porDefecto;
}
