#pragma once

#include "reports/EscritorPdf.h"
#include "reports/Trazador.h"

#include <QByteArray>
#include <QHash>

class QPainterPath;

// A report drawn straight into the program's own PDF writer: each line of
// text is one string of glyph numbers placed once (over the glyphs' outlines
// when the face may not be embedded), rectangles and lines are PDF's own
// operators. A text that needs the full layout is refused with
// Trazador::SinTrazadoCompleto.
class TrazadorPdf : public Trazador {
public:
    explicit TrazadorPdf(EscritorPdf& pdf) : pdf_(pdf) {}

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
    QByteArray& c();
    void cierraTexto();
    // The glyphs as one TJ string in face `t`, its size set when it changes.
    void textoGlifos(EscritorPdf::Tamano* t, const quint32* g, const QPointF* p, int n,
                     const double* avances, const QPointF& base, double tamano);
    // A glyph's outline placed at `origen`, for the fill that follows.
    void contorno(const QPainterPath& camino, const QPointF& origen);
    void colorRelleno(const QColor& color);
    void colorTrazo(const QColor& color, double ancho);
    // What the page's graphics state holds, so that it is set only when it
    // changes; forgotten with every new page and restored state.
    void olvidaEstado();

    EscritorPdf& pdf_;
    // The face and size of each glyph setter seen (a setter keeps its font).
    QHash<const LineaGlifos*, EscritorPdf::Tamano*> tamanos_;
    bool enTexto_ = false;
    const void* fuente_ = nullptr;
    QRgb relleno_ = 0;
    bool hayRelleno_ = false;
    QRgb trazo_ = 0;
    double ancho_ = -1;
};
