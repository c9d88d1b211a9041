#include "reports_ui/DestinoVistaPrevia.h"

#include "reports/DestinoPdf.h"
#include "utility_library/ErrorKX.h"
#include "utility_library/Operador.h"
#include "utility_library/QlEquipo.h"

#include <QAction>
#include <QDir>
#include <QGuiApplication>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QScreen>
#include <QToolBar>

void DestinoVistaPrevia::imprime(const ReportePreparado& reporte) {
    QPrinter impresora(QPrinter::HighResolution);
    impresora.setDocName(reporte.titulo());
    impresora.setPageLayout(reporte.definicion().disposicion());
    QPrintPreviewDialog dialogo(&impresora, padre_);
    dialogo.setWindowTitle(QStringLiteral("Vista previa - ") + reporte.titulo());
    // A failure while painting cannot cross Qt's signal: it is kept and
    // reported once the dialog closes.
    QString fallo;
    QObject::connect(&dialogo, &QPrintPreviewDialog::paintRequested, &dialogo, [&](QPrinter* p) {
        try {
            reporte.dibuja(*p);
        } catch (const FalloKX& e) {
            fallo = e.error().descripcion;
        }
    });
    if (QToolBar* barra = dialogo.findChild<QToolBar*>()) {
        barra->addSeparator();
        QAction* pdf = barra->addAction(QStringLiteral("Guardar como PDF"));
        QObject::connect(pdf, &QAction::triggered, &dialogo, [&] {
            const QString archivo =
                operador().GuardarArchivo(QStringLiteral("Guardar como PDF"), QDir::homePath(),
                                          reporte.titulo() + QStringLiteral(".pdf"),
                                          QStringLiteral("Documentos PDF (*.pdf)"));
            if (archivo.isEmpty()) {
                return;
            }
            try {
                DestinoPdf::escribe(reporte, archivo);
            } catch (const FalloKX& e) {
                operador().MsgBox(e.error().descripcion,
                                  Operador::SoloAceptar | Operador::IconoCritico,
                                  QStringLiteral("Guardar como PDF"));
            }
        });
    }
    // Readable at first sight: the page as wide as the view, in a window of
    // most of the screen.
    if (auto* vista = dialogo.findChild<QPrintPreviewWidget*>()) {
        vista->fitToWidth();
    }
    if (const QScreen* pantalla = padre_ ? padre_->screen() : QGuiApplication::primaryScreen()) {
        const QRect r = pantalla->availableGeometry();
        dialogo.resize(r.width() * 8 / 10, r.height() * 9 / 10);
    }
    dialogo.exec();
    if (!fallo.isEmpty()) {
        throw FalloKX(20552, fallo, QStringLiteral("QlReport"));
    }
}
