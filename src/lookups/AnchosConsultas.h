#pragma once

#include <QList>
#include <QString>

// "CONSULTASLEN.KVX": the column widths (twips) the operator last gave each
// table's list lookup, one line per table: "TABLA","2400|1200|900|".
namespace AnchosConsultas {
// The word after the first "from " of the statement (a blank is appended
// first, so a statement ending with the table still yields it).
QString ClaveTabla(const QString& sql);
// The key the widths are kept under: "Stk_ma_articulos" shares the article
// lists' widths.
QString ClaveAnchos(const QString& clave);

// Widths for `clave` (any case), the later matching line winning; an entry
// that is missing or not a number ends the widths of that line, the ones
// before it stay. Empty when the file or the line is missing.
QList<int> CargaAnchos(const QString& carpeta, const QString& clave);
// Rewrites the file with the other tables' lines unchanged and this table's
// line last. The new content is written whole beside the file and then put
// in place by one rename (a link there is replaced, never followed), so a
// crash at any moment leaves either the old file or the new one. False when
// it could not be written.
bool GrabaAnchos(const QString& carpeta, const QString& clave, const QList<int>& anchos);

QString RutaAnchos(const QString& carpeta);
} // namespace AnchosConsultas
