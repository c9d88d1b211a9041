#include "db/motores/MotorPostgreSql.h"

#include "db/CapacidadesMotor.h"

QString MotorPostgreSql::nombre() const {
    return QStringLiteral("POSTGRESQL");
}

QString MotorPostgreSql::controladorQt() const {
    return QStringLiteral("QPSQL");
}

QString MotorPostgreSql::producto() const {
    return QStringLiteral("PostgreSQL");
}

void MotorPostgreSql::capacidades(CapacidadesMotor& c, bool odbc) const {
    c.cursorDeclarado = !odbc;
    c.sentenciasEncadenadas = !odbc;
    c.insercionCondicionada = !odbc;
}

QString MotorPostgreSql::opcionesDeConexion(int) const {
    return QStringLiteral("connect_timeout=10");
}

QStringList MotorPostgreSql::ordenesDeSesion(const QString& ordenFecha) const {
    return {QStringLiteral("SET DateStyle TO ISO, %1").arg(ordenFecha.toUpper())};
}

QString MotorPostgreSql::archivoEsquema() const {
    return QStringLiteral(":/esquema/postgresql.sql");
}

QString MotorPostgreSql::creaTablaSiFalta(const QString& tabla, const QString& columnas) const {
    // Asked first: IF NOT EXISTS would say "already exists" on standard
    // error at every run.
    return QStringLiteral("DO $$BEGIN IF to_regclass('%1') IS NULL THEN CREATE TABLE %2 ")
               .arg(tabla.toLower(), tabla) +
           columnas + QStringLiteral("; END IF; END$$");
}

QString MotorPostgreSql::candadoDeTransaccion(const QString&, qint64 clave) const {
    return QStringLiteral("SELECT pg_advisory_xact_lock(%1)").arg(clave);
}

QString MotorPostgreSql::declaraCursor(const QString& nombre, const QString& consulta) const {
    // WITH HOLD: the cursor outlives the statement's own transaction and
    // reads a snapshot of the source.
    return QStringLiteral("DECLARE ") + nombre + QStringLiteral(" NO SCROLL CURSOR WITH HOLD FOR ") +
           consulta;
}

QString MotorPostgreSql::traeDeCursor(const QString& nombre, int filas) const {
    return QStringLiteral("FETCH FORWARD %1 FROM ").arg(filas) + nombre;
}

QString MotorPostgreSql::cierraCursor(const QString& nombre) const {
    return QStringLiteral("CLOSE ") + nombre;
}

QString MotorPostgreSql::tiposDeColumnas(const QString& tabla) const {
    // The type by its own name (pg_catalog.bpchar, not "character", which
    // in a cast would mean one character).
    return QStringLiteral(
               "SELECT a.attname, quote_ident(n.nspname) || '.' || quote_ident(t.typname) "
               "FROM pg_attribute a JOIN pg_type t ON t.oid = a.atttypid JOIN "
               "pg_namespace n ON n.oid = t.typnamespace WHERE a.attrelid = "
               "to_regclass('%1') AND a.attnum > 0 AND NOT a.attisdropped")
        .arg(tabla);
}
