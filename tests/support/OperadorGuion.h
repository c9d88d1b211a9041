#pragma once

#include "utility_library/Operador.h"

#include <QList>
#include <QStringList>
#include <functional>

// Test operator: records every question and answers from a script given in
// advance. A question (a box with a choice) nobody scripted fails the running
// test and gets the safe answer, unless the test says it expects some
// (toleraSinGuion); a notice with one button needs no script.
class OperadorGuion : public Operador {
public:
    struct Pregunta {
        QString texto;
        int estilo = 0;
        QString titulo;
        int respuesta = 0;
    };

    // Queues an answer for the next message box.
    OperadorGuion& responde(int respuesta);
    // Queues a text for the next input box (ok=false: operator cancels).
    OperadorGuion& respondeTexto(const QString& texto, bool ok = true);
    // Queues a path for the next file or folder dialog (empty: cancelled).
    OperadorGuion& respondeArchivo(const QString& ruta);
    OperadorGuion& respondeFecha(const QDate& fecha);
    // Answers every unscripted message box with this value instead of failing.
    void respondeSiempre(int respuesta) { siempre_ = respuesta; }
    // Unscripted message boxes are expected: recorded in sinGuion(), not failed.
    void toleraSinGuion(bool tolera = true) { toleraSinGuion_ = tolera; }

    int MsgBox(const QString& texto, int estilo, const QString& titulo) override;
    bool InputBox(const QString& texto, const QString& titulo, QString& valor) override;
    QString GuardarArchivo(const QString& titulo, const QString& carpeta, const QString& nombre,
                           const QString& filtro) override;
    QString EligeCarpeta(const QString& titulo, const QString& carpeta) override;
    QDate EligeFecha() override;

    const QList<Pregunta>& preguntas() const { return preguntas_; }
    // Questions that found no scripted answer.
    const QStringList& sinGuion() const { return sinGuion_; }
    int pendientes() const { return int(respuestas_.size() + textos_.size()); }
    void limpia();

private:
    QList<int> respuestas_;
    QList<QPair<QString, bool>> textos_;
    QStringList archivos_;
    QList<QDate> fechas_;
    QList<Pregunta> preguntas_;
    QStringList sinGuion_;
    int siempre_ = 0;
    bool toleraSinGuion_ = false;
};
