#include "DialogoModal.h"
#include "connection_dialog/BasesRegistradas.h"
#include "connection_dialog/DialogoConexionQt.h"
#include "connection_dialog/ModeloAcceso.h"
#include "connection_dialog/VentanaConexion.h"
#include "db/DB_Dll.h"
#include "OperadorGuion.h"
#include "utility_library/Programa.h"
#include "utility_library/QlCifrado.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <gtest/gtest.h>

namespace {
// A program folder of its own, a scripted operator and the main connection
// reset before and after.
class Acceso : public ::testing::Test {
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
        DB_Dll::fijaDialogoConexion(nullptr);
        fijaOperador(nullptr);
        qputenv("temp", viejoTemp_);
        Programa::fijaCarpeta(vieja_);
    }
    QString ruta(const QString& nombre) const { return QDir(dir_.path()).filePath(nombre); }
    void escribe(const QString& nombre, const QByteArray& contenido) {
        QFile f(ruta(nombre));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(contenido);
    }
    QByteArray lee(const QString& nombre) {
        QFile f(ruta(nombre));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    // An SQLite database file in the program folder.
    void creaSqlite(const QString& nombre) {
        {
            QSqlDatabase d = QSqlDatabase::addDatabase("QSQLITE", "acceso-prueba");
            d.setDatabaseName(ruta(nombre));
            ASSERT_TRUE(d.open());
            QSqlQuery(d).exec("CREATE TABLE T (X INTEGER)");
            d.close();
        }
        QSqlDatabase::removeDatabase("acceso-prueba");
    }

    // Beside the test binary: a temporary folder may forbid running programs.
    QTemporaryDir dir_{QCoreApplication::applicationDirPath() + "/acceso-XXXXXX"};
    QString vieja_;
    QByteArray viejoTemp_;
    OperadorGuion op_;
};

} // namespace

TEST(BasesRegistradas, CommaSeparatedRules) {
    const struct {
        const char* texto;
        QStringList campos;
    } casos[] = {
        {"A,b,c,d,e\r\n", {"A", "b", "c", "d", "e"}},
        {"  A ,  b,c\r\n", {"A", "b", "c"}},
        {"\"x, y\",b\r\n", {"x, y", "b"}},
        {"a,,c\r\n", {"a", "", "c"}},
        {"a,\r\nb", {"a", "", "b"}},
        {"a\r\n\r\n\r\nb\n", {"a", "b"}},
        {"a,b,", {"a", "b", ""}},
        {"", {}},
    };
    for (const auto& c : casos) {
        EXPECT_EQ(BasesRegistradas::Campos(QString::fromLatin1(c.texto)), c.campos) << c.texto;
    }
    EXPECT_EQ(BasesRegistradas::Clave(" srv01\\sql2008 ", " ventas "), "VENTAS / SRV01\\SQL2008");
    EXPECT_EQ(BasesRegistradas::Clave("srv01:1433", "ventas"), "VENTAS / SRV01");
    QString s = " srv01:1500", p;
    EXPECT_TRUE(BasesRegistradas::SeparaPuerto(s, p));
    EXPECT_EQ(s, "SRV01");
    EXPECT_EQ(p, "1500");
}

TEST_F(Acceso, LoadShowsTheFirstEntryWithItsPort) {
    escribe("BASES.TXT", "VENTAS / SRV01,ventas,ventas,X1,srv01:1500\r\n"
                         "COMPRAS / SRV02,compras,compras,X2,SRV02\r\n");
    ModeloAcceso m;
    m.Carga();
    EXPECT_EQ(m.lstBases, (QStringList{"VENTAS / SRV01", "COMPRAS / SRV02"}));
    EXPECT_EQ(m.indiceLista, 0);
    EXPECT_EQ(m.txtServidor, "SRV01");
    EXPECT_EQ(m.txtPuerto, "1500");
    EXPECT_EQ(m.txtDbName, "ventas");
    // Emptied by the entry, then the user box gets its hint back.
    EXPECT_EQ(m.txtUserId, "Ingrese el usuario");
    EXPECT_EQ(m.txtUserPassword, "");
    // An entry without a port leaves the last port shown.
    m.indiceLista = 1;
    m.AsignarDatosBase();
    EXPECT_EQ(m.txtServidor, "SRV02");
    EXPECT_EQ(m.txtPuerto, "1500");
    // Names are found exactly, letter case included.
    m.encontradoServidor.clear();
    m.DatosBase("ventas / srv01");
    EXPECT_EQ(m.encontradoServidor, "");
    m.DatosBase(" VENTAS / SRV01 ");
    EXPECT_EQ(m.encontradoServidor, "srv01:1500");
}

