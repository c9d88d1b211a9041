#include "db/TextoSql.h"

QString TextoSql::Escapa(const QString& valor) {
    QString r = valor;
    return r.replace(QLatin1Char('\''), QLatin1String("''"));
}

QString TextoSql::Literal(const QString& valor) {
    return QLatin1Char('\'') + Escapa(valor) + QLatin1Char('\'');
}

bool TextoSql::EsEntero(const QString& texto) {
    const QString t = texto.trimmed();
    if (t.isEmpty() || t.size() > 18) {
        return false;
    }
    for (QChar c : t) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) {
            return false;
        }
    }
    return true;
}
