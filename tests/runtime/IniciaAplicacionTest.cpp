#include "runtime/IniciaAplicacion.h"
#include "db/DB_Dll.h"
#include "runtime/ValoresGlobales.h"
#include "OperadorGuion.h"
#include "utility_library/Programa.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
class Inicio : public ::testing::Test {
protected:
    void SetUp() override {
        vieja_ = Programa::carpeta();
        Programa::fijaCarpeta(dir_.path());
        viejoTemp_ = qgetenv("temp");
        qputenv("temp", dir_.path().toLocal8Bit());
        fijaOperador(&op_);
        DB_Dll::instancia().reinicia();
    }
    void TearDown() override {
        DB_Dll::instancia().reinicia();
        fijaOperador(nullptr);
        qputenv("temp", viejoTemp_);
        Programa::fijaCarpeta(vieja_);
    }
    QTemporaryDir dir_;
    QString vieja_;
    QByteArray viejoTemp_;
    OperadorGuion op_;
};
} // namespace

TEST_F(Inicio, StatisticsConnectionFailsSilentlyTo360) {
    DB_Dll& db = DB_Dll::instancia();
    // No statistics database beside SQLite or PostgreSQL.
    db.gPlataforma = Plataforma::Sqlite;
    ModGlobal::gKXTimeOut = 5;
    ConectaEstadisticas();
    EXPECT_EQ(ModGlobal::gKXTimeOut, 360);
    ASSERT_NE(ModGlobal::gDBEstadisticas, nullptr);
    EXPECT_FALSE(ModGlobal::gDBEstadisticas->gOpenFlag);

    // SQL Server without the login's password installed: not even tried.
    db.gPlataforma = Plataforma::SqlServer;
    db.gServidor = "127.0.0.1";
    ConectaEstadisticas();
    EXPECT_EQ(ModGlobal::gKXTimeOut, 360);
    EXPECT_EQ(ModGlobal::gDBEstadisticas->gUserPassWord, "");

    // With it, against a server that is not there: closed, silent, 360.
    {
        QFile ini(QDir(dir_.path()).filePath("ve000zi.ini"));
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write("[Estadisticas]\r\nClave=prueba\r\n");
    }
    db.gPuerto = 1;
    QElapsedTimer t;
    t.start();
    ConectaEstadisticas();
    EXPECT_EQ(ModGlobal::gKXTimeOut, 360);
    EXPECT_EQ(ModGlobal::gDBEstadisticas->gUserPassWord, "prueba");
    EXPECT_EQ(ModGlobal::gDBEstadisticas->gDBName, "VE_RAZIZIVIDEDA");
    EXPECT_FALSE(ModGlobal::gDBEstadisticas->gOpenFlag);
    EXPECT_TRUE(op_.preguntas().isEmpty());
    ModGlobal::gDBEstadisticas->reinicia();
}

TEST_F(Inicio, BadItemsAreRefusedWithAMessage) {
    const struct {
        const char* linea;
        int codigo;
        const char* mensaje;
    } casos[] = {
        {"@server=s; @usuario=u; @Plataforma=DB2", CodigoInicio::DatosIncompletos, "DB2"},
        {"@server=s; @usuario=u; @Puerto=abc", CodigoInicio::DatosIncompletos, "abc"},
        {"@server=s; @usuario=u; @Puerto=70000", CodigoInicio::DatosIncompletos, "70000"},
        {"", CodigoInicio::DatosIncompletos, "@server y @usuario"},
        {"@server=   ; @usuario=u", CodigoInicio::DatosIncompletos, "@server y @usuario"},
        {"@Plataforma=SQLITE", CodigoInicio::DatosIncompletos, "@dbname"},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.linea);
        EXPECT_EQ(IniciaAplicacion(c.linea, ModoInicio::SinDialogo), c.codigo);
        EXPECT_TRUE(MensajeInicio().contains(c.mensaje)) << MensajeInicio().toStdString();
        EXPECT_FALSE(DB_Dll::instancia().gOpenFlag);
    }
    // With the dialog mode but no dialog installed: it counts as cancelled.
    EXPECT_EQ(IniciaAplicacion("", ModoInicio::ConDialogo), CodigoInicio::SinConexion);
    EXPECT_TRUE(op_.preguntas().isEmpty());
}
