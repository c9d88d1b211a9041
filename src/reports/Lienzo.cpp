#include "reports/Lienzo.h"

#include "reports/CodigoBarras.h"
#include "utility_library/ErrorKX.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <cmath>

Lienzo::Lienzo(QPainter& p, QPagedPaintDevice& dispositivo, const DefinicionReporte& d)
    : p_(p), dispositivo_(dispositivo), d_(d) {
    area_ = dispositivo.pageLayout().paintRect(QPageLayout::Millimeter).size();
    porMmX_ = dispositivo.logicalDpiX() / 25.4;
    porMmY_ = dispositivo.logicalDpiY() / 25.4;
}

QRectF Lienzo::caja(const QRectF& mm, const QPointF& origenMm) const {
    return QRectF(x(origenMm.x() + mm.x()), y(origenMm.y() + mm.y()), x(mm.width()),
                  y(mm.height()));
}

Lienzo::Fuente& Lienzo::datosFuente(const QString& nombre) {
    auto it = fuentes_.find(nombre);
    if (it == fuentes_.end()) {
        // Point sizes follow the device's resolution, so the same font
        // measures alike on a PDF and on a printer. Hinted glyphs advance by
        // whole device dots: at printer resolution the difference cannot be
        // seen, and every position the PDF writes is a short whole number
        // instead of nine digits.
        QFont f(d_.fuente(nombre), &dispositivo_);
        f.setHintingPreference(QFont::PreferFullHinting);
        it = fuentes_.emplace(nombre, Fuente{f, QFontMetricsF(f, &dispositivo_), LineaGlifos(f)})
                 .first;
    }
    return it->second;
}

const QFont& Lienzo::fuente(const QString& nombre) {
    return datosFuente(nombre).fuente;
}

void Lienzo::texto(const QRectF& c, const QString& t, const QString& nombreFuente,
                   Qt::Alignment alineacion, bool ajuste) {
    linea(c, t, nombreFuente, alineacion, ajuste ? Exceso::Parrafo : Exceso::Recorta);
}

void Lienzo::linea(const QRectF& c, const QString& t, const QString& nombreFuente,
                   Qt::Alignment alineacion, Exceso exceso) {
    if (t.isEmpty()) {
        return;
    }
    Fuente& f = datosFuente(nombreFuente);
    if (actual_ != &f) {
        p_.setFont(f.fuente);
        actual_ = &f;
    }
    const QFontMetricsF& m = f.medidas;
    // Plain text is set as glyphs once, measured and drawn from the same
    // glyphs; the rest goes through the full layout.
    bool glifos = f.glifos.prepara(t);
    double ancho = glifos ? f.glifos.ancho() : m.horizontalAdvance(t);
    if (exceso == Exceso::Parrafo && ancho > c.width()) {
        p_.drawText(c, int(alineacion) | Qt::TextWordWrap, t);
        return;
    }
    // One line placed by hand: the rectangle form lays every text out as a
    // paragraph, which costs more than the rest of the page.
    if (exceso == Exceso::Recorta && ancho > c.width()) {
        const QString corta = m.elidedText(t, Qt::ElideRight, c.width());
        glifos = f.glifos.prepara(corta);
        ancho = glifos ? f.glifos.ancho() : m.horizontalAdvance(corta);
        if (!glifos) {
            dibujaLinea(c, corta, m, alineacion, ancho, false, f);
            return;
        }
    }
    dibujaLinea(c, t, m, alineacion, ancho, glifos, f);
}

void Lienzo::dibujaLinea(const QRectF& c, const QString& t, const QFontMetricsF& m,
                         Qt::Alignment alineacion, double ancho, bool glifos, Fuente& f) {
    double x = c.left();
    if (alineacion & Qt::AlignRight) {
        x = c.right() - ancho;
    } else if (alineacion & Qt::AlignHCenter) {
        x = c.left() + (c.width() - ancho) / 2;
    }
    const double y = (alineacion & Qt::AlignTop)
                         ? c.top() + m.ascent()
                         : c.top() + (c.height() - m.height()) / 2 + m.ascent();
    // Whole device dots, like the hinted advances of the glyphs after it.
    const QPointF base(std::round(x), std::round(y));
    if (glifos) {
        const QColor color = p_.pen().color();
        if (!enCola_.isEmpty() && color != colorCola_) {
            dibujaCola();
        }
        if (enCola_.isEmpty()) {
            colorCola_ = color;
        }
        if (!f.glifos.hayCola()) {
            enCola_.append(&f);
        }
        f.glifos.encola(base);
    } else {
        p_.drawText(base, t);
    }
}

void Lienzo::dibujaCola() {
    if (enCola_.isEmpty()) {
        return;
    }
    const QPen pluma = p_.pen();
    p_.setPen(colorCola_);
    for (Fuente* f : enCola_) {
        f->glifos.dibujaCola(p_);
    }
    enCola_.clear();
    p_.setPen(pluma);
}

void Lienzo::nuevaPagina() {
    dibujaCola();
    dispositivo_.newPage();
}

void Lienzo::termina() {
    dibujaCola();
}

void Lienzo::elemento(const ElementoReporte& e, const QPointF& o, const ValoresReporte& reporte,
                      const ValoresFila* fila) {
    switch (e.tipo) {
    case ElementoReporte::Tipo::Linea: {
        QPen pluma(Qt::black);
        pluma.setWidthF(std::max(1.0, x(e.grosor)));
        p_.setPen(pluma);
        p_.drawLine(QPointF(x(o.x() + e.caja.left()), y(o.y() + e.caja.top())),
                    QPointF(x(o.x() + e.caja.right()), y(o.y() + e.caja.bottom())));
        p_.setPen(Qt::black);
        return;
    }
    case ElementoReporte::Tipo::Texto:
        texto(caja(e.caja, o), e.plantilla.texto(reporte, fila), e.fuente, e.alineacion, e.ajuste);
        return;
    case ElementoReporte::Tipo::Barras: {
        const QString t = e.plantilla.texto(reporte, fila);
        const QRectF c = caja(e.caja, o);
        try {
            const double altoTexto =
                e.fuente.isEmpty() ? 0 : datosFuente(e.fuente).medidas.height();
            const QRectF debajo = CodigoBarras::dibuja(p_, c, t, x(0.5), altoTexto);
            if (!debajo.isEmpty()) {
                // The whole code under its bars, even when it is wider than they are.
                linea(debajo, t.trimmed(), e.fuente, Qt::AlignHCenter | Qt::AlignTop,
                      Exceso::Desborda);
            }
        } catch (const FalloKX&) {
            texto(c, QStringLiteral("CÓDIGO NO IMPRIMIBLE: ") + t.trimmed(), e.fuente,
                  Qt::AlignCenter, true);
        }
        return;
    }
    }
}
