#include "reports/Lienzo.h"

#include "reports/CodigoBarras.h"
#include "reports/ErroresReporte.h"
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

Lienzo::Fuente& Lienzo::datosFuente(const QString& nombre, double puntos) {
    const QString clave = nombre + QLatin1Char('\n') + QString::number(puntos);
    auto it = fuentes_.find(clave);
    if (it == fuentes_.end()) {
        QFont f(d_.fuente(nombre), &medidas_);
        f.setPointSizeF(puntos);
        f.setHintingPreference(QFont::PreferFullHinting);
        it = fuentes_.emplace(clave, Fuente{f, QFontMetricsF(f, &medidas_), LineaGlifos(f)}).first;
    }
    return it->second;
}

namespace {
// Below this a figure cannot be read on a shelf or a page: the report
// refuses instead of printing it smaller.
constexpr double kPuntosMinimos = 3;
constexpr double kFraccionMinima = 0.3;
} // namespace

Lienzo::Fuente& Lienzo::reducida(const QString& nombre, const QString& t, double ancho,
                                 bool& glifos, double& medido) {
    Fuente& propia = datosFuente(nombre);
    const double puntos = propia.fuente.pointSizeF();
    const double minimo = std::max(kPuntosMinimos, puntos * kFraccionMinima);
    // Quarter points: a few sizes per font, each embedded once.
    double factor = medido > 0 ? ancho / medido : 1;
    for (int intento = 0; intento < 40; ++intento) {
        const double tamano = std::floor(puntos * factor * 4) / 4;
        if (tamano < minimo || puntos <= 0) {
            break;
        }
        Fuente& f = datosFuente(nombre, tamano);
        glifos = f.glifos.prepara(t);
        medido = glifos ? f.glifos.ancho() : f.medidas.horizontalAdvance(t);
        if (medido <= ancho) {
            return f;
        }
        factor = std::min(factor * 0.97, (tamano - 0.25) / puntos);
    }
    throw FalloKX(ErroresReporte::kNoCabe,
                  QStringLiteral("«%1» no cabe entero en su recuadro de %2 mm del reporte %3, ni "
                                 "con letra de %4 puntos.")
                      .arg(t)
                      .arg(ancho / porMmX_, 0, 'f', 1)
                      .arg(d_.archivo)
                      .arg(minimo, 0, 'f', 1),
                  QStringLiteral("QlReport"));
}

const QFont& Lienzo::fuente(const QString& nombre) {
    return datosFuente(nombre).fuente;
}

void Lienzo::texto(const QRectF& c, const QString& t, const QString& nombreFuente,
                   Qt::Alignment alineacion, bool ajuste) {
    linea(c, t, nombreFuente, alineacion, ajuste ? Exceso::Parrafo : Exceso::Recorta);
}

void Lienzo::cifra(const QRectF& c, const QString& t, const QString& nombreFuente,
                   Qt::Alignment alineacion) {
    linea(c, t, nombreFuente, alineacion, Exceso::Reduce);
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
    if (exceso == Exceso::Reduce && ancho > c.width()) {
        Fuente& r = reducida(nombreFuente, t, c.width(), glifos, ancho);
        dibujaLinea(c, t, alineacion, ancho, glifos, r);
        return;
    }
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
        if (!e.ajuste && e.plantilla.usaCifras()) {
            cifra(caja(e.caja, o), e.plantilla.texto(reporte, fila), e.fuente, e.alineacion);
        } else {
            texto(caja(e.caja, o), e.plantilla.texto(reporte, fila), e.fuente, e.alineacion,
                  e.ajuste);
        }
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
