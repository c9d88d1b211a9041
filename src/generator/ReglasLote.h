#pragma once

#include "generator/VentanaCarga.h"

#include <QDate>
#include <QString>
#include <optional>

// The batch rules as plain decisions on plain values: which price a row
// sends, what an offer's dates mean for tomorrow's batch, and whether a row
// marks its price as sent. No database, no window.
namespace ReglasLote {

enum class Precio { Sugerido, Oferta, Venta };

// The price a loaded row sends. A positive suggested price wins. Otherwise,
// when the row has both offer dates: the offer price for an offer starting
// tomorrow and not ended before today, or (pending loader only) for one that
// runs past today; the sale price in every other case.
Precio PrecioAplicable(double sugerido, bool hayFechasOferta, const QDate& desde,
                       const QDate& hasta, const QDate& hoy, bool manual);

enum class Oferta {
    SinOferta, // no offer start: an ordinary change, marked as sent
    NoVence,   // starts after tomorrow: left for a later batch
    Vigente,   // running: sent without marking (unless already sent at this price)
    Termina,   // ends today or ended: its last change, marked as sent
};

// What the pending loader does with a row's offer dates.
Oferta DecideOferta(const QDate& desde, const QDate& hasta, const QDate& hoy, const QDate& manana);

// The days the pending load of `hoy` takes offers for. `ultimoDia`: the
// day of the list's latest pending load that became a batch. Before
// yesterday, the days in between are caught up, at most `limiteDias` back
// from today (0 or less: never); otherwise, or with `recuperar` false, the
// load is exactly today's.
VentanaCarga VentanaDeCarga(const QDate& hoy, const std::optional<QDate>& ultimoDia, int limiteDias,
                            bool recuperar);

// A configured number of days: a whole number, not negative, blanks around
// allowed; anything else (missing, blank, negative, a fraction, no number)
// gives `defecto`. Kept within a century: past that the dates lose meaning.
int LeeDias(const QString& texto, int defecto);

// Whether generating a grid row marks its price row as sent: its no-mark cell
// holds "0" and the list is not "A3" (a list whose prices are never marked).
bool DebeMarcar(const QString& celdaNoMarcar, const QString& lista);

// A batch code: a whole number written with digits only, blanks around
// allowed, leading zeros dropped ("049" is 49); none when it is anything else
// or does not fit a signed 64-bit integer. Callers check it against the
// largest code their engine stores (RepositorioLote::MaximoCodigo).
std::optional<qint64> LeeCodigo(const QString& texto);
// True when the text is written like a code (digits, blanks around), however
// large: such a text is a code out of range, not a text that is no number.
bool FormaDeCodigo(const QString& texto);

// The widest price-list code the suite stores.
constexpr int kLargoLista = 4;
// A price-list code: the trimmed text, when it has one to four characters;
// none otherwise (a longer code would be cut and name another list).
std::optional<QString> LeeLista(const QString& texto);

} // namespace ReglasLote
