#include "db/Conexion.h"
#include "BaseDePrueba.h"
#include "OperadorGuion.h"
#include "db/DB_Dll.h"
#include "utility_library/Programa.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// Restores the dialog seam and the operator after each test.
class ConexionSinServidor : public ::testing::Test {
protected:
    void SetUp() override {
        fijaOperador(&operador_);
        carpetaAnterior_ = Programa::carpeta();
        Programa::fijaCarpeta(carpeta_.path());
    }
    void TearDown() override {
        DB_Dll::fijaDialogoConexion(nullptr);
        fijaOperador(nullptr);
        DB_Dll::instancia().reinicia();
        Programa::fijaCarpeta(carpetaAnterior_);
    }
    OperadorGuion operador_;
    QTemporaryDir carpeta_;
    QString carpetaAnterior_;
};

TEST_F(ConexionSinServidor, TextosDeConexion) {
    DB_Dll db;
    db.gServidor = QStringLiteral("SRV\\INST");
    db.gDBName = QStringLiteral("VENTAS");
    db.gUsuario = QStringLiteral("sa");
    db.gUserPassWord = QStringLiteral("clave");
    db.gProveedor = QStringLiteral("OraOLEDB.Oracle.1"); // never written into the text
    EXPECT_EQ(
        db.ArmaConnString(),
        QStringLiteral("PROVIDER=SQLOLEDB;Server=SRV\\INST;Database =VENTAS;UId=sa;Pwd=clave;"));
    db.gExtended = QStringLiteral("Network Library=DBMSSOCN;");
    EXPECT_TRUE(
        db.ArmaConnString().endsWith(QStringLiteral("Pwd=clave;Network Library=DBMSSOCN;")));
    db.gServidor = QStringLiteral("ORA#1");
    EXPECT_EQ(db.ArmaConnString(), QStringLiteral("Provider=OraOLEDB.Oracle.1;Data Source=VENTAS;"
                                                  "User Id=sa;Password=clave;"));
    EXPECT_EQ(db.plataformaEfectiva(), Plataforma::Oracle);
    db.gServidor = QStringLiteral("pg");
    db.gPlataforma = Plataforma::PostgreSql;
    db.gPuerto = 5433;
    const QString pg = db.ArmaConnString();
    EXPECT_EQ(pg, QStringLiteral("PROVIDER=POSTGRESQL;Server=pg;Database =VENTAS;UId=sa;Pwd=clave;"
                                 "Port=5433;"));
    db.gPlataforma = Plataforma::Sqlite;
    db.gPuerto = 0;
    // Neither of ours may look like Oracle to the rewriting.
    EXPECT_FALSE(db.ArmaConnString().contains(QStringLiteral("ORACLE"), Qt::CaseInsensitive));
    EXPECT_FALSE(pg.contains(QStringLiteral("ORACLE"), Qt::CaseInsensitive));

    // The ODBC driver's own texts.
    DatosConexion d;
    d.plataforma = Plataforma::SqlServer;
    d.servidor = QStringLiteral("srv");
    d.baseDatos = QStringLiteral("VENTAS");
    d.usuario = QStringLiteral("sa");
    d.clave = QStringLiteral("x");
    EXPECT_EQ(Conexion::textoOdbc(d),
              QStringLiteral("DRIVER={FreeTDS};SERVER=srv;PORT=1433;DATABASE=VENTAS;UID=sa;PWD=x;"
                             "TDS_Version=7.4;ClientCharset=UTF-8;"));
    d.controladorOdbc = QStringLiteral("PostgreSQL Unicode");
    d.puerto = 5432;
    EXPECT_EQ(Conexion::textoOdbc(d), QStringLiteral("DRIVER={PostgreSQL Unicode};SERVER=srv;"
                                                     "PORT=5432;DATABASE=VENTAS;UID=sa;PWD=x;"));
}

