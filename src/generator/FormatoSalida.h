#pragma once

#include "generator/RevisionFormato.h"

#include <QByteArray>
#include <QString>
#include <optional>

class GrillaLote;

// One file a generation writes in the output folder: its name, its encoding,
// the record each grid row gets in it and what it checks of a record's fixed
// layout. The writer (ArchivosCambio) keeps one published file, digest and
// line count per format; a new output is one more format in its list.
class FormatoSalida {
public:
    virtual ~FormatoSalida() = default;

    // The file's name in the output folder, e.g. "CAMBIOS.TXT".
    virtual const QString& Nombre() const = 0;
    // The record of grid row `fila` in this file, without its line end; none
    // when the row gets no record here. May throw FalloKX when a lookup it
    // needs fails.
    virtual std::optional<QString> Registro(const GrillaLote& grilla, int fila) = 0;
    // A record's text in the file's encoding.
    virtual QByteArray Codifica(const QString& registro) const = 0;
    // What the record of `fila` would break of the file's fixed layout (row
    // and code left for the caller); none when it keeps it or gets no record.
    virtual std::optional<HallazgoFormato> Revisa(const GrillaLote& grilla, int fila) = 0;
    // The records of rows `desde` to `hasta` (excluded) come next: a format
    // whose records need lookups may ask them together now. May throw FalloKX.
    virtual void Anticipa(const GrillaLote& grilla, int desde, int hasta) {
        (void)grilla, (void)desde, (void)hasta;
    }

    // The row's line as the file holds it: the record encoded and ended by
    // CR LF; empty when the row gets no record.
    QByteArray Linea(const GrillaLote& grilla, int fila);
};
