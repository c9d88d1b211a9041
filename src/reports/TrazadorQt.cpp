#include "reports/TrazadorQt.h"

#include "reports/LineaGlifos.h"

#include <QPagedPaintDevice>
#include <QPainter>

void TrazadorQt::glifos(LineaGlifos& linea, const QString&, const QPointF& base,
                        const QColor& color) {
    if (!enCola_.isEmpty() && color != colorCola_) {
        dibujaCola();
    }
    if (enCola_.isEmpty()) {
        colorCola_ = color;
    }
    // The setter is the font's own: it keeps the queue between lines.
    if (!linea.hayCola()) {
        enCola_.append(&linea);
    }
    linea.encola(base);
}

void TrazadorQt::texto(const QPointF& base, const QString& t, const QFont& fuente,
                       const QColor& color) {
    p_.setFont(fuente);
    p_.setPen(color);
    p_.drawText(base, t);
}

void TrazadorQt::parrafo(const QRectF& caja, Qt::Alignment alineacion, const QString& t,
                         const QFont& fuente, LineaGlifos&, const QColor& color) {
    p_.setFont(fuente);
    p_.setPen(color);
    p_.drawText(caja, int(alineacion) | Qt::TextWordWrap, t);
}

void TrazadorQt::linea(const QPointF& desde, const QPointF& hasta, double ancho,
                       const QColor& color) {
    QPen pluma(color);
    pluma.setWidthF(ancho);
    p_.setPen(pluma);
    p_.drawLine(desde, hasta);
    p_.setPen(Qt::black);
}

void TrazadorQt::marco(const QRectF& caja, double ancho, const QColor& color) {
    QPen pluma(color);
    pluma.setWidthF(ancho);
    p_.setPen(pluma);
    p_.drawRect(caja);
    p_.setPen(Qt::black);
}

void TrazadorQt::relleno(const QRectF& caja, const QColor& color) {
    p_.fillRect(caja, color);
}

void TrazadorQt::rellenos(const QRectF* cajas, int cantidad, const QColor& color) {
    // One batch of filled rectangles: a PDF writes each as a single "re".
    p_.save();
    p_.setPen(Qt::NoPen);
    p_.setBrush(color);
    p_.drawRects(cajas, cantidad);
    p_.restore();
}

void TrazadorQt::dibujaCola() {
    if (enCola_.isEmpty()) {
        return;
    }
    const QPen pluma = p_.pen();
    p_.setPen(colorCola_);
    for (LineaGlifos* f : enCola_) {
        f->dibujaCola(p_);
    }
    enCola_.clear();
    p_.setPen(pluma);
}

void TrazadorQt::nuevaPagina() {
    dibujaCola();
    dispositivo_.newPage();
}

void TrazadorQt::termina() {
    dibujaCola();
}
