#include "lookups/AnchosConsultas.h"

#include "lookups/RegistroFallas.h"
#include "utility_library/ArchivoPublicado.h"
#include "utility_library/Cp1252.h"
#include "utility_library/ErrorKX.h"
#include "utility_library/QlTexto.h"

#include <QFile>
#include <QFileInfo>

namespace {

struct LineaAnchos {
    bool valida = false;
    QString clave, anchos;
};

// The sequential-file form: two fields between double quotes, a comma between.
LineaAnchos leeLinea(const QString& linea) {
    LineaAnchos r;
    const QString t = linea.trimmed();
    if (!t.startsWith(QLatin1Char('"'))) {
        return r;
    }
    const auto finClave = t.indexOf(QLatin1Char('"'), 1);
    if (finClave < 0) {
        return r;
    }
    r.clave = t.mid(1, finClave - 1);
    QString resto = t.mid(finClave + 1).trimmed();
    if (!resto.startsWith(QLatin1Char(','))) {
        return r;
    }
    resto = resto.mid(1).trimmed();
    if (resto.startsWith(QLatin1Char('"'))) {
        const auto fin = resto.indexOf(QLatin1Char('"'), 1);
        if (fin < 0) {
            return r;
        }
        r.anchos = resto.mid(1, fin - 1);
    } else {
        r.anchos = resto;
    }
    r.valida = true;
    return r;
}

QList<QByteArray> lineas(const QString& ruta, bool* existe) {
    QFile f(ruta);
    *existe = f.exists();
    QList<QByteArray> r;
    if (!f.open(QIODevice::ReadOnly)) {
        return r;
    }
    const QByteArray todo = f.readAll();
    for (QByteArray l : todo.split('\n')) {
        if (l.endsWith('\r')) {
            l.chop(1);
        }
        r.append(l);
    }
    if (!r.isEmpty() && r.last().isEmpty()) {
        r.removeLast();
    }
    return r;
}

} // namespace

namespace AnchosConsultas {

QString RutaAnchos(const QString& carpeta) {
    return QlUtil::AgregaBarra(carpeta) + QStringLiteral("CONSULTASLEN.KVX");
}

QString ClaveTabla(const QString& sql) {
    const QString s = sql + QLatin1Char(' ');
    const auto desde = s.indexOf(QLatin1String("from "), 0, Qt::CaseInsensitive);
    if (desde < 0) {
        return QString();
    }
    QString resto = s.mid(desde + 5);
    // The statement may hold several blanks after "from".
    resto = resto.trimmed() + QLatin1Char(' ');
    return resto.left(resto.indexOf(QLatin1Char(' '))).trimmed();
}

QString ClaveAnchos(const QString& clave) {
    if (clave.compare(QLatin1String("Stk_ma_articulos"), Qt::CaseInsensitive) == 0) {
        return QStringLiteral("VT_MA_ARTICULOS");
    }
    return clave;
}

QList<int> CargaAnchos(const QString& carpeta, const QString& clave) {
    bool existe = false;
    const QList<QByteArray> todas = lineas(RutaAnchos(carpeta), &existe);
    QList<int> anchos;
    const QString buscada = ClaveAnchos(clave);
    int numero = 0;
    for (const QByteArray& bytes : todas) {
        ++numero;
        const LineaAnchos l = leeLinea(Cp1252::decodifica(bytes));
        if (!l.valida) {
            if (!bytes.trimmed().isEmpty()) {
                RegistraFalla(QStringLiteral("CargaAnchos"), 62,
                              RutaAnchos(carpeta) + QStringLiteral(": linea ") +
                                  QString::number(numero) + QStringLiteral(" ilegible, se ignora"));
            }
            continue;
        }
        if (l.clave.trimmed().compare(buscada, Qt::CaseInsensitive) != 0) {
            continue;
        }
        // A later line overrides what an earlier one set, column by column.
        QString resto = l.anchos;
        for (int i = 0;; ++i) {
            const auto barra = resto.indexOf(QLatin1Char('|'));
            if (barra < 0) {
                break;
            }
            bool ok = false;
            const double v = resto.left(barra).trimmed().toDouble(&ok);
            if (!ok || v < 0 || v > 1e7) {
                break;
            }
            if (i < anchos.size()) {
                anchos[i] = int(v);
            } else {
                anchos.append(int(v));
            }
            resto = resto.mid(barra + 1);
        }
    }
    return anchos;
}

bool GrabaAnchos(const QString& carpeta, const QString& clave, const QList<int>& anchos) {
    const QString ruta = RutaAnchos(carpeta);
    const QString propia = ClaveAnchos(clave);
    bool existe = false;
    const QList<QByteArray> viejas = lineas(ruta, &existe);
    QByteArray nuevo;
    for (const QByteArray& bytes : viejas) {
        const LineaAnchos l = leeLinea(Cp1252::decodifica(bytes));
        // Lines this program cannot read are somebody else's: kept as they are.
        if (l.valida && l.clave.trimmed().compare(propia, Qt::CaseInsensitive) == 0) {
            continue;
        }
        nuevo += bytes + "\r\n";
    }
    QString campo;
    for (int a : anchos) {
        campo += QString::number(a) + QLatin1Char('|');
    }
    nuevo += Cp1252::codifica(QLatin1Char('"') + propia + QStringLiteral("\",\"") + campo +
                              QLatin1Char('"')) +
             "\r\n";
    // Written beside and renamed over: a link there is replaced, never
    // followed, and a crash midway leaves the earlier widths whole.
    try {
        ArchivoPublicado archivo(ruta);
        archivo.escribe(nuevo);
        archivo.publica();
    } catch (const FalloKX&) {
        return false;
    }
    return true;
}

} // namespace AnchosConsultas
