#pragma once

#include "db/Conexion.h"
#include "db/Recordset.h"
#include "utility_library/Operador.h"

#include "utility_library/ErrorKX.h"

#include <QString>
#include <functional>
#include <memory>

// What the connection dialog is given and gives back.
struct DialogoConexion {
    QString dbName, servidor, usuario, password;
    int indicePlataforma = 0; // 0 SQL Server, 1 ORACLE, 2 PostgreSQL, 3 SQLite
    int puerto = 0;
    bool aceptar = false;
};

// The program's database access class. One program-wide instance holds the
// main connection; a second one the statistics connection.
class DB_Dll {
public:
    DB_Dll();
    ~DB_Dll();
    static DB_Dll& instancia(); // the program-wide instance, created on first use

    // --- connection values
    std::shared_ptr<Conexion> gCnn; // created on first use
    bool gOpenFlag = false;
    QString gProveedor;
    QString gServidor;
    QString gDBName;
    QString gUsuario;
    QString gUserPassWord;
    QString gConnString;
    QString gExtended;
    bool gEsAdmin = false;
    // Not in the suite's text: the engine and port, chosen by "@Plataforma" /
    // "@Puerto" or the dialog's platform list.
    Plataforma gPlataforma = Plataforma::SqlServer;
    int gPuerto = 0;
    // Confidentiality key of the configuration (set by start-up), read by the synonyms.
    bool gConfidencialidad = false;
    QString pSQLOLEDB() const { return QStringLiteral("SQLOLEDB"); }
    // ODBC driver for SQL Server ("FreeTDS" when empty) or Oracle; set it on
    // PostgreSQL to go through ODBC ("PostgreSQL Unicode") instead of QPSQL.
    QString gControladorOdbc;
    // SQLite: create the database file when it is missing (the demo builder).
    bool gCreaArchivo = false;

    // The engine actually used: a "#" in the server marks Oracle.
    Plataforma plataformaEfectiva() const;
    // What the connection is opened with, from the values above.
    DatosConexion datosConexion() const;
    // Closes the connection and puts every value back to its initial state.
    void reinicia();

    // --- connections
    void OpenServerADODB(bool PideParametrosSQL, long lCursor, const QString& ConnString,
                         bool ValidaAdmin, bool MuestraError);
    void ReintentaConectar();
    bool ExisteTablaDB(const QString& Tabla);
    // The suite's connection text for the current values.
    QString ArmaConnString() const;

    // --- queries and record helpers
    void AbrirRecordset(QString& SentenciaSQL, Recordset& Lrcs, Conexion* Conexionactiva = nullptr,
                        int CursorType = 0, int LockType = 1, int Options = -1,
                        bool ConvOracle = true);
    void AbrirRecordset(const QString& SentenciaSQL, Recordset& Lrcs);
    void EjecutaConsultaSQL(QString& SentenciaSQL, qint64* RecordsAffected = nullptr,
                            Recordset* Lrcs = nullptr);
    void EjecutaConsultaSQL(const QString& SentenciaSQL);
    void CierraRecordset(Recordset& LrcsTemp);
    bool ExisteEnTabla(const QString& Tabla, const QString& ValorBuscado, const QString& Campo,
                       Recordset* Lrcs = nullptr, int Tipodato = 8,
                       const QString& Condicion = QString(), bool SoloLectura = true);
    bool ExisteEnTablaST(const QString& Tabla, const QString& ValorBuscado, const QString& Campo,
                         Recordset* Lrcs = nullptr, int Tipodato = 8,
                         const QString& Condicion = QString(), bool SoloLectura = true);
    QString DatosTabla(const QString& Tabla, const QString& ValorBuscado,
                       const QString& CampoDevuelto, const QString& Campo, int Tipodato = 8,
                       const QString& Condicion = QString(), bool UsaTrim = true,
                       bool IgnoraError = false);

    // --- literals, dialect, synonyms
    QString SQLValue(const QString& Valor, const QString& marca) const;
    QString SS_TSinonimos(const QString& sql) const;
    QString ORACLE_Dicc(const QString& sql) const;
    void EjecutaScriptSQL(QString& script, qint64& afectadas);
    QString DepuraSentencia(const QString& sentencia) const;

    // --- database error treatment: 4 retry, 5 go on, 3 leave
    int TratamientoErrores(const ErrorKX& ErrObj, int Botones = Operador::ErrorConReintento,
                           const QString& Rutina = QString());

    // The connection dialog (set by the program; without it the dialog counts as cancelled).
    using Dialogo = std::function<void(DialogoConexion&)>;
    static void fijaDialogoConexion(Dialogo d);

private:
    void abreConexion();
    bool dialogoConexion();
    void verificaAdmin(bool MuestraError);
    QString textoErrorConexion(const ErrorADO& e) const;
    // The database held locked by another process (SQLite): no login advice.
    QString textoBaseBloqueada(const ErrorADO& e) const;
    bool esOracle() const;
    void avisoConexionPerdida();
    void reconecta();
    int avisoOperador(const ErrorKX& e);
};
