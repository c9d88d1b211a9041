#include "db/motores/MotorPostgreSql.h"

#include "db/CapacidadesMotor.h"

#include <QRegularExpression>

QString MotorPostgreSql::nombre() const {
    return QStringLiteral("POSTGRESQL");
}

QString MotorPostgreSql::controladorQt() const {
    return QStringLiteral("QPSQL");
}

QStringList MotorPostgreSql::explicaFalloDeConexion(const QString& descripcion,
                                                    const QString& servidor, int puerto,
                                                    const QString& base,
                                                    const QString& usuario) const {
    const QString donde =
        QStringLiteral("el servidor PostgreSQL %1, puerto %2")
            .arg(servidor.trimmed().isEmpty() ? QStringLiteral("localhost") : servidor.trimmed())
            .arg(puerto > 0 ? puerto : 5432);
    // libpq's own words (the server's, in its language, may differ: then the
    // general sentence stays).
    const auto dice = [&](const char* patron) {
        return QRegularExpression(QLatin1String(patron), QRegularExpression::CaseInsensitiveOption)
            .match(descripcion)
            .hasMatch();
    };
    QString que;
    if (dice("database \".*\" does not exist")) {
        que = QStringLiteral("La base de datos \"%1\" no existe en %2.").arg(base, donde);
    } else if (dice("password authentication failed|role \".*\" does not exist|"
                    "no password supplied|authentication failed")) {
        que = QStringLiteral("%1 rechazó al usuario \"%2\": el usuario no existe o la "
                             "contraseña no es correcta.")
                  .arg(donde.left(1).toUpper() + donde.mid(1), usuario);
    } else if (dice("pg_hba\\.conf")) {
        que = QStringLiteral("%1 no admite conexiones de este equipo para el usuario \"%2\" y "
                             "la base de datos \"%3\".")
                  .arg(donde.left(1).toUpper() + donde.mid(1), usuario, base);
    } else if (dice("could not translate host name|Name or service not known")) {
        que = QStringLiteral("No se encuentra el equipo \"%1\" en la red.").arg(servidor);
    } else if (dice("Connection refused|timeout expired|could not connect|No route to host|"
                    "Network is unreachable")) {
        que = QStringLiteral("No se pudo llegar a %1: no responde o no acepta conexiones.")
                  .arg(donde);
    } else {
        que = QStringLiteral("No se pudo abrir la base de datos \"%1\" en %2.").arg(base, donde);
    }
    return {que,
            QStringLiteral("1. Verifique el nombre de la base de datos (@dbname) y que exista en "
                           "ese servidor."),
            QStringLiteral("2. Verifique el servidor (@server) y el puerto (@Puerto; 5432 si no "
                           "se indica), y que PostgreSQL acepte conexiones de este equipo "
                           "(listen_addresses y pg_hba.conf)."),
            QStringLiteral("3. Verifique el usuario (@usuario) y su contraseña (@Password).")};
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

QStringList MotorPostgreSql::candadoDeTransaccion(const QString&, qint64 clave,
                                                  int segundos) const {
    // The limit is the server's own, for the rest of the transaction: the
    // advisory lock and every row lock after it give up on the server, even
    // when the client that waits is gone.
    const qint64 ms = segundos > 0 ? qint64(segundos) * 1000 : 0;
    return {QStringLiteral("SET LOCAL lock_timeout = %1").arg(ms),
            QStringLiteral("SELECT pg_advisory_xact_lock(%1)").arg(clave)};
}

bool MotorPostgreSql::esEsperaAgotada(qint32 nativo) const {
    // 55P03 lock_not_available: lock_timeout ran out.
    QString estado;
    qint32 espera = 0;
    leeCodigoDeError(QStringLiteral("55P03"), estado, espera);
    return nativo == espera;
}

QString MotorPostgreSql::declaraCursor(const QString& nombre, const QString& consulta) const {
    // WITH HOLD: the cursor outlives the statement's own transaction and
    // reads a snapshot of the source.
    return QStringLiteral("DECLARE ") + nombre +
           QStringLiteral(" NO SCROLL CURSOR WITH HOLD FOR ") + consulta;
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
