#include "reports/LineaGlifos.h"

#include <QFont>
#include <QGlyphRun>
#include <QPainter>

LineaGlifos::LineaGlifos(const QFont& fuente) : fuente_(QRawFont::fromFont(fuente)) {}

bool LineaGlifos::caracterSimple(char16_t c) {
    if (c < 0x20 || (c >= 0x7F && c < 0xA0) || c == 0xAD) {
        return false; // controls and the soft hyphen, which the layout hides
    }
    if (c < 0x0300) {
        return true; // Latin with its extensions and the spacing modifiers
    }
    // Dashes, quotes, bullets, the ellipsis and currency signs; not the
    // invisible spaces, joiners and direction marks around them.
    return (c >= 0x2010 && c <= 0x2027) || (c >= 0x2030 && c <= 0x205E) ||
           (c >= 0x20A0 && c <= 0x20CF);
}

bool LineaGlifos::prepara(const QString& texto) {
    ancho_ = 0;
    glifos_.clear();
    posiciones_.clear();
    if (!fuente_.isValid()) {
        return false;
    }
    for (const QChar c : texto) {
        if (!caracterSimple(c.unicode())) {
            return false;
        }
    }
    const int n = int(texto.size());
    glifos_.resize(n);
    int cuantos = n;
    if (!fuente_.glyphIndexesForChars(texto.constData(), n, glifos_.data(), &cuantos) ||
        cuantos != n) {
        return false;
    }
    for (const quint32 g : glifos_) {
        if (g == 0) {
            return false; // another font has to supply it
        }
    }
    // Kerned advances, hinted like the font the full layout would use.
    posiciones_.resize(n);
    if (!fuente_.advancesForGlyphIndexes(glifos_.constData(), posiciones_.data(), n,
                                         QRawFont::KernedAdvances)) {
        return false;
    }
    double x = 0;
    for (QPointF& p : posiciones_) {
        const double avance = p.x();
        p = QPointF(x, 0);
        x += avance;
    }
    ancho_ = x;
    return true;
}

void LineaGlifos::encola(const QPointF& base) {
    for (const quint32 g : glifos_) {
        cola_.append(g);
    }
    for (const QPointF& p : posiciones_) {
        posicionesCola_.append(base + p);
    }
}

void LineaGlifos::dibujaCola(QPainter& p) {
    if (cola_.isEmpty()) {
        return;
    }
    QGlyphRun corrida;
    corrida.setRawFont(fuente_);
    corrida.setRawData(cola_.constData(), posicionesCola_.constData(), int(cola_.size()));
    p.drawGlyphRun(QPointF(0, 0), corrida);
    cola_.clear();
    posicionesCola_.clear();
}
