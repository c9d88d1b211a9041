#pragma once

#include <QString>
#include <optional>

class EstadoVentana;

// What a batch is made of besides its rows: its code, its date, the price
// list and the list's name. Read once from the window's confirmed fields (or
// from the unattended command's options, which confirm the same fields) when
// a load starts; the loaded rows keep it, and the generation writes exactly it, so
// a field edited after the load can never mix one list's name with another
// list's prices.
struct CabeceraLote {
    std::optional<qint64> codigo; // none: the text is no whole number the engines store
    QString textoCodigo;          // as typed, for the message that refuses it
    QString fecha;                // the batch date as written into every batch row
    QString lista;                // the list code, trimmed (at most four characters when valid)
    QString nombreLista;

    // The header the fields hold now. The list's code and name both come
    // from the list the IdLista field was confirmed with; a field whose text
    // is not that list's gives its code with no name (a load confirms the
    // field first).
    static CabeceraLote DeVentana(const EstadoVentana& v);

    // Whether `campoDeDatos` (Codigo, Fecha or IdLista) holding `texto` names
    // this header's value; other fields never belong to the header.
    bool Coincide(const QString& campoDeDatos, const QString& texto) const;
    // The header's value of that field, as the field shows it.
    QString ValorDeCampo(const QString& campoDeDatos) const;
    static bool EsDeCabecera(const QString& campoDeDatos);
};
