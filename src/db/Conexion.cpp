#include "db/Conexion.h"

#include "db/Dialecto.h"
#include "utility_library/ErrorKX.h"
#include "utility_library/Programa.h"
#include "db/Recordset.h"
#include "db/SqliteKX.h"

#include <QAtomicInt>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QSqlResult>
#include <atomic>
#include <cstdlib>
#include <mutex>
#include <sqlite3.h>
#ifdef TARVELO_CON_ODBC
#include <sql.h>
#include <sqlext.h>
#endif

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

// PostgreSQL reports SQLSTATE codes as text; as a number we use the engine's
// own packing of the five characters (six bits each, first character lowest),
// so "42P01" and "08006" give stable, distinct codes.
qint32 numeroSqlState(const QString& estado) {
    if (estado.size() != 5) {
        return estado.toInt();
    }
    qint32 r = 0;
    for (int i = 0; i < 5; ++i) {
        r |= qint32((estado[i].toLatin1() - '0') & 0x3F) << (6 * i);
    }
    return r;
}

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

} // namespace

Conexion::Conexion() = default;

Conexion::~Conexion() {
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

QString Conexion::fuente() const {
    if (!datos_.controladorOdbc.isEmpty() || datos_.plataforma == Plataforma::SqlServer ||
        datos_.plataforma == Plataforma::Oracle) {
        return QStringLiteral("ODBC ") + (datos_.controladorOdbc.isEmpty()
                                              ? QStringLiteral("FreeTDS")
                                              : datos_.controladorOdbc);
    }
    return datos_.plataforma == Plataforma::Sqlite ? QStringLiteral("SQLite")
                                                   : QStringLiteral("PostgreSQL");
}

QString Conexion::archivoSqlite(const QString& baseDatos) {
    QString ruta = baseDatos.trimmed();
    ruta.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (ruta.isEmpty() || ruta == QLatin1String(":memory:")) {
        return ruta;
    }
    if (QDir::isRelativePath(ruta)) {
        ruta = Programa::carpeta() + ruta;
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

void Conexion::fallaPropia(qint32 numero, qint32 nativo, const QString& descripcion,
                           const QString& sqlState) {
    Errors = {ErrorADO{sqlState, numero, descripcion, nativo}};
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
    if (datos_.plataforma == Plataforma::Sqlite && !odbc) {
        r.nativo = codigo.toInt();
        r.sqlState = QStringLiteral("HY000");
    } else if (odbc) {
        r.nativo = estadoOdbc.isEmpty() ? codigo.toInt() : nativoOdbc;
        r.sqlState = !estadoOdbc.isEmpty() ? estadoOdbc
                     : alAbrir             ? QStringLiteral("08001")
                                           : QStringLiteral("HY000");
    } else {
        r.sqlState = codigo;
        r.nativo = numeroSqlState(codigo);
    }
    r.descripcion = unaLinea(texto);
    bool perdido = false;
    if (alAbrir) {
        r.numero = NumerosADO::FalloNoEspecificado;
    } else if (datos_.plataforma != Plataforma::Sqlite || odbc) {
        perdido = textoDeEnlacePerdido(texto) || estadoDeEnlacePerdido(r.sqlState) ||
                  e.type() == QSqlError::ConnectionError || !sondeaEnlace();
        r.numero = perdido ? NumerosADO::FalloNoEspecificado : NumerosADO::ErrorSql;
    } else {
        r.numero = NumerosADO::ErrorSql;
    }
    enlacePerdido_ = perdido;
    Errors = {r};
    throw FalloKX(r.numero, r.descripcion, fuente());
}

bool Conexion::usaOdbc() const {
    return !datos_.controladorOdbc.isEmpty() || datos_.plataforma == Plataforma::SqlServer ||
           datos_.plataforma == Plataforma::Oracle;
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
    const bool ok =
        q.exec(datos_.plataforma == Plataforma::Oracle ? QStringLiteral("SELECT 1 FROM DUAL")
                                                       : QStringLiteral("SELECT 1"));
    if (ok) {
        return true;
    }
    return !q.lastError().databaseText().contains(QLatin1String("transaction"),
                                                  Qt::CaseInsensitive);
}

void Conexion::Open(const DatosConexion& datos) {
    if (abierta()) {
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
    isolacionAplicada_ = 4096; // the server's default: read committed
    nombre_ = QStringLiteral("tarvelo-%1").arg(gContador.fetchAndAddOrdered(1) + 1);
    const bool odbc = usaOdbc();
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
        db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), nombre_);
        db.setDatabaseName(archivo);
        db.setConnectOptions(
            QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(qMax(CommandTimeout, 5) * 1000));
    } else {
        db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), nombre_);
        db.setHostName(datos_.servidor);
        if (datos_.puerto > 0) {
            db.setPort(datos_.puerto);
        }
        db.setDatabaseName(datos_.baseDatos);
        db.setConnectOptions(QStringLiteral("connect_timeout=10"));
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
    preparaSesion();
}

