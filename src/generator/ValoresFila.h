#pragma once

#include "generator/FilaNovedad.h"

#include <QString>

// The working values of one source row: filled by LeeFila, turned into cell
// texts by FormateaFila, written to the grid by AgregaFila.
struct ValoresFila {
    QString tipoMov;     // the price row's state ('0-C') or the manual kind letter
    QString codigo;      // article code
    QString descripcion; // article description
    QString marca;       // description of the article's type
    QString precio;
    QString precio2;
    QString internos = FilaNovedad::kCeros9;
    QString costo;
    QString condIva = FilaNovedad::kCondIva;
    QString tasaIva;
    QString fijo = FilaNovedad::kFijo;
    QString codBarra;
    QString rubro;
    QString pesable;
    QString aux1 = FilaNovedad::kCeros9;
    QString aux2 = FilaNovedad::kCeros6;
    QString id; // the V_MA_PRECIOS row
    // The sale-class price, read only when the price taken is the offer.
    QString precioRegular;
    bool cambioCodBarra = false;
    bool noMarcar = false;

    // Turns the values into the cell texts of the row model. `ivaPorDefecto`
    // is the configured rate for an article without one. The pending loader
    // keeps only the letter of the state ('0-C' -> "C"); the manual loader
    // (`letraCompleta`) keeps the kind letter as read, up to four characters.
    void FormateaFila(const QString& ivaPorDefecto, bool letraCompleta);

    // The grid row of the formatted values (AgregaFila's cell mapping).
    FilaNovedad Fila() const;
};
