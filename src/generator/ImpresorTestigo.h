#pragma once

// Prints a batch's witness report (or its labels report) for the code in the
// window's Codigo field. Behind an interface: the generation only asks for it.
class ImpresorTestigo {
public:
    virtual ~ImpresorTestigo() = default;
    // `etiquetas` false: the witness report; true: the labels report.
    // Failures of the report service throw FalloKX.
    virtual void ImprimeTestigo(bool etiquetas) = 0;
};
