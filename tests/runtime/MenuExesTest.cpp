#include "runtime/MenuExes.h"
#include "db/DB_Dll.h"
#include "runtime/ValoresGlobales.h"
#include "OperadorGuion.h"
#include "utility_library/Programa.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

namespace {
// A program folder (with a blank in its path) holding the recorder under
// the names the tests start.
class MenuExesPrueba : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(raiz_.isValid());
        carpeta_ = QDir(raiz_.path()).filePath("programa con blancos");
        ASSERT_TRUE(QDir().mkpath(carpeta_));
        for (const char* nombre : {"V_MA_CLIENTES", "V_TA_RUBROS"}) {
            ASSERT_TRUE(QFile::copy(REGISTRA_LINEA, QDir(carpeta_).filePath(nombre)));
        }
        viejaCarpeta_ = Programa::carpeta();
        Programa::fijaCarpeta(carpeta_);
        viejoTemp_ = qgetenv("temp");
        qputenv("temp", raiz_.path().toLocal8Bit());
        DB_Dll& db = DB_Dll::instancia();
        db.gServidor = "SRV01";
        db.gDBName = "COMERCIAL";
        db.gUsuario = "VENTAS";
        db.gUserPassWord = "";
        ModGlobal::gUsuarioLogeado = "VENTAS";
        ModGlobal::gCaja = "1";
        fijaOperador(&op_);
    }
    void TearDown() override {
        fijaOperador(nullptr);
        Programa::fijaCarpeta(viejaCarpeta_);
        qputenv("temp", viejoTemp_);
    }
    // The recorded arguments of a program, waiting for it to write them.
    QStringList registro(const QString& nombre) {
        const QString ruta = QDir(carpeta_).filePath(nombre + ".args");
        QElapsedTimer t;
        t.start();
        while (!QFile::exists(ruta) && t.elapsed() < 10000) {
            QThread::msleep(20);
        }
        QFile f(ruta);
        if (!f.open(QIODevice::ReadOnly)) {
            return {};
        }
        QStringList l = QString::fromUtf8(f.readAll()).split('\n');
        l.removeLast();
        QFile::remove(ruta);
        return l;
    }

    // Beside the test binary: a temporary folder may forbid running programs.
    QTemporaryDir raiz_{QCoreApplication::applicationDirPath() + "/menuexes-XXXXXX"};
    QString carpeta_, viejaCarpeta_;
    QByteArray viejoTemp_;
    OperadorGuion op_;
};
} // namespace

TEST_F(MenuExesPrueba, StartsTheProgramWithTheSuiteArguments) {
    QString parametro = "1";
    qint64 pid = 0;
    MenuExes("SHELL:V_MA_CLIENTES", parametro, pid);
    EXPECT_NE(pid, 0);
    EXPECT_EQ(registro("V_MA_CLIENTES"),
              (QStringList{"1", " ; @server=SRV01; @dbname=COMERCIAL; @usuario=VENTAS; "
                                "@Password=; @ParametroAdicional=1; quor@ ; @UsuarioLogeado = "
                                "VENTAS; @Caja=1;"}));
    EXPECT_TRUE(op_.preguntas().isEmpty());
}

TEST_F(MenuExesPrueba, PrefixInAnyCaseParameterAfterItsFirstBlank) {
    const struct {
        const char* comando;
        const char* parametro;
        const char* queda;
    } casos[] = {
        {"shell:V_TA_RUBROS", "V_TA_RUBROS", "V_TA_RUBROS"},
        {"Shell:V_TA_RUBROS", "A B C", "B C"},
        {"SHELL:V_TA_RUBROS", "", ""},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.comando);
        QString parametro = c.parametro;
        qint64 pid = 0;
        MenuExes(c.comando, parametro, pid);
        EXPECT_EQ(parametro, c.queda);
        EXPECT_NE(pid, 0);
        const QStringList r = registro("V_TA_RUBROS");
        ASSERT_EQ(r.size(), 2);
        EXPECT_TRUE(r[1].contains(QString("; @ParametroAdicional=") + c.queda + "; quor@ ;"))
            << r[1].toStdString();
    }
}

TEST_F(MenuExesPrueba, NoShellRunsTheParameter) {
    const QString marca = QDir(raiz_.path()).filePath("ejecutado");
    QString parametro = "x;$(touch${IFS}" + marca + ")`touch${IFS}" + marca + "`";
    const QString original = parametro;
    qint64 pid = 0;
    MenuExes("SHELL:V_MA_CLIENTES", parametro, pid);
    const QStringList r = registro("V_MA_CLIENTES");
    ASSERT_EQ(r.size(), 2);
    EXPECT_TRUE(r[1].contains(original));
    EXPECT_FALSE(QFile::exists(marca));
}

TEST_F(MenuExesPrueba, FullPathCommand) {
    QString parametro = "1";
    qint64 pid = 0;
    MenuExes("SHELL:" + QDir(carpeta_).filePath("V_TA_RUBROS"), parametro, pid);
    EXPECT_NE(pid, 0);
    EXPECT_EQ(registro("V_TA_RUBROS").size(), 2);
}

TEST_F(MenuExesPrueba, MissingProgram) {
    // Ignore: goes on, nothing started, the operator is told.
    op_.responde(5).responde(1);
    QString parametro = "1";
    qint64 pid = 0;
    MenuExes("SHELL:NO_EXISTE", parametro, pid);
    EXPECT_EQ(pid, 0);
    ASSERT_EQ(op_.preguntas().size(), 2);
    EXPECT_TRUE(op_.preguntas()[0].titulo.contains("MenuExes - "));
    EXPECT_EQ(op_.preguntas()[1].texto,
              "Opcion no Implementada!\rComuniquese con su proveedor de sistemas");
    EXPECT_EQ(op_.preguntas()[1].estilo, 16);
    EXPECT_EQ(op_.preguntas()[1].titulo, QString::fromUtf8("Atención"));
    EXPECT_TRUE(QFile::exists(QDir(raiz_.path()).filePath("KXERR.LOG")));

    // Abort leaves at once; Retry tries again.
    op_.limpia();
    op_.responde(4).responde(3);
    MenuExes("SHELL:NO_EXISTE", parametro, pid);
    EXPECT_EQ(pid, 0);
    EXPECT_EQ(op_.preguntas().size(), 2);
    EXPECT_TRUE(op_.sinGuion().isEmpty());
}
