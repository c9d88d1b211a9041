#pragma once

#include "reports/DefinicionReporte.h"
#include "reports/LineaGlifos.h"

#include <QFont>
#include <QFontMetricsF>
#include <QSizeF>
#include <map>

class QPaintDevice;
class Trazador;

// A page being painted: millimetres of the definition turned into device
// units, fonts resolved once for the device, and the drawing of one element
// on the surface the pages go to.
class Lienzo {
public:
    // `medidas` is the device fonts are measured for; `areaMm` the page's
    // printable area.
    Lienzo(Trazador& t, const QPaintDevice& medidas, const QSizeF& areaMm,
           const DefinicionReporte& d);

    Trazador& trazador() { return t_; }
    // Ends the page and starts another.
    void nuevaPagina();
    // Ends the last page.
    void termina();
    // The printable area of the page, millimetres.
    QSizeF area() const { return area_; }
    double x(double mm) const { return mm * porMmX_; }
    double y(double mm) const { return mm * porMmY_; }
    QRectF caja(const QRectF& mm, const QPointF& origenMm) const;
    const QFont& fuente(const QString& nombre);

    void texto(const QRectF& caja, const QString& texto, const QString& fuente,
               Qt::Alignment alineacion, bool ajuste = false);
    // A text that is never cut (an amount, a code): wider than its box, it
    // is set in a smaller size of its font. Throws FalloKX (kNoCabe) when
    // even the smallest readable size is too wide.
    void cifra(const QRectF& caja, const QString& texto, const QString& fuente,
               Qt::Alignment alineacion);
    // One element of a band whose top-left corner is at `origenMm`. Bar codes
    // zint cannot draw leave a visible notice in their place.
    void elemento(const ElementoReporte& e, const QPointF& origenMm, const ValoresReporte& reporte,
                  const ValoresFila* fila);

private:
    Trazador& t_;
    const QPaintDevice& medidas_;
    const DefinicionReporte& d_;
    QSizeF area_;
    double porMmX_ = 1, porMmY_ = 1;
    struct Fuente {
        QFont fuente;
        QFontMetricsF medidas;
        LineaGlifos glifos;
    };
    // What a line wider than its box does: cut with an ellipsis, wrap as a
    // paragraph, run past the box, or take a smaller size.
    enum class Exceso { Recorta, Parrafo, Desborda, Reduce };
    // A map keeps its entries in place: a surface may keep pointing at them.
    std::map<QString, Fuente> fuentes_;
    Fuente& datosFuente(const QString& nombre);
    // The font `nombre` at `puntos` points.
    Fuente& datosFuente(const QString& nombre, double puntos);
    // `t` set in the largest size of `nombre` that fits `ancho` (device
    // units), with its glyphs prepared when `glifos`.
    Fuente& reducida(const QString& nombre, const QString& t, double ancho, bool& glifos,
                     double& medido);
    void linea(const QRectF& caja, const QString& texto, const QString& fuente,
               Qt::Alignment alineacion, Exceso exceso);
    void dibujaLinea(const QRectF& caja, const QString& texto, Qt::Alignment alineacion,
                     double ancho, bool glifos, Fuente& f);
};
