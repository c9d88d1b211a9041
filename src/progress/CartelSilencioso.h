#pragma once

#include "progress/Dll_Display.h"

#include <QStringList>
#include <functional>

// The banner of runs with nobody at the screen: shows nothing, keeps what a
// window would show so that tests can read it, and lets a test press cancel.
class CartelSilencioso : public Dll_Display {
public:
    CartelSilencioso();

    void CartelInicio(const QString& Titulo, bool PermiteCancelar) override;
    void CartelMostrar(bool& Cancelado, const std::optional<QString>& L1 = std::nullopt,
                       const std::optional<QString>& L2 = std::nullopt,
                       const std::optional<QString>& L3 = std::nullopt) override;
    void CartelCerrar() override;
    void Siempre_Visible(bool siempre) override { siempreVisible_ = siempre; }
    bool PideCancelar() override;

    // Presses the cancel button, as the operator would: only a shown button
    // can be pressed.
    void pulsaCancelar();
    // Runs at the end of every CartelMostrar, where the window would process its
    // events, with the number of calls since the banner opened (a test presses
    // cancel there; the next call reports it).
    void alMostrar(std::function<void(int)> f) { alMostrar_ = std::move(f); }

    bool visible() const { return visible_; }
    QString titulo() const { return titulo_; }
    bool botonCancelarVisible() const { return permiteCancelar_; }
    bool cancelado() const { return cancelado_; }
    const QStringList& lineas() const { return lineas_; }
    int llamadasMostrar() const { return llamadas_; }
    int aperturas() const { return aperturas_; }
    int cierres() const { return cierres_; }
    bool siempreVisible() const { return siempreVisible_; }

private:
    bool visible_ = false;
    bool permiteCancelar_ = false;
    bool cancelado_ = false;
    bool siempreVisible_ = false;
    QString titulo_;
    QStringList lineas_;
    int llamadas_ = 0;
    int aperturas_ = 0;
    int cierres_ = 0;
    std::function<void(int)> alMostrar_;
};
