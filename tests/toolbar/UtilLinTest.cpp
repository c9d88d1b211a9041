#include "toolbar/UtilLin.h"
#include "toolbar/TiraIconos.h"
#include "utility_library/Programa.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <gtest/gtest.h>
#include <memory>

namespace {

using C = ComandoUtilLin;

const C kTodos[] = {C::Nuevo,    C::Borrar,   C::Reporte, C::Consultar,
                    C::Planilla, C::Cancelar, C::Grabar,  C::Cerrar};

// A program folder with the shipped strips and a window that hosts the bar
// above an input field, the way a window of the suite does.
class UtilLin_ : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(programa_.isValid());
        viejaCarpeta_ = Programa::carpeta();
        Programa::fijaCarpeta(programa_.path());
        usuarioEstaba_ = qEnvironmentVariableIsSet("USER");
        viejoUsuario_ = qgetenv("USER");
        qputenv("USER", "prueba");
        for (const QString& f : QDir(QStringLiteral(TARVELO_RESOURCES))
                                    .entryList({QStringLiteral("*.bmp")}, QDir::Files)) {
            ASSERT_TRUE(
                QFile::copy(QStringLiteral(TARVELO_RESOURCES "/") + f, programa_.filePath(f)));
        }
    }
    void TearDown() override {
        ventana_.reset();
        Programa::fijaCarpeta(viejaCarpeta_);
        if (usuarioEstaba_) {
            qputenv("USER", viejoUsuario_);
        } else {
            qunsetenv("USER");
        }
    }
    void eligeEstilo(const QByteArray& valor) {
        QFile f(programa_.filePath(QStringLiteral("ve000zi.ini")));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write("[PRUEBAStyles]\r\nStyles=" + valor + "\r\n");
    }
    // Builds and shows the host window; the field has the focus.
    void abreVentana() {
        ventana_ = std::make_unique<QWidget>();
        auto* capa = new QVBoxLayout(ventana_.get());
        barra_ = new UtilLin(ventana_.get());
        campo_ = new QLineEdit(ventana_.get());
        capa->addWidget(barra_);
        capa->addWidget(campo_);
        capa->addStretch(1);
        barra_->AtiendeTeclasDe(ventana_.get());
        QObject::connect(barra_, &UtilLin::Click, [this](const QString& b) { clicks_ << b; });
        ventana_->resize(700, 300);
        ventana_->show();
        QApplication::setActiveWindow(ventana_.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(ventana_.get()));
        campo_->setFocus();
    }
    // Presses the key in the field and returns what the bar raised.
    QStringList pulsa(Qt::Key tecla) {
        clicks_.clear();
        QTest::keyClick(campo_, tecla);
        return clicks_;
    }
    QStringList pulsa(C c) {
        clicks_.clear();
        QTest::mouseClick(barra_->boton(c), Qt::LeftButton);
        return clicks_;
    }

    QTemporaryDir programa_;
    QString viejaCarpeta_;
    QByteArray viejoUsuario_;
    bool usuarioEstaba_ = false;
    std::unique_ptr<QWidget> ventana_;
    UtilLin* barra_ = nullptr;
    QLineEdit* campo_ = nullptr;
    QStringList clicks_;
};

} // namespace

TEST_F(UtilLin_, CaptionsOrderAndClickNames) {
    abreVentana();
    const char* titulos[] = {"Nuevo",      "Borrar",   " Reporte", " Consultar",
                             "  Planilla", "Cancelar", "Grabar",   "   Cerrar"};
    const char* nombres[] = {"NUEVO",    "BORRAR",   "REPORTE", "CONSULTAR",
                             "PLANILLA", "CANCELAR", "GRABAR",  "CERRAR"};
    const QList<QAction*> enBarra = barra_->barra()->actions();
    ASSERT_EQ(enBarra.size(), 8);
    EXPECT_EQ(barra_->barra()->objectName(), "Standard");
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(enBarra[i], barra_->accion(kTodos[i]));
        EXPECT_EQ(enBarra[i]->text(), QString::fromLatin1(titulos[i]));
        barra_->fijaBorrarEnabled(true); // a NUEVO click switched it off
        EXPECT_EQ(pulsa(kTodos[i]), QStringList{nombres[i]}) << nombres[i];
    }
}

