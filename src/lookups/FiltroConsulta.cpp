#include "lookups/FiltroConsulta.h"

#include "db/TextoSql.h"
#include "utility_library/QlTexto.h"

namespace FiltroConsulta {

namespace {
QString junta(const QString& sql) {
    return sql.contains(QLatin1String("where"), Qt::CaseInsensitive) ? QStringLiteral(" and ")
                                                                     : QStringLiteral(" where ");
}
// An "order by" tail goes apart from the statement it ends.
void separaOrden(const QString& sql, Resultado& r) {
    const auto p = sql.indexOf(QLatin1String("order by"), 0, Qt::CaseInsensitive);
    if (p >= 0) {
        r.orden = sql.mid(p);
        r.base = sql.left(p);
    }
}
} // namespace

Resultado Lista(const QString& sql, const QString& base, const QString& campo, const QString& texto,
                bool contiene) {
    Resultado r;
    r.base = base;
    separaOrden(sql, r);
    const auto g = sql.indexOf(QLatin1String("group by"), 0, Qt::CaseInsensitive);
    if (g >= 0) {
        const QString cola = sql.mid(g).trimmed();
        if (!cola.isEmpty()) {
            r.orden = cola;
        }
        r.base = sql.left(g);
    }
    QString prefijo;
    if (r.base.contains(QLatin1String("stk_ma_articulos."), Qt::CaseInsensitive)) {
        prefijo = QStringLiteral("stk_ma_articulos.");
    }
    if (r.base.contains(QLatin1String("v_ma_articulos."), Qt::CaseInsensitive)) {
        prefijo = QStringLiteral("v_ma_articulos.");
    }
    QString patron;
    r.texto = texto;
    if (contiene) {
        patron = QStringLiteral("%") + QString(texto).replace(QLatin1Char(' '), QLatin1Char('%')) +
                 QStringLiteral("%");
    } else {
        r.texto = QlUtil::Reemplaza(texto, QStringLiteral("*"), QStringLiteral("%"));
        patron = r.texto + QStringLiteral("%");
    }
    r.sql = r.base + junta(sql) + prefijo + campo + QStringLiteral(" like ") +
            TextoSql::Literal(patron) + QLatin1Char(' ') + r.orden;
    return r;
}

Resultado Arbol(const QString& sql, const QString& texto) {
    Resultado r;
    r.base = sql;
    separaOrden(sql, r);
    r.texto = texto;
    r.sql = r.base + junta(sql) + QStringLiteral("Descripcion like ") +
            TextoSql::Literal(QStringLiteral("%") + texto + QStringLiteral("%")) +
            QLatin1Char(' ') + r.orden;
    return r;
}

} // namespace FiltroConsulta
