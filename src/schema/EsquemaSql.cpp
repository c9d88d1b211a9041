#include "schema/EsquemaSql.h"

#include "db/CapacidadesMotor.h"
#include "db/SqliteKX.h"
#include "db/motores/Motor.h"
#include "utility_library/ErrorKX.h"

#include <QFile>
#include <QRegularExpression>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>

// The resource lives in this static library; naming it here makes the linker
// keep it in every program that creates a schema.
static void iniciaRecursoEsquema() {
    Q_INIT_RESOURCE(esquema);
}

namespace {

const QString kFuente = QStringLiteral("EsquemaSql");

bool esSeparadorGo(const QString& linea) {
    return linea.trimmed().compare(QLatin1String("GO"), Qt::CaseInsensitive) == 0;
}

bool esComentarioOVacia(const QString& linea) {
    const QString t = linea.trimmed();
    return t.isEmpty() || t.startsWith(QLatin1String("--"));
}

// Only blank and comment lines: nothing to run.
bool soloComentarios(const QStringList& lineas) {
    for (const QString& l : lineas) {
        if (!esComentarioOVacia(l)) {
            return false;
        }
    }
    return true;
}

QStringList cortaEnGo(const QStringList& lineas) {
    QStringList salida;
    QStringList actual;
    for (const QString& l : lineas) {
        if (esSeparadorGo(l)) {
            if (!soloComentarios(actual)) {
                salida << actual.join(QLatin1Char('\n')).trimmed();
            }
            actual.clear();
        } else if (!(actual.isEmpty() && esComentarioOVacia(l))) {
            actual << l;
        }
    }
    if (!soloComentarios(actual)) {
        salida << actual.join(QLatin1Char('\n')).trimmed();
    }
    return salida;
}

QStringList cortaEnPuntoYComa(const QStringList& lineas) {
    static const QRegularExpression abreBloque(QStringLiteral("(^|\\s)BEGIN$"),
                                               QRegularExpression::CaseInsensitiveOption);
    QStringList salida;
    QStringList actual;
    bool enDolares = false;
    bool enBloque = false;
    for (const QString& l : lineas) {
        if (actual.isEmpty() && esComentarioOVacia(l)) {
            continue;
        }
        actual << l;
        if (l.count(QLatin1String("$$")) % 2 == 1) {
            enDolares = !enDolares;
        }
        if (enDolares) {
            continue;
        }
        const QString t = l.trimmed();
        if (!enBloque && abreBloque.match(t).hasMatch()) {
            enBloque = true;
            continue;
        }
        const bool fin = enBloque ? t.compare(QLatin1String("END;"), Qt::CaseInsensitive) == 0
                                  : t.endsWith(QLatin1Char(';'));
        if (fin) {
            salida << actual.join(QLatin1Char('\n')).trimmed();
            actual.clear();
            enBloque = false;
        }
    }
    if (!soloComentarios(actual)) {
        salida << actual.join(QLatin1Char('\n')).trimmed();
    }
    return salida;
}

QString primeraLinea(const QString& sentencia) {
    return sentencia.section(QLatin1Char('\n'), 0, 0).trimmed();
}

} // namespace

QString EsquemaSql::texto(Plataforma p) {
    iniciaRecursoEsquema();
    const QString nombre = MotorDe(p).archivoEsquema();
    if (nombre.isEmpty()) {
        return QString();
    }
    QFile f(nombre);
    if (!f.open(QIODevice::ReadOnly)) {
        return QString();
    }
    return QString::fromUtf8(f.readAll());
}

namespace {
// Statements of the suite's definition, read once.
const QStringList& sentenciasDeLaSuite() {
    static const QStringList s = EsquemaSql::sentencias(EsquemaSql::texto(Plataforma::SqlServer));
    return s;
}

QString sinComillas(QString n) {
    return n.remove(QLatin1Char('[')).remove(QLatin1Char(']')).remove(QLatin1Char('"')).trimmed();
}
} // namespace

