#pragma once

#include "db/Plataforma.h"

#include <QString>
#include <QStringList>
#include <vector>

struct CapacidadesMotor;

// Everything that differs from one database engine to the next, in one class
// per engine: what it can do, its name, its Qt driver, the session it needs,
// its schema file and the statements that only it speaks. The rest of the
// program asks the engine of its connection (MotorDe) instead of comparing
// platforms. A new engine is one more subclass and its line in Motores().
class Motor {
public:
    virtual ~Motor() = default;

    virtual Plataforma plataforma() const = 0;
    // The name the command line and the connection settings use ("SQLITE").
    virtual QString nombre() const = 0;
    // Qt's driver for a native connection ("QSQLITE"); empty when the engine
    // is reached through ODBC only.
    virtual QString controladorQt() const = 0;
    // The engine's own product name in messages ("SQLite").
    virtual QString producto() const = 0;

    // Sets what the engine can do on `c` (its platform already set), natively
    // or through ODBC.
    virtual void capacidades(CapacidadesMotor& c, bool odbc) const = 0;

    // The Qt driver's connect options of a native connection whose
    // statements wait `segundos` at most.
    virtual QString opcionesDeConexion(int segundos) const;

    // Statements every new native session runs first; `ordenFecha` is the
    // day/month/year order of the connection settings ("DMY").
    virtual QStringList ordenesDeSesion(const QString& ordenFecha) const;

    // The day of a date column, without its time part.
    virtual QString diaDe(const QString& columna) const;
    // Savepoints: set, go back to, let go of (empty when the engine lets go
    // of them by itself).
    virtual QString puntoGuardado(const QString& nombre) const;
    virtual QString vuelveAPunto(const QString& nombre) const;
    virtual QString liberaPunto(const QString& nombre) const;

    // The schema file in the program's resources; empty when the program
    // does not create this engine's databases.
    virtual QString archivoEsquema() const;
    // The integer type of a 64-bit column of our own tables.
    virtual QString enteroLargo() const;
    // A CREATE TABLE that does nothing, and says nothing, when the table exists.
    virtual QString creaTablaSiFalta(const QString& tabla, const QString& columnas) const;
    // The statements that take a lock held until the transaction ends, so
    // that two processes never number batches at the same time; none when
    // the transaction's own start is the lock (SQLite's BEGIN IMMEDIATE).
    // Waiting for it, and for the rows another transaction holds, ends on
    // the server after `segundos` (0: no limit) with a failure that
    // esEsperaAgotada recognises, so that no wait outlives the command
    // timeout, nor a killed client.
    virtual QStringList candadoDeTransaccion(const QString& recurso, qint64 clave,
                                             int segundos) const;
    // The largest batch code the batch table's code column holds.
    virtual qint64 maximoCodigo() const;

    // --- errors of a native connection (ODBC reads its own)
    // The SQLSTATE and native number of a failure, from the Qt driver's
    // error code: a server's SQLSTATE by default.
    virtual void leeCodigoDeError(const QString& codigo, QString& sqlState, qint32& nativo) const;
    // The database is a file of this process: no link to lose or to probe,
    // and the error codes are the engine's own.
    virtual bool enProceso() const;
    // A native failure that only means another connection held a lock
    // longer than the wait.
    virtual bool esEsperaAgotada(qint32 nativo) const;
    // A failure to connect told to the operator in Spanish: first what
    // failed, naming the database or server, then the advice that fits this
    // engine, one line each. Empty: the suite's own connection message
    // (written for SQL Server) is shown.
    virtual QStringList explicaFalloDeConexion(const QString& descripcion, const QString& servidor,
                                               int puerto, const QString& base,
                                               const QString& usuario) const;
    // The cheapest statement that proves the link to the server is up.
    virtual QString sondeoDeEnlace() const;

    // --- a source read through a cursor declared on the server (engines
    // whose capacidades set cursorDeclarado)
    virtual QString declaraCursor(const QString& nombre, const QString& consulta) const;
    virtual QString traeDeCursor(const QString& nombre, int filas) const;
    virtual QString cierraCursor(const QString& nombre) const;
    // The catalogue query that answers each column of `tabla` (lower case)
    // with the name of its type as a cast takes it; empty when not offered.
    virtual QString tiposDeColumnas(const QString& tabla) const;
};

// Every engine the program knows, in the platform order.
const std::vector<const Motor*>& Motores();
const Motor& MotorDe(Plataforma p);
