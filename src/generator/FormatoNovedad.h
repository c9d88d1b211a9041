#pragma once

#include <QString>
#include <optional>

// The cell texts of a price-change row and the number patterns of the scale
// record. Pure text work: the loaders and the file writer share it.
class FormatoNovedad {
public:
    // Amount with three implied decimals: the value rounded to three decimals,
    // at least six integer digits, separators removed: 1250.5 -> "001250500".
    // One million or more gives more digits; a negative value keeps its "-".
    static QString Importe(double valor);
    // The same for an amount read as text; empty or unreadable text counts as 0.
    static QString ImporteTexto(const QString& texto);
    // First nine characters of the trimmed code, trimmed again, zero-padded on
    // the left to nine: "1234" -> "000001234".
    static QString CodInterno(const QString& codigo);
    // First `ancho` characters, trimmed, blank-padded on the right to `ancho`.
    static QString Texto(const QString& texto, int ancho);
    // "0" for the rate "21", "1" for any other; an empty rate takes `ivaPorDefecto`.
    static QString TipoIva(const QString& tasa, const QString& ivaPorDefecto);
    // The article's bar code cut to thirteen characters; without one, the
    // CodInterno cell followed by "0000"; fitted to exactly thirteen.
    static QString CodBarra(const QString& codigoBarra, const QString& codInterno);
    // First two characters of the trimmed category; "99" when it is empty.
    static QString Rubro(const QString& rubro);
    // The weighable text as "1" or "0": empty is "0", then read as yes/no.
    static QString Pesable(const QString& pesable);

    // A number pattern of `digitos` zeros ("00", "00000"...): a numeric text
    // rounded to a whole number and zero-padded on the left to at least that
    // many digits; a text that is no number passes through unchanged.
    static QString Patron(const QString& texto, int digitos);
    static QString Patron(double valor, int digitos);
    // True for an optionally signed decimal number ("12", "-3.50", ".5").
    static bool EsNumero(const QString& texto);
    // An amount as the database or the operator writes it: one optionally
    // signed number with "." or "," as decimal separator, or grouped in
    // thousands ("1.234.567", "1.234,50", "1,234.50"); blank text is 0.
    // None for anything else ("1.2.3", "12a"): such a price is never sent
    // with a guessed value.
    static std::optional<double> LeeImporte(const QString& texto);
};
