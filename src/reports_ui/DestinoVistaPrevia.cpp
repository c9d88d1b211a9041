#include "reports_ui/DestinoVistaPrevia.h"

#include "reports/DestinoPdf.h"
#include "utility_library/ErrorKX.h"
#include "utility_library/Operador.h"
#include "utility_library/QlEquipo.h"

#include <QAction>
#include <QDir>
#include <QGuiApplication>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QScreen>
#include <QToolBar>
#include <QToolButton>
#include <algorithm>
#include <functional>

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
    auto* vista = dialogo.findChild<QPrintPreviewWidget*>();
    if (QToolBar* barra = dialogo.findChild<QToolBar*>()) {
        barra->addSeparator();
        QAction* imprimir = barra->addAction(QStringLiteral("Imprimir"));
        imprimir->setShortcut(QKeySequence::Print);
        imprimir->setToolTip(QStringLiteral("Imprimir (Ctrl+P)"));
        QObject::connect(imprimir, &QAction::triggered, &dialogo, [&] {
            QPrintDialog elige(&impresora, &dialogo);
            if (elige.exec() == QDialog::Accepted && vista) {
                vista->print();
            }
        });
        QAction* pdf = barra->addAction(QStringLiteral("Guardar como PDF"));
        pdf->setShortcut(QKeySequence::Save);
        pdf->setToolTip(QStringLiteral("Guardar como PDF (Ctrl+S)"));
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
    // Pages by keys, as a reader of documents expects.
    if (vista) {
        const auto pagina = [&](QKeySequence tecla, std::function<int()> destino) {
            auto* a = new QAction(&dialogo);
            a->setShortcut(tecla);
            a->setShortcutContext(Qt::WindowShortcut);
            QObject::connect(a, &QAction::triggered, &dialogo, [vista, destino] {
                vista->setCurrentPage(std::clamp(destino(), 1, std::max(1, vista->pageCount())));
            });
            dialogo.addAction(a);
        };
        pagina(QKeySequence(Qt::Key_PageDown), [vista] { return vista->currentPage() + 1; });
        pagina(QKeySequence(Qt::Key_PageUp), [vista] { return vista->currentPage() - 1; });
        pagina(QKeySequence(Qt::CTRL | Qt::Key_Home), [] { return 1; });
        pagina(QKeySequence(Qt::CTRL | Qt::Key_End), [vista] { return vista->pageCount(); });
        pagina(QKeySequence(Qt::Key_Home), [] { return 1; });
        pagina(QKeySequence(Qt::Key_End), [vista] { return vista->pageCount(); });
    }
    // Tab reaches the toolbar's buttons too.
    if (QToolBar* barra = dialogo.findChild<QToolBar*>()) {
        for (QToolButton* b : barra->findChildren<QToolButton*>()) {
            b->setFocusPolicy(Qt::TabFocus);
        }
    }
    // Readable at first sight: the page as wide as the view, in a window of
    // most of the screen.
    if (vista) {
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
