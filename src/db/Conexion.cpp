#include "db/Conexion.h"

#include "db/Dialecto.h"
#include "db/Recordset.h"
#include "db/SqliteKX.h"
#include "db/TiposCampo.h"
#include "db/motores/Motor.h"
#include "utility_library/CarpetasPrograma.h"
#include "utility_library/ErrorKX.h"
#include "utility_library/Programa.h"

#include <QAtomicInt>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <atomic>
#include <cstdlib>
#include <limits>
#include <mutex>
#include <sqlite3.h>

namespace {

QAtomicInt gContador;

// Qt keeps its connections in a registry that dies at process exit. A
// connection owned by a static object (the program-wide DB_Dll) may outlive
// it: from then on there is nothing left to close.
std::atomic<bool> gRegistroVivo{true};

void vigilaRegistro() {
    static std::once_flag una;
    // Registered after the registry exists, so it runs before the registry goes.
    std::call_once(una, []() { std::atexit([]() { gRegistroVivo = false; }); });
}

// The single table a "SELECT ... FROM table ..." reads, for editing through
// the result set; empty for joins and anything else.
QString tablaUnica(const QString& sql) {
    static const QRegularExpression re(
        QStringLiteral("\\bFROM\\s+([A-Za-z0-9_.#@\\[\\]\"]+)(\\s+(?:AS\\s+)?[A-Za-z0-9_]+)?"
                       "\\s*(?:WITH\\s*\\(\\s*NOLOCK\\s*\\)\\s*)?(?:$|\\bWHERE\\b|\\bORDER\\b|"
                       "\\bLIMIT\\b)"),
        QRegularExpression::CaseInsensitiveOption);
    const auto m = re.match(sql);
    if (!m.hasMatch()) {
        return QString();
    }
    QString t = m.captured(1);
    t.remove(QLatin1Char('[')).remove(QLatin1Char(']')).remove(QLatin1Char('"'));
    if (t.startsWith(QLatin1String("dbo."), Qt::CaseInsensitive)) {
        t = t.mid(4);
    }
    if (m.captured(2).trimmed().compare(QLatin1String("WHERE"), Qt::CaseInsensitive) == 0 ||
        m.captured(2).trimmed().compare(QLatin1String("ORDER"), Qt::CaseInsensitive) == 0) {
        return t;
    }
    return t;
}

} // namespace

Conexion::Conexion() = default;

Conexion::~Conexion() {
    finalizaSentencias();
    if (gRegistroVivo && !nombre_.isEmpty() && QSqlDatabase::contains(nombre_)) {
        {
            QSqlDatabase db = QSqlDatabase::database(nombre_, false);
            db.close();
        }
        QSqlDatabase::removeDatabase(nombre_);
    }
}

Plataforma Conexion::dialecto() const {
    return datos_.plataforma;
}

QString Conexion::archivoSqlite(const QString& baseDatos) {
    QString ruta = baseDatos.trimmed();
    ruta.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (ruta.isEmpty() || ruta == QLatin1String(":memory:")) {
        return ruta;
    }
    if (QDir::isRelativePath(ruta)) {
        ruta = CarpetasPrograma::escritura() + ruta;
    }
    return QDir::cleanPath(ruta);
}

QString Conexion::textoOdbc(const DatosConexion& d) {
    QString controlador = d.controladorOdbc;
    if (controlador.isEmpty()) {
        controlador = d.plataforma == Plataforma::Oracle ? QStringLiteral("Oracle")
                                                         : QStringLiteral("FreeTDS");
    }
    const bool tds = controlador.contains(QLatin1String("TDS"), Qt::CaseInsensitive);
    const bool oracle = d.plataforma == Plataforma::Oracle;
    QString t = QStringLiteral("DRIVER={") + controlador + QStringLiteral("};");
    if (oracle) {
        t += QStringLiteral("DBQ=") + d.baseDatos + QLatin1Char(';');
    } else {
        QString servidor = d.servidor;
        int puerto = d.puerto;
        if (tds && puerto == 0 && !servidor.contains(QLatin1Char('\\'))) {
            puerto = 1433;
        }
        t += QStringLiteral("SERVER=") + servidor + QLatin1Char(';');
        if (puerto > 0) {
            t += QStringLiteral("PORT=") + QString::number(puerto) + QLatin1Char(';');
        }
        t += QStringLiteral("DATABASE=") + d.baseDatos + QLatin1Char(';');
    }
    t += QStringLiteral("UID=") + d.usuario + QStringLiteral(";PWD=") + d.clave + QLatin1Char(';');
    if (tds) {
        // Without the client charset FreeTDS garbles accented text.
        t += QStringLiteral("TDS_Version=7.4;ClientCharset=UTF-8;");
    }
    return t;
}

