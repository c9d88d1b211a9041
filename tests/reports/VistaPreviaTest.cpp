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
