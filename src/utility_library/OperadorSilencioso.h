#pragma once

#include "utility_library/Operador.h"

#include <QStringList>

// For runs with nobody at the screen: every question gets its safe answer
// (No, Abort, Cancel) and every message is written to standard error.
class OperadorSilencioso : public Operador {
public:
    int MsgBox(const QString& texto, int estilo, const QString& titulo) override;
    bool InputBox(const QString& texto, const QString& titulo, QString& valor) override;
    QString GuardarArchivo(const QString&, const QString&, const QString&,
                           const QString&) override {
        return {};
    }
    QString EligeCarpeta(const QString&, const QString&) override { return {}; }
    QDate EligeFecha() override { return {}; }

    // True once an error or retry question was answered with "leave".
    bool huboFallo() const { return huboFallo_; }
    const QStringList& mensajes() const { return mensajes_; }
    void fijaEco(bool eco) { eco_ = eco; }

private:
    bool huboFallo_ = false;
    bool eco_ = true;
    QStringList mensajes_;
};
