#pragma once

#include "generator/ImpresorTestigo.h"

class EstadoVentana;

// The witness and labels reports through the utility library's report
// service, selecting the batch whose code the window shows.
class TestigoQlReport : public ImpresorTestigo {
public:
    explicit TestigoQlReport(const EstadoVentana& ventana) : ventana_(ventana) {}
    void ImprimeTestigo(bool etiquetas) override;

private:
    const EstadoVentana& ventana_;
};
