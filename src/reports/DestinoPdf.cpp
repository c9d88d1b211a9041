#include "reports/DestinoPdf.h"

#include "reports/ErroresReporte.h"
#include "utility_library/ErrorKX.h"
#include "utility_library/SalidaPublicada.h"

#include <QDir>
#include <QFileInfo>
#include <QPdfWriter>

namespace {
[[noreturn]] void falla(const QString& archivo, const QString& motivo) {
    throw FalloKX(ErroresReporte::kSalida,
                  QStringLiteral("No se pudo escribir el PDF %1: %2")
                      .arg(QDir::toNativeSeparators(archivo), motivo),
                  QStringLiteral("QlReport"));
}
} // namespace

void DestinoPdf::imprime(const ReportePreparado& reporte) {
    paginas_ = escribe(reporte, archivo_);
}

int DestinoPdf::escribe(const ReportePreparado& reporte, const QString& archivo) {
    if (archivo.trimmed().isEmpty()) {
        falla(archivo, QStringLiteral("no se indicó el archivo"));
    }
    const QFileInfo info(archivo);
    if (!info.absoluteDir().exists()) {
        falla(archivo, QStringLiteral("no existe la carpeta %1")
                           .arg(QDir::toNativeSeparators(info.absolutePath())));
    }
    // Written beside the target and renamed over it: a link at the target is
    // replaced, never followed, and a failure leaves the earlier file whole.
    SalidaPublicada f(archivo);
    int paginas = 0;
    {
        QPdfWriter pdf(&f);
        pdf.setResolution(600);
        pdf.setCreator(QStringLiteral("tarvelo"));
        pdf.setTitle(reporte.titulo());
        pdf.setPageLayout(reporte.definicion().disposicion());
        paginas = reporte.dibuja(pdf);
    }
    try {
        f.publica();
    } catch (const FalloKX& e) {
        falla(archivo, e.error().descripcion);
    }
    return paginas;
}
