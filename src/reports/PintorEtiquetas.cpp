#include "reports/PintorEtiquetas.h"

#include "reports/DatosReporte.h"
#include "reports/DefinicionReporte.h"
#include "reports/ErroresReporte.h"
#include "reports/Lienzo.h"
#include "reports/Trazador.h"
#include "utility_library/ErrorKX.h"

#include <QPagedPaintDevice>
#include <QSize>
#include <cmath>

namespace {
constexpr double kHolgura = 1e-6;

int caben(double espacio, double medida, double separacion, int maximo) {
    return std::min(maximo,
                    int(std::floor((espacio + separacion) / (medida + separacion) + kHolgura)));
}
} // namespace

QSize PintorEtiquetas::grilla(const QSizeF& area) const {
    const int columnas =
        caben(area.width(), d_.anchoEtiqueta, d_.separacionH, d_.columnasEtiquetas);
    const int filas = caben(area.height(), d_.altoEtiqueta, d_.separacionV, d_.filasEtiquetas);
    if (columnas < 1 || filas < 1) {
        throw FalloKX(ErroresReporte::kPagina,
                      QStringLiteral("Una etiqueta de %1 x %2 mm no cabe en la página (%3 x %4 mm "
                                     "útiles) del reporte %5.")
                          .arg(d_.anchoEtiqueta)
                          .arg(d_.altoEtiqueta)
                          .arg(area.width(), 0, 'f', 1)
                          .arg(area.height(), 0, 'f', 1)
                          .arg(d_.archivo),
                      QStringLiteral("QlReport"));
    }
    return QSize(columnas, filas);
}

int PintorEtiquetas::paginas(const QSizeF& area) const {
    const QSize g = grilla(area);
    const qint64 porPagina = std::max<qint64>(1, qint64(g.width()) * g.height());
    return std::max(1, int((qint64(datos_.filas.size()) + porPagina - 1) / porPagina));
}

void PintorEtiquetas::dibuja(Lienzo& l) const {
    const QSize g = grilla(l.area());
    const int porPagina = g.width() * g.height();
    ValoresReporte valores = datos_.reporte;
    valores[int(CampoReporte::Paginas)] = QString::number(paginas(l.area()));
    for (int i = 0; i < datos_.filas.size(); ++i) {
        const int enPagina = i % porPagina;
        if (i > 0 && enPagina == 0) {
            l.nuevaPagina();
        }
        valores[int(CampoReporte::Pagina)] = QString::number(i / porPagina + 1);
        const QPointF origen((enPagina % g.width()) * (d_.anchoEtiqueta + d_.separacionH),
                             (enPagina / g.width()) * (d_.altoEtiqueta + d_.separacionV));
        if (d_.bordeEtiqueta) {
            l.trazador().marco(l.caja(QRectF(0, 0, d_.anchoEtiqueta, d_.altoEtiqueta), origen),
                               std::max(1.0, l.x(0.1)), Qt::gray);
        }
        const ValoresFila& fila = datos_.filas[i].valores;
        try {
            for (const ElementoReporte& e : d_.etiqueta) {
                l.elemento(e, origen, valores, &fila);
            }
        } catch (const FalloKX& f) {
            throw FalloKX(f.error().numero,
                          f.error().descripcion +
                              QStringLiteral(" Etiqueta de la fila %1 del lote.").arg(i + 1),
                          f.error().fuente);
        }
    }
}
