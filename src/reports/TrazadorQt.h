#pragma once

#include "reports/Trazador.h"

#include <QVarLengthArray>

class LineaGlifos;
class QPagedPaintDevice;
class QPainter;

// A report drawn with a QPainter on a paged device. Lines of glyphs are
// queued and drawn when their page ends, over whatever else the page has:
// a PDF then writes a page's texts in one font as one text object.
class TrazadorQt : public Trazador {
public:
    TrazadorQt(QPainter& p, QPagedPaintDevice& dispositivo) : p_(p), dispositivo_(dispositivo) {}

    void glifos(LineaGlifos& linea, const QString& texto, const QPointF& base,
                const QColor& color) override;
    void texto(const QPointF& base, const QString& texto, const QFont& fuente,
               const QColor& color) override;
    void parrafo(const QRectF& caja, Qt::Alignment alineacion, const QString& texto,
                 const QFont& fuente, LineaGlifos& linea, const QColor& color) override;
    void linea(const QPointF& desde, const QPointF& hasta, double ancho,
               const QColor& color) override;
    void marco(const QRectF& caja, double ancho, const QColor& color) override;
    void relleno(const QRectF& caja, const QColor& color) override;
    void rellenos(const QRectF* cajas, int cantidad, const QColor& color) override;
    void nuevaPagina() override;
    void termina() override;

private:
    void dibujaCola();

    QPainter& p_;
    QPagedPaintDevice& dispositivo_;
    // Fonts with queued lines, in the order they were first used on the
    // page, and the color those lines are drawn with.
    QVarLengthArray<LineaGlifos*, 8> enCola_;
    QColor colorCola_;
};
