#pragma once

#include "db/motores/Motor.h"

// PostgreSQL, through Qt's libpq driver.
class MotorPostgreSql : public Motor {
public:
    Plataforma plataforma() const override { return Plataforma::PostgreSql; }
    QString nombre() const override;
    QString controladorQt() const override;
    QStringList explicaFalloDeConexion(const QString& descripcion, const QString& servidor,
                                       int puerto, const QString& base,
                                       const QString& usuario) const override;
    QString producto() const override;
    void capacidades(CapacidadesMotor& c, bool odbc) const override;
    QString opcionesDeConexion(int segundos) const override;
    QStringList ordenesDeSesion(const QString& ordenFecha) const override;
    QString archivoEsquema() const override;
    QString creaTablaSiFalta(const QString& tabla, const QString& columnas) const override;
    QStringList candadoDeTransaccion(const QString& recurso, qint64 clave,
                                     int segundos) const override;
    bool esEsperaAgotada(qint32 nativo) const override;
    QString declaraCursor(const QString& nombre, const QString& consulta) const override;
    QString traeDeCursor(const QString& nombre, int filas) const override;
    QString cierraCursor(const QString& nombre) const override;
    QString tiposDeColumnas(const QString& tabla) const override;
};
