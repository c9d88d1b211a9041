#pragma once

#include "db/motores/Motor.h"

// SQL Server, through ODBC (FreeTDS unless the settings name another driver).
class MotorSqlServer : public Motor {
public:
    Plataforma plataforma() const override { return Plataforma::SqlServer; }
    QString nombre() const override;
    QString controladorQt() const override;
    QString producto() const override;
    void capacidades(CapacidadesMotor& c, bool odbc) const override;
    QStringList ordenesDeSesion(const QString& ordenFecha) const override;
    QString puntoGuardado(const QString& nombre) const override;
    QString vuelveAPunto(const QString& nombre) const override;
    QString liberaPunto(const QString& nombre) const override;
    QString archivoEsquema() const override;
    QString enteroLargo() const override;
    QString creaTablaSiFalta(const QString& tabla, const QString& columnas) const override;
    QStringList candadoDeTransaccion(const QString& recurso, qint64 clave,
                                     int segundos) const override;
    qint64 maximoCodigo() const override;
};
