#pragma once

#include "reports/DefinicionReporte.h"
#include "reports/LineaGlifos.h"

#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QPainter>
#include <QSizeF>

class QPagedPaintDevice;

// A page being painted: millimetres of the definition turned into device
// units, fonts resolved once for the device, and the drawing of one element.
class Lienzo {
public:
    Lienzo(QPainter& p, QPagedPaintDevice& dispositivo, const DefinicionReporte& d);

    QPainter& painter() { return p_; }
    QPagedPaintDevice& dispositivo() { return dispositivo_; }
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
    QHash<QString, Fuente> fuentes_;
    const Fuente* actual_ = nullptr;
    Fuente& datosFuente(const QString& nombre);
    void linea(const QRectF& caja, const QString& texto, const QString& fuente,
               Qt::Alignment alineacion, Exceso exceso);
    void dibujaLinea(const QRectF& caja, const QString& texto, const QFontMetricsF& m,
                     Qt::Alignment alineacion, double ancho, bool glifos, const Fuente& f);
};
