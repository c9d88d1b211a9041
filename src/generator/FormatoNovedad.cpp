#include "generator/FormatoNovedad.h"

#include "generator/FilaNovedad.h"
#include "utility_library/Booleano.h"
#include "utility_library/QlUtil.h"

#include <QRegularExpression>
#include <cmath>

namespace {
// Rounds |valor| half away from zero to `decimales`, working on its decimal
// text to six places so that 2.0005 rounds up as it reads, not as the binary
// double happens to fall. Gives the result in units of 10^-decimales.
qint64 redondea(double valor, int decimales) {
    const QString t = QString::number(std::abs(valor), 'f', 6);
    const auto punto = t.indexOf('.');
    const qint64 entero = t.left(punto).toLongLong();
    const qint64 millonesimas = t.mid(punto + 1).toLongLong();
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
    const QString texto = QStringLiteral("%1%2")
                              .arg(milesimas / 1000, 6, 10, QLatin1Char('0'))
                              .arg(milesimas % 1000, 3, 10, QLatin1Char('0'));
    return valor < 0 && milesimas != 0 ? QLatin1Char('-') + texto : texto;
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
    static const QRegularExpression numero(QStringLiteral(R"(^[+-]?(\d+\.?\d*|\.\d+)$)"));
    return numero.match(texto).hasMatch();
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
