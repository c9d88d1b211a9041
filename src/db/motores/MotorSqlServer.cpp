#include "db/motores/MotorSqlServer.h"

#include "db/CapacidadesMotor.h"

#include <limits>

QString MotorSqlServer::nombre() const {
    return QStringLiteral("SQLSERVER");
}

QString MotorSqlServer::controladorQt() const {
    return QString();
}

QString MotorSqlServer::producto() const {
    return QStringLiteral("SQL Server");
}

void MotorSqlServer::capacidades(CapacidadesMotor&, bool) const {}

QStringList MotorSqlServer::ordenesDeSesion(const QString& ordenFecha) const {
    return {QStringLiteral("SET DATEFORMAT %1").arg(ordenFecha.toLower())};
}

QString MotorSqlServer::puntoGuardado(const QString& nombre) const {
    return QStringLiteral("SAVE TRANSACTION ") + nombre;
}

QString MotorSqlServer::vuelveAPunto(const QString& nombre) const {
    return QStringLiteral("ROLLBACK TRANSACTION ") + nombre;
}

QString MotorSqlServer::liberaPunto(const QString&) const {
    return QString(); // let go of with the transaction
}

QString MotorSqlServer::archivoEsquema() const {
    return QStringLiteral(":/esquema/sqlserver.sql");
}

QString MotorSqlServer::enteroLargo() const {
    // The suite's code columns are int.
    return QStringLiteral("int");
}

QString MotorSqlServer::creaTablaSiFalta(const QString& tabla, const QString& columnas) const {
    return QStringLiteral("IF OBJECT_ID('%1') IS NULL CREATE TABLE %1 ").arg(tabla) + columnas;
}

QString MotorSqlServer::candadoDeTransaccion(const QString& recurso, qint64) const {
    return QStringLiteral("EXEC sp_getapplock @Resource = '%1', "
                          "@LockMode = 'Exclusive', @LockOwner = 'Transaction'")
        .arg(recurso);
}

qint64 MotorSqlServer::maximoCodigo() const {
    // The batch code is a 32-bit column.
    return std::numeric_limits<qint32>::max();
}
