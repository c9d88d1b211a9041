#pragma once

#include "lookups/VentanasConsulta.h"

// The lookup engine's real windows: each request creates a fresh window,
// shows it modally, reads it and drops it.
class VentanasConsultaQt : public VentanasConsulta {
public:
    ResultadoConsulta muestraLista(const PedidoLista& p) override;
    ResultadoConsulta muestraArbol(const PedidoArbol& p) override;
    ResultadoConsulta muestraOpciones(const PedidoOpciones& p) override;
    int anchoPantallaTwips() const override;
};

// Everything a program needs for its lookups: the Qt windows for the engine
// and the start-up step that prepares it. Call once, before start-up.
void InstalaConsultas();