bool Conexion::usaOdbc() const {
    return !datos_.controladorOdbc.isEmpty() || datos_.plataforma == Plataforma::SqlServer ||
           datos_.plataforma == Plataforma::Oracle;
}

void Conexion::Open(const DatosConexion& datos) {
    if (abierta()) {
        // Not a failure of the engine: an earlier failure's list and flags
        // must not be taken for this one's.
        Errors.clear();
        bloqueada_ = false;
        throw FalloKX(NumerosADO::ObjetoAbierto,
                      QStringLiteral("Operation is not allowed when the object is open."),
                      QStringLiteral("ADODB.Connection"));
    }
    if (!nombre_.isEmpty() && QSqlDatabase::contains(nombre_)) {
        QSqlDatabase::removeDatabase(nombre_);
    }
    datos_ = datos;
    nivelTransaccion_ = 0;
    enlacePerdido_ = false;
    bloqueada_ = false;
    isolacionAplicada_ = 4096; // the server's default: read committed
    nombre_ = QStringLiteral("tarvelo-%1").arg(gContador.fetchAndAddOrdered(1) + 1);
    const bool odbc = usaOdbc();
    const Motor& motor = MotorDe(datos_.plataforma);
    bool baseNueva = false;
    QSqlDatabase db;
    (void)QSqlDatabase::contains(nombre_); // brings the registry to life first
    vigilaRegistro();
    if (odbc) {
        db = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), nombre_);
        db.setDatabaseName(textoOdbc(datos_));
    } else if (datos_.plataforma == Plataforma::Sqlite) {
        const QString archivo = archivoSqlite(datos_.baseDatos);
        if (archivo.isEmpty() || (!datos_.creaSiFalta && archivo != QLatin1String(":memory:") &&
                                  !QFileInfo(archivo).isFile())) {
            fallaPropia(NumerosADO::FalloNoEspecificado, SQLITE_CANTOPEN,
                        QStringLiteral("unable to open database file: ") + archivo,
                        QStringLiteral("08001"));
        }
        const QFileInfo info(archivo);
        baseNueva = archivo == QLatin1String(":memory:") || !info.isFile() || info.size() == 0;
        db = QSqlDatabase::addDatabase(motor.controladorQt(), nombre_);
        db.setDatabaseName(archivo);
        db.setConnectOptions(motor.opcionesDeConexion(CommandTimeout));
    } else {
        db = QSqlDatabase::addDatabase(motor.controladorQt(), nombre_);
        db.setHostName(datos_.servidor);
        if (datos_.puerto > 0) {
            db.setPort(datos_.puerto);
        }
        db.setDatabaseName(datos_.baseDatos);
        db.setConnectOptions(motor.opcionesDeConexion(CommandTimeout));
    }
    if (!odbc && datos_.plataforma != Plataforma::Sqlite) {
        db.setUserName(datos_.usuario);
        db.setPassword(datos_.clave);
    }
    if (!db.open()) {
        const QSqlError e = db.lastError();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(nombre_);
        falla(e, true);
    }
    db = QSqlDatabase(); // the session below may have to close the connection
    preparaSesion(baseNueva);
}

// What every new session needs before the program's first statement.
void Conexion::preparaSesion(bool baseNueva) {
    QSqlDatabase db = baseQt();
    if (datos_.plataforma == Plataforma::Sqlite) {
        if (!RegistraKXSqlite(db)) {
            fallaPropia(NumerosADO::FalloNoEspecificado, SQLITE_ERROR,
                        QStringLiteral("the KX collation could not be registered"));
        }
        if (const QSqlError e = preparaDiarioSqlite(baseNueva); e.isValid()) {
            db = QSqlDatabase();
            Close();
            falla(e, true);
        }
    }
    const QStringList orden = MotorDe(datos_.plataforma).ordenesDeSesion(datos_.ordenFecha);
    for (const QString& s : orden) {
        QSqlQuery q(db);
        if (!q.exec(s)) {
            const QSqlError e = q.lastError();
            q = QSqlQuery();
            db = QSqlDatabase();
            Close();
            falla(e, true);
        }
    }
}

