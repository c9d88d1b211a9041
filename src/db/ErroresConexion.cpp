#include "db/Conexion.h"
#include "db/motores/Motor.h"

#include "utility_library/ErrorKX.h"

#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlResult>
#include <sqlite3.h>
#ifdef TARVELO_CON_ODBC
#include <sql.h>
#include <sqlext.h>
#endif

// How the engines' failures become the connection's error list: numbers,
// SQL states, one-line descriptions, and whether the link to the server is gone.

namespace {

// What the drivers say when the link to the server is gone.
bool textoDeEnlacePerdido(const QString& t) {
    static const QRegularExpression re(
        QStringLiteral("server closed the connection|terminating connection|"
                       "no connection to the server|could not send data|"
                       "could not receive data|connection not open|connection dead|"
                       "communication link failure|connection is closed|broken pipe|"
                       "connection reset|server has gone away|lost connection|"
                       "SSL connection has been closed"),
        QRegularExpression::CaseInsensitiveOption);
    return re.match(t).hasMatch();
}

// ODBC and PostgreSQL: SQLSTATE class 08 is a connection exception; 57P0x
// means the server ended the session.
bool estadoDeEnlacePerdido(const QString& estado) {
    return estado.startsWith(QLatin1String("08")) || estado == QLatin1String("57P01") ||
           estado == QLatin1String("57P02") || estado == QLatin1String("57P03");
}

// Descriptions go into one-line logs and message boxes: PostgreSQL's
// position context ("LINE 1: ..." and its caret) adds nothing there.
QString unaLinea(const QString& texto) {
    QStringList partes;
    for (const QString& l : texto.split(QRegularExpression(QStringLiteral("[\r\n]+")))) {
        const QString t = l.trimmed();
        if (t.isEmpty() || t.startsWith(QLatin1String("LINE ")) || t == QLatin1String("^")) {
            continue;
        }
        partes << t;
    }
    return partes.join(QLatin1Char(' '));
}

// The SQLSTATE and native error of a failed ODBC statement, from the driver
// manager's diagnostics (Qt's message leaves the state out).
bool diagnosticoOdbc(const QSqlQuery& q, QString& estado, qint32& nativo) {
#ifdef TARVELO_CON_ODBC
    if (!q.result()) {
        return false;
    }
    const QVariant h = q.result()->handle();
    if (!h.isValid() ||
        (qstrcmp(h.typeName(), "void*") != 0 && qstrcmp(h.typeName(), "SQLHANDLE") != 0)) {
        return false;
    }
    SQLHANDLE stmt = *static_cast<const SQLHANDLE*>(h.constData());
    if (!stmt) {
        return false;
    }
    SQLCHAR sqlState[6] = {0};
    SQLINTEGER nativo32 = 0;
    SQLCHAR mensaje[512];
    SQLSMALLINT largo = 0;
    const SQLRETURN r = SQLGetDiagRec(SQL_HANDLE_STMT, stmt, 1, sqlState, &nativo32, mensaje,
                                      SQLSMALLINT(sizeof mensaje), &largo);
    if (!SQL_SUCCEEDED(r)) {
        return false;
    }
    estado = QString::fromLatin1(reinterpret_cast<const char*>(sqlState));
    nativo = qint32(nativo32);
    return true;
#else
    Q_UNUSED(q);
    Q_UNUSED(estado);
    Q_UNUSED(nativo);
    return false;
#endif
}

} // namespace

QString Conexion::fuente() const {
    if (!datos_.controladorOdbc.isEmpty() || datos_.plataforma == Plataforma::SqlServer ||
        datos_.plataforma == Plataforma::Oracle) {
        return QStringLiteral("ODBC ") + (datos_.controladorOdbc.isEmpty()
                                              ? QStringLiteral("FreeTDS")
                                              : datos_.controladorOdbc);
    }
    return MotorDe(datos_.plataforma).producto();
}

void Conexion::fallaPropia(qint32 numero, qint32 nativo, const QString& descripcion,
                           const QString& sqlState) {
    Errors = {ErrorADO{sqlState, numero, descripcion, nativo}};
    bloqueada_ = false;
    throw FalloKX(numero, descripcion, fuente());
}

void Conexion::falla(const QSqlError& e, bool alAbrir, const QString& estadoOdbc,
                     qint32 nativoOdbc) {
    ErrorADO r;
    QString texto = e.databaseText().trimmed();
    if (texto.isEmpty()) {
        texto = e.driverText().trimmed();
    }
    const QString codigo = e.nativeErrorCode();
    const bool odbc = usaOdbc();
    const Motor& motor = MotorDe(datos_.plataforma);
    const bool enProceso = motor.enProceso() && !odbc;
    if (odbc) {
        r.nativo = estadoOdbc.isEmpty() ? codigo.toInt() : nativoOdbc;
        r.sqlState = !estadoOdbc.isEmpty() ? estadoOdbc
                     : alAbrir             ? QStringLiteral("08001")
                                           : QStringLiteral("HY000");
    } else {
        motor.leeCodigoDeError(codigo, r.sqlState, r.nativo);
    }
    r.descripcion = unaLinea(texto);
    bool perdido = false;
    if (alAbrir) {
        r.numero = NumerosADO::FalloNoEspecificado;
    } else if (!enProceso) {
        perdido = textoDeEnlacePerdido(texto) || estadoDeEnlacePerdido(r.sqlState) ||
                  e.type() == QSqlError::ConnectionError || !sondeaEnlace();
        r.numero = perdido ? NumerosADO::FalloNoEspecificado : NumerosADO::ErrorSql;
    } else {
        r.numero = NumerosADO::ErrorSql;
    }
    enlacePerdido_ = perdido;
    bloqueada_ = !odbc && motor.esEsperaAgotada(r.nativo);
    Errors = {r};
    throw FalloKX(r.numero, r.descripcion, fuente());
}

// After a failure on a server engine: is the link still there?
bool Conexion::sondeaEnlace() {
    if (nivelTransaccion_ > 0) {
        return true; // an aborted transaction would fail the probe too
    }
    QSqlDatabase db = baseQt();
    if (!db.isOpen()) {
        return false;
    }
    QSqlQuery q(db);
    const bool ok = q.exec(MotorDe(datos_.plataforma).sondeoDeEnlace());
    if (ok) {
        return true;
    }
    return !q.lastError().databaseText().contains(QLatin1String("transaction"),
                                                  Qt::CaseInsensitive);
}

void Conexion::fallaConsulta(const QSqlQuery& q) {
    QString estado;
    qint32 nativo = 0;
    if (usaOdbc()) {
        diagnosticoOdbc(q, estado, nativo);
    }
    falla(q.lastError(), false, estado, nativo);
}

void Conexion::fallaSentencia(QSqlQuery& q) {
    const QSqlError e = q.lastError();
    QString estado;
    qint32 nativo = 0;
    if (usaOdbc()) {
        diagnosticoOdbc(q, estado, nativo);
    }
    // Let go of the statement first: probing the link needs the connection free.
    q = QSqlQuery();
    falla(e, false, estado, nativo);
}
