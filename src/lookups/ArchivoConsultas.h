#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

// One record of "consultas.kvx": which columns a lookup on a table shows and
// which extra condition it applies. 1202 bytes in Windows-1252, the last two
// being CR LF so the file also reads as text.
struct MascaraConsulta {
    QString TituloMascara;    // 100
    QString TablaMascara;     // 100
    QString CamposMascara;    // 500, "|COL1|COL2|"
    QString CondicionMascara; // 500, SQL without WHERE

    static constexpr int Largo = 1202;
    // The fixed record, each field padded with blanks (or cut) to its width.
    QByteArray codifica() const;
    // Reads one record; NUL and code-255 padding count as blanks. Nothing
    // when the bytes are not a whole record ending with CR LF.
    static std::optional<MascaraConsulta> decodifica(const QByteArray& registro);
};

// What a lookup takes from a matching record.
struct DefinicionConsulta {
    QString tabla;
    QString columnas;      // "DESCRIPCION,IDARTICULO", or "*"
    QString campoBusqueda; // text before the first ","; empty when there is no ","
    QString condicion;     // blank: none
};

namespace ArchivoConsultas {
// The eleven records the suite ships, in the order they are written.
QList<MascaraConsulta> mascarasPorDefecto();
// Appends the default records after the whole records already in `ruta`
// (creating it). False when the file could not be written.
bool CreaArchivoConsultas(const QString& ruta);
// The values a record gives a lookup.
DefinicionConsulta deriva(const MascaraConsulta& m);
// The first record of `ruta` whose table is `tabla` (trimmed, any case).
// A missing file has no definitions. A damaged file (a record that is cut
// short or does not end with CR LF before the match) is logged in KXERR.LOG
// and the shipped defaults are searched instead, so the lookup still opens
// as it would on a fresh installation; the file itself is left untouched.
std::optional<DefinicionConsulta> BuscaDefinicion(const QString& ruta, const QString& tabla);
} // namespace ArchivoConsultas
