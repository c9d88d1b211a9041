#include "generator/FormatoNovedad.h"

#include "generator/FilaNovedad.h"
#include "utility_library/Booleano.h"
#include "utility_library/QlUtil.h"

#include <QRegularExpression>

#include <cmath>
#include <cstdio>
#include <limits>

namespace {
// Rounds |valor| half away from zero to `decimales`, working on its decimal
// text to six places so that 2.0005 rounds up as it reads, not as the binary
// double happens to fall. Gives the result in units of 10^-decimales. An
// integer part beyond 64 bits (or no number at all) reads as 0, as it always has.
qint64 redondea(double valor, int decimales) {
    qint64 entero = 0;
    qint64 millonesimas = 0;
    if (std::isfinite(valor)) {
        char t[400]; // the widest double in "%.6f" takes 316
        const int n = std::snprintf(t, sizeof t, "%.6f", std::abs(valor));
        int i = 0;
        bool desborde = false;
        for (; i < n && t[i] != '.'; ++i) {
            const int d = t[i] - '0';
            if (entero > (std::numeric_limits<qint64>::max() - d) / 10) {
                desborde = true;
            }
            entero = desborde ? 0 : entero * 10 + d;
        }
        if (desborde) {
            entero = 0;
        }
        for (++i; i < n; ++i) {
            millonesimas = millonesimas * 10 + (t[i] - '0');
        }
    }
    qint64 escala = 1;
    for (int i = 0; i < decimales; ++i) {
        escala *= 10;
    }
    const qint64 divisor = 1000000 / escala;
    return entero * escala + (millonesimas + divisor / 2) / divisor;
}
} // namespace

QString FormatoNovedad::Importe(double valor) {
    if (!std::isfinite(valor)) {
        valor = 0;
    }
    if (std::abs(valor) >= 1e12) {
        // Far beyond any price: keep the digits, same layout.
        QString t = QString::number(valor, 'f', 3);
        t.remove('.');
        return t;
    }
    const qint64 milesimas = redondea(valor, 3);
    char texto[32];
    const int n = std::snprintf(
        texto, sizeof texto, "%s%06lld%03lld", valor < 0 && milesimas != 0 ? "-" : "",
        static_cast<long long>(milesimas / 1000), static_cast<long long>(milesimas % 1000));
    return QString::fromLatin1(texto, n);
}

QString FormatoNovedad::ImporteTexto(const QString& texto) {
    return Importe(QlUtil::TextoANumero(texto));
}

QString FormatoNovedad::CodInterno(const QString& codigo) {
    return codigo.trimmed().left(9).trimmed().rightJustified(9, QLatin1Char('0'));
}

QString FormatoNovedad::Texto(const QString& texto, int ancho) {
    return QlUtil::AjustaTexto(texto.left(ancho).trimmed(), ancho);
}

QString FormatoNovedad::TipoIva(const QString& tasa, const QString& ivaPorDefecto) {
    QString t = tasa.trimmed();
    if (t.isEmpty()) {
        t = ivaPorDefecto.trimmed();
    }
    return t.compare(FilaNovedad::kIva21, Qt::CaseInsensitive) == 0 ? QStringLiteral("0")
                                                                    : QStringLiteral("1");
}

QString FormatoNovedad::CodBarra(const QString& codigoBarra, const QString& codInterno) {
    const QString b = codigoBarra.trimmed();
    const QString r = b.isEmpty() ? codInterno + QStringLiteral("0000") : b.left(13);
    return QlUtil::AjustaTexto(r, 13);
}

QString FormatoNovedad::Rubro(const QString& rubro) {
    const QString r = rubro.trimmed().left(2);
    return r.trimmed().isEmpty() ? FilaNovedad::kSinRubro : r;
}

QString FormatoNovedad::Pesable(const QString& pesable) {
    const QString p = pesable.trimmed().isEmpty() ? QStringLiteral("0") : pesable.trimmed();
    return TextoABooleano(p, true) ? QStringLiteral("1") : QStringLiteral("0");
}

bool FormatoNovedad::EsNumero(const QString& texto) {
    // [+-]? then digits with an optional point and more digits, or a point
    // and digits. Any Unicode decimal digit counts, as \d does.
    const QChar* c = texto.constData();
    const QChar* const fin = c + texto.size();
    if (c != fin && (*c == QLatin1Char('+') || *c == QLatin1Char('-'))) {
        ++c;
    }
    qsizetype antes = 0, despues = 0;
    while (c != fin && c->isDigit()) {
        ++c, ++antes;
    }
    if (c != fin && *c == QLatin1Char('.')) {
        ++c;
        while (c != fin && c->isDigit()) {
            ++c, ++despues;
        }
    }
    // "$" also matches before one final line break.
    if (c != fin && *c == QLatin1Char('\n') && c + 1 == fin) {
        ++c;
    }
    return c == fin && (antes > 0 || despues > 0);
}

std::optional<double> FormatoNovedad::LeeImporte(const QString& texto) {
    static const QRegularExpression simple(QStringLiteral(R"(^[+-]?(\d+[.,]?\d*|[.,]\d+)$)"));
    static const QRegularExpression miles(
        QStringLiteral(R"(^[+-]?(\d{1,3}(\.\d{3})+(,\d*)?|\d{1,3}(,\d{3})+(\.\d*)?)$)"));
    const QString t = texto.trimmed();
    if (t.isEmpty()) {
        return 0.0;
    }
    if (!simple.match(t).hasMatch() && !miles.match(t).hasMatch()) {
        return std::nullopt;
    }
    // Both forms read the way the suite reads every amount.
    return QlUtil::TextoANumero(t);
}

QString FormatoNovedad::Patron(const QString& texto, int digitos) {
    const QString t = texto.trimmed();
    // Plain digits (nearly every code and category) are their own whole
    // number: no trip through a double.
    if (!t.isEmpty() && t.size() <= 15) {
        qint64 entero = 0;
        bool digitosSolos = true;
        for (QChar c : t) {
            const char16_t u = c.unicode();
            if (u < '0' || u > '9') {
                digitosSolos = false;
                break;
            }
            entero = entero * 10 + (u - '0');
        }
        if (digitosSolos) {
            return QString::number(entero).rightJustified(digitos, QLatin1Char('0'));
        }
    }
    if (!EsNumero(t)) {
        return t;
    }
    return Patron(t.toDouble(), digitos);
}

QString FormatoNovedad::Patron(double valor, int digitos) {
    const qint64 entero = redondea(valor, 0);
    const QString texto = QString::number(entero).rightJustified(digitos, QLatin1Char('0'));
    return valor < 0 && entero != 0 ? QLatin1Char('-') + texto : texto;
}
