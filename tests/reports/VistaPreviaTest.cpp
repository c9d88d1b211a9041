#include "reports_ui/VistaPrevia.h"
#include "BaseDePrueba.h"
#include "EsquemaPrueba.h"
#include "HerramientasPdf.h"
#include "utility_library/ErrorKX.h"
#include "OperadorGuion.h"
#include "utility_library/Programa.h"

#include <QAction>
#include <QApplication>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QTest>
#include <QTimer>
#include <QToolBar>

namespace {

class VistaPreviaTest : public PruebaPorMotor {
protected:
    void SetUp() override {
        PruebaPorMotor::SetUp();
        if (IsSkipped() || HasFatalFailure()) {
            return;
        }
        EsquemaPrueba e;
        ASSERT_TRUE(e.creaEsquema());
        e.configuracion("NOMBRE", "COMERCIAL DEL SUR");
        for (const char* cod : {"000001234", "000005678"}) {
            e.filaLote({.codigo = 3,
                        .idLista = "1",
                        .nombre = "LISTA 1",
                        .fecha = QDate(2026, 3, 10),
                        .codInterno = cod,
                        .descripcion = "ARTICULO",
                        .precioVenta = "000150000",
                        .precio = "000150000",
                        .codBarra = "4006381333931"});
        }
        ASSERT_TRUE(HerramientasPdf::copiaReportes(Programa::carpeta()));
        QlReport::RutaReportes(Programa::carpeta());
        fijaOperador(&op_);
    }
    void TearDown() override {
        fijaOperador(nullptr);
        PruebaPorMotor::TearDown();
    }
    OperadorGuion op_;
};

TEST_P(VistaPreviaTest, MuestraElLoteYLoGuardaComoPdf) {
    QTemporaryDir dir;
    const QString archivo = dir.filePath("vista.pdf");
    op_.respondeArchivo(archivo);
    QString titulo;
    bool guardo = false;
    bool anchoDePagina = false;
    QTimer reloj;
    reloj.setInterval(50);
    QObject::connect(&reloj, &QTimer::timeout, [&] {
        auto* d = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
        if (!d) {
            return;
        }
        titulo = d->windowTitle();
        if (auto* vista = d->findChild<QPrintPreviewWidget*>()) {
            anchoDePagina = vista->zoomMode() == QPrintPreviewWidget::FitToWidth;
        }
        if (QToolBar* barra = d->findChild<QToolBar*>()) {
            for (QAction* a : barra->actions()) {
                if (a->text() == "Guardar como PDF") {
                    a->trigger();
                    guardo = true;
                }
            }
        }
        d->reject();
    });
    reloj.start();
    MuestraVistaPrevia("RP_Tarvelo", "3", nullptr);
    reloj.stop();
    EXPECT_EQ(titulo, "Vista previa - RP_Tarvelo - lote 3");
    EXPECT_TRUE(guardo);
    EXPECT_TRUE(anchoDePagina);
    EXPECT_EQ(HerramientasPdf::revisa(archivo), QString());
    const QString t = HerramientasPdf::texto(archivo);
    EXPECT_TRUE(t.contains("COMERCIAL DEL SUR")) << t.toStdString();
    EXPECT_TRUE(t.contains("000005678"));
}

// The preview is used by keys alone: pages, saving, printing offered, closing.
TEST_P(VistaPreviaTest, SeUsaConTeclas) {
    EsquemaPrueba e;
    for (int i = 0; i < 150; ++i) {
        e.filaLote({.codigo = 3,
                    .idLista = "1",
                    .nombre = "LISTA 1",
                    .fecha = QDate(2026, 3, 10),
                    .codInterno = QString::number(100000 + i).rightJustified(9, '0'),
                    .descripcion = "ARTICULO",
                    .precioVenta = "000150000",
                    .precio = "000150000"});
    }
    QTemporaryDir dir;
    const QString archivo = dir.filePath("teclas.pdf");
    op_.respondeArchivo(archivo);
    int paginas = 0, trasSiguiente = 0, trasFin = 0, trasInicio = 0, trasAnterior = 0;
    bool imprimeConTecla = false, cerro = false;
    QTimer reloj;
    reloj.setInterval(50);
    QObject::connect(&reloj, &QTimer::timeout, [&] {
        auto* d = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
        auto* vista = d ? d->findChild<QPrintPreviewWidget*>() : nullptr;
        if (!vista || vista->pageCount() == 0) {
            return;
        }
        reloj.stop();
        d->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(d));
        paginas = vista->pageCount();
        QTest::keyClick(d, Qt::Key_PageDown);
        trasSiguiente = vista->currentPage();
        QTest::keyClick(d, Qt::Key_End);
        trasFin = vista->currentPage();
        QTest::keyClick(d, Qt::Key_PageUp);
        trasAnterior = vista->currentPage();
        QTest::keyClick(d, Qt::Key_Home);
        trasInicio = vista->currentPage();
        for (QAction* a : d->findChild<QToolBar*>()->actions()) {
            imprimeConTecla = imprimeConTecla || a->shortcut() == QKeySequence::Print;
        }
        QTest::keyClick(d, Qt::Key_S, Qt::ControlModifier);
        QTest::keyClick(d, Qt::Key_Escape);
        cerro = !d->isVisible();
    });
    reloj.start();
    MuestraVistaPrevia("RP_Tarvelo", "3", nullptr);
    reloj.stop();
    ASSERT_GE(paginas, 3);
    EXPECT_EQ(trasSiguiente, 2);
    EXPECT_EQ(trasFin, paginas);
    EXPECT_EQ(trasAnterior, paginas - 1);
    EXPECT_EQ(trasInicio, 1);
    EXPECT_TRUE(imprimeConTecla);
    EXPECT_TRUE(cerro);
    EXPECT_EQ(HerramientasPdf::revisa(archivo), QString());
}

TEST_P(VistaPreviaTest, UnLoteInexistenteFallaSinAbrirLaVista) {
    QTimer::singleShot(2000, [] {
        if (QWidget* w = QApplication::activeModalWidget()) {
            w->close();
        }
    });
    EXPECT_THROW(MuestraVistaPrevia("MA_PRE3", "99", nullptr), FalloKX);
}

INSTANTIATE_TEST_SUITE_P(Motores, VistaPreviaTest, valoresMotores(), nombreMotor);

} // namespace
