#pragma once

#include <QDate>
#include <QString>

// The notice of a pending load that also took the offers of days on which
// its list got no batch: the window shows it above the grid, the witness
// prints it and tarvelo-lote writes it on its error stream, in one wording.
namespace DiasSinNovedad {
// "Se incluyen las ofertas de los días sin novedad: del 08/03 al 09/03";
// empty when either day is missing.
QString aviso(const QDate& desde, const QDate& hasta);
} // namespace DiasSinNovedad