// What every new session needs before the program's first statement.
void Conexion::preparaSesion() {
    QSqlDatabase db = baseQt();
    QStringList orden;
    const QString o = datos_.ordenFecha.toUpper();
    switch (datos_.plataforma) {
    case Plataforma::Sqlite:
        if (!RegistraKXSqlite(db)) {
            fallaPropia(NumerosADO::FalloNoEspecificado, SQLITE_ERROR,
                        QStringLiteral("the KX collation could not be registered"));
        }
        orden << QStringLiteral("PRAGMA journal_mode=WAL")
              << QStringLiteral("PRAGMA synchronous=NORMAL")
              << QStringLiteral("PRAGMA temp_store=MEMORY")
              << QStringLiteral("PRAGMA cache_size=-16000");
        break;
    case Plataforma::PostgreSql:
        orden << QStringLiteral("SET DateStyle TO ISO, %1").arg(o);
        break;
    case Plataforma::SqlServer:
        orden << QStringLiteral("SET DATEFORMAT %1").arg(datos_.ordenFecha.toLower());
        break;
    case Plataforma::Oracle:
        break;
    }
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

void Conexion::Close() {
    if (nombre_.isEmpty() || !QSqlDatabase::contains(nombre_)) {
        throw FalloKX(NumerosADO::ObjetoCerrado,
                      QStringLiteral("Operation is not allowed when the object is closed."),
                      QStringLiteral("ADODB.Connection"));
    }
    {
        QSqlDatabase db = QSqlDatabase::database(nombre_, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(nombre_);
    nivelTransaccion_ = 0;
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

void Conexion::Execute(const QString& sql, qint64* afectadas, Recordset* rs) {
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
        const QSqlError e = q.lastError();
        QString estado;
        qint32 nativo = 0;
        if (odbc) {
            diagnosticoOdbc(q, estado, nativo);
        }
        q = QSqlQuery();
        falla(e, false, estado, nativo);
    }
    do {
        if (q.isSelect()) {
            if (rs) {
                const QSqlRecord rec = q.record();
                const int n = rec.count();
                QList<Recordset::InfoCampo> campos;
                QStringList declarados;
                sqlite3_stmt* st = nullptr;
                if (datos_.plataforma == Plataforma::Sqlite && !odbc) {
                    const QVariant h = q.result()->handle();
                    if (h.isValid() && qstrcmp(h.typeName(), "sqlite3_stmt*") == 0) {
                        st = *static_cast<sqlite3_stmt* const*>(h.constData());
                    }
                }
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
                        c.tamanoDefinido = c.tipo == Recordset::TipoCampo::Texto && f.length() > 0
                                               ? f.length()
                                               : -1;
                    }
                    campos << c;
                }
                QVector<QVector<QVariant>> filas;
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
                    const QSqlError e = q.lastError();
                    q = QSqlQuery();
                    falla(e);
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
                            fila[i] =
                                fechaSqlite(fila[i], v.size() > 10 ? QStringLiteral("DATETIME")
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
        q.addBindValue(valorParaMotor(v, datos_.plataforma));
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
        enlaces << valorParaMotor(valores[i], datos_.plataforma);
    }
    for (int i = 0; i < claves.size(); ++i) {
        if (originales[i].isNull()) {
            condicion << claves[i] + QStringLiteral(" IS NULL");
        } else {
            condicion << claves[i] + QStringLiteral(" = ?");
            enlaces << valorParaMotor(originales[i], datos_.plataforma);
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

void Conexion::fallaConsulta(const QSqlQuery& q) {
    QString estado;
    qint32 nativo = 0;
    if (usaOdbc()) {
        diagnosticoOdbc(q, estado, nativo);
    }
    falla(q.lastError(), false, estado, nativo);
}

void Conexion::ejecutaDirecta(const QString& sqlMotor) {
    QSqlQuery q(baseQt());
    if (!q.exec(sqlMotor)) {
        fallaConsulta(q);
    }
}
