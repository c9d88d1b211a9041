#pragma once

#include <QString>
#include <optional>

// The progress banner that long loads show: a title, three lines of progress
// text, an endless animation and, when allowed, a cancel button. The batch
// logic talks to this interface only; the window lives in progress_ui and
// headless runs use the silent banner.
class Dll_Display {
public:
    virtual ~Dll_Display() = default;

    // Opens the banner with `Titulo` as its caption; the cancel button is shown
    // only when `PermiteCancelar`.
    virtual void CartelInicio(const QString& Titulo, bool PermiteCancelar) = 0;
    // Each line that is given replaces that line's text (an empty text empties
    // it); a line that is not given keeps its text. Then lets pending events run
    // once and sets `Cancelado` to whether the operator pressed cancel since the
    // banner opened.
    virtual void CartelMostrar(bool& Cancelado, const std::optional<QString>& L1 = std::nullopt,
                               const std::optional<QString>& L2 = std::nullopt,
                               const std::optional<QString>& L3 = std::nullopt) = 0;
    // Closes the banner; the next CartelInicio starts from a fresh one.
    virtual void CartelCerrar() = 0;
    // Acts as the banner's cancel button when it shows one; false when the
    // banner is closed or offers no cancel.
    virtual bool PideCancelar() { return false; }
    // Keeps the banner above every other window (or not).
    virtual void Siempre_Visible(bool siempre) = 0;

    // The program-wide banner: the silent one until the program installs another.
    static Dll_Display& instancia();
    // Does not take ownership; nullptr goes back to the silent banner.
    static void fijaInstancia(Dll_Display* cartel);
};
