#include "main_window/ConsultasConMotor.h"

#include "lookups/MotorConsultas.h"

QString ConsultasConMotor::ConsultaSearch(const QString& tipo, const QString& consulta,
                                          const QString& campoDevuelto) {
    (void)tipo; // the engine tells the kinds apart by the statement itself
    motor_.CampoDevuelto = campoDevuelto;
    QString sql = consulta;
    motor_.ConsultaSearch(sql);
    const QVariant v = motor_.ValorDevuelto;
    return v.isValid() && !v.isNull() ? v.toString() : QString();
}
