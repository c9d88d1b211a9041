#include "utility_library/CarpetasPrograma.h"

#include "db/Conexion.h"
#include "runtime/ListaBases.h"
#include "utility_library/Programa.h"
#include "utility_library/QlIni.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// Each case builds its program folder under a temporary folder and points the
// user's data folder and the service's state folder at it.
class Carpetas : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        vieja_ = Programa::carpeta();
        for (const char* v : {"XDG_DATA_HOME", "STATE_DIRECTORY"}) {
            entorno_.append({v, qgetenv(v), qEnvironmentVariableIsSet(v)});
        }
        qputenv("XDG_DATA_HOME", ruta("datos").toLocal8Bit());
        qunsetenv("STATE_DIRECTORY");
    }
    void TearDown() override {
        for (const auto& e : entorno_) {
            if (e.definida) {
                qputenv(e.nombre, e.valor);
            } else {
                qunsetenv(e.nombre);
            }
        }
        // Writable again, or the temporary folder is not removed.
        for (const QString& c : solosLectura_) {
            QFile::setPermissions(c, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
        Programa::fijaCarpeta(vieja_);
    }
    QString ruta(const QString& r) const { return dir_.path() + QLatin1Char('/') + r; }
    QString crea(const QString& r) {
        EXPECT_TRUE(QDir().mkpath(ruta(r)));
        return ruta(r) + QLatin1Char('/');
    }
    void soloLectura(const QString& r) {
        ASSERT_TRUE(QFile::setPermissions(ruta(r), QFile::ReadOwner | QFile::ExeOwner |
                                                       QFile::ReadGroup | QFile::ExeGroup |
                                                       QFile::ReadOther | QFile::ExeOther));
        solosLectura_ << ruta(r);
    }

    struct Variable {
        const char* nombre;
        QByteArray valor;
        bool definida;
    };
    QTemporaryDir dir_;
    QString vieja_;
    QList<Variable> entorno_;
    QStringList solosLectura_;
};

TEST_F(Carpetas, WritableProgramFolderKeepsEverything) {
    // A build's bin without ../share/tarvelo is not an installed layout.
    const QString programa = crea(QStringLiteral("build/bin"));
    Programa::fijaCarpeta(programa);
    EXPECT_TRUE(CarpetasPrograma::enCarpetaPrograma());
    EXPECT_EQ(CarpetasPrograma::escritura(), programa);
    EXPECT_EQ(CarpetasPrograma::lectura(), programa);
    EXPECT_TRUE(CarpetasPrograma::aviso().isEmpty());
    EXPECT_FALSE(QDir(ruta(QStringLiteral("datos/tarvelo"))).exists()) << "nothing created";
}

TEST_F(Carpetas, ReadOnlyFoldersWriteToTheDataOrStateFolder) {
    struct Caso {
        const char* nombre;
        bool instalado;     // usr/bin with usr/share/tarvelo beside it
        bool soloLectura;   // chmod a-w on the program folder
        bool servicio;      // STATE_DIRECTORY set, as systemd does
        const char* escritura;
    };
    const Caso casos[] = {
        // Installed: read-only whoever runs it, even with its permissions open.
        {"installed, writable bits", true, false, false, "datos/tarvelo/"},
        {"installed, for the service", true, true, true, "estado/tarvelo/"},
        // A copied folder made read-only: root could still write to it.
        {"copied folder, no w bits", false, true, false, "datos/tarvelo/"},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nombre);
        const QString base = QString::fromLatin1(c.nombre).replace(QLatin1Char(' '), '_');
        const QString programa = crea(base + QStringLiteral("/usr/bin"));
        const QString datos =
            c.instalado ? crea(base + QStringLiteral("/usr/share/tarvelo")) : QString();
        if (c.soloLectura) {
            soloLectura(base + QStringLiteral("/usr/bin"));
        }
        if (c.servicio) {
            // systemd may list several folders; the first is the service's.
            qputenv("STATE_DIRECTORY", (ruta(QStringLiteral("estado/tarvelo")) + QLatin1Char(':') +
                                        ruta(QStringLiteral("estado/otra")))
                                           .toLocal8Bit());
        } else {
            qunsetenv("STATE_DIRECTORY");
        }
        Programa::fijaCarpeta(programa);
        const QString escritura = ruta(QString::fromLatin1(c.escritura));
        EXPECT_FALSE(CarpetasPrograma::enCarpetaPrograma());
        EXPECT_EQ(CarpetasPrograma::escritura(), escritura);
        EXPECT_TRUE(QDir(escritura).exists()) << "created for its writers";
        EXPECT_EQ(CarpetasPrograma::lectura(), c.instalado ? datos : programa);
        const QString informe = CarpetasPrograma::informe();
        EXPECT_TRUE(informe.contains(QStringLiteral("Archivos escritos en: ") + escritura))
            << informe.toStdString();
        EXPECT_TRUE(CarpetasPrograma::aviso().contains(escritura));

        // Every file the program writes, named without a folder, goes there.
        EXPECT_EQ(QlIni::Ruta(QStringLiteral("ve000zi.ini")),
                  escritura + QStringLiteral("ve000zi.ini"));
        EXPECT_EQ(LBM_Common::RutaBases(), escritura + QStringLiteral("BASES.TXT"));
        EXPECT_EQ(Conexion::archivoSqlite(QStringLiteral("demo.db")),
                  escritura + QStringLiteral("demo.db"));
        EXPECT_TRUE(QDir(programa).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty());
    }
}

} // namespace
