#pragma once

#include "utility_library/Operador.h"

#include <QTextStream>

// The operator of the unattended command: nobody answers, so every message is
// written to the error stream and every question gets its safe answer (no
// witness, no regeneration, leave on a failure). The one exception is the
// regeneration question when the command itself is the order to regenerate.
class OperadorLote : public Operador {
public:
    explicit OperadorLote(QTextStream& err) : err_(err) {}

    void aceptaRegenerar(bool acepta) { aceptaRegenerar_ = acepta; }
    // True once a failure was answered with "leave".
    bool huboFallo() const { return huboFallo_; }

    int MsgBox(const QString& texto, int estilo, const QString& titulo) override;
    bool InputBox(const QString& texto, const QString& titulo, QString& valor) override;
    QString GuardarArchivo(const QString&, const QString&, const QString&,
                           const QString&) override {
        return {};
    }
    QDate EligeFecha() override { return {}; }

private:
    QTextStream& err_;
    bool aceptaRegenerar_ = false;
    bool huboFallo_ = false;
};
