#pragma once

#include "utility_library/Operador.h"

class QWidget;

// The operator at the screen: real message boxes and dialogs. Styles are the
// suite's codes (buttons 0-5 plus icon 16/32/48/64); answers 1..7.
class OperadorQt : public Operador {
public:
    explicit OperadorQt(QWidget* padre = nullptr) : padre_(padre) {}
    int MsgBox(const QString& texto, int estilo, const QString& titulo) override;
    bool InputBox(const QString& texto, const QString& titulo, QString& valor) override;
    QString GuardarArchivo(const QString& titulo, const QString& carpeta, const QString& nombre,
                           const QString& filtro) override;
    QString EligeCarpeta(const QString& titulo, const QString& carpeta) override;
    QDate EligeFecha() override;

private:
    QWidget* padre_;
};