TEST_F(UtilLin_, KeysRaiseOnlyEnabledCommands) {
    abreVentana();
    const struct {
        Qt::Key tecla;
        C comando;
    } teclas[] = {{Qt::Key_F3, C::Nuevo},     {Qt::Key_F10, C::Borrar},  {Qt::Key_F4, C::Reporte},
                  {Qt::Key_F5, C::Consultar}, {Qt::Key_F6, C::Planilla}, {Qt::Key_F2, C::Grabar}};
    // Each command switched off in turn: its key goes quiet, the others answer.
    for (const C apagado : kTodos) {
        for (const C c : kTodos) {
            barra_->fijaHabilitado(c, c != apagado);
        }
        for (const auto& t : teclas) {
            const QStringList esperado =
                t.comando == apagado ? QStringList{} : QStringList{NombreComando(t.comando)};
            EXPECT_EQ(pulsa(t.tecla), esperado)
                << NombreComando(apagado).toStdString() << " off, key " << t.tecla;
        }
    }
    // Keys that stand for no command.
    for (const C c : kTodos) {
        barra_->fijaHabilitado(c, true);
    }
    for (const Qt::Key t : {Qt::Key_F1, Qt::Key_F7, Qt::Key_F8, Qt::Key_F9, Qt::Key_F11,
                            Qt::Key_F12, Qt::Key_Return, Qt::Key_A, Qt::Key_Delete}) {
        EXPECT_TRUE(pulsa(t).isEmpty()) << t;
    }
}

TEST_F(UtilLin_, EscRaisesCancelOrElseClose) {
    abreVentana();
    const struct {
        bool cancelar, cerrar;
        QStringList esperado;
    } casos[] = {
        {true, true, {"CANCELAR"}},
        {false, true, {"CERRAR"}},
        {true, false, {"CANCELAR"}},
        {false, false, {}},
    };
    for (const auto& c : casos) {
        barra_->fijaCancelarEnabled(c.cancelar);
        barra_->fijaCerrarEnabled(c.cerrar);
        EXPECT_EQ(pulsa(Qt::Key_Escape), c.esperado) << c.cancelar << c.cerrar;
    }
}

TEST_F(UtilLin_, HiddenEnabledCommandStillAnswersItsKey) {
    abreVentana();
    for (const C c : kTodos) {
        barra_->fijaVisible(c, false);
    }
    barra_->fijaCancelarEnabled(false);
    QCoreApplication::sendPostedEvents(); // the bar lays its buttons out again
    for (const C c : kTodos) {
        EXPECT_FALSE(barra_->boton(c) && barra_->boton(c)->isVisible());
    }
    EXPECT_EQ(pulsa(Qt::Key_F3), QStringList{"NUEVO"});
    EXPECT_EQ(pulsa(Qt::Key_F5), QStringList{"CONSULTAR"});
    EXPECT_EQ(pulsa(Qt::Key_Escape), QStringList{"CERRAR"});
    // Shown but switched off: the button is greyed and the key says nothing.
    barra_->fijaVisible(C::Reporte, true);
    barra_->fijaReporteEnabled(false);
    QCoreApplication::sendPostedEvents();
    EXPECT_TRUE(barra_->boton(C::Reporte)->isVisible());
    EXPECT_FALSE(barra_->boton(C::Reporte)->isEnabled());
    EXPECT_TRUE(pulsa(Qt::Key_F4).isEmpty());
    EXPECT_TRUE(pulsa(C::Reporte).isEmpty());
}

TEST_F(UtilLin_, NewClickSwitchesDeleteOffButF3DoesNot) {
    abreVentana();
    EXPECT_EQ(pulsa(Qt::Key_F3), QStringList{"NUEVO"});
    EXPECT_TRUE(barra_->BorrarEnabled());
    EXPECT_EQ(pulsa(Qt::Key_F10), QStringList{"BORRAR"});

    EXPECT_EQ(pulsa(C::Nuevo), QStringList{"NUEVO"});
    EXPECT_FALSE(barra_->BorrarEnabled());
    EXPECT_FALSE(barra_->boton(C::Borrar)->isEnabled());
    EXPECT_TRUE(pulsa(Qt::Key_F10).isEmpty());

    // Saving or closing gives delete back; the keys for them do not.
    EXPECT_EQ(pulsa(Qt::Key_F2), QStringList{"GRABAR"});
    EXPECT_FALSE(barra_->BorrarEnabled());
    EXPECT_EQ(pulsa(C::Grabar), QStringList{"GRABAR"});
    EXPECT_TRUE(barra_->BorrarEnabled());
    pulsa(C::Nuevo);
    barra_->fijaCancelarEnabled(false);
    EXPECT_EQ(pulsa(Qt::Key_Escape), QStringList{"CERRAR"});
    EXPECT_FALSE(barra_->BorrarEnabled());
    EXPECT_EQ(pulsa(C::Cerrar), QStringList{"CERRAR"});
    EXPECT_TRUE(barra_->BorrarEnabled());
}

