#pragma once

#include "utility_library/ErrorKX.h"

#include <functional>
#include <initializer_list>
#include <stdexcept>

// Runs a routine's steps the suite's way: a step that fails goes to an error
// dialog whose answer decides: 4 runs the step again, 5 goes on with the next
// step, anything else leaves the routine. Returns false when the routine was left.
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
                case 4:
                    continue;
                case 5:
                    return true;
                default:
                    return false;
                }
            } catch (const std::exception& e) {
                switch (dialogo_(ErrorKX{5, QString::fromLocal8Bit(e.what()), QString()})) {
                case 4:
                    continue;
                case 5:
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
