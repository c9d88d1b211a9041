#include "db/motores/MotorSqlite.h"

#include "db/CapacidadesMotor.h"

#include <sqlite3.h>

QString MotorSqlite::nombre() const {
    return QStringLiteral("SQLITE");
}

QString MotorSqlite::controladorQt() const {
    return QStringLiteral("QSQLITE");
}

QStringList MotorSqlite::explicaFalloDeConexion(const QString& descripcion, const QString&, int,
                                                const QString& base, const QString&) const {
    QString que;
    if (descripcion.contains(QLatin1String("unable to open"), Qt::CaseInsensitive)) {
        que = QStringLiteral("No se encontró o no se pudo abrir el archivo de base de datos SQLite "
                             "\"%1\".")
                  .arg(base);
    } else if (descripcion.contains(QLatin1String("not a database"), Qt::CaseInsensitive)) {
        que = QStringLiteral("El archivo \"%1\" no es una base de datos SQLite.").arg(base);
    } else {
        que = QStringLiteral("No se pudo abrir la base de datos SQLite \"%1\".").arg(base);
    }
    return {que,
            QStringLiteral("1. Verifique el archivo (@dbname): una ruta relativa se toma desde "
                           "la carpeta del programa."),
            QStringLiteral("2. Verifique que el usuario del equipo pueda leer y escribir el "
                           "archivo y su carpeta.")};
}

QString MotorSqlite::producto() const {
    return QStringLiteral("SQLite");
}

void MotorSqlite::capacidades(CapacidadesMotor& c, bool odbc) const {
    c.leeMientrasEjecuta = !odbc;
    c.fechasComoTexto = true;
}

QString MotorSqlite::opcionesDeConexion(int segundos) const {
    // The driver sets the busy timeout as the file opens, before any
    // statement of ours: a writer's lock is waited for, not failed on.
    return QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(qMax(segundos, 5) * 1000);
}

QStringList MotorSqlite::ordenesDeSesion(const QString&) const {
    return {QStringLiteral("PRAGMA synchronous=NORMAL"), QStringLiteral("PRAGMA temp_store=MEMORY"),
            // 4 MB of page cache: a batch of 100,000 rows keeps the process
            // small, and a larger cache did not make it faster.
            QStringLiteral("PRAGMA cache_size=-4000")};
}

void MotorSqlite::leeCodigoDeError(const QString& codigo, QString& sqlState, qint32& nativo) const {
    nativo = codigo.toInt();
    sqlState = QStringLiteral("HY000");
}

bool MotorSqlite::enProceso() const {
    return true;
}

bool MotorSqlite::esEsperaAgotada(qint32 nativo) const {
    // SQLITE_BUSY after the busy timeout, or SQLITE_LOCKED inside one
    // process; extended codes keep the primary code in the low byte.
    const int primario = nativo & 0xFF;
    return primario == SQLITE_BUSY || primario == SQLITE_LOCKED;
}

QString MotorSqlite::diaDe(const QString& columna) const {
    return QStringLiteral("date(%1)").arg(columna);
}

QString MotorSqlite::archivoEsquema() const {
    return QStringLiteral(":/esquema/sqlite.sql");
}
