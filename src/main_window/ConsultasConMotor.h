#pragma once

#include "main_window/ConsultasVentana.h"

class MotorConsultas;

// The window's lookups through the program's lookup engine: the list and
// tree windows of the lookups library.
class ConsultasConMotor : public ConsultasVentana {
public:
    explicit ConsultasConMotor(MotorConsultas& motor) : motor_(motor) {}
    QString Consulta(const PedidoConsulta& pedido) override;

private:
    MotorConsultas& motor_;
};