QHash<QString, EsquemaSql::ColumnaSuite> EsquemaSql::columnasDeLaSuite(const QString& tabla) {
    QHash<QString, ColumnaSuite> r;
    const QString nombre =
        QRegularExpression::escape(sinComillas(tabla).section(QLatin1Char('.'), -1));
    if (nombre.isEmpty()) {
        return r;
    }
    const QRegularExpression tablaRe(
        QStringLiteral("^\\s*CREATE\\s+TABLE\\s+(?:dbo\\.)?%1\\s*\\((.*)\\)\\s*;?\\s*$")
            .arg(nombre),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpression vistaRe(
        QStringLiteral(
            "^\\s*CREATE\\s+VIEW\\s+(?:dbo\\.)?%1\\s+AS\\s+SELECT\\s+(.*?)\\s+FROM\\s+(.*)$")
            .arg(nombre),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression largoRe(QStringLiteral("^(?:n?varchar|n?char)\\s*\\((\\d+)\\)"),
                                            QRegularExpression::CaseInsensitiveOption);
    for (const QString& s : sentenciasDeLaSuite()) {
        if (const auto m = tablaRe.match(s); m.hasMatch()) {
            // One column a line: its name, then its type; constraints start
            // with a keyword.
            static const QStringList claves = {QStringLiteral("PRIMARY"), QStringLiteral("UNIQUE"),
                                               QStringLiteral("CONSTRAINT"),
                                               QStringLiteral("FOREIGN"), QStringLiteral("CHECK")};
            for (const QString& linea : m.captured(1).split(QLatin1Char('\n'))) {
                const QString t = linea.trimmed();
                const QString columna = sinComillas(t.section(QLatin1Char(' '), 0, 0));
                if (columna.isEmpty() || t.startsWith(QLatin1String("--")) ||
                    claves.contains(columna.toUpper())) {
                    continue;
                }
                ColumnaSuite c{columna, -1};
                if (const auto l = largoRe.match(t.section(QLatin1Char(' '), 1).trimmed());
                    l.hasMatch()) {
                    c.largo = l.captured(1).toInt();
                }
                r.insert(columna.toLower(), c);
            }
            return r;
        }
        if (const auto v = vistaRe.match(s); v.hasMatch()) {
            // The tables behind the view's prefixes ("FROM V_MA_ARTICULOS a").
            QHash<QString, QString> prefijos;
            static const QRegularExpression origenRe(
                QStringLiteral("(?:FROM|JOIN)\\s+(?:dbo\\.)?(\\w+)(?:\\s+(?:AS\\s+)?(\\w+))?"),
                QRegularExpression::CaseInsensitiveOption);
            auto it = origenRe.globalMatch(QStringLiteral("FROM ") + v.captured(2));
            while (it.hasNext()) {
                const auto o = it.next();
                const QString alias = o.captured(2);
                static const QStringList noAlias = {"ON",    "LEFT",  "RIGHT", "INNER",
                                                    "JOIN",  "WHERE", "CROSS", "FULL",
                                                    "OUTER", "GROUP", "ORDER"};
                prefijos.insert(
                    (alias.isEmpty() || noAlias.contains(alias.toUpper()) ? o.captured(1) : alias)
                        .toLower(),
                    o.captured(1));
            }
            for (const QString& parte : v.captured(1).split(QLatin1Char(','))) {
                const QString t = parte.simplified();
                const auto como = t.lastIndexOf(QLatin1String(" AS "), -1, Qt::CaseInsensitive);
                const QString origen = como >= 0 ? t.left(como) : t;
                const QString columna =
                    sinComillas(como >= 0 ? t.mid(como + 4) : t.section(QLatin1Char('.'), -1));
                ColumnaSuite c{columna, -1};
                const QString prefijo = origen.contains(QLatin1Char('.'))
                                            ? origen.section(QLatin1Char('.'), 0, 0).toLower()
                                            : QString();
                const QString base = prefijos.value(prefijo);
                if (!base.isEmpty() && base.compare(tabla, Qt::CaseInsensitive) != 0) {
                    c.largo =
                        columnasDeLaSuite(base)
                            .value(sinComillas(origen.section(QLatin1Char('.'), -1)).toLower())
                            .largo;
                }
                if (!columna.isEmpty()) {
                    r.insert(columna.toLower(), c);
                }
            }
            return r;
        }
    }
    return r;
}

QStringList EsquemaSql::sentencias(const QString& texto) {
    QString normal = texto;
    normal.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    const QStringList lineas = normal.split(QLatin1Char('\n'));
    for (const QString& l : lineas) {
        if (esSeparadorGo(l)) {
            return cortaEnGo(lineas);
        }
    }
    return cortaEnPuntoYComa(lineas);
}

void EsquemaSql::crea(QSqlDatabase db) {
    crea(db, CapacidadesMotor::de(db).plataforma);
}

void EsquemaSql::crea(QSqlDatabase db, Plataforma p) {
    if (!db.isOpen()) {
        throw FalloKX(-1,
                      QStringLiteral("La conexión no está abierta: no se puede crear el esquema."),
                      kFuente);
    }
    const QString sql = texto(p);
    if (sql.isEmpty()) {
        throw FalloKX(
            -1, QStringLiteral("No hay esquema para la plataforma %1.").arg(NombrePlataforma(p)),
            kFuente);
    }
    if (p == Plataforma::Sqlite && !RegistraKXSqlite(db)) {
        throw FalloKX(
            -1, QStringLiteral("No se pudo registrar la intercalación KX en la conexión SQLite."),
            kFuente);
    }
    const bool enTransaccion =
        db.driver()->hasFeature(QSqlDriver::Transactions) && db.transaction();
    QSqlQuery q(db);
    if (p == Plataforma::PostgreSql && enTransaccion) {
        // "already exists, skipping" notices are no news here.
        q.exec(QStringLiteral("SET LOCAL client_min_messages = warning"));
    }
    for (const QString& s : sentencias(sql)) {
        if (!q.exec(s)) {
            const QSqlError e = q.lastError();
            if (enTransaccion) {
                db.rollback();
            }
            bool esNumero = false;
            const int nativo = e.nativeErrorCode().toInt(&esNumero);
            throw FalloKX(esNumero ? nativo : -1,
                          QStringLiteral("No se pudo crear el esquema (%1): %2")
                              .arg(primeraLinea(s), e.text()),
                          kFuente);
        }
    }
    if (enTransaccion && !db.commit()) {
        const QSqlError e = db.lastError();
        db.rollback();
        throw FalloKX(-1, QStringLiteral("No se pudo confirmar el esquema: %1").arg(e.text()),
                      kFuente);
    }
}
