#include "db/CapacidadesMotor.h"

#include "db/motores/Motor.h"

#include <QSqlDatabase>

CapacidadesMotor CapacidadesMotor::de(Plataforma plataforma, bool odbc) {
    CapacidadesMotor c;
    c.plataforma = plataforma;
    MotorDe(plataforma).capacidades(c, odbc);
    return c;
}

CapacidadesMotor CapacidadesMotor::de(const QSqlDatabase& db) {
    // Every other driver is ODBC, which counts as SQL Server.
    const QString d = db.driverName();
    for (const Motor* m : Motores()) {
        if (!m->controladorQt().isEmpty() && d == m->controladorQt()) {
            return de(m->plataforma(), false);
        }
    }
    return de(Plataforma::SqlServer, true);
}

const Motor& CapacidadesMotor::motor() const {
    return MotorDe(plataforma);
}

QString CapacidadesMotor::diaDe(const QString& columna) const {
    return motor().diaDe(columna);
}

QString CapacidadesMotor::puntoGuardado(const QString& nombre) const {
    return motor().puntoGuardado(nombre);
}

QString CapacidadesMotor::vuelveAPunto(const QString& nombre) const {
    return motor().vuelveAPunto(nombre);
}

QString CapacidadesMotor::liberaPunto(const QString& nombre) const {
    return motor().liberaPunto(nombre);
}
