#pragma once

#include "utility_library/Operador.h"

#include <QTextStream>

// The operator of the unattended command: nobody answers, so every message is
// written to the error stream and every question gets its safe answer (no
// witness, no regeneration, leave on a failure), except the named questions
// the command itself answered: regenerate (the command is the order to) and
// the witness (when a PDF file was given for it).
class OperadorLote : public Operador {
public:
    explicit OperadorLote(QTextStream& err) : err_(err) {}

    void aceptaRegenerar(bool acepta) { aceptaRegenerar_ = acepta; }
    void aceptaTestigo(bool acepta) { aceptaTestigo_ = acepta; }
    // A proposed code taken by another generation meanwhile: the next free
    // one is accepted (a code given on the command line is not changed).
    void aceptaOtroCodigo(bool acepta) { aceptaOtroCodigo_ = acepta; }
    // --acepta-alertas: prices that alert are generated all the same (the
    // command lists them itself, whole, on the error stream).
    void aceptaAlertas(bool acepta) { aceptaAlertas_ = acepta; }
    // --estricto: records outside the fixed layout refuse the generation.
    void estricto(bool estricto) { estricto_ = estricto; }
    // True once a failure was answered with "leave".
    bool huboFallo() const { return huboFallo_; }

    int MsgBox(const QString& texto, int estilo, const QString& titulo) override;
    int Pregunta(Operador::IdPregunta cual, const QString& texto, int estilo,
                 const QString& titulo) override;
    bool InputBox(const QString& texto, const QString& titulo, QString& valor) override;
    QString GuardarArchivo(const QString&, const QString&, const QString&,
                           const QString&) override {
        return {};
    }
    QString EligeCarpeta(const QString&, const QString&) override { return {}; }
    QDate EligeFecha() override { return {}; }

private:
    QTextStream& err_;
    bool aceptaRegenerar_ = false;
    bool aceptaTestigo_ = false;
    bool aceptaOtroCodigo_ = false;
    bool estricto_ = false;
    bool aceptaAlertas_ = false;
    bool huboFallo_ = false;
};
