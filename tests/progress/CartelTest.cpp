#include "progress/CartelSilencioso.h"
#include "progress_ui/CartelEnPantalla.h"
#include "progress_ui/CuadrosAnimacion.h"
#include "progress_ui/VentanaCartel.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

// The same behaviour is expected from the window and from the silent banner;
// each case runs on both through these small adapters.
struct Banner {
    virtual ~Banner() = default;
    virtual Dll_Display& cartel() = 0;
    virtual void pulsaCancelar() = 0;
    virtual bool botonVisible() = 0;
    virtual QString linea(int i) = 0;
};

struct BannerVentana : Banner {
    CartelEnPantalla c;
    Dll_Display& cartel() override { return c; }
    void pulsaCancelar() override {
        if (c.ventana() && c.ventana()->cancelarVisible()) {
            QTest::mouseClick(c.ventana()->CmdDisplayCancelar(), Qt::LeftButton);
        }
    }
    bool botonVisible() override { return c.ventana() && c.ventana()->cancelarVisible(); }
    QString linea(int i) override { return c.ventana() ? c.ventana()->linea(i) : QString(); }
};

struct BannerSilencioso : Banner {
    CartelSilencioso c;
    Dll_Display& cartel() override { return c; }
    void pulsaCancelar() override { c.pulsaCancelar(); }
    bool botonVisible() override { return c.botonCancelarVisible(); }
    QString linea(int i) override { return c.lineas().value(i); }
};

class CartelAmbos : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override {
        if (GetParam()) {
            b = std::make_unique<BannerVentana>();
        } else {
            b = std::make_unique<BannerSilencioso>();
        }
    }
    std::unique_ptr<Banner> b;
};

TEST_P(CartelAmbos, SinCancelarElBotonNoSeVeYNuncaCancela) {
    b->cartel().CartelInicio("Cargando Datos", false);
    EXPECT_FALSE(b->botonVisible());
    b->pulsaCancelar();
    bool cancelado = true;
    b->cartel().CartelMostrar(cancelado, QString("Cargando Datos"), QString("1 de 2"));
    EXPECT_FALSE(cancelado);
    b->cartel().CartelCerrar();
}

TEST_P(CartelAmbos, CancelarSeInformaEnLaSiguienteLlamadaYEnTodasLasDemas) {
    b->cartel().CartelInicio("Cargando Datos", true);
    EXPECT_TRUE(b->botonVisible());
    bool cancelado = true;
    b->cartel().CartelMostrar(cancelado, QString("a"));
    EXPECT_FALSE(cancelado);
    b->pulsaCancelar();
    b->cartel().CartelMostrar(cancelado);
    EXPECT_TRUE(cancelado);
    cancelado = false;
    b->cartel().CartelMostrar(cancelado);
    EXPECT_TRUE(cancelado);
    // A fresh banner starts uncancelled with its button back.
    b->cartel().CartelCerrar();
    b->cartel().CartelInicio("Otra", true);
    EXPECT_TRUE(b->botonVisible());
    b->cartel().CartelMostrar(cancelado);
    EXPECT_FALSE(cancelado);
    b->cartel().CartelCerrar();
}

TEST_P(CartelAmbos, SoloLasLineasDadasCambian) {
    b->cartel().CartelInicio("Cargando Datos", false);
    bool c = false;
    b->cartel().CartelMostrar(c, QString("uno"), QString("dos"), QString("tres"));
    b->cartel().CartelMostrar(c, std::nullopt, QString("15 de 230"));
    EXPECT_EQ(b->linea(0), "uno");
    EXPECT_EQ(b->linea(1), "15 de 230");
    EXPECT_EQ(b->linea(2), "tres");
    // A null value empties its line.
    b->cartel().CartelMostrar(c, QString());
    EXPECT_EQ(b->linea(0), "");
    EXPECT_EQ(b->linea(2), "tres");
    b->cartel().CartelCerrar();
}

INSTANTIATE_TEST_SUITE_P(VentanaYSilencioso, CartelAmbos, ::testing::Values(true, false),
                         [](const auto& i) { return i.param ? "Ventana" : "Silencioso"; });

TEST(CartelEnPantalla, EsUnaVentanaSiempreVisibleSemitransparenteConElTitulo) {
    CartelEnPantalla c;
    c.CartelInicio("Cargando Datos", false);
    VentanaCartel* v = c.ventana();
    ASSERT_NE(v, nullptr);
    EXPECT_TRUE(v->isVisible());
    EXPECT_TRUE(v->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_NEAR(v->windowOpacity(), 200.0 / 255.0, 0.01);
    EXPECT_EQ(v->windowTitle(), "Cargando Datos");
    EXPECT_EQ(v->CmdDisplayCancelar()->text(), "&Cancelar");
    c.Siempre_Visible(false);
    EXPECT_FALSE(v->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(v->isVisible());
    c.Siempre_Visible(true);
    EXPECT_TRUE(v->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    c.CartelCerrar();
    EXPECT_EQ(c.ventana(), nullptr);
}

TEST(CartelEnPantalla, MostrarSobreUnCartelCerradoCargaLaVentanaSinMostrarla) {
    CartelEnPantalla c;
    bool cancelado = true;
    c.CartelMostrar(cancelado, QString("x"));
    ASSERT_NE(c.ventana(), nullptr);
    EXPECT_FALSE(c.ventana()->isVisible());
    EXPECT_FALSE(cancelado);
}

TEST(CartelEnPantalla, LaAnimacionRecorreLosDoceCuadrosYVuelveAlPrimero) {
    VentanaCartel v;
    EXPECT_EQ(v.cuadroMostrado(), 1);
    QList<int> vistos;
    for (int i = 0; i < 25; ++i) {
        v.avanzaAnimacion();
        vistos << v.cuadroMostrado();
    }
    QList<int> esperados;
    for (int i = 0; i < 25; ++i) {
        esperados << i % 12 + 1;
    }
    EXPECT_EQ(vistos, esperados);
    // The clock drives it by itself, one frame every 100 ms.
    const int antes = v.cuadroMostrado();
    QTest::qWait(350);
    EXPECT_NE(v.cuadroMostrado(), antes);
}

TEST(CuadrosAnimacion, DoceCuadrosDistintos) {
    const auto cuadros = CuadrosAnimacion::dibuja(32);
    ASSERT_EQ(cuadros.size(), 12);
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(cuadros[i].size(), QSize(32, 32));
        EXPECT_NE(cuadros[i], cuadros[(i + 1) % 12]) << i;
    }
}

TEST(Dll_Display, LaInstanciaPorDefectoEsSilenciosaYSePuedeReemplazar) {
    EXPECT_NE(dynamic_cast<CartelSilencioso*>(&Dll_Display::instancia()), nullptr);
    CartelEnPantalla v;
    Dll_Display::fijaInstancia(&v);
    EXPECT_EQ(&Dll_Display::instancia(), &v);
    Dll_Display::fijaInstancia(nullptr);
    EXPECT_NE(dynamic_cast<CartelSilencioso*>(&Dll_Display::instancia()), nullptr);
}
