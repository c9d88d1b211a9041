#pragma once

#include "progress/Dll_Display.h"

#include <QPointer>

class VentanaCartel;

// The banner on screen: opens VentanaCartel modeless and drives it.
class CartelEnPantalla : public Dll_Display {
public:
    CartelEnPantalla() = default;
    ~CartelEnPantalla() override;

    void CartelInicio(const QString& Titulo, bool PermiteCancelar) override;
    void CartelMostrar(bool& Cancelado, const std::optional<QString>& L1 = std::nullopt,
                       const std::optional<QString>& L2 = std::nullopt,
                       const std::optional<QString>& L3 = std::nullopt) override;
    void CartelCerrar() override;
    void Siempre_Visible(bool siempre) override;
    bool PideCancelar() override;

    // The window while it exists (for tests and the main window's layout).
    VentanaCartel* ventana() const { return ventana_; }

private:
    VentanaCartel* carga();

    QPointer<VentanaCartel> ventana_;
};
