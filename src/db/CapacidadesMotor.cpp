#include "db/CapacidadesMotor.h"

#include <QSqlDatabase>

CapacidadesMotor CapacidadesMotor::de(Plataforma plataforma, bool odbc) {
    CapacidadesMotor c;
    c.plataforma = plataforma;
    switch (plataforma) {
    case Plataforma::Sqlite:
        c.leeMientrasEjecuta = !odbc;
        c.fechasComoTexto = true;
        break;
    case Plataforma::PostgreSql:
        c.cursorDeclarado = !odbc;
        c.sentenciasEncadenadas = !odbc;
        c.insercionCondicionada = !odbc;
        break;
    case Plataforma::SqlServer:
        break;
    case Plataforma::Oracle:
        c.puntosDeGuardado = false;
        break;
    }
    return c;
}

CapacidadesMotor CapacidadesMotor::de(const QSqlDatabase& db) {
    // The one place outside Conexion that knows Qt's driver names.
    const QString d = db.driverName();
    if (d == QLatin1String("QSQLITE")) {
        return de(Plataforma::Sqlite, false);
    }
    if (d == QLatin1String("QPSQL")) {
        return de(Plataforma::PostgreSql, false);
    }
    if (d == QLatin1String("QOCI")) {
        return de(Plataforma::Oracle, false);
    }
    return de(Plataforma::SqlServer, true);
}

QString CapacidadesMotor::diaDe(const QString& columna) const {
    switch (plataforma) {
    case Plataforma::Sqlite:
        return QStringLiteral("date(%1)").arg(columna);
    case Plataforma::Oracle:
        return QStringLiteral("TRUNC(%1)").arg(columna);
    case Plataforma::PostgreSql:
    case Plataforma::SqlServer:
        break;
    }
    return QStringLiteral("CAST(%1 AS DATE)").arg(columna);
}

QString CapacidadesMotor::puntoGuardado(const QString& nombre) const {
    return plataforma == Plataforma::SqlServer ? QStringLiteral("SAVE TRANSACTION ") + nombre
                                               : QStringLiteral("SAVEPOINT ") + nombre;
}

QString CapacidadesMotor::vuelveAPunto(const QString& nombre) const {
    return plataforma == Plataforma::SqlServer ? QStringLiteral("ROLLBACK TRANSACTION ") + nombre
                                               : QStringLiteral("ROLLBACK TO SAVEPOINT ") + nombre;
}

QString CapacidadesMotor::liberaPunto(const QString& nombre) const {
    if (plataforma == Plataforma::SqlServer || plataforma == Plataforma::Oracle) {
        return QString();
    }
    return QStringLiteral("RELEASE SAVEPOINT ") + nombre;
}
