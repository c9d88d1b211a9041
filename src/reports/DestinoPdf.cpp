#include "reports/DestinoPdf.h"

#include "reports/ErroresReporte.h"
#include "reports/EscritorPdf.h"
#include "reports/ResolucionPdf.h"
#include "reports/TrazadorPdf.h"
#include "utility_library/ErrorKX.h"
#include "utility_library/SalidaPublicada.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QPdfWriter>
#include <memory>

namespace {
constexpr int kPuntosPorPulgada = 600;

// The creation date the files carry: SOURCE_DATE_EPOCH (seconds since
// 1970, UTC) when set, so that a build or a test can get the same bytes
// from the same report; otherwise now (an invalid date).
QDateTime fechaDeCreacion() {
    bool ok = false;
    const qint64 segundos = qEnvironmentVariable("SOURCE_DATE_EPOCH").trimmed().toLongLong(&ok);
    return ok && segundos >= 0 ? QDateTime::fromSecsSinceEpoch(segundos, Qt::UTC)
                               : QDateTime();
}

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
    auto f = std::make_unique<SalidaPublicada>(archivo);
    int paginas = 0;
    try {
        // The program's own writer: a line of text is one string, and a
        // page of a batch's thousands of texts is written several times
        // faster than glyph by glyph.
        const QPageLayout disposicion = reporte.definicion().disposicion();
        const ResolucionPdf medidas(kPuntosPorPulgada);
        EscritorPdf pdf(*f, disposicion, kPuntosPorPulgada, reporte.titulo(),
                        QStringLiteral("tarvelo"), fechaDeCreacion());
        TrazadorPdf t(pdf);
        paginas = reporte.dibuja(t, medidas, disposicion.paintRect(QPageLayout::Millimeter).size());
        pdf.termina();
    } catch (const FalloKX& e) {
        if (e.error().numero != ErroresReporte::kSalida) {
            throw;
        }
        falla(archivo, e.error().descripcion);
    } catch (const Trazador::SinTrazadoCompleto&) {
        // A text the writer cannot set (another script, marks that combine,
        // a face without outlines): the whole report through Qt's writer.
        f = std::make_unique<SalidaPublicada>(archivo);
        QPdfWriter pdf(f.get());
        pdf.setResolution(kPuntosPorPulgada);
        pdf.setCreator(QStringLiteral("tarvelo"));
        pdf.setTitle(reporte.titulo());
        pdf.setPageLayout(reporte.definicion().disposicion());
        paginas = reporte.dibuja(pdf);
    }
    try {
        f->publica();
    } catch (const FalloKX& e) {
        falla(archivo, e.error().descripcion);
    }
    return paginas;
}