TEST_F(UtilLin_, KeyAnalisisTakesTheSuitesKeyCodes) {
    UtilLin barra;
    QStringList clicks;
    QObject::connect(&barra, &UtilLin::Click, [&](const QString& b) { clicks << b; });
    for (const qint16 codigo : {114, 121, 115, 116, 117, 27, 113, 112, 118, 13, 0, -1}) {
        barra.KeyAnalisis(codigo);
    }
    EXPECT_EQ(clicks, (QStringList{"NUEVO", "BORRAR", "REPORTE", "CONSULTAR", "PLANILLA",
                                   "CANCELAR", "GRABAR"}));
    EXPECT_EQ(UtilLin::CodigoTecla(Qt::Key_Escape), 27);
    EXPECT_EQ(UtilLin::CodigoTecla(Qt::Key_F10), 121);
    EXPECT_EQ(UtilLin::CodigoTecla(Qt::Key_Enter), 13);
    EXPECT_EQ(UtilLin::CodigoTecla(Qt::Key_A), 65);
    EXPECT_EQ(UtilLin::CodigoTecla(Qt::Key_Print), 0);
}

TEST_F(UtilLin_, PropertiesAndRebuild) {
    UtilLin barra;
    for (const auto& [dado, leido] : {std::pair{0, 0}, {1, 1}, {2, 2}, {3, 0}, {-1, 0}}) {
        barra.fijaTheme(qint16(dado));
        EXPECT_EQ(barra.Theme(), leido) << dado;
    }
    // Properties reach Qt's property system under their own names.
    EXPECT_TRUE(barra.setProperty("consultarVisible", false));
    EXPECT_FALSE(barra.visible(C::Consultar));
    EXPECT_TRUE(barra.setProperty("ConsultaEnabled", false));
    EXPECT_FALSE(barra.ConsultaEnabled());

    barra.fijaConTitulo(false);
    EXPECT_EQ(barra.barra()->toolButtonStyle(), Qt::ToolButtonIconOnly);
    barra.fijaConTitulo(true);
    EXPECT_EQ(barra.barra()->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);

    barra.fijaConTitulo(false);
    barra.fijaEnabled(false);
    for (const C c : kTodos) {
        barra.fijaHabilitado(c, false);
        barra.fijaVisible(c, false);
    }
    barra.ActualizarBotones();
    EXPECT_TRUE(barra.ConTitulo());
    EXPECT_TRUE(barra.Enabled());
    for (const C c : kTodos) {
        EXPECT_TRUE(barra.habilitado(c));
        EXPECT_TRUE(barra.visible(c));
        EXPECT_TRUE(barra.accion(c)->isEnabled());
        EXPECT_TRUE(barra.accion(c)->isVisible());
    }
    EXPECT_EQ(barra.barra()->actions().size(), 8);
}

TEST_F(UtilLin_, PersistedPropertiesRoundTrip) {
    const QString ini = programa_.filePath(QStringLiteral("tarvelo.ini"));
    {
        UtilLin barra;
        QSettings s(ini, QSettings::IniFormat);
        s.beginGroup(QStringLiteral("UtilLin1"));
        barra.GuardaPropiedades(s);
        s.endGroup();
        s.sync();
        // Everything at its default: nothing stored.
        EXPECT_TRUE(s.childGroups().isEmpty());
    }
    const QStringList apagadas = {"ConTitulo",     "Enabled",          "BorrarEnabled",
                                  "GrabarEnabled", "ConsultarVisible", "CerrarVisible"};
    {
        UtilLin barra;
        barra.fijaConTitulo(false);
        barra.fijaEnabled(false);
        barra.fijaBorrarEnabled(false);
        barra.fijaGrabarEnabled(false);
        barra.fijaConsultarVisible(false);
        barra.fijaCerrarVisible(false);
        barra.fijaTheme(2);
        QSettings s(ini, QSettings::IniFormat);
        s.beginGroup(QStringLiteral("UtilLin1"));
        barra.GuardaPropiedades(s);
        const QStringList guardadas = s.childKeys();
        EXPECT_EQ(QSet<QString>(guardadas.begin(), guardadas.end()),
                  QSet<QString>(apagadas.begin(), apagadas.end()));
    }
    {
        UtilLin barra;
        QSettings s(ini, QSettings::IniFormat);
        s.beginGroup(QStringLiteral("UtilLin1"));
        barra.LeePropiedades(s);
        for (const QString& p : UtilLin::PropiedadesPersistidas()) {
            const QString q = p == "ConsultarVisible" ? QStringLiteral("consultarVisible") : p;
            EXPECT_EQ(barra.property(q.toLatin1()).toBool(), !apagadas.contains(p))
                << p.toStdString();
        }
        EXPECT_EQ(barra.Theme(), 0); // not persisted
        EXPECT_FALSE(barra.accion(C::Cerrar)->isVisible());
        // Back on: the stale entry goes.
        barra.fijaGrabarEnabled(true);
        barra.GuardaPropiedades(s);
        EXPECT_FALSE(s.contains(QStringLiteral("GrabarEnabled")));
        EXPECT_TRUE(s.contains(QStringLiteral("BorrarEnabled")));
    }
    EXPECT_EQ(UtilLin::PropiedadesPersistidas(),
              (QStringList{"ConTitulo", "Enabled", "NuevoEnabled", "BorrarEnabled",
                           "ReporteEnabled", "ConsultaEnabled", "PlanillaEnabled",
                           "CancelarEnabled", "GrabarEnabled", "CerrarEnabled", "NuevoVisible",
                           "BorrarVisible", "ReporteVisible", "ConsultarVisible", "PlanillaVisible",
                           "CancelarVisible", "GrabarVisible", "CerrarVisible"}));
}

