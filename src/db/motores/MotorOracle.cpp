#include "db/motores/MotorOracle.h"

#include "db/CapacidadesMotor.h"

#include <limits>

QString MotorOracle::nombre() const {
    return QStringLiteral("ORACLE");
}

QString MotorOracle::controladorQt() const {
    return QStringLiteral("QOCI");
}

QString MotorOracle::producto() const {
    return QStringLiteral("Oracle");
}

void MotorOracle::capacidades(CapacidadesMotor& c, bool) const {
    c.puntosDeGuardado = false;
}

QString MotorOracle::sondeoDeEnlace() const {
    return QStringLiteral("SELECT 1 FROM DUAL");
}

QString MotorOracle::diaDe(const QString& columna) const {
    return QStringLiteral("TRUNC(%1)").arg(columna);
}

QString MotorOracle::liberaPunto(const QString&) const {
    return QString(); // let go of with the transaction
}

qint64 MotorOracle::maximoCodigo() const {
    // The batch code is a 32-bit column.
    return std::numeric_limits<qint32>::max();
}
