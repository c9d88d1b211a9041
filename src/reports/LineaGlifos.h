#pragma once

#include <QList>
#include <QPointF>
#include <QRawFont>
#include <QString>
#include <QVarLengthArray>

class QFont;
class QPainter;

// One line of plain text set as glyphs of a single font, kerned from the
// font's own table, without the full text layout: a report prints hundreds
// of thousands of short texts and the layout engine is most of their cost.
// Only texts that need nothing more are accepted: characters of the Latin
// and punctuation ranges that the font itself has. Anything else (marks that
// combine, other scripts, a character the font lacks and another font must
// supply) is refused, and the caller lays it out in full.
//
// Lines are queued and drawn together: a PDF then writes a page's texts in
// one font as one text object, not each with its own state and font setting.
class LineaGlifos {
public:
    // `fuente` already resolved for the device it draws on.
    explicit LineaGlifos(const QFont& fuente);
    // A face at one size, as loaded from its file.
    explicit LineaGlifos(const QRawFont& fuente) : fuente_(fuente) {}

    // Sets `texto` as the current line; false when it needs the full layout.
    bool prepara(const QString& texto);
    // Width of the current line, device units.
    double ancho() const { return ancho_; }
    // The current line's glyphs and their positions from its start.
    int cantidad() const { return int(glifos_.size()); }
    const quint32* glifos() const { return glifos_.constData(); }
    const QPointF* posiciones() const { return posiciones_.constData(); }
    const QRawFont& fuente() const { return fuente_; }
    // Queues the current line, its baseline starting at `base`, to be drawn
    // with the other lines queued in this font.
    void encola(const QPointF& base);
    bool hayCola() const { return !cola_.isEmpty(); }
    // Draws the queued lines as one run with the painter's pen and empties the queue.
    void dibujaCola(QPainter& p);

    static bool caracterSimple(char16_t c);

private:
    QRawFont fuente_;
    QVarLengthArray<quint32, 64> glifos_;
    QVarLengthArray<QPointF, 64> posiciones_;
    double ancho_ = 0;
    QList<quint32> cola_;
    QList<QPointF> posicionesCola_;
};
