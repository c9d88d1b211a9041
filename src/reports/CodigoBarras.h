#pragma once

#include <QRectF>
#include <QString>

class Trazador;

// Shelf-label bar codes, drawn as vector graphics from zint's layout. A text
// is EAN-13 only when it is 13 digits with a right check digit; anything else
// is Code 128 of the text itself, so the printed code always scans to the
// text that was stored.
class CodigoBarras {
public:
    enum class Simbologia { Ninguna, Ean13, Code128 };

    static bool esEan13(const QString& texto);
    // Ninguna for an empty text.
    static Simbologia elige(const QString& texto);

    // Draws the code of `texto` (trimmed) fitted into `caja`, device units;
    // `modulo` is the widest bar unit wanted, in the same units. With a
    // positive `altoTexto` the bars leave that much room under them for the
    // text, and the room is returned; otherwise an empty box. Nothing for an
    // empty text. Throws FalloKX when zint refuses the text, or when it holds
    // characters outside printable ASCII (they would not scan back as such).
    static QRectF dibuja(Trazador& t, const QRectF& caja, const QString& texto, double modulo,
                         double altoTexto);
};
