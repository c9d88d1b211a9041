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

QStringList MotorSqlServer::candadoDeTransaccion(const QString& recurso, qint64,
                                                 int segundos) const {
    // sp_getapplock answers a wait that ran out with a negative status, not
    // an error: the batch raises it, so the transaction never goes on
    // without the lock. LOCK_TIMEOUT bounds the row locks that follow.
    const qint64 ms = segundos > 0 ? qint64(segundos) * 1000 : -1;
    return {QStringLiteral("SET LOCK_TIMEOUT %1").arg(ms),
            QStringLiteral("DECLARE @r int; EXEC @r = sp_getapplock @Resource = '%1', "
                           "@LockMode = 'Exclusive', @LockOwner = 'Transaction', "
                           "@LockTimeout = %2; IF @r < 0 RAISERROR('Se agoto la espera de "
                           "otra generacion de lotes (%1)', 16, 1)")
                .arg(recurso)
                .arg(ms)};
}

qint64 MotorSqlServer::maximoCodigo() const {
    // The batch code is a 32-bit column.
    return std::numeric_limits<qint32>::max();
}
