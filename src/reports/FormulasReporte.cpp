#include "reports/FormulasReporte.h"

#include "reports/ErroresReporte.h"
#include "utility_library/ErrorKX.h"

#include <QRegularExpression>

namespace {

[[noreturn]] void invalida(const QString& que, const QString& formula) {
    throw FalloKX(ErroresReporte::kFormulaInvalida,
                  QStringLiteral("%1 no válida: \"%2\". Se espera {tabla.columna} =valor, con un "
                                 "número o un texto entre comillas.")
                      .arg(que, formula),
                  QStringLiteral("QlReport"));
}

// 'text' or "text", the quote doubled inside.
bool textoEntreComillas(const QString& t, QString& valor) {
    if (t.size() < 2) {
        return false;
    }
    const QChar q = t.front();
    if ((q != QLatin1Char('\'') && q != QLatin1Char('"')) || t.back() != q) {
        return false;
    }
    const QString dentro = t.mid(1, t.size() - 2);
    QString r;
    for (int i = 0; i < dentro.size(); ++i) {
        if (dentro[i] == q) {
            if (i + 1 < dentro.size() && dentro[i + 1] == q) {
                r += q;
                ++i;
                continue;
            }
            return false; // a lone quote inside: not one text
        }
        r += dentro[i];
    }
    valor = r;
    return true;
}

} // namespace

SeleccionReporte FormulasReporte::leeSeleccion(const QString& formula) {
    static const QRegularExpression forma(QStringLiteral(
        R"(^\s*\{\s*([A-Za-z_][A-Za-z0-9_]*)\s*\.\s*([A-Za-z_][A-Za-z0-9_]*)\s*\}\s*=\s*(.*?)\s*$)"));
    const QRegularExpressionMatch m = forma.match(formula);
    if (!m.hasMatch()) {
        invalida(QStringLiteral("Fórmula de selección"), formula);
    }
    SeleccionReporte s{m.captured(1), m.captured(2), QVariant()};
    const QString valor = m.captured(3);
    static const QRegularExpression entero(QStringLiteral(R"(^[-+]?\d{1,18}$)"));
    static const QRegularExpression decimal(QStringLiteral(R"(^[-+]?\d+\.\d+$)"));
    QString texto;
    if (entero.match(valor).hasMatch()) {
        s.valor = valor.toLongLong();
    } else if (decimal.match(valor).hasMatch()) {
        s.valor = valor.toDouble();
    } else if (textoEntreComillas(valor, texto)) {
        s.valor = texto;
    } else {
        invalida(QStringLiteral("Fórmula de selección"), formula);
    }
    return s;
}

QHash<QString, QString> FormulasReporte::leeFormulas(const QStringList& formulas) {
    static const QRegularExpression forma(
        QStringLiteral(R"(^\s*([A-Za-z_][A-Za-z0-9_]*)\s*=\s*'(.*)'\s*$)"),
        QRegularExpression::DotMatchesEverythingOption);
    QHash<QString, QString> r;
    for (const QString& f : formulas) {
        if (f.trimmed().isEmpty()) {
            continue;
        }
        const QRegularExpressionMatch m = forma.match(f);
        if (!m.hasMatch()) {
            throw FalloKX(
                ErroresReporte::kFormulaInvalida,
                QStringLiteral("Fórmula no válida: \"%1\". Se espera Nombre = 'texto'.").arg(f),
                QStringLiteral("QlReport"));
        }
        r.insert(m.captured(1).toLower(), m.captured(2));
    }
    return r;
}