TEST_F(UtilLin_, StripChosenByStyleTextAndCutIntoEightIcons) {
    const struct {
        const char* valor; // nullptr: no INI at all
        const char* tira;
    } casos[] = {
        {nullptr, "VER2021B.bmp"}, {"1", "VER2021B.bmp"}, {"2", "VER2021M.bmp"},
        {"3", "VER2021V.bmp"},     {"4", "VER2021i.bmp"}, {"01", "VER2021.bmp"},
        {"1.0", "VER2021.bmp"},    {"9", "VER2021.bmp"},  {"", "VER2021.bmp"},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.valor ? c.valor : "(sin ini)");
        if (c.valor) {
            eligeEstilo(c.valor);
        }
        UtilLin barra;
        EXPECT_EQ(barra.archivoTira(), QString::fromLatin1(c.tira));
        EXPECT_TRUE(barra.tieneIconos());
    }
    // The shipped strips: eight icons each, magenta cut away, something drawn in every cell.
    for (const char* tira :
         {"VER2021.bmp", "VER2021B.bmp", "VER2021M.bmp", "VER2021V.bmp", "VER2021i.bmp"}) {
        SCOPED_TRACE(tira);
        const QList<QIcon> iconos = TiraIconos::CortaTira(programa_.filePath(tira), 8);
        ASSERT_EQ(iconos.size(), 8);
        for (const QIcon& icono : iconos) {
            const QImage img = icono.pixmap(32, 32).toImage();
            EXPECT_EQ(qAlpha(img.pixel(0, 0)), 0);
            int opacos = 0;
            for (int y = 0; y < img.height(); ++y) {
                for (int x = 0; x < img.width(); ++x) {
                    const QRgb p = img.pixel(x, y);
                    opacos += qAlpha(p) == 255;
                    EXPECT_NE(p & 0xFFFFFFu, TiraIconos::kColorMascara);
                }
            }
            EXPECT_GT(opacos, 40);
        }
    }
}

TEST_F(UtilLin_, MissingStripGivesCaptionsWithoutIcons) {
    eligeEstilo("3");
    QFile::remove(programa_.filePath(QStringLiteral("VER2021V.bmp")));
    QFile roto(programa_.filePath(QStringLiteral("VER2021M.bmp")));
    ASSERT_TRUE(roto.open(QIODevice::WriteOnly | QIODevice::Truncate));
    roto.write("no es un bitmap");
    roto.close();
    for (const char* estilo : {"3", "2"}) {
        eligeEstilo(estilo);
        abreVentana();
        EXPECT_FALSE(barra_->tieneIconos());
        for (const C c : kTodos) {
            EXPECT_TRUE(barra_->accion(c)->icon().isNull());
        }
        barra_->fijaConTitulo(false);
        auto* boton = qobject_cast<QToolButton*>(barra_->boton(C::Nuevo));
        ASSERT_NE(boton, nullptr);
        EXPECT_GT(boton->sizeHint().width(), 10); // the caption stands in for the icon
        EXPECT_EQ(pulsa(C::Nuevo), QStringList{"NUEVO"});
        EXPECT_EQ(pulsa(Qt::Key_F3), QStringList{"NUEVO"});
    }
}

TEST_F(UtilLin_, VerticalWhenTallerThanWide) {
    UtilLin barra;
    barra.resize(700, 60);
    barra.show();
    EXPECT_EQ(barra.barra()->orientation(), Qt::Horizontal);
    barra.resize(80, 600);
    EXPECT_EQ(barra.barra()->orientation(), Qt::Vertical);
    // Along the left side: the buttons stand one under the other.
    QCoreApplication::processEvents();
    EXPECT_LT(barra.boton(C::Nuevo)->geometry().bottom(),
              barra.boton(C::Borrar)->geometry().top() + 1);
    barra.resize(600, 80);
    EXPECT_EQ(barra.barra()->orientation(), Qt::Horizontal);
}