TEST_F(ConexionSinServidor, ProveedorPorDefectoYArchivoSqliteRelativo) {
    QFile f(carpeta_.filePath(QStringLiteral("demo.db")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    DB_Dll& db = DB_Dll::instancia();
    db.gPlataforma = Plataforma::Sqlite;
    db.gServidor = QStringLiteral("cualquiera");
    db.gDBName = QStringLiteral("demo.db");
    db.gUsuario = QStringLiteral("OPERADOR");
    db.OpenServerADODB(false, 3, QString(), true, true);
    EXPECT_TRUE(db.gOpenFlag);
    EXPECT_EQ(db.gProveedor, QStringLiteral("SQLOLEDB"));
    ASSERT_TRUE(db.gCnn && db.gCnn->abierta());
    EXPECT_EQ(db.gCnn->ConnectionString, db.gConnString);
    EXPECT_TRUE(operador_.preguntas().isEmpty());
    // Opening the open connection again closes it once and reopens.
    db.OpenServerADODB(false, 3, QString(), true, false);
    EXPECT_TRUE(db.gOpenFlag);
    EXPECT_TRUE(db.gCnn->abierta());
}

TEST_F(ConexionSinServidor, ArchivoSqliteInexistenteEsErrorDeConexion) {
    DB_Dll& db = DB_Dll::instancia();
    db.gPlataforma = Plataforma::Sqlite;
    db.gServidor = QStringLiteral("x");
    db.gDBName = QStringLiteral("no_existe.db");
    db.gUsuario = QStringLiteral("OPERADOR");
    db.OpenServerADODB(false, 3, QString(), true, false);
    EXPECT_FALSE(db.gOpenFlag);
    EXPECT_FALSE(QFile::exists(carpeta_.filePath(QStringLiteral("no_existe.db"))));
    // With the error box: the provider's error, then "No".
    operador_.responde(Operador::No);
    db.OpenServerADODB(false, 3, QString(), true, true);
    EXPECT_FALSE(db.gOpenFlag);
    ASSERT_EQ(operador_.preguntas().size(), 1);
    const auto& p = operador_.preguntas().first();
    EXPECT_EQ(p.titulo, QStringLiteral(" Error de Conexion a Base de Datos"));
    EXPECT_EQ(p.estilo, Operador::SiNo + Operador::IconoCritico);
    // The engine's own fault and advice, in Spanish; nothing of SQL Server.
    EXPECT_TRUE(p.texto.startsWith(QString::fromUtf8("No se encontró o no se pudo abrir el archivo "
                                                     "de base de datos SQLite \"no_existe.db\"")))
        << p.texto.toStdString();
    EXPECT_TRUE(p.texto.contains("Detalle: unable to open database file")) << p.texto.toStdString();
    EXPECT_FALSE(p.texto.contains("QUORLIN"));
    EXPECT_FALSE(p.texto.contains("inicio de sesion"));
    // The demo builder may ask for the file to be created.
    db.gCreaArchivo = true;
    db.OpenServerADODB(false, 3, QString(), true, false);
    EXPECT_TRUE(db.gOpenFlag);
    EXPECT_TRUE(QFile::exists(carpeta_.filePath(QStringLiteral("no_existe.db"))));
}

// A PostgreSQL database that does not exist: the box names it and the
// server, in Spanish, with PostgreSQL's advice only, in few enough lines to
// be shown whole (a long text is cut as a list, "y N más").
TEST_F(ConexionSinServidor, PostgreSqlSinLaBaseLaNombra) {
    if (!hayPostgreSql()) {
        GTEST_SKIP() << "sin servidor PostgreSQL";
    }
    BaseDePrueba servidor(Plataforma::PostgreSql);
    DB_Dll& db = DB_Dll::instancia();
    db.gPlataforma = Plataforma::PostgreSql;
    db.gServidor = servidor.servidor();
    db.gPuerto = servidor.puerto();
    db.gUsuario = servidor.usuario();
    db.gDBName = QStringLiteral("nosuchdb");
    operador_.responde(Operador::No);
    db.OpenServerADODB(false, 3, QString(), true, true);
    EXPECT_FALSE(db.gOpenFlag);
    ASSERT_EQ(operador_.preguntas().size(), 1);
    const QString t = operador_.preguntas().first().texto;
    EXPECT_TRUE(t.startsWith(QStringLiteral("La base de datos \"nosuchdb\" no existe en el "
                                            "servidor PostgreSQL %1, puerto %2.")
                                 .arg(servidor.servidor())
                                 .arg(servidor.puerto())))
        << t.toStdString();
    EXPECT_TRUE(t.contains("pg_hba.conf")) << t.toStdString();
    for (const char* ajeno : {"QUORLIN", "instancia", "inicio de sesion", "SQL Server", "más"}) {
        EXPECT_FALSE(t.contains(QString::fromUtf8(ajeno))) << ajeno << "\n" << t.toStdString();
    }
    QString lineas = t;
    lineas.replace("\r\n", "\n").replace('\r', '\n');
    EXPECT_LE(lineas.split('\n').size(), 13) << t.toStdString();
}

// SQL Server goes through ODBC and FreeTDS, Oracle through an ODBC driver
// that is not installed here: both fail as connection errors with the
// provider's message, never as a crash.
TEST_F(ConexionSinServidor, SqlServerYOracleSinServidor) {
    DB_Dll& db = DB_Dll::instancia();
    db.gServidor = QStringLiteral("127.0.0.1,1"); // nothing listens on port 1
    db.gDBName = QStringLiteral("VENTAS");
    db.gUsuario = QStringLiteral("sa");
    db.gUserPassWord = QStringLiteral("x");
    db.OpenServerADODB(false, 3, QString(), true, false);
    EXPECT_FALSE(db.gOpenFlag);
    EXPECT_EQ(
        db.gConnString,
        QStringLiteral("PROVIDER=SQLOLEDB;Server=127.0.0.1,1;Database =VENTAS;UId=sa;Pwd=x;"));
    ASSERT_EQ(db.gCnn->Errors.size(), 1);
    EXPECT_EQ(db.gCnn->Errors.first().numero, NumerosADO::FalloNoEspecificado);
    EXPECT_FALSE(db.gCnn->Errors.first().descripcion.isEmpty());
    // The FreeTDS driver itself answered (it is installed), not the driver manager.
    EXPECT_FALSE(db.gCnn->Errors.first().descripcion.contains(QStringLiteral("open lib")))
        << db.gCnn->Errors.first().descripcion.toStdString();
    EXPECT_EQ(db.datosConexion().puerto, 1);
    EXPECT_EQ(db.datosConexion().servidor, QStringLiteral("127.0.0.1"));

    db.gServidor = QStringLiteral("#ORA");
    operador_.responde(Operador::No);
    db.OpenServerADODB(false, 3, QString(), true, true);
    EXPECT_FALSE(db.gOpenFlag);
    ASSERT_EQ(operador_.preguntas().size(), 1);
    EXPECT_TRUE(operador_.preguntas()[0].texto.contains(QStringLiteral("Oracle")))
        << operador_.preguntas()[0].texto.toStdString();
    // Statements on a connection that never opened do not raise either.
    EXPECT_NO_THROW(db.EjecutaConsultaSQL(QStringLiteral("DELETE FROM X")));
}

TEST_F(ConexionSinServidor, DialogoDeConexion) {
    DB_Dll& db = DB_Dll::instancia();
    db.gServidor = QStringLiteral("srv");
    db.gUsuario = QStringLiteral("u");
    // No dialog, or a cancelled one: nothing opens and nothing is shown.
    db.OpenServerADODB(true, 3, QString(), true, true);
    EXPECT_FALSE(db.gOpenFlag);
    QList<DialogoConexion> vistos;
    DB_Dll::fijaDialogoConexion([&](DialogoConexion& d) {
        vistos << d;
        d.aceptar = false;
    });
    db.OpenServerADODB(true, 3, QString(), true, true);
    EXPECT_FALSE(db.gOpenFlag);
    ASSERT_EQ(vistos.size(), 1);
    EXPECT_EQ(vistos[0].servidor, QStringLiteral("srv"));
    EXPECT_EQ(vistos[0].indicePlataforma, 0);
    EXPECT_FALSE(db.gCnn && db.gCnn->abierta());
    EXPECT_TRUE(operador_.preguntas().isEmpty());

    // Choosing Oracle puts "#" in front of the server; the text becomes Oracle's.
    DB_Dll::fijaDialogoConexion([&](DialogoConexion& d) {
        d.indicePlataforma = 1;
        d.servidor = QStringLiteral("orasrv");
        d.dbName = QStringLiteral("XE");
        d.aceptar = true;
    });
    db.OpenServerADODB(true, 3, QString(), true, false);
    EXPECT_EQ(db.gServidor, QStringLiteral("#orasrv"));
    EXPECT_EQ(db.gProveedor, QStringLiteral("OraOLEDB.Oracle.1"));
    EXPECT_TRUE(
        db.gConnString.startsWith(QStringLiteral("Provider=OraOLEDB.Oracle.1;Data Source=XE;")));
    EXPECT_FALSE(db.gOpenFlag); // no Oracle driver here: a connection error, quietly

    // Choosing SQLite: the file is the database name.
    QFile f(carpeta_.filePath(QStringLiteral("elegida.db")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    DB_Dll::fijaDialogoConexion([&](DialogoConexion& d) {
        d.indicePlataforma = 3;
        d.dbName = QStringLiteral("elegida.db");
        d.aceptar = true;
    });
    db.OpenServerADODB(true, 3, QString(), true, true);
    EXPECT_TRUE(db.gOpenFlag);
    EXPECT_EQ(db.gPlataforma, Plataforma::Sqlite);
    EXPECT_EQ(db.gServidor, QStringLiteral("orasrv"));
    EXPECT_EQ(db.gProveedor, QStringLiteral("SQLOLEDB"));
}

// The administrator check reads "ta_usuarios" when the database has it.
class Administrador : public PruebaPorMotor {};

TEST_P(Administrador, SeLeeDeTaUsuarios) {
    OperadorGuion op;
    fijaOperador(&op);
    DB_Dll& db = DB_Dll::instancia();
    // Without the table the flag keeps its value.
    db.gEsAdmin = true;
    db.OpenServerADODB(false, 3, QString(), true, true);
    EXPECT_TRUE(db.gEsAdmin);
    db.gEsAdmin = false;
    db.OpenServerADODB(false, 3, QString(), true, true);
    EXPECT_FALSE(db.gEsAdmin);

    base().ejecutaDirecto(QStringLiteral("CREATE TABLE TA_USUARIOS (nombre ") +
                          base().tipoTexto(20) + QStringLiteral(", Administrador integer)"));
    base().ejecutaDirecto(QStringLiteral(
        "INSERT INTO TA_USUARIOS VALUES ('JEFE', 1), (' cajero ', 0), ('O''Hara', 1)"));
    // The lookup: trimmed, case-insensitive, apostrophes safe, missing row = not admin.
    const std::pair<const char*, bool> casos[] = {
        {"jefe ", true}, {"CAJERO", false}, {"nadie", false}, {"O'Hara", true}};
    for (const auto& [usuario, admin] : casos) {
        EXPECT_EQ(db.DatosTabla(QStringLiteral("ta_usuarios"), QString::fromUtf8(usuario),
                                QStringLiteral("Administrador"),
                                QStringLiteral("nombre")) == QStringLiteral("1"),
                  admin)
            << usuario;
    }
    // The connection's own user.
    const QString yo = db.gUsuario;
    base().ejecutaDirecto(QStringLiteral("INSERT INTO TA_USUARIOS VALUES ('") + yo +
                          QStringLiteral("', 1)"));
    db.OpenServerADODB(false, 3, QString(), true, true);
    EXPECT_TRUE(db.gOpenFlag);
    EXPECT_TRUE(db.gEsAdmin);
    base().ejecutaDirecto(
        QStringLiteral("UPDATE TA_USUARIOS SET Administrador = 0 WHERE nombre = '") + yo +
        QStringLiteral("'"));
    db.OpenServerADODB(false, 3, QString(), true, true);
    EXPECT_FALSE(db.gEsAdmin);
    // Without the error box every user of a database with the table is an administrator.
    db.OpenServerADODB(false, 3, QString(), true, false);
    EXPECT_TRUE(db.gEsAdmin);
    EXPECT_TRUE(op.sinGuion().isEmpty()) << op.sinGuion().join('\n').toStdString();
    fijaOperador(nullptr);
}

// A wrong database name is a server's error: PostgreSQL only.
TEST(ConexionPostgres, ErrorDeConexionYReintentoConElDialogo) {
    if (!hayPostgreSql()) {
        GTEST_SKIP() << "no PostgreSQL server configured (TARVELO_PG_HOST unset)";
    }
    BaseDePrueba base(Plataforma::PostgreSql);
    ASSERT_TRUE(base.creada());
    OperadorGuion op;
    fijaOperador(&op);
    DB_Dll& db = DB_Dll::instancia();
    db.reinicia();
    base.configura(db);
    db.gDBName = QStringLiteral("no_existe_esta_base");
    QList<DialogoConexion> vistos;
    DB_Dll::fijaDialogoConexion([&](DialogoConexion& d) {
        vistos << d;
        d.dbName = base.nombre(); // the operator corrects the name
        d.indicePlataforma = 2;
        d.puerto = base.puerto();
        d.aceptar = true;
    });
    op.responde(Operador::Si);
    db.OpenServerADODB(false, 3, QString(), true, true);
    DB_Dll::fijaDialogoConexion(nullptr);
    EXPECT_TRUE(db.gOpenFlag);
    EXPECT_TRUE(db.gCnn->abierta());
    ASSERT_EQ(op.preguntas().size(), 1);
    EXPECT_TRUE(op.preguntas()[0].texto.startsWith(
        QStringLiteral("La base de datos \"no_existe_esta_base\" no existe")))
        << op.preguntas()[0].texto.toStdString();
    EXPECT_TRUE(op.preguntas()[0].texto.contains(QStringLiteral("no_existe_esta_base")));
    // The dialog came back with the values last entered.
    ASSERT_EQ(vistos.size(), 1);
    EXPECT_EQ(vistos[0].dbName, QStringLiteral("no_existe_esta_base"));
    EXPECT_EQ(vistos[0].indicePlataforma, 2);
    EXPECT_TRUE(db.gCnn->Errors.isEmpty());
    fijaOperador(nullptr);
    db.reinicia();
}

INSTANTIATE_TEST_SUITE_P(Motores, Administrador, valoresMotores(), nombreMotor);

} // namespace

namespace {

// The program ends with its connection still open (closing the window ends the
// process at once): leaving must not crash on the way out.
TEST(SalidaDelPrograma, ConLaConexionAbiertaTerminaLimpio) {
    QTemporaryDir carpeta;
    const QString archivo = carpeta.filePath(QStringLiteral("salida.db"));
    QFile f(archivo);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    EXPECT_EXIT(
        {
            DB_Dll& db = DB_Dll::instancia();
            db.gPlataforma = Plataforma::Sqlite;
            db.gServidor = QStringLiteral("local");
            db.gDBName = archivo;
            db.OpenServerADODB(false, 3, QString(), true, false);
            std::exit(db.gOpenFlag ? 0 : 3);
        },
        ::testing::ExitedWithCode(0), "");
}

} // namespace
