#include "runtime_ui/Skins.h"
#include "runtime_ui/SkinVentana.h"
#include "OperadorGuion.h"
#include "utility_library/Programa.h"
#include "utility_library/Reloj.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QWidget>
#include <functional>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

// A program folder holding a copy of the shipped skins, the user's INI and the
// error log folder, with a known user name.
class Skins_ : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(programa_.isValid());
        viejaCarpeta_ = Programa::carpeta();
        Programa::fijaCarpeta(programa_.path());
        guarda("USER");
        guarda("temp");
        qputenv("USER", "prueba");
        qputenv("temp", temp_.path().toLocal8Bit());
        Reloj::fijaAhora(QDateTime(QDate(2024, 3, 5), QTime(10, 20, 30)));
        fijaOperador(&op_);
        copiaEstilos();
    }
    void TearDown() override {
        fijaOperador(nullptr);
        Reloj::fijaAhora(QDateTime());
        Programa::fijaCarpeta(viejaCarpeta_);
        for (const auto& [n, v] : entorno_) {
            if (v.isNull()) {
                qunsetenv(n.constData());
            } else {
                qputenv(n.constData(), v);
            }
        }
    }
    void guarda(const char* n) {
        entorno_.append({n, qEnvironmentVariableIsSet(n) ? qgetenv(n) : QByteArray()});
    }
    void copiaEstilos() {
        const QString origen = QStringLiteral(TARVELO_RESOURCES "/Styles");
        QDirIterator it(origen, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString archivo = it.next();
            const QString destino = programa_.filePath(QStringLiteral("Styles/") +
                                                       QDir(origen).relativeFilePath(archivo));
            QDir().mkpath(QFileInfo(destino).path());
            ASSERT_TRUE(QFile::copy(archivo, destino)) << destino.toStdString();
        }
    }
    void restauraEstilos() {
        QDirIterator it(programa_.filePath(QStringLiteral("Styles")), QDir::Files,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            QFile::setPermissions(it.next(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        }
        QDir(programa_.filePath(QStringLiteral("Styles"))).removeRecursively();
        copiaEstilos();
    }
    void escribeIni(const QByteArray& contenido) {
        QFile f(programa_.filePath(QStringLiteral("ve000zi.ini")));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(contenido);
    }
    void eligeEstilo(const QByteArray& valor) {
        escribeIni("[OTROStyles]\r\nStyles=3\r\n[PRUEBAStyles]\r\nStyles=" + valor + "\r\n");
    }
    QStringList lineasLog() const {
        QFile f(temp_.filePath(QStringLiteral("KXERR.LOG")));
        if (!f.open(QIODevice::ReadOnly)) {
            return {};
        }
        return QString::fromLatin1(f.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    }
    // The colour of the window background the skin description declares.
    QColor colorVentana(const QString& relativo) const {
        SkinVentana s;
        const Skins::ArchivoSkin a{relativo, QString()};
        EXPECT_TRUE(s.CargaSkin(programa_.filePath(a.ruta), a.ajustes));
        return s.paleta().color(QPalette::Window);
    }

    QTemporaryDir programa_, temp_;
    QString viejaCarpeta_;
    QList<std::pair<QByteArray, QByteArray>> entorno_;
    OperadorGuion op_; // no question is scripted: a dialog fails the test
};

} // namespace

TEST(NumeroSkin, StyleValuesReadAsTheSuiteReadsNumbers) {
    const struct {
        const char* valor;
        int numero;
    } casos[] = {
        {"1", 1},   {"2", 2},           {"3", 3},    {"4", 4},   {"9", 9},
        {"01", 1},  {" 2 ", 2},         {"4x", 4},   {"abc", 0}, {"", 0},
        {"-1", -1}, {"3.6", 4},         {"2.5", 2},  {"3.5", 4}, {"1e0", 1},
        {"&H3", 3}, {"&o4", 4},         {"1 2", 12}, {".9", 1},  {"1e999", 0},
        {"+3", 3},  {"99999999999", 0},
    };
    for (const auto& c : casos) {
        EXPECT_EQ(Skins::NumeroSkin(QString::fromLatin1(c.valor)), c.numero) << c.valor;
    }
}

TEST(NumeroSkin, TableOfSkinFiles) {
    const struct {
        int numero;
        const char* ruta;
        const char* ajustes;
    } casos[] = {
        {1, "Styles/Vista.qskin", ""},        {2, "Styles/WinXP.Luna.qskin", ""},
        {3, "Styles/WinXP.Royale.qskin", ""}, {4, "Styles/iTunes", "Normalitunes.ini"},
        {0, "Styles/Office2007.qskin", ""},   {5, "Styles/Office2007.qskin", ""},
        {-1, "Styles/Office2007.qskin", ""},
    };
    for (const auto& c : casos) {
        const auto a = Skins::ArchivoDeSkin(c.numero);
        EXPECT_EQ(a.ruta, QString::fromLatin1(c.ruta)) << c.numero;
        EXPECT_EQ(a.ajustes, QString::fromLatin1(c.ajustes)) << c.numero;
    }
}

TEST_F(Skins_, EachStyleValueGivesItsShippedSkin) {
    const struct {
        const char* valor; // nullptr: no section for the user
        const char* ruta;
    } casos[] = {
        {nullptr, "Styles/Vista.qskin"},    {"1", "Styles/Vista.qskin"},
        {"01", "Styles/Vista.qskin"},       {"2", "Styles/WinXP.Luna.qskin"},
        {"3", "Styles/WinXP.Royale.qskin"}, {"4", "Styles/iTunes/Normalitunes.ini"},
        {"9", "Styles/Office2007.qskin"},   {"Azul", "Styles/Office2007.qskin"},
    };
    QSet<QRgb> distintos;
    for (const auto& c : casos) {
        SCOPED_TRACE(c.valor ? c.valor : "(sin sección)");
        if (c.valor) {
            eligeEstilo(c.valor);
        } else {
            escribeIni("[OTROStyles]\r\nStyles=3\r\n");
        }
        QWidget ventana;
        auto* boton = new QPushButton(QStringLiteral("&Generar"), &ventana);
        ASSERT_TRUE(Skins::AplicaSkin(&ventana));
        const QColor esperado = colorVentana(QString::fromLatin1(c.ruta));
        EXPECT_EQ(ventana.palette().color(QPalette::Window), esperado);
        // Children take the look too.
        EXPECT_EQ(boton->palette().color(QPalette::Window), esperado);
        EXPECT_FALSE(ventana.styleSheet().isEmpty());
        distintos.insert(esperado.rgb());
    }
    // Five looks, each its own.
    EXPECT_EQ(distintos.size(), 5);
    EXPECT_TRUE(lineasLog().isEmpty());
}

TEST_F(Skins_, UnusableSkinLeavesQtLookAndOneLogLine) {
    const QPalette porDefecto = QWidget().palette();
    const struct {
        const char* caso;
        std::function<void(const QString&)> estropea; // given the Vista description path
        qint32 numero;
    } casos[] = {
        {"missing file", [](const QString& r) { QFile::remove(r); }, 53},
        {"a folder",
         [](const QString& r) {
             QFile::remove(r);
             QDir().mkpath(r);
         },
         75},
        {"unreadable file",
         [](const QString& r) { QFile::setPermissions(r, QFileDevice::Permissions()); }, 75},
        {"missing style sheet",
         [](const QString& r) { QFile::remove(QFileInfo(r).path() + "/Vista.qss"); }, 53},
        {"bad colour",
         [](const QString& r) {
             QFile f(r);
             f.open(QIODevice::Append);
             f.write("Link=#zzzzzz\r\n");
         },
         321},
        {"describes nothing",
         [](const QString& r) {
             QFile f(r);
             f.open(QIODevice::WriteOnly | QIODevice::Truncate);
             f.write("[Skin]\r\nNombre=Vacio\r\n");
         },
         321},
    };
    eligeEstilo("1");
    const QString vista = programa_.filePath(QStringLiteral("Styles/Vista.qskin"));
    for (const auto& c : casos) {
        SCOPED_TRACE(c.caso);
        restauraEstilos();
        // Root reads any file: that case then proves nothing.
        if (QString(c.caso) == "unreadable file" && ::geteuid() == 0) {
            continue;
        }
        QFile::remove(temp_.filePath(QStringLiteral("KXERR.LOG")));
        QWidget ventana;
        ASSERT_TRUE(Skins::AplicaSkin(&ventana)); // a good skin first
        c.estropea(vista);
        EXPECT_FALSE(Skins::AplicaSkin(&ventana));
        EXPECT_TRUE(ventana.styleSheet().isEmpty());
        EXPECT_EQ(ventana.palette().color(QPalette::Window), porDefecto.color(QPalette::Window));
        EXPECT_EQ(ventana.palette().color(QPalette::Highlight),
                  porDefecto.color(QPalette::Highlight));
        const QStringList log = lineasLog();
        ASSERT_EQ(log.size(), 1);
        EXPECT_TRUE(log[0].startsWith(
            "03-05-2024 10:20:30 Rutina: AplicaSkin - Mensaje Ha ocurrido el Siguiente Error (" +
            QString::number(c.numero) + ") "))
            << log[0].toStdString();
    }
    EXPECT_TRUE(op_.preguntas().isEmpty());
}
