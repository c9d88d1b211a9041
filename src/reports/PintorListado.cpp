#include "reports/PintorListado.h"

#include "reports/DatosReporte.h"
#include "reports/DefinicionReporte.h"
#include "reports/ErroresReporte.h"
#include "reports/Lienzo.h"
#include "reports/Trazador.h"
#include "utility_library/ErrorKX.h"

#include <QPagedPaintDevice>
#include <cmath>

namespace {
constexpr double kHolgura = 1e-6;
} // namespace

int PintorListado::filasPorPagina(double altoArea) const {
    const double cuerpo = altoArea - d_.altoEncabezado - d_.altoTitulos - d_.altoPie;
    const int n = int(std::floor(cuerpo / d_.altoFila + kHolgura));
    if (n < 1 || d_.altoTotales > altoArea - d_.altoEncabezado - d_.altoPie + kHolgura) {
        throw FalloKX(ErroresReporte::kPagina,
                      QStringLiteral("La página de %1 mm de alto útil no alcanza para el "
                                     "encabezado, una fila y el pie del reporte %2.")
                          .arg(altoArea, 0, 'f', 1)
                          .arg(d_.archivo),
                      QStringLiteral("QlReport"));
    }
    return n;
}

int PintorListado::paginas(double altoArea) const {
    const int porPagina = filasPorPagina(altoArea);
    const int filas = int(datos_.filas.size());
    const int conFilas = std::max(1, (filas + porPagina - 1) / porPagina);
    const int enLaUltima = filas - (conFilas - 1) * porPagina;
    const double libre =
        altoArea - d_.altoEncabezado - d_.altoTitulos - d_.altoPie - enLaUltima * d_.altoFila;
    return d_.altoTotales > libre + kHolgura ? conFilas + 1 : conFilas;
}

void PintorListado::dibuja(Lienzo& l) const {
    const double alto = l.area().height();
    const double ancho = l.area().width();
    const int porPagina = filasPorPagina(alto);
    const int total = paginas(alto);
    ValoresReporte valores = datos_.reporte;
    valores[int(CampoReporte::Paginas)] = QString::number(total);
    const int filas = int(datos_.filas.size());
    int fila = 0;
    for (int pagina = 1; pagina <= total; ++pagina) {
        if (pagina > 1) {
            l.nuevaPagina();
        }
        valores[int(CampoReporte::Pagina)] = QString::number(pagina);
        for (const ElementoReporte& e : d_.encabezado) {
            l.elemento(e, QPointF(0, 0), valores, nullptr);
        }
        double y = d_.altoEncabezado;
        if (d_.altoTitulos > 0) {
            for (const ColumnaReporte& c : d_.columnas) {
                l.texto(l.caja(QRectF(c.x, 0, c.ancho, d_.altoTitulos), QPointF(0, y)), c.titulo,
                        d_.fuenteTitulos, c.alineacion);
            }
            y += d_.altoTitulos;
        }
        for (int i = 0; i < porPagina && fila < filas; ++i, ++fila) {
            const FilaReporte& f = datos_.filas[fila];
            if (f.marcada && d_.resaltado.isValid()) {
                l.trazador().relleno(l.caja(QRectF(0, 0, ancho, d_.altoFila), QPointF(0, y)),
                                     d_.resaltado);
            }
            try {
                for (const ColumnaReporte& c : d_.columnas) {
                    const QRectF caja = l.caja(QRectF(c.x, 0, c.ancho, d_.altoFila), QPointF(0, y));
                    const QString texto = c.plantilla.texto(valores, &f.valores);
                    if (c.plantilla.usaCifras()) {
                        l.cifra(caja, texto, c.fuente, c.alineacion);
                    } else {
                        l.texto(caja, texto, c.fuente, c.alineacion);
                    }
                }
            } catch (const FalloKX& e) {
                throw FalloKX(e.error().numero,
                              e.error().descripcion +
                                  QStringLiteral(" Fila %1 del lote.").arg(fila + 1),
                              e.error().fuente);
            }
            y += d_.altoFila;
        }
        if (fila >= filas && pagina == total) {
            for (const ElementoReporte& e : d_.totales) {
                l.elemento(e, QPointF(0, y), valores, nullptr);
            }
        }
        for (const ElementoReporte& e : d_.pie) {
            l.elemento(e, QPointF(0, alto - d_.altoPie), valores, nullptr);
        }
    }
}
