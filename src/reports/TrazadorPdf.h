#pragma once

#include "reports/EscritorPdf.h"
#include "reports/Trazador.h"

#include <QByteArray>
#include <QHash>

// A report drawn straight into the program's own PDF writer: each line of
// text is one string of glyph numbers placed once, rectangles and lines are
// PDF's own operators. A text that needs the full layout is refused with
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
