#include "utility_library/QlTexto.h"

#include "utility_library/Regional.h"

#include <QDateTime>
#include <QRegularExpression>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <system_error>

QString QlUtil::AjustaTexto(const QString& texto, int ancho) {
    if (ancho <= 0) {
        return QString();
    }
    if (texto.size() >= ancho) {
        return texto.left(ancho);
    }
    return texto + QString(ancho - texto.size(), QLatin1Char(' '));
}

namespace {
// An unsigned or "-" signed decimal without grouping ("1250.5", "-3"), read
// as QString::toDouble reads it (correctly rounded) without a copy of the
// text; false for anything else.
bool decimalSimple(const QString& texto, double& valor) {
    const qsizetype n = texto.size();
    if (n == 0 || n > 40) {
        return false;
    }
    char buffer[48];
    int puntos = 0, digitos = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t u = texto[i].unicode();
        if (u >= '0' && u <= '9') {
            ++digitos;
        } else if (u == '.') {
            ++puntos;
        } else if (!(u == '-' && i == 0)) {
            return false;
        }
        buffer[i] = char(u);
    }
    if (digitos == 0 || puntos > 1) {
        return false;
    }
    const auto r = std::from_chars(buffer, buffer + n, valor);
    return r.ec == std::errc() && r.ptr == buffer + n;
}
} // namespace

double QlUtil::TextoANumero(const QString& texto) {
    double simple = 0;
    if (decimalSimple(texto, simple) && std::isfinite(simple)) {
        return simple;
    }
    QString t = texto.trimmed();
    if (t.isEmpty()) {
        return 0;
    }
    // Database drivers give "." as decimal separator; typed amounts may carry
    // "," instead. When both appear, the last one is the decimal separator.
    const auto coma = t.lastIndexOf(','), punto = t.lastIndexOf('.');
    if (coma >= 0 && punto >= 0) {
        if (coma > punto) {
            t.remove('.');
            t.replace(',', '.');
        } else {
            t.remove(',');
        }
    } else if (coma >= 0) {
        if (t.count(',') > 1) {
            t.remove(',');
        } else {
            t.replace(',', '.');
        }
    } else if (t.count('.') > 1) {
        t.remove('.');
    }
    bool ok = false;
    const double v = t.toDouble(&ok);
    return ok && std::isfinite(v) ? v : 0;
}

double QlUtil::TextoAMoneda(const QString& texto) {
    return std::round(TextoANumero(texto) * 10000.0) / 10000.0;
}

QString QlUtil::NoNulo(const QVariant& valor) {
    if (!valor.isValid() || valor.isNull()) {
        return QString();
    }
    switch (valor.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float: {
        // Shortest text that reads back as the same number, never exponent form.
        QString s = QString::number(valor.toDouble(), 'f', 6);
        if (s.contains('.')) {
            while (s.endsWith('0')) {
                s.chop(1);
            }
            if (s.endsWith('.')) {
                s.chop(1);
            }
        }
        return s;
    }
    case QMetaType::Bool:
        return valor.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    case QMetaType::QDate:
        return Regional::fechaCorta(valor.toDate());
    case QMetaType::QDateTime: {
        const QDateTime dt = valor.toDateTime();
        if (dt.time() == QTime(0, 0)) {
            return Regional::fechaCorta(dt.date());
        }
        return Regional::fechaHoraGeneral(dt);
    }
    default:
        return valor.toString();
    }
}

int QlUtil::CuentaPalabras(const QString& texto) {
    return int(texto.split(QLatin1Char(' '), Qt::SkipEmptyParts).size());
}

QString QlUtil::QuitaCaracteres(const QString& texto, const QString& caracteres) {
    QString r = texto;
    for (QChar c : caracteres) {
        r.remove(c);
    }
    return r;
}

QString QlUtil::Reemplaza(const QString& texto, const QString& busca, const QString& pone) {
    if (busca.isEmpty()) {
        return texto;
    }
    QString r = texto;
    return r.replace(busca, pone, Qt::CaseInsensitive);
}

QString QlUtil::FormateaCodigo(const QString& codigo, int ancho) {
    if (ancho < 0) {
        return codigo;
    }
    return AjustaTexto(codigo.trimmed(), ancho);
}

QString QlUtil::AgregaBarra(const QString& carpeta) {
    if (carpeta.endsWith('/') || carpeta.endsWith('\\')) {
        return carpeta;
    }
    return carpeta + QLatin1Char('/');
}

std::optional<qint64> QlUtil::Milesimas(QStringView celda) {
    const QStringView t = celda.trimmed();
    if (t.isEmpty() || t.size() > 18) {
        return std::nullopt;
    }
    bool ok = false;
    const qint64 v = t.toLongLong(&ok);
    return ok ? std::optional<qint64>(v) : std::nullopt;
}

QString QlUtil::TextoMilesimas(qint64 milesimas, int decimales, const QString& separador) {
    const qint64 a = milesimas < 0 ? -milesimas : milesimas;
    const int necesarios = a % 10 ? 3 : a % 100 ? 2 : a % 1000 ? 1 : 0;
    const int d = std::max(decimales, necesarios);
    QString t = QString::number(a / 1000);
    if (d > 0) {
        t += separador + QStringLiteral("%1").arg(a % 1000, 3, 10, QLatin1Char('0')).left(d);
    }
    return milesimas < 0 ? QLatin1Char('-') + t : t;
}
