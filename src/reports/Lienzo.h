#pragma once

#include "reports/DefinicionReporte.h"
#include "reports/LineaGlifos.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QSizeF>
#include <QVarLengthArray>
#include <map>

class QPagedPaintDevice;

// A page being painted: millimetres of the definition turned into device
// units, fonts resolved once for the device, and the drawing of one element.
class Lienzo {
public:
    Lienzo(QPainter& p, QPagedPaintDevice& dispositivo, const DefinicionReporte& d);

    // Texts are drawn when their page ends, over whatever else the page has
    // (a highlighted row, the lines): the painter draws the rest at once.
    QPainter& painter() { return p_; }
    // Ends the page with its texts and starts another.
    void nuevaPagina();
    // Ends the last page; before the painter ends.
    void termina();
    // The printable area of the page, millimetres.
    QSizeF area() const { return area_; }
    double x(double mm) const { return mm * porMmX_; }
    double y(double mm) const { return mm * porMmY_; }
    QRectF caja(const QRectF& mm, const QPointF& origenMm) const;
    const QFont& fuente(const QString& nombre);

    void texto(const QRectF& caja, const QString& texto, const QString& fuente,
               Qt::Alignment alineacion, bool ajuste = false);
    // One element of a band whose top-left corner is at `origenMm`. Bar codes
    // zint cannot draw leave a visible notice in their place.
    void elemento(const ElementoReporte& e, const QPointF& origenMm, const ValoresReporte& reporte,
                  const ValoresFila* fila);

private:
    QPainter& p_;
    QPagedPaintDevice& dispositivo_;
    const DefinicionReporte& d_;
    QSizeF area_;
    double porMmX_ = 1, porMmY_ = 1;
    struct Fuente {
        QFont fuente;
        QFontMetricsF medidas;
        LineaGlifos glifos;
    };
    // What a line wider than its box does: cut with an ellipsis, wrap as a
    // paragraph, or run past the box.
    enum class Exceso { Recorta, Parrafo, Desborda };
    // A map keeps its entries in place: the queue points at them.
    std::map<QString, Fuente> fuentes_;
    const Fuente* actual_ = nullptr;
    // Fonts with queued lines, in the order they were first used on the page,
    // and the pen those lines are drawn with.
    QVarLengthArray<Fuente*, 8> enCola_;
    QColor colorCola_;
    void dibujaCola();
    Fuente& datosFuente(const QString& nombre);
    void linea(const QRectF& caja, const QString& texto, const QString& fuente,
               Qt::Alignment alineacion, Exceso exceso);
    void dibujaLinea(const QRectF& caja, const QString& texto, const QFontMetricsF& m,
                     Qt::Alignment alineacion, double ancho, bool glifos, Fuente& f);
};
