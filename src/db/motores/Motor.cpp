#include "db/motores/Motor.h"

#include <limits>

QString Motor::opcionesDeConexion(int) const {
    return QString();
}

void Motor::leeCodigoDeError(const QString& codigo, QString& sqlState, qint32& nativo) const {
    sqlState = codigo;
    // Not a number: the five characters packed six bits each, first
    // character lowest, so that "42P01" and "08006" give stable, distinct codes.
    if (codigo.size() != 5) {
        nativo = codigo.toInt();
        return;
    }
    nativo = 0;
    for (int i = 0; i < 5; ++i) {
        nativo |= qint32((codigo[i].toLatin1() - '0') & 0x3F) << (6 * i);
    }
}

bool Motor::enProceso() const {
    return false;
}

bool Motor::esEsperaAgotada(qint32) const {
    return false;
}

QString Motor::sondeoDeEnlace() const {
    return QStringLiteral("SELECT 1");
}

QStringList Motor::ordenesDeSesion(const QString&) const {
    return {};
}

QString Motor::diaDe(const QString& columna) const {
    return QStringLiteral("CAST(%1 AS DATE)").arg(columna);
}

QString Motor::puntoGuardado(const QString& nombre) const {
    return QStringLiteral("SAVEPOINT ") + nombre;
}

QString Motor::vuelveAPunto(const QString& nombre) const {
    return QStringLiteral("ROLLBACK TO SAVEPOINT ") + nombre;
}

QString Motor::liberaPunto(const QString& nombre) const {
    return QStringLiteral("RELEASE SAVEPOINT ") + nombre;
}

QString Motor::archivoEsquema() const {
    return QString();
}

QString Motor::enteroLargo() const {
    return QStringLiteral("bigint");
}

QString Motor::creaTablaSiFalta(const QString& tabla, const QString& columnas) const {
    return QStringLiteral("CREATE TABLE IF NOT EXISTS %1 ").arg(tabla) + columnas;
}

QStringList Motor::explicaFalloDeConexion(const QString&, const QString&, int, const QString&,
                                          const QString&) const {
    return {};
}

QStringList Motor::candadoDeTransaccion(const QString&, qint64, int) const {
    return {};
}

qint64 Motor::maximoCodigo() const {
    return std::numeric_limits<qint64>::max() - 1;
}

QString Motor::declaraCursor(const QString&, const QString&) const {
    return QString();
}

QString Motor::traeDeCursor(const QString&, int) const {
    return QString();
}

QString Motor::cierraCursor(const QString&) const {
    return QString();
}

QString Motor::tiposDeColumnas(const QString&) const {
    return QString();
}
