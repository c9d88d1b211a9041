#include "reports/ReportePreparado.h"

#include "reports/ErroresReporte.h"
#include "reports/Lienzo.h"
#include "reports/PintorEtiquetas.h"
#include "reports/PintorListado.h"
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
    Lienzo l(p, dispositivo, definicion_);
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
    p.end();
    return paginas;
}
