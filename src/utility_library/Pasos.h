#pragma once

#include "utility_library/ErrorKX.h"
#include "utility_library/Operador.h"

#include <functional>
#include <initializer_list>
#include <stdexcept>

// Runs a routine's steps the suite's way: a step that fails goes to an error
// dialog whose answer decides: Retry runs the step again, Ignore goes on with
// the next step, anything else leaves the routine. Returns false when the
// routine was left.
class Pasos {
public:
    using Dialogo = std::function<int(const ErrorKX&)>;
    explicit Pasos(Dialogo dialogo) : dialogo_(std::move(dialogo)) {}

    // One step; false when the operator chose to leave.
    bool paso(const std::function<void()>& f) const {
        for (;;) {
            try {
                f();
                return true;
            } catch (const FalloKX& e) {
                switch (dialogo_(e.error())) {
                case Operador::Reintentar:
                    continue;
                case Operador::Ignorar:
                    return true;
                default:
                    return false;
                }
            } catch (const std::exception& e) {
                switch (dialogo_(ErrorKX{5, QString::fromLocal8Bit(e.what()), QString()})) {
                case Operador::Reintentar:
                    continue;
                case Operador::Ignorar:
                    return true;
                default:
                    return false;
                }
            }
        }
    }

    bool pasos(std::initializer_list<std::function<void()>> lista) const {
        for (const auto& f : lista) {
            if (!paso(f)) {
                return false;
            }
        }
        return true;
    }

private:
    Dialogo dialogo_;
};

// Runs a step whose failure the routine passes over without a word, as the
// suite's set-up, layout and clean-up steps do (closing a result set that is
// gone, an optional setting): nothing later relies on what such a step did.
template <typename F> void Intenta(F&& f) noexcept {
    try {
        f();
    } catch (...) {
        // Passed over on purpose: see above.
    }
}

// The same for a list of steps: a Pasos that answers every failure "go on".
inline Pasos PasosSilenciosos() {
    return Pasos([](const ErrorKX&) { return int(Operador::Ignorar); });
}
