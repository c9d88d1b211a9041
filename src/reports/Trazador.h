#pragma once

#include <QColor>
#include <QPointF>
#include <QRectF>
#include <QString>

class LineaGlifos;
class QFont;

// Where a report's pages are drawn, in device dots from the top-left corner
// of the printable area: a QPainter on any paged device (printer, preview,
// Qt's PDF writer) or the program's own PDF writer.
class Trazador {
public:
    // Thrown by a surface that cannot draw a text (one that needs the full
    // text layout): the report is drawn again on a QPainter.
    struct SinTrazadoCompleto {};

    virtual ~Trazador() = default;
    // The line `linea` holds, prepared from `texto` (a glyph per character),
    // its baseline starting at `base`.
    virtual void glifos(LineaGlifos& linea, const QString& texto, const QPointF& base,
                        const QColor& color) = 0;
    // A line that needs the full text layout.
    virtual void texto(const QPointF& base, const QString& texto, const QFont& fuente,
                       const QColor& color) = 0;
    // A paragraph wrapped at word boundaries in `caja` and cut to it;
    // `linea` is the font's own glyph setter.
    virtual void parrafo(const QRectF& caja, Qt::Alignment alineacion, const QString& texto,
                         const QFont& fuente, LineaGlifos& linea, const QColor& color) = 0;
    virtual void linea(const QPointF& desde, const QPointF& hasta, double ancho,
                       const QColor& color) = 0;
    virtual void marco(const QRectF& caja, double ancho, const QColor& color) = 0;
    virtual void relleno(const QRectF& caja, const QColor& color) = 0;
    // Filled rectangles of one color (a bar code's bars).
    virtual void rellenos(const QRectF* cajas, int cantidad, const QColor& color) = 0;
    virtual void nuevaPagina() = 0;
    // After the last page's drawing.
    virtual void termina() = 0;
};
