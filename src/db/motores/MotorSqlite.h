#pragma once

#include "db/motores/Motor.h"

// SQLite, through Qt's driver linked with the program's own SQLite.
class MotorSqlite : public Motor {
public:
    Plataforma plataforma() const override { return Plataforma::Sqlite; }
    QString nombre() const override;
    QString controladorQt() const override;
    QStringList explicaFalloDeConexion(const QString& descripcion, const QString& servidor,
                                       int puerto, const QString& base,
                                       const QString& usuario) const override;
    QString producto() const override;
    void capacidades(CapacidadesMotor& c, bool odbc) const override;
    QString opcionesDeConexion(int segundos) const override;
    QStringList ordenesDeSesion(const QString& ordenFecha) const override;
    void leeCodigoDeError(const QString& codigo, QString& sqlState, qint32& nativo) const override;
    bool enProceso() const override;
    bool esEsperaAgotada(qint32 nativo) const override;
    QString diaDe(const QString& columna) const override;
    QString archivoEsquema() const override;
};
