#include "reports/ReportePreparado.h"

#include "reports/ErroresReporte.h"
#include "reports/Lienzo.h"
#include "reports/PintorEtiquetas.h"
#include "reports/PintorListado.h"
#include "reports/TrazadorQt.h"
#include "utility_library/ErrorKX.h"

#include <QPagedPaintDevice>
#include <QPainter>

QString ReportePreparado::titulo() const {
    return QStringLiteral("%1 - lote %2").arg(nombre_, datos_.valor(CampoReporte::Codigo));
}

int ReportePreparado::dibuja(QPagedPaintDevice& dispositivo) const {
    QPainter p;
    if (!p.begin(&dispositivo)) {
        throw FalloKX(ErroresReporte::kSalida,
                      QStringLiteral("No se pudo comenzar a imprimir el reporte %1.").arg(nombre_),
                      QStringLiteral("QlReport"));
    }
    p.setRenderHint(QPainter::Antialiasing, false);
    TrazadorQt t(p, dispositivo);
    const int paginas =
        dibuja(t, dispositivo, dispositivo.pageLayout().paintRect(QPageLayout::Millimeter).size());
    p.end();
    return paginas;
}

int ReportePreparado::dibuja(Trazador& t, const QPaintDevice& medidas, const QSizeF& areaMm) const {
    Lienzo l(t, medidas, areaMm, definicion_);
    int paginas = 0;
    if (definicion_.tipo == DefinicionReporte::Tipo::Etiquetas) {
        const PintorEtiquetas pintor(definicion_, datos_);
        paginas = pintor.paginas(l.area());
        pintor.dibuja(l);
    } else {
        const PintorListado pintor(definicion_, datos_);
        paginas = pintor.paginas(l.area().height());
        pintor.dibuja(l);
    }
    l.termina();
    return paginas;
}
