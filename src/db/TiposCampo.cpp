#include "db/TiposCampo.h"

#include <QDateTime>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QSqlResult>
#include <sqlite3.h>

namespace {

Recordset::TipoCampo tipoDeclarado(const QString& declarado) {
    const QString d = declarado.toUpper();
    if (d.isEmpty()) {
        return Recordset::TipoCampo::Otro;
    }
    if (d.startsWith(QLatin1String("BIT")) || d.contains(QLatin1String("BOOL"))) {
        return Recordset::TipoCampo::Booleano;
    }
    if (d.contains(QLatin1String("DATE")) || d.contains(QLatin1String("TIME"))) {
        return Recordset::TipoCampo::Fecha;
    }
    if (d.contains(QLatin1String("INT"))) {
        return Recordset::TipoCampo::Entero;
    }
    if (d.contains(QLatin1String("CHAR")) || d.contains(QLatin1String("CLOB")) ||
        d.contains(QLatin1String("TEXT"))) {
        return Recordset::TipoCampo::Texto;
    }
    if (d.contains(QLatin1String("BLOB")) || d.contains(QLatin1String("BINARY"))) {
        return Recordset::TipoCampo::Binario;
    }
    return Recordset::TipoCampo::Numero; // REAL, FLOAT, DOUBLE, NUMERIC, DECIMAL, MONEY
}

Recordset::TipoCampo tipoQt(int id) {
    switch (id) {
    case QMetaType::QString:
    case QMetaType::QChar:
        return Recordset::TipoCampo::Texto;
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
        return Recordset::TipoCampo::Entero;
    case QMetaType::Double:
    case QMetaType::Float:
        return Recordset::TipoCampo::Numero;
    case QMetaType::QDate:
    case QMetaType::QDateTime:
    case QMetaType::QTime:
        return Recordset::TipoCampo::Fecha;
    case QMetaType::Bool:
        return Recordset::TipoCampo::Booleano;
    case QMetaType::QByteArray:
        return Recordset::TipoCampo::Binario;
    default:
        return Recordset::TipoCampo::Otro;
    }
}

int tamanoDeclarado(const QString& declarado) {
    static const QRegularExpression re(QStringLiteral("\\(\\s*(\\d+)"));
    const auto m = re.match(declarado);
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

// SQLite keeps dates as ISO text; the program expects date values.
QVariant fechaSqlite(const QVariant& v, const QString& declarado) {
    if (v.isNull() || v.typeId() != QMetaType::QString) {
        return v;
    }
    const QString s = v.toString().trimmed();
    const QString d = declarado.toUpper();
    const bool conHora =
        d.contains(QLatin1String("DATETIME")) || d.contains(QLatin1String("TIMESTAMP"));
    if (!conHora && d.contains(QLatin1String("TIME")) && !d.contains(QLatin1String("DATE"))) {
        const QTime t = QTime::fromString(s.left(8), QStringLiteral("HH:mm:ss"));
        return t.isValid() ? QVariant(t) : v;
    }
    const QDate dia = QDate::fromString(s.left(10), Qt::ISODate);
    if (!dia.isValid()) {
        return v;
    }
    if (!conHora) {
        return dia;
    }
    QTime hora(0, 0);
    if (s.size() > 11) {
        QString h = s.mid(11);
        hora = QTime::fromString(h.left(12), QStringLiteral("HH:mm:ss.zzz"));
        if (!hora.isValid()) {
            hora = QTime::fromString(h.left(8), QStringLiteral("HH:mm:ss"));
        }
        if (!hora.isValid()) {
            hora = QTime::fromString(h.left(5), QStringLiteral("HH:mm"));
        }
        if (!hora.isValid()) {
            return v;
        }
    }
    return QDateTime(dia, hora);
}

bool sonFechasIso(const QVector<QVector<QVariant>>& filas, int i) {
    static const QRegularExpression iso(
        QStringLiteral("^\\d{4}-\\d{2}-\\d{2}( \\d{2}:\\d{2}(:\\d{2}(\\.\\d+)?)?)?$"));
    bool alguna = false;
    for (const auto& fila : filas) {
        const QVariant& v = fila[i];
        if (v.isNull()) {
            continue;
        }
        if (v.typeId() != QMetaType::QString || !iso.match(v.toString()).hasMatch()) {
            return false;
        }
        alguna = true;
    }
    return alguna;
}

// The statement behind a SQLite result, whose declared column types Qt does
// not pass on; null elsewhere.
sqlite3_stmt* sentenciaSqlite(const QSqlQuery& q) {
    const QVariant h = q.result()->handle();
    if (h.isValid() && qstrcmp(h.typeName(), "sqlite3_stmt*") == 0) {
        return *static_cast<sqlite3_stmt* const*>(h.constData());
    }
    return nullptr;
}

} // namespace

namespace TiposCampo {

bool leeResultado(QSqlQuery& q, bool sqliteNativo, QList<Recordset::InfoCampo>& campos,
                  QVector<QVector<QVariant>>& filas) {
    const QSqlRecord rec = q.record();
    const int n = rec.count();
    QStringList declarados;
    sqlite3_stmt* st = sqliteNativo ? sentenciaSqlite(q) : nullptr;
    for (int i = 0; i < n; ++i) {
        const QSqlField f = rec.field(i);
        Recordset::InfoCampo c;
        c.nombre = f.name();
        if (st) {
            const char* d = sqlite3_column_decltype(st, i);
            declarados << (d ? QString::fromUtf8(d) : QString());
            c.tipo = tipoDeclarado(declarados.last());
            c.tamanoDefinido = tamanoDeclarado(declarados.last());
        } else {
            c.tipo = tipoQt(f.metaType().id());
            c.tamanoDefinido =
                c.tipo == Recordset::TipoCampo::Texto && f.length() > 0 ? f.length() : -1;
        }
        campos << c;
    }
    while (q.next()) {
        QVector<QVariant> fila(n);
        for (int i = 0; i < n; ++i) {
            QVariant v = q.value(i);
            if (st && campos[i].tipo == Recordset::TipoCampo::Fecha) {
                v = fechaSqlite(v, declarados[i]);
            }
            fila[i] = std::move(v);
        }
        filas.append(std::move(fila));
    }
    if (q.lastError().isValid()) {
        return false;
    }
    // Expressions carry no declared type: judge by their values.
    // On SQLite, MAX(date column) and the like give the ISO text back.
    for (int i = 0; i < n; ++i) {
        if (campos[i].tipo != Recordset::TipoCampo::Otro) {
            continue;
        }
        if (st && sonFechasIso(filas, i)) {
            campos[i].tipo = Recordset::TipoCampo::Fecha;
            for (auto& fila : filas) {
                const QString v = fila[i].toString();
                fila[i] = fechaSqlite(fila[i], v.size() > 10 ? QStringLiteral("DATETIME")
                                                             : QStringLiteral("DATE"));
            }
            continue;
        }
        for (const auto& fila : filas) {
            if (!fila[i].isNull()) {
                campos[i].tipo = tipoQt(fila[i].typeId());
                break;
            }
        }
    }
    return true;
}

QVariant valorParaMotor(const QVariant& v, Plataforma p) {
    if (p != Plataforma::Sqlite || v.isNull()) {
        return v;
    }
    // Dates as the ISO text the schema keeps (no "T", no milliseconds).
    if (v.typeId() == QMetaType::QDateTime) {
        const QDateTime dt = v.toDateTime();
        return dt.time() == QTime(0, 0) ? dt.date().toString(Qt::ISODate)
                                        : dt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    }
    if (v.typeId() == QMetaType::QDate) {
        return v.toDate().toString(Qt::ISODate);
    }
    return v;
}

} // namespace TiposCampo
