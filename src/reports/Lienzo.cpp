#include "reports/Lienzo.h"

#include "reports/CodigoBarras.h"
#include "reports/Trazador.h"
#include "utility_library/ErrorKX.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <cmath>

Lienzo::Lienzo(Trazador& t, const QPaintDevice& medidas, const QSizeF& areaMm,
               const DefinicionReporte& d)
    : t_(t), medidas_(medidas), d_(d), area_(areaMm) {
    porMmX_ = medidas.logicalDpiX() / 25.4;
    porMmY_ = medidas.logicalDpiY() / 25.4;
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
        QFont f(d_.fuente(nombre), &medidas_);
        f.setHintingPreference(QFont::PreferFullHinting);
        it = fuentes_.emplace(nombre, Fuente{f, QFontMetricsF(f, &medidas_), LineaGlifos(f)}).first;
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
    const QFontMetricsF& m = f.medidas;
    // Plain text is set as glyphs once, measured and drawn from the same
    // glyphs; the rest goes through the full layout.
    bool glifos = f.glifos.prepara(t);
    double ancho = glifos ? f.glifos.ancho() : m.horizontalAdvance(t);
    if (exceso == Exceso::Parrafo && ancho > c.width()) {
        t_.parrafo(c, alineacion, t, f.fuente, f.glifos, Qt::black);
        return;
    }
    // One line placed by hand: the rectangle form lays every text out as a
    // paragraph, which costs more than the rest of the page.
    if (exceso == Exceso::Recorta && ancho > c.width()) {
        const QString corta = m.elidedText(t, Qt::ElideRight, c.width());
        glifos = f.glifos.prepara(corta);
        ancho = glifos ? f.glifos.ancho() : m.horizontalAdvance(corta);
        dibujaLinea(c, corta, alineacion, ancho, glifos, f);
        return;
    }
    dibujaLinea(c, t, alineacion, ancho, glifos, f);
}

void Lienzo::dibujaLinea(const QRectF& c, const QString& t, Qt::Alignment alineacion, double ancho,
                         bool glifos, Fuente& f) {
    const QFontMetricsF& m = f.medidas;
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
        t_.glifos(f.glifos, t, base, Qt::black);
    } else {
        t_.texto(base, t, f.fuente, Qt::black);
    }
}

void Lienzo::nuevaPagina() {
    t_.nuevaPagina();
}

void Lienzo::termina() {
    t_.termina();
}

void Lienzo::elemento(const ElementoReporte& e, const QPointF& o, const ValoresReporte& reporte,
                      const ValoresFila* fila) {
    switch (e.tipo) {
    case ElementoReporte::Tipo::Linea:
        t_.linea(QPointF(x(o.x() + e.caja.left()), y(o.y() + e.caja.top())),
                 QPointF(x(o.x() + e.caja.right()), y(o.y() + e.caja.bottom())),
                 std::max(1.0, x(e.grosor)), Qt::black);
        return;
    case ElementoReporte::Tipo::Texto:
        texto(caja(e.caja, o), e.plantilla.texto(reporte, fila), e.fuente, e.alineacion, e.ajuste);
        return;
    case ElementoReporte::Tipo::Barras: {
        const QString t = e.plantilla.texto(reporte, fila);
        const QRectF c = caja(e.caja, o);
        try {
            const double altoTexto =
                e.fuente.isEmpty() ? 0 : datosFuente(e.fuente).medidas.height();
            const QRectF debajo = CodigoBarras::dibuja(t_, c, t, x(0.5), altoTexto);
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