// SQLite: readers and one writer side by side (WAL), set once per database.
// Switching the journal needs the database to itself and fails at once,
// without waiting, while another process writes; so it is asked for only of
// a new database or one not yet in WAL. Reading the mode waits for the lock
// like any read: a lock held past the busy timeout is "database is locked".
QSqlError Conexion::preparaDiarioSqlite(bool baseNueva) {
    QSqlQuery q(baseQt());
    if (!baseNueva) {
        if (!q.exec(QStringLiteral("PRAGMA journal_mode"))) {
            return q.lastError();
        }
        if (q.next() &&
            q.value(0).toString().compare(QLatin1String("wal"), Qt::CaseInsensitive) == 0) {
            return QSqlError();
        }
    }
    if (!q.exec(QStringLiteral("PRAGMA journal_mode=WAL"))) {
        const QSqlError e = q.lastError();
        const int codigo = e.nativeErrorCode().toInt() & 0xFF;
        if (!baseNueva && (codigo == SQLITE_BUSY || codigo == SQLITE_LOCKED)) {
            // Another process is writing in the old journal mode. Reading
            // still works beside it; a later connection makes the switch.
            return QSqlError();
        }
        return e;
    }
    return QSqlError();
}

void Conexion::Close() {
    if (nombre_.isEmpty() || !QSqlDatabase::contains(nombre_)) {
        throw FalloKX(NumerosADO::ObjetoCerrado,
                      QStringLiteral("Operation is not allowed when the object is closed."),
                      QStringLiteral("ADODB.Connection"));
    }
    finalizaSentencias();
    {
        QSqlDatabase db = QSqlDatabase::database(nombre_, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(nombre_);
    nivelTransaccion_ = 0;
}

sqlite3* Conexion::manejadorSqlite() const {
    if (datos_.plataforma != Plataforma::Sqlite || usaOdbc() || !abierta()) {
        return nullptr;
    }
    const QVariant h = baseQt().driver()->handle();
    if (!h.isValid() || qstrcmp(h.typeName(), "sqlite3*") != 0) {
        return nullptr;
    }
    return *static_cast<sqlite3* const*>(h.constData());
}

void Conexion::registraSentencia(sqlite3_stmt** sentencia) {
    if (!sentenciasSqlite_.contains(sentencia)) {
        sentenciasSqlite_.append(sentencia);
    }
}

void Conexion::olvidaSentencia(sqlite3_stmt** sentencia) {
    sentenciasSqlite_.removeAll(sentencia);
}

void Conexion::finalizaSentencias() {
    for (sqlite3_stmt** s : std::as_const(sentenciasSqlite_)) {
        sqlite3_finalize(*s);
        *s = nullptr;
    }
    sentenciasSqlite_.clear();
}

void Conexion::fallaSqlite(int codigo) {
    sqlite3* h = manejadorSqlite();
    const QString texto =
        h ? QString::fromUtf8(sqlite3_errmsg(h)) : QString::fromUtf8(sqlite3_errstr(codigo));
    falla(QSqlError(QStringLiteral("Unable to execute statement"), texto, QSqlError::StatementError,
                    QString::number(codigo)));
}

bool Conexion::abierta() const {
    return !nombre_.isEmpty() && QSqlDatabase::contains(nombre_) &&
           QSqlDatabase::database(nombre_, false).isOpen();
}

void Conexion::FijaBaseDefecto(const QString& base) {
    // The database is part of every connection text we build.
    Q_UNUSED(base);
}

QSqlDatabase Conexion::baseQt() const {
    return QSqlDatabase::database(nombre_, false);
}

QString Conexion::textoMotor(const QString& sql) const {
    return Dialecto::reescribe(sql, dialecto(), datos_.ordenFecha);
}

QStringList Conexion::tablas() const {
    QSqlDatabase db = baseQt();
    return db.tables(QSql::Tables) + db.tables(QSql::Views);
}

// Start-up sets the read isolation after the connection opened: SQL Server
// gets it before the next statement of the session.
void Conexion::aplicaIsolacion() {
    if (datos_.plataforma != Plataforma::SqlServer || IsolationLevel == isolacionAplicada_) {
        return;
    }
    const QString nivel = IsolationLevel == 256       ? QStringLiteral("READ UNCOMMITTED")
                          : IsolationLevel == 65536   ? QStringLiteral("REPEATABLE READ")
                          : IsolationLevel == 1048576 ? QStringLiteral("SERIALIZABLE")
                                                      : QStringLiteral("READ COMMITTED");
    isolacionAplicada_ = IsolationLevel;
    ejecutaUna(QStringLiteral("SET TRANSACTION ISOLATION LEVEL ") + nivel, nullptr, nullptr);
}

namespace {
// SQLite waits for another writer's lock as long as the command timeout
// says now: it may change after the file was opened (the configured
// timeout, tarvelo-lote --espera), and the open took the value of then.
void sigueTiempoDeEspera(sqlite3* h, int segundos) {
    if (h) {
        sqlite3_busy_timeout(h, segundos > 0 && segundos < 2000000
                                    ? segundos * 1000
                                    : std::numeric_limits<int>::max());
    }
}
} // namespace

void Conexion::Execute(const QString& sql, qint64* afectadas, Recordset* rs) {
    if (datos_.plataforma == Plataforma::Sqlite) {
        sigueTiempoDeEspera(manejadorSqlite(), CommandTimeout);
    }
    if (!abierta()) {
        throw FalloKX(NumerosADO::ConexionCerrada,
                      QStringLiteral("Operation is not allowed when the object is closed."),
                      QStringLiteral("ADODB.Connection"));
    }
    aplicaIsolacion();
    qint64 total = 0;
    bool hubo = false;
    const Plataforma p = dialecto();
    const bool propias = p == Plataforma::Sqlite || p == Plataforma::PostgreSql;
    for (const QString& s : Dialecto::sentencias(sql, p, datos_.ordenFecha)) {
        if (propias) {
            switch (Dialecto::transaccion(s)) {
            case Dialecto::Transaccion::Inicio:
                BeginTrans();
                continue;
            case Dialecto::Transaccion::Confirma:
                CommitTrans();
                continue;
            case Dialecto::Transaccion::Deshace:
                RollbackTrans();
                continue;
            case Dialecto::Transaccion::Ninguna:
                break;
            }
        }
        qint64 n = -1;
        ejecutaUna(s, &n, rs);
        if (n >= 0) {
            total += n;
            hubo = true;
        }
    }
    if (afectadas) {
        *afectadas = hubo ? total : -1;
    }
}

void Conexion::Abre(const QString& sql, Recordset& rs) {
    if (datos_.plataforma == Plataforma::Sqlite) {
        sigueTiempoDeEspera(manejadorSqlite(), CommandTimeout);
    }
    if (!abierta()) {
        throw FalloKX(NumerosADO::ConexionCerrada,
                      QStringLiteral("Operation is not allowed when the object is closed."),
                      QStringLiteral("ADODB.Connection"));
    }
    aplicaIsolacion();
    const QStringList lista = Dialecto::sentencias(sql, dialecto(), datos_.ordenFecha);
    rs.carga({}, {}, this, QString());
    try {
        for (const QString& s : lista) {
            ejecutaUna(s, nullptr, &rs);
        }
    } catch (...) {
        rs.CancelUpdate();
        rs.Cierra(); // a failed open leaves the result set closed
        throw;
    }
}

void Conexion::ejecutaUna(const QString& sql, qint64* afectadas, Recordset* rs) {
    QSqlDatabase db = baseQt();
    QSqlQuery q(db);
    q.setForwardOnly(true);
    const bool odbc = usaOdbc();
    if (!q.exec(sql)) {
        fallaSentencia(q);
    }
    do {
        if (q.isSelect()) {
            if (rs) {
                QList<Recordset::InfoCampo> campos;
                QVector<QVector<QVariant>> filas;
                const bool sqliteNativo = datos_.plataforma == Plataforma::Sqlite && !odbc;
                if (!TiposCampo::leeResultado(q, sqliteNativo, campos, filas)) {
                    const QSqlError e = q.lastError();
                    q = QSqlQuery();
                    falla(e);
                }
                rs->carga(std::move(campos), std::move(filas), this, tablaUnica(sql));
            }
            if (afectadas) {
                *afectadas = -1;
            }
        } else if (afectadas) {
            *afectadas = q.numRowsAffected();
        }
        // SQL Server batches: later statements report through further results.
    } while (odbc && dialecto() == Plataforma::SqlServer && q.nextResult());
    if (odbc && q.lastError().isValid() && q.lastError().type() != QSqlError::NoError) {
        const QSqlError e = q.lastError();
        q = QSqlQuery();
        falla(e);
    }
}

void Conexion::BeginTrans() {
    if (nivelTransaccion_ == 0) {
        QSqlDatabase db = baseQt();
        if (!db.transaction()) {
            falla(db.lastError());
        }
    }
    ++nivelTransaccion_;
}

void Conexion::BeginTransEscritura() {
    if (nivelTransaccion_ > 0 || datos_.plataforma != Plataforma::Sqlite) {
        BeginTrans();
        return;
    }
    ejecutaDirecta(QStringLiteral("BEGIN IMMEDIATE"));
    ++nivelTransaccion_;
}

void Conexion::CommitTrans() {
    if (nivelTransaccion_ == 0) {
        fallaPropia(NumerosADO::ErrorSql, 3902,
                    QStringLiteral("The COMMIT TRANSACTION request has no corresponding BEGIN "
                                   "TRANSACTION."),
                    QStringLiteral("25000"));
    }
    if (nivelTransaccion_ == 1) {
        QSqlDatabase db = baseQt();
        nivelTransaccion_ = 0;
        if (!db.commit()) {
            falla(db.lastError());
        }
        return;
    }
    --nivelTransaccion_;
}

void Conexion::RollbackTrans() {
    if (nivelTransaccion_ == 0) {
        fallaPropia(NumerosADO::ErrorSql, 3903,
                    QStringLiteral("The ROLLBACK TRANSACTION request has no corresponding BEGIN "
                                   "TRANSACTION."),
                    QStringLiteral("25000"));
    }
    nivelTransaccion_ = 0;
    QSqlDatabase db = baseQt();
    if (!db.rollback()) {
        falla(db.lastError());
    }
}

void Conexion::InsertaFila(const QString& tabla, const QStringList& columnas,
                           const QVariantList& valores) {
    QStringList marcas;
    for (int i = 0; i < columnas.size(); ++i) {
        marcas << QStringLiteral("?");
    }
    const QString sql = QStringLiteral("INSERT INTO ") + tabla + QStringLiteral(" (") +
                        columnas.join(QLatin1Char(',')) + QStringLiteral(") VALUES (") +
                        marcas.join(QLatin1Char(',')) + QLatin1Char(')');
    QSqlQuery q(baseQt());
    if (!q.prepare(sql)) {
        const QSqlError e = q.lastError();
        q = QSqlQuery();
        falla(e);
    }
    for (const QVariant& v : valores) {
        q.addBindValue(TiposCampo::valorParaMotor(v, datos_.plataforma));
    }
    if (!q.exec()) {
        const QSqlError e = q.lastError();
        q = QSqlQuery();
        falla(e);
    }
}

void Conexion::ActualizaFila(const QString& tabla, const QStringList& columnas,
                             const QVariantList& valores, const QStringList& claves,
                             const QVariantList& originales) {
    QStringList asigna, condicion;
    QVariantList enlaces;
    for (int i = 0; i < columnas.size(); ++i) {
        asigna << columnas[i] + QStringLiteral(" = ?");
        enlaces << TiposCampo::valorParaMotor(valores[i], datos_.plataforma);
    }
    for (int i = 0; i < claves.size(); ++i) {
        if (originales[i].isNull()) {
            condicion << claves[i] + QStringLiteral(" IS NULL");
        } else {
            condicion << claves[i] + QStringLiteral(" = ?");
            enlaces << TiposCampo::valorParaMotor(originales[i], datos_.plataforma);
        }
    }
    const QString sql = QStringLiteral("UPDATE ") + tabla + QStringLiteral(" SET ") +
                        asigna.join(QStringLiteral(", ")) + QStringLiteral(" WHERE ") +
                        condicion.join(QStringLiteral(" AND "));
    QSqlQuery q(baseQt());
    if (!q.prepare(sql)) {
        const QSqlError e = q.lastError();
        q = QSqlQuery();
        falla(e);
    }
    for (const QVariant& v : enlaces) {
        q.addBindValue(v);
    }
    if (!q.exec()) {
        const QSqlError e = q.lastError();
        q = QSqlQuery();
        falla(e);
    }
}

CapacidadesMotor Conexion::capacidades() const {
    return CapacidadesMotor::de(datos_.plataforma, usaOdbc());
}

void Conexion::ejecutaDirecta(const QString& sqlMotor) {
    if (datos_.plataforma == Plataforma::Sqlite) {
        sigueTiempoDeEspera(manejadorSqlite(), CommandTimeout);
    }
    QSqlQuery q(baseQt());
    if (!q.exec(sqlMotor)) {
        fallaConsulta(q);
    }
}
