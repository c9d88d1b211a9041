#pragma once

#include "progress/Dll_Display.h"

#include <QPointer>

class Lbf_CtrlDisplay;

// The banner on screen: opens Lbf_CtrlDisplay modeless and drives it.
class CartelVentana : public Dll_Display {
public:
    CartelVentana() = default;
    ~CartelVentana() override;

    void CartelInicio(const QString& Titulo, bool PermiteCancelar) override;
    void CartelMostrar(bool& Cancelado, const std::optional<QString>& L1 = std::nullopt,
                       const std::optional<QString>& L2 = std::nullopt,
                       const std::optional<QString>& L3 = std::nullopt) override;
    void CartelCerrar() override;
    void Siempre_Visible(bool siempre) override;

    // The window while it exists (for tests and the main window's layout).
    Lbf_CtrlDisplay* ventana() const { return ventana_; }

private:
    Lbf_CtrlDisplay* carga();

    QPointer<Lbf_CtrlDisplay> ventana_;
};
