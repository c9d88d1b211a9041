#pragma once

#include "db/Plataforma.h"

#include <QString>

class Motor;
class QSqlDatabase;

// What an engine (through its Qt driver) can do, so that callers ask this
// object instead of comparing driver names.
struct CapacidadesMotor {
    // Statements are prepared once and run with bound values.
    bool preparaSentencias = true;
    // A forward-only result can be read row by row while other statements run
    // on the same connection (SQLite). Elsewhere a result is read whole first:
    // the PostgreSQL driver loses a streamed result to the next statement, and
    // SQL Server without MARS allows one open result per connection.
    bool leeMientrasEjecuta = false;
    // A long source is read through a cursor declared on the server and
    // fetched in blocks (PostgreSQL, whose client library would otherwise
    // hold the whole result in memory before the first row is used).
    bool cursorDeclarado = false;
    // Dates are stored as text (SQLite): a bound date goes as ISO text, and a
    // stored value with a time part must be cut to its date before comparing.
    bool fechasComoTexto = false;
    // Two utility statements (savepoints) can go in one text, one round trip
    // (PostgreSQL's driver; an error in the first one stops the second).
    bool sentenciasEncadenadas = false;
    // An insert can wait on an update in the same statement (a data-modifying
    // WITH, PostgreSQL).
    bool insercionCondicionada = false;
    // Savepoints inside a transaction (every engine but ODBC to Oracle).
    bool puntosDeGuardado = true;

    Plataforma plataforma = Plataforma::SqlServer;

    // The engine's own statements and settings.
    const Motor& motor() const;

    // The day of a date column, without its time part, in this engine's SQL.
    QString diaDe(const QString& columna) const;
    // Savepoint statements: set, go back to, and let go of (empty when the
    // engine lets go of them by itself).
    QString puntoGuardado(const QString& nombre) const;
    QString vuelveAPunto(const QString& nombre) const;
    QString liberaPunto(const QString& nombre) const;

    static CapacidadesMotor de(Plataforma plataforma, bool odbc);
    // The engine behind a Qt connection opened without a Conexion (the schema
    // builder, tests and benchmarks open their own). ODBC counts as SQL Server.
    static CapacidadesMotor de(const QSqlDatabase& db);
};
