#include "main_window/ConsultasConMotor.h"

#include "lookups/MotorConsultas.h"

QString ConsultasConMotor::Consulta(const PedidoConsulta& pedido) {
    // The engine tells the kinds apart by the statement itself.
    motor_.CampoDevuelto = pedido.campoDevuelto;
    motor_.ValorInicial = pedido.valorActual;
    QString sql = pedido.consulta;
    std::optional<QStringList> cmps;
    QString clave, campo, where, opcional, defecto;
    motor_.ConsultaSearch(sql, cmps, clave, campo, where, opcional, pedido.arbol, defecto);
    const QVariant v = motor_.ValorDevuelto;
    return v.isValid() && !v.isNull() ? v.toString() : QString();
}
