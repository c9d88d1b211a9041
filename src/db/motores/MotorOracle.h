#pragma once

#include "db/motores/Motor.h"

// Oracle, through ODBC or Qt's OCI driver.
class MotorOracle : public Motor {
public:
    Plataforma plataforma() const override { return Plataforma::Oracle; }
    QString nombre() const override;
    QString controladorQt() const override;
    QString producto() const override;
    void capacidades(CapacidadesMotor& c, bool odbc) const override;
    QString sondeoDeEnlace() const override;
    QString diaDe(const QString& columna) const override;
    QString liberaPunto(const QString& nombre) const override;
    qint64 maximoCodigo() const override;
};