TEST_F(Acceso, WrongFieldCountsShiftTheLaterRecords) {
    escribe("BASES.TXT", "N1,db1,u1,p1\r\nN2,db2,u2,p2,s2\r\n\"N3, con coma\",db3,u3,p3,s3\r\n");
    ModeloAcceso m;
    m.llenarlist();
    // The short first line swallows the next name; the file is not changed.
    EXPECT_EQ(m.lstBases, (QStringList{"N1", "db2", "db3"}));
    EXPECT_EQ(lee("BASES.TXT"),
              "N1,db1,u1,p1\r\nN2,db2,u2,p2,s2\r\n\"N3, con coma\",db3,u3,p3,s3\r\n");
}

TEST_F(Acceso, MissingOrUnreadableListLeavesTheBoxesAlone) {
    ModeloAcceso m;
    m.txtServidor = "SRV";
    m.llenarlist();
    EXPECT_TRUE(m.lstBases.isEmpty());
    EXPECT_EQ(m.txtServidor, "SRV");
    QDir().mkpath(ruta("BASES.TXT")); // a folder by that name
    m.llenarlist();
    EXPECT_TRUE(m.lstBases.isEmpty());
    QDir().rmdir(ruta("BASES.TXT"));
    escribe("BASES.TXT", QByteArray("\x00\xff\r\"sin cierre,\x01", 14));
    m.llenarlist(); // garbage: no crash, whatever names it holds
    EXPECT_TRUE(op_.sinGuion().isEmpty());
}

TEST_F(Acceso, HintsGoIntoBlankBoxesAndAreReturned) {
    VentanaConexion f;
    f.Carga();
    EXPECT_EQ(f.TxtDbName->text(), "ingrese el nombre de la base de datos");
    EXPECT_EQ(f.TxtServidor->text(), "ingrese el nombre del servidor e instancia");
    EXPECT_EQ(f.TxtUserId->text(), "Ingrese el usuario");
    EXPECT_EQ(f.TxtPuerto->text(), "1433");
    EXPECT_EQ(f.TxtDbName->palette().color(QPalette::Text), QColor(2, 0, 0));
    EXPECT_EQ(f.TxtUserPassword->echoMode(), QLineEdit::Password);
    EXPECT_EQ(f.CboPlataformaDB->count(), 4);
    EXPECT_EQ(f.CboPlataformaDB->itemText(0), "SQL Server");
    EXPECT_EQ(f.CboPlataformaDB->itemText(1), "ORACLE");
    // Emptying a box brings its hint back, selected whole.
    f.TxtServidor->setText("SRV");
    f.TxtServidor->clear();
    EXPECT_EQ(f.TxtServidor->text(), "ingrese el nombre del servidor e instancia");
    EXPECT_EQ(f.TxtServidor->selectedText(), f.TxtServidor->text());
    f.TxtServidor->setText("SRV01");
    f.bcAceptar->click();
    EXPECT_TRUE(f.Aceptar());
    EXPECT_EQ(f.modelo().txtServidor, "SRV01");
    EXPECT_EQ(f.modelo().txtDbName, "ingrese el nombre de la base de datos");
}

TEST_F(Acceso, DoubleClickAcceptsTheEntry) {
    escribe("BASES.TXT", "A / S1,a,a,X,s1\r\nB / S2,b,b,X,s2:5432\r\n");
    VentanaConexion f;
    f.Carga();
    ASSERT_EQ(f.lstBases->count(), 2);
    QListWidgetItem* segundo = f.lstBases->item(1);
    Q_EMIT f.lstBases->itemDoubleClicked(segundo);
    EXPECT_TRUE(f.Aceptar());
    EXPECT_EQ(f.result(), QDialog::Accepted);
    EXPECT_EQ(f.modelo().txtServidor, "S2");
    EXPECT_EQ(f.modelo().txtDbName, "b");
    EXPECT_EQ(f.TxtPuerto->text(), "5432");
}

TEST_F(Acceso, DialogExchangeCancelLeavesTheConnectionClosed) {
    InstalaDialogoConexion();
    DB_Dll& db = DB_Dll::instancia();
    db.gServidor = "SRV01";
    alAparecer([](QWidget* w) {
        auto* f = qobject_cast<VentanaConexion*>(w);
        ASSERT_NE(f, nullptr);
        EXPECT_EQ(f->TxtServidor->text(), "SRV01"); // the caller's value
        f->bcCancelar->click();
    });
    db.OpenServerADODB(true, 3, QString(), true, true);
    EXPECT_FALSE(db.gOpenFlag);
    EXPECT_TRUE(!db.gCnn || !db.gCnn->abierta());
    EXPECT_TRUE(op_.preguntas().isEmpty());
}

