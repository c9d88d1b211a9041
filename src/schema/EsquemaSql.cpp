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
