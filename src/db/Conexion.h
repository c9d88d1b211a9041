#pragma once

#include <algorithm>

#include "db/CapacidadesMotor.h"
#include "db/ErrorADO.h"
#include "db/Plataforma.h"

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariantList>

class QSqlQuery;
class Recordset;
struct sqlite3;
struct sqlite3_stmt;

// What a Conexion needs to reach its engine.
struct DatosConexion {
    Plataforma plataforma = Plataforma::SqlServer;
    QString servidor;  // host (SQL Server: may hold \INSTANCE)
    int puerto = 0;    // 0: the engine's default
    QString baseDatos; // SQLite: the database file
    QString usuario;
    QString clave;
    QString ordenFecha = QStringLiteral("dmy"); // workstation's short date order
    // ODBC driver to go through ("FreeTDS" for SQL Server, an Oracle driver,
    // or "PostgreSQL Unicode" to try the ODBC path on PostgreSQL). Empty: the
    // engine's own Qt driver (SQLite, PostgreSQL); SQL Server then uses FreeTDS.
    QString controladorOdbc;
    // SQLite: create the file when it is missing (otherwise a missing file is
    // a connection error, so a mistyped name never yields an empty database).
    bool creaSiFalta = false;
};

// The ADO-like connection: open/close, execute, transactions and an error
// list. Takes SQL Server text and rewrites it for the engine it talks to.
class Conexion {
public:
    Conexion();
    ~Conexion();
    Conexion(const Conexion&) = delete;
    Conexion& operator=(const Conexion&) = delete;

    // The suite's connection text (what DB_Dll calls gConnString); kept as given.
    QString ConnectionString;
    int CommandTimeout = 30;
    int CursorLocation = 3;
    int IsolationLevel = 4096;
    QList<ErrorADO> Errors;

    // Throws FalloKX (and fills Errors) when the engine refuses.
    void Open(const DatosConexion& datos);
    void Close(); // throws 3704 when already closed
    bool abierta() const;
    const DatosConexion& datos() const { return datos_; }
    Plataforma plataforma() const { return datos_.plataforma; }

    void FijaBaseDefecto(const QString& base);

    // Runs one statement (or a script for engines that take one statement per
    // call); fills `afectadas`; when `rs` is given, a result replaces its content.
    // Throws FalloKX and fills Errors on failure.
    void Execute(const QString& sql, qint64* afectadas = nullptr, Recordset* rs = nullptr);
    // Opens a result set on a SELECT text. Throws FalloKX and fills Errors on failure.
    void Abre(const QString& sql, Recordset& rs);

    void BeginTrans();
    // A transaction that will write: on SQLite it takes the write lock at
    // once (BEGIN IMMEDIATE), waiting for another writer up to CommandTimeout
    // as it is now, instead of failing when a read inside it must turn into
    // a write.
    void BeginTransEscritura();
    void CommitTrans();
    void RollbackTrans();
    int nivelTransaccion() const { return nivelTransaccion_; }
    // Results read while other statements run (a load's source): a lost link
    // is then never mended by a silent reconnection, which would drop them
    // under their reader; the failure goes to the caller instead.
    void abreLectura() { ++lecturasAbiertas_; }
    void cierraLectura() { lecturasAbiertas_ = std::max(0, lecturasAbiertas_ - 1); }
    int lecturasAbiertas() const { return lecturasAbiertas_; }
    // Whether a lost link may be replaced by a new one now.
    bool puedeReconectar() const { return nivelTransaccion_ == 0 && lecturasAbiertas_ == 0; }

    // The engine's text for a SQL Server text (unchanged on SQL Server and Oracle).
    QString textoMotor(const QString& sql) const;
    QSqlDatabase baseQt() const;
    // Names of the database's tables (and views), for the table-list check.
    QStringList tablas() const;

    // Rows added or changed through a result set; values are bound, never
    // written into the text. The row to change is the one holding `originales`.
    void InsertaFila(const QString& tabla, const QStringList& columnas,
                     const QVariantList& valores);
    void ActualizaFila(const QString& tabla, const QStringList& columnas,
                       const QVariantList& valores, const QStringList& claves,
                       const QVariantList& originales);

    // The ODBC driver's connection text for these values (no DSN needed).
    static QString textoOdbc(const DatosConexion& datos);
    // The SQLite file these values name (relative to the program folder).
    static QString archivoSqlite(const QString& baseDatos);
    // Source text of this connection's errors ("SQLite", "PostgreSQL", "ODBC FreeTDS").
    QString fuente() const;
    // True after a failure that lost the link to the server (ReintentaConectar helps).
    bool enlacePerdido() const { return enlacePerdido_; }
    // True after a failure because another connection kept a lock longer
    // than the wait (SQLite's busy timeout, PostgreSQL's lock timeout): no
    // matter of user or server, nor a lost link.
    bool bloqueada() const { return bloqueada_; }
    // What this connection's engine can do.
    CapacidadesMotor capacidades() const;
    // The failure of a statement run on this connection's Qt database:
    // fills Errors (and the lost-link flag) as Execute does, and throws FalloKX.
    [[noreturn]] void fallaConsulta(const QSqlQuery& q);
    // Runs a statement already in this engine's SQL (transaction control such
    // as savepoints); throws as fallaConsulta does.
    void ejecutaDirecta(const QString& sqlMotor);

    // SQLite: the open file's handle, for statements prepared on it directly
    // (null for any other engine or driver). Such a statement is registered
    // here and finalized before the file closes, which it would otherwise keep
    // open; `*sentencia` is then null.
    sqlite3* manejadorSqlite() const;
    void registraSentencia(sqlite3_stmt** sentencia);
    void olvidaSentencia(sqlite3_stmt** sentencia);
    // The failure `codigo` of a statement run on that handle; throws as
    // fallaConsulta does.
    [[noreturn]] void fallaSqlite(int codigo);

private:
    void finalizaSentencias();
    QList<sqlite3_stmt**> sentenciasSqlite_;

    QString nombre_;
    DatosConexion datos_;
    int nivelTransaccion_ = 0;
    int lecturasAbiertas_ = 0;
    bool enlacePerdido_ = false;
    bool bloqueada_ = false;
    int isolacionAplicada_ = 4096;

    Plataforma dialecto() const;
    bool usaOdbc() const;
    [[noreturn]] void falla(const QSqlError& e, bool alAbrir = false,
                            const QString& estadoOdbc = QString(), qint32 nativoOdbc = 0);
    [[noreturn]] void fallaPropia(qint32 numero, qint32 nativo, const QString& descripcion,
                                  const QString& sqlState = QStringLiteral("HY000"));
    // A failed statement's error (with the ODBC diagnostics), after letting go of it.
    [[noreturn]] void fallaSentencia(QSqlQuery& q);
    void ejecutaUna(const QString& sql, qint64* afectadas, Recordset* rs);
    void preparaSesion(bool baseNueva);
    // The journal mode's failure, or no error.
    QSqlError preparaDiarioSqlite(bool baseNueva);
    void aplicaIsolacion();
    bool sondeaEnlace();
};