TEST_F(Acceso, DialogExchangeAcceptOpensWhatWasTyped) {
    creaSqlite("demo.db");
    InstalaDialogoConexion();
    DB_Dll& db = DB_Dll::instancia();
    alAparecer([this](QWidget* w) {
        auto* f = qobject_cast<VentanaConexion*>(w);
        ASSERT_NE(f, nullptr);
        f->CboPlataformaDB->setCurrentIndex(3);
        f->TxtDbName->setText(ruta("demo.db"));
        f->TxtUserId->setText("OPERADOR");
        f->bcAceptar->click();
    });
    db.OpenServerADODB(true, 3, QString(), true, true);
    EXPECT_TRUE(db.gOpenFlag);
    ASSERT_TRUE(db.gCnn);
    EXPECT_TRUE(db.gCnn->abierta());
    EXPECT_EQ(db.gPlataforma, Plataforma::Sqlite);
    EXPECT_EQ(db.gUsuario, "OPERADOR");
}

TEST_F(Acceso, RegisteringAppendsOnceAndRefusesDuplicates) {
    creaSqlite("demo.db");
    escribe("BASES.TXT", "OTRA / S,otra,otra,X,s"); // hand-edited, no final line end
    // "ODBC.exe" beside the program is started with the new connection.
    ASSERT_TRUE(QFile::copy(REGISTRA_LINEA, ruta("ODBC.exe")));
    ModeloAcceso m;
    m.Carga();
    m.indicePlataforma = 3;
    m.txtServidor = "  srv01:1433 ";
    m.txtDbName = " demo.db ";
    m.Registrar();
    EXPECT_EQ(lee("BASES.TXT"), "OTRA / S,otra,otra,X,s\r\nDEMO.DB / SRV01,demo.db,demo.db," +
                                    QlUtil::Encripta("demo.db").toLatin1() + ",srv01:1433\r\n");
    EXPECT_EQ(m.lstBases, (QStringList{"OTRA / S", "DEMO.DB / SRV01"}));
    EXPECT_TRUE(op_.preguntas().isEmpty());
    EXPECT_FALSE(DB_Dll::instancia().gCnn && DB_Dll::instancia().gCnn->abierta());
    QElapsedTimer t;
    t.start();
    while (!QFile::exists(ruta("ODBC.exe.args")) && t.elapsed() < 10000) {
        QThread::msleep(20);
    }
    EXPECT_EQ(lee("ODBC.exe.args"), "1\nServer=srv01:1433;DB=;\n");

    // The same key again: only the notice.
    const QByteArray antes = lee("BASES.TXT");
    m.txtServidor = "SRV01";
    m.txtDbName = "DEMO.DB";
    m.Registrar();
    EXPECT_EQ(lee("BASES.TXT"), antes);
    ASSERT_EQ(op_.preguntas().size(), 1);
    EXPECT_EQ(op_.preguntas()[0].texto, "La conexion que intenta registrar ya existe ");
    EXPECT_EQ(op_.preguntas()[0].titulo, "Atencion");
}

TEST_F(Acceso, RegisteringAConnectionThatDoesNotOpenWritesNothing) {
    ModeloAcceso m;
    m.indicePlataforma = 3;
    m.txtServidor = "srv";
    m.txtDbName = "no_existe.db";
    op_.respondeSiempre(7); // "No" to trying again
    m.Registrar();
    EXPECT_FALSE(QFile::exists(ruta("BASES.TXT")));
    EXPECT_FALSE(QFile::exists(ruta("no_existe.db")));
    ASSERT_FALSE(op_.preguntas().isEmpty());
    EXPECT_EQ(op_.preguntas().last().texto,
              "NO SE PUDO CONECTAR AL SERVIDOR srv VERIFIQUE EL NOMBRE DE USUARIO Y PASSWORD "
              "INGRESADO");
}

TEST_F(Acceso, DesktopLauncher) {
    const QString escritorio = ruta("Escritorio");
    const QString r = ModeloAcceso::CreaAccesoDirecto(escritorio, "/opt/kx 1/tarvelo");
    ASSERT_FALSE(r.isEmpty());
#ifndef Q_OS_WIN
    EXPECT_EQ(QFileInfo(r).fileName(), "David Orudar.desktop");
    const QString texto = QString::fromUtf8(lee("Escritorio/David Orudar.desktop"));
    EXPECT_TRUE(texto.contains("Name=David Orudar\n"));
    EXPECT_TRUE(texto.contains("Exec=\"/opt/kx 1/tarvelo\"\n"));
    EXPECT_TRUE(QFileInfo(r).isExecutable());
    // Made again, it is replaced.
    EXPECT_EQ(ModeloAcceso::CreaAccesoDirecto(escritorio, "/otro"), r);
    EXPECT_TRUE(
        QString::fromUtf8(lee("Escritorio/David Orudar.desktop")).contains("Exec=\"/otro\""));
#endif
}
