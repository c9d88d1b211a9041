#include "runtime/ErroresOperador.h"
#include "runtime/Configuracion.h"
#include "OperadorGuion.h"
#include "utility_library/Reloj.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
// Points "temp"/"tmp" at test folders and the clock at a fixed instant.
class ErroresOperador : public ::testing::Test {
protected:
    void SetUp() override {
        viejoTemp_ = qgetenv("temp");
        viejoTmp_ = qgetenv("tmp");
        tempEstaba_ = qEnvironmentVariableIsSet("temp");
        tmpEstaba_ = qEnvironmentVariableIsSet("tmp");
        Reloj::fijaAhora(QDateTime(QDate(2021, 12, 31), QTime(23, 59, 59)));
        fijaOperador(&op_);
    }
    void TearDown() override {
        fijaOperador(nullptr);
        Reloj::fijaAhora(QDateTime());
        restaura("temp", tempEstaba_, viejoTemp_);
        restaura("tmp", tmpEstaba_, viejoTmp_);
    }
    static void restaura(const char* n, bool estaba, const QByteArray& v) {
        if (estaba) {
            qputenv(n, v);
        } else {
            qunsetenv(n);
        }
    }
    static QByteArray lee(const QString& ruta) {
        QFile f(ruta);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    OperadorGuion op_;
    QByteArray viejoTemp_, viejoTmp_;
    bool tempEstaba_ = false, tmpEstaba_ = false;
};
} // namespace

TEST_F(ErroresOperador, DialogAndLogLinesByteForByte) {
    QTemporaryDir temp;
    qputenv("temp", temp.path().toLocal8Bit());
    op_.responde(3).responde(4).responde(5);
    const ErrorKX e{13, "  Type mismatch ", "Fuente"};
    EXPECT_EQ(ModGlobal::MuestraErrorOperador(e, 18, "Cfg"), 3);
    EXPECT_EQ(ModGlobal::MuestraErrorOperador(e), 4);
    EXPECT_EQ(ModGlobal::MuestraErrorOperador(ErrorKX{-2147217900, "Sintaxis", ""}, 18, "X"), 5);

    ASSERT_EQ(op_.preguntas().size(), 3);
    EXPECT_EQ(op_.preguntas()[0].titulo, "FuenteCfg -  Aviso al operador!!! - 2 ");
    EXPECT_EQ(op_.preguntas()[0].texto, "Ha ocurrido el Siguiente Error (13) Type mismatch");
    EXPECT_EQ(op_.preguntas()[0].estilo, 18);
    // Without a routine the source runs straight into the fixed text.
    EXPECT_EQ(op_.preguntas()[1].titulo, "Fuente Aviso al operador!!! - 2 ");

    EXPECT_EQ(lee(QDir(temp.path()).filePath("KXERR.LOG")),
              QByteArray("12-31-2021 23:59:59 Rutina: Cfg - Mensaje Ha ocurrido el Siguiente "
                         "Error (13) Type mismatch Respondi\xf3 : Abortar\r\n"
                         "12-31-2021 23:59:59 Rutina:  Mensaje Ha ocurrido el Siguiente Error "
                         "(13) Type mismatch Respondi\xf3 : Reintentar\r\n"
                         "12-31-2021 23:59:59 Rutina: X - Mensaje Ha ocurrido el Siguiente Error "
                         "(-2147217900) Sintaxis Respondi\xf3 : Ignorar\r\n"));
    EXPECT_TRUE(op_.sinGuion().isEmpty());
}

TEST_F(ErroresOperador, LogFolderFallsBackFromTempToTmp) {
    QTemporaryDir tmp;
    qputenv("temp", "");
    qputenv("tmp", (tmp.path() + "  ").toLocal8Bit()); // trimmed
    op_.responde(5);
    ModGlobal::MuestraErrorOperador(ErrorKX{5, "x", ""}, 18, "R");
    EXPECT_EQ(ModGlobal::CarpetaLogErrores(), QDir(tmp.path()).path() + "/");
    EXPECT_TRUE(lee(QDir(tmp.path()).filePath("KXERR.LOG")).endsWith("Ignorar\r\n"));

    qunsetenv("temp");
    qunsetenv("tmp");
    EXPECT_EQ(ModGlobal::CarpetaLogErrores(), QDir::tempPath() + "/");
}

TEST_F(ErroresOperador, UnwritableLogStillAsksAndLosesOnlyTheLine) {
    QTemporaryDir temp;
    const QString noHay = temp.path() + "/no/existe";
    qputenv("temp", noHay.toLocal8Bit());
    op_.responde(4);
    EXPECT_EQ(ModGlobal::MuestraErrorOperador(ErrorKX{1, "x", ""}, 18, "R"), 4);
    EXPECT_EQ(op_.preguntas().size(), 1);
    EXPECT_FALSE(QFile::exists(noHay + "/KXERR.LOG"));

    // An existing log keeps what it had and only grows.
    qputenv("temp", temp.path().toLocal8Bit());
    const QString ruta = QDir(temp.path()).filePath("KXERR.LOG");
    {
        QFile f(ruta);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("antes\r\n");
    }
    op_.responde(3);
    ModGlobal::MuestraErrorOperador(ErrorKX{1, "x", ""});
    EXPECT_TRUE(lee(ruta).startsWith("antes\r\n12-31-2021 23:59:59 Rutina:  Mensaje"));
}
