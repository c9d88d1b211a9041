#pragma once

#include <QString>

class LoteNovedades;

// The checks of the window's header fields when the operator accepts one:
// what is valid, what the batch logic does then, and the message of a refusal.
class ValidaCampo {
public:
    enum class Resultado {
        Aceptado,
        Rechazado,     // mensaje() says why
        LoteRecargado, // an existing code: its batch was reloaded
        CodigoNuevo,   // a new code: editing is on, the date comes next
    };

    static const QString kFaltaCodigo; // "Debe ingresar un código para el Generador."
    // The batch logic's own messages: a load that confirms the fields refuses alike.
    static const QString& kFechaInvalida;
    static const QString& kFaltaLista;
    static const QString& kListaInexistente;

    explicit ValidaCampo(LoteNovedades& lote) : lote_(lote) {}

    // Validates the field of that index with its current text (the state's).
    Resultado Valida(int indice);
    const QString& mensaje() const { return mensaje_; }

private:
    Resultado Codigo(const QString& texto);
    Resultado Fecha();
    Resultado Lista(const QString& texto);
    Resultado rechaza(const QString& mensaje);

    LoteNovedades& lote_;
    QString mensaje_;
};
