#include "BaseDePrueba.h"
#include "runtime/Configuracion.h"
#include "runtime/ControlAcceso.h"
#include "runtime/ErroresOperador.h"
#include "schema/EsquemaSql.h"
#include "runtime/IniciaAplicacion.h"
#include "runtime/ScriptSql.h"
#include "runtime/ValoresGlobales.h"
#include "schema/EsquemaSql.h"
#include "OperadorGuion.h"
#include "utility_library/Programa.h"
#include "utility_library/QlEquipo.h"
#include "utility_library/QlTexto.h"
#include "utility_library/Reloj.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {
// A fresh database with the suite's tables, a scripted operator, the error log
// in the test's folder and a fixed clock.
class RuntimeBase : public PruebaPorMotor {
protected:
    void SetUp() override {
        PruebaPorMotor::SetUp();
        if (IsSkipped() || HasFatalFailure()) {
            return;
        }
        QSqlDatabase q = db().gCnn->baseQt();
        ASSERT_NO_THROW(EsquemaSql::crea(q));
        viejoTemp_ = qgetenv("temp");
        qputenv("temp", base().carpeta().toLocal8Bit());
        Programa::fijaNombreEjecutable("tarvelo");
        Reloj::fijaAhora(QDateTime(QDate(2026, 3, 4), QTime(5, 7, 9)));
        ModGlobal::gTablaCfg.clear();
        ModGlobal::gUnidadKG.clear();
        ModGlobal::gColorFondo = 0xFFFFFF;
        ModGlobal::gUsuarioLogeado.clear();
        fijaOperador(&op_);
    }
    void TearDown() override {
        fijaOperador(nullptr);
        Reloj::fijaAhora(QDateTime());
        Programa::fijaNombreEjecutable(QString());
        qputenv("temp", viejoTemp_);
        PruebaPorMotor::TearDown();
    }
    void ejecuta(const QString& sql) {
        QString s = sql;
        db().gCnn->Errors.clear();
        db().EjecutaConsultaSQL(s);
        ASSERT_TRUE(db().gCnn->Errors.isEmpty())
            << sql.toStdString() << ": " << db().gCnn->Errors.first().descripcion.toStdString();
    }
    // Rows of a query, columns joined by "|", values trimmed.
    QStringList filas(const QString& sql) {
        Recordset rs;
        QString s = sql;
        db().AbrirRecordset(s, rs);
        QStringList r;
        if (!rs.abierto()) {
            ADD_FAILURE() << "query did not open: " << sql.toStdString();
            return r;
        }
        for (; !rs.Eof(); rs.MoveNext()) {
            QStringList c;
            for (int i = 0; i < rs.CantidadCampos(); ++i) {
                c << QlUtil::NoNulo(rs.Campo(i)).trimmed();
            }
            r << c.join('|');
        }
        db().CierraRecordset(rs);
        return r;
    }

    OperadorGuion op_;
    QByteArray viejoTemp_;
};
} // namespace

TEST_P(RuntimeBase, CfgReadsKeysAndMissingKeyIsOneBlank) {
    ejecuta(
        "INSERT INTO TA_CONFIGURACION (CLAVE, VALOR, valoraux) VALUES ('CFONDO', '255', 'aux')");
    ejecuta("INSERT INTO TA_CONFIGURACION (CLAVE, VALOR, valoraux) VALUES ('NULO', NULL, NULL)");
    QString aux = "x";
    EXPECT_EQ(ModGlobal::Cfg("CFondo", &aux), "255");
    EXPECT_EQ(aux, "aux");
    EXPECT_EQ(ModGlobal::Cfg("  cfondo ", &aux), "255"); // trimmed, compared by the database
    EXPECT_EQ(ModGlobal::Cfg("NULO", &aux), "");
    EXPECT_EQ(aux, "");
    aux = "x";
    EXPECT_EQ(ModGlobal::Cfg("NO_EXISTE", &aux), " ");
    EXPECT_EQ(aux, "");
    EXPECT_EQ(ModGlobal::gTablaCfg, "TA_CONFIGURACION");
    EXPECT_TRUE(op_.preguntas().isEmpty());
}

TEST_P(RuntimeBase, CargaConfiguracionKeepsTheValues) {
    ejecuta("INSERT INTO TA_CONFIGURACION (CLAVE, VALOR) VALUES ('SS_CONFIDENCIALIDAD', 'si')");
    ejecuta("INSERT INTO TA_CONFIGURACION (CLAVE, VALOR) VALUES ('UNIDADDEMEDIDA_KG', ' KG ')");
    ejecuta("INSERT INTO TA_CONFIGURACION (CLAVE, VALOR) VALUES ('CFondo', '12632256')");
    ModGlobal::CargaConfiguracion(Programa::carpeta());
    EXPECT_EQ(ModGlobal::gTablaCfg, "ta_configuracion");
    EXPECT_TRUE(db().gConfidencialidad);
    EXPECT_EQ(ModGlobal::gUnidadKG, "KG");
    EXPECT_EQ(ModGlobal::gColorFondo, 0xC0C0C0u);

    // Missing keys: not confidential, empty unit, the default focus colour.
    ejecuta("DELETE FROM TA_CONFIGURACION");
    ModGlobal::CargaConfiguracion(Programa::carpeta());
    EXPECT_FALSE(db().gConfidencialidad);
    EXPECT_EQ(ModGlobal::gUnidadKG, "");
    EXPECT_EQ(ModGlobal::gColorFondo, 0xFFFF00u);
    EXPECT_TRUE(op_.sinGuion().isEmpty());
}

TEST_P(RuntimeBase, CfgOnAMissingTableGivesEmptyTextWithoutCrashing) {
    ejecuta("DROP TABLE TA_CONFIGURACION");
    op_.respondeSiempre(3);
    QString aux = "x";
    EXPECT_EQ(ModGlobal::Cfg("CFondo", &aux), "");
    EXPECT_EQ(aux, "");
    EXPECT_FALSE(op_.preguntas().isEmpty()); // the failure was shown
    // The whole start-up configuration survives it.
    ModGlobal::CargaConfiguracion(Programa::carpeta());
    EXPECT_EQ(ModGlobal::gColorFondo, 0xFFFF00u);
    EXPECT_TRUE(db().gOpenFlag);
}

TEST_P(RuntimeBase, StatisticsKeysReadAndWritten) {
    // The statistics connection pointed at the test database.
    DB_Dll est;
    base().configura(est);
    est.OpenServerADODB(false, 3, QString(), true, false);
    ASSERT_TRUE(est.gOpenFlag);
    DB_Dll* antes = ModGlobal::gDBEstadisticas;
    ModGlobal::gDBEstadisticas = &est;
    EXPECT_EQ(ModGlobal::CfgKX("TimeOut"), " ");
    ModGlobal::GrabaCfgKX(" timeout ", " 0 ", "", false, "BaseDeDatos", true);
    EXPECT_EQ(ModGlobal::CfgKX("TimeOut"), "0");
    ModGlobal::GrabaCfgKX("TimeOut", "90", "", true, "BaseDeDatos", true);
    EXPECT_EQ(ModGlobal::CfgKX("TIMEOUT"), "90");
    EXPECT_EQ(filas("SELECT CLAVE, VALOR, Grupo, PoliticaNegocio FROM TA_CONFIGURACION"),
              QStringList{"TIMEOUT|90|BaseDeDatos|1"});
    ModGlobal::gDBEstadisticas = antes;
    est.reinicia();
    EXPECT_TRUE(op_.preguntas().isEmpty());
}

TEST_P(RuntimeBase, ScriptRunnerCommitsTheWholeList) {
    const QStringList lista{
        "", "INSERT INTO TA_MENU (Clave, Nombre, Proceso) VALUES ('A', 'uno', 'p')", "  ",
        "INSERT INTO TA_MENU (Clave, Nombre, Proceso) VALUES ('B', 'dos', 'p')", ""};
    bool fallo = true;
    qint32 numero = -1;
    QString script, texto;
    LBM_Common::GActualizarDatoScript(lista, fallo, numero, script, texto, true);
    EXPECT_FALSE(fallo);
    EXPECT_EQ(numero, 0);
    EXPECT_EQ(texto, "");
    EXPECT_EQ(script, "BEGIN TRANSACTION \r\r\r" + lista[1] + "\r" + lista[3] + "\r");
    EXPECT_EQ(db().gCnn->nivelTransaccion(), 0);
    EXPECT_EQ(filas("SELECT Clave FROM TA_MENU ORDER BY Clave"), (QStringList{"A", "B"}));
    EXPECT_TRUE(op_.preguntas().isEmpty());
}

TEST_P(RuntimeBase, ScriptRunnerRollsBackEverythingOnAFailingStatement) {
    const QStringList lista{"",
                            "INSERT INTO TA_MENU (Clave, Nombre, Proceso) VALUES ('A', 'uno', 'p')",
                            "", "INSERT INTO TABLA_QUE_NO_EXISTE (X) VALUES ('1')", ""};
    op_.responde(1);
    bool fallo = false;
    qint32 numero = 0;
    QString script, texto;
    LBM_Common::GActualizarDatoScript(lista, fallo, numero, script, texto, true);
    EXPECT_TRUE(fallo);
    EXPECT_NE(numero, 0);
    // The engine's own number and words, one line.
    EXPECT_TRUE(texto.startsWith(QString::number(numero) + " : ")) << texto.toStdString();
    EXPECT_TRUE(texto.contains("tabla_que_no_existe", Qt::CaseInsensitive)) << texto.toStdString();
    EXPECT_TRUE(texto.endsWith("\r\n"));
    EXPECT_EQ(texto.count("\r\n"), 1);
    EXPECT_EQ(db().gCnn->nivelTransaccion(), 0);
    EXPECT_TRUE(filas("SELECT Clave FROM TA_MENU").isEmpty()); // the first insert is gone too

    ASSERT_EQ(op_.preguntas().size(), 1);
    EXPECT_EQ(op_.preguntas()[0].titulo, "Aviso al Operador!");
    EXPECT_EQ(op_.preguntas()[0].estilo, 16);
    EXPECT_EQ(op_.preguntas()[0].texto, texto);

    // The failure is recorded in AUX_ERR, after the rollback.
    const QStringList aux = filas("SELECT Proceso, fecha, Error, Usuario, pc FROM AUX_ERR");
    ASSERT_EQ(aux.size(), 1);
    EXPECT_EQ(aux[0], QString("tarvelo|04/03/26 05:07|%1|%2|%3")
                          .arg(numero)
                          .arg(db().gUsuario, QlEquipo::NombrePC()));
    const QStringList sql = filas("SELECT SQL, Descripcion FROM AUX_ERR");
    ASSERT_EQ(sql.size(), 1);
    EXPECT_EQ(sql[0], script.trimmed() + "|" + texto.trimmed());

    // Without the message flag nobody is asked.
    op_.limpia();
    LBM_Common::GActualizarDatoScript(lista, fallo, numero, script, texto, false);
    EXPECT_TRUE(fallo);
    EXPECT_TRUE(op_.preguntas().isEmpty());
}

TEST_P(RuntimeBase, ScriptRunnerSendsNothingForABlankList) {
    db().gCnn->Close(); // anything sent now would fail
    bool fallo = true;
    qint32 numero = -1;
    QString script = "x", texto = "x";
    LBM_Common::GActualizarDatoScript({"", "   ", ""}, fallo, numero, script, texto, true);
    EXPECT_FALSE(fallo);
    EXPECT_EQ(numero, 0);
    EXPECT_EQ(script, "");
    EXPECT_EQ(texto, "");
    EXPECT_TRUE(op_.preguntas().isEmpty());
}

TEST_P(RuntimeBase, GrabaErrorAuxCutsTheDescriptionTo250) {
    db().gUsuario = "OPERADOR";
    ModGlobal::GrabaErrorAux("SELECT 1", "", 42, QString(300, 'd'));
    ModGlobal::GrabaErrorAux("SELECT 2", "otro", -7, "corta");
    const QStringList r =
        filas("SELECT Proceso, fecha, Error, SQL, Usuario, Descripcion FROM AUX_ERR ORDER BY ID");
    ASSERT_EQ(r.size(), 2);
    EXPECT_EQ(r[0], "tarvelo|04/03/26 05:07|42|SELECT 1|OPERADOR|" + QString(250, 'd'));
    EXPECT_EQ(r[1], "tarvelo|04/03/26 05:07|-7|SELECT 2|OPERADOR|corta");
}

TEST_P(RuntimeBase, AccessLogRows) {
    ejecuta("INSERT INTO TA_MENU (Clave, Nombre, Proceso) VALUES ('M1', 'Generador de novedades', "
            "'C:\\KX\\TARVELO.EXE /X')");
    ejecuta("INSERT INTO TA_MENU (Clave, Nombre, Proceso) VALUES ('M2', 'Otro', 'OTRO.EXE')");
    ejecuta("INSERT INTO TA_TAREAS (USUARIO, TAREA) VALUES ('VENTAS', 'M1')");
    ejecuta("INSERT INTO TA_TAREAS (USUARIO, TAREA) VALUES ('SINDERECHO', 'M2')");
    ejecuta("INSERT INTO TA_TAREAS (USUARIO, TAREA) VALUES ('RELLENO   ', 'M1')");
    ejecuta("INSERT INTO TA_TAREAS (USUARIO, TAREA) VALUES ('O''BRIEN', 'M1')");
    const QString dueno = db().gDBName;
    const struct {
        QString usuario;
        QString tarea;
    } casos[] = {
        {"ventas", "GENERADOR DE NOVEDADES"},
        {"SINDERECHO", ""},
        {"RELLENO", "GENERADOR DE NOVEDADES"}, // stored with trailing blanks
        {"Supervisor Korvex MC", "TARVELO"},
        {dueno, "TARVELO"},
        // User names reach the statement as values, never as SQL.
        {"O'Brien", "GENERADOR DE NOVEDADES"},
        {"X' OR TA_TAREAS.USUARIO <> '", ""},
    };
    const QString pc = QlEquipo::NombrePC().trimmed().toUpper();
    for (const auto& c : casos) {
        SCOPED_TRACE(c.usuario.toStdString());
        ejecuta("DELETE FROM Control_Acceso");
        db().gUsuario = c.usuario;
        ControlAcceso();
        EXPECT_EQ(ModGlobal::gUsuarioLogeado, c.usuario);
        // The log's insert drops apostrophes, as the suite's does.
        const QString guardado = QString(c.usuario).remove('\'').trimmed();
        EXPECT_EQ(filas("SELECT Maquina, Usuario, Formulario, Tarea, Ingreso, NombreUsuario FROM "
                        "Control_Acceso"),
                  QStringList{pc + "|" + guardado.toUpper() + "|TARVELO|" + c.tarea +
                              "|04/03/26 05:07|" + guardado});
    }
    EXPECT_TRUE(op_.preguntas().isEmpty());
}

TEST_P(RuntimeBase, StartUpFromTheSuiteCommandLine) {
    ejecuta("INSERT INTO TA_CONFIGURACION (CLAVE, VALOR) VALUES ('UNIDADDEMEDIDA_KG', 'KG')");
    ejecuta("INSERT INTO ta_usuarios (nombre, Administrador) VALUES ('ADMIN', 1)");
    const bool sqlite = base().plataforma() == Plataforma::Sqlite;
    const QString usuario = sqlite ? QString("admin") : base().usuario();
    if (!sqlite) {
        ejecuta("INSERT INTO ta_usuarios (nombre, Administrador) VALUES ('" + usuario + "', 1)");
    }
    BaseDePrueba::cierra(db());
    QString carpetaConsultas, cadenaConsultas;
    FijaPreparaConsultas([&](const QString& carpeta, const QString& cadena) {
        carpetaConsultas = carpeta;
        cadenaConsultas = cadena;
    });
    const QString linea =
        QString("@server=%1; @dbname=%2; @usuario=%3; @Password=; @ParametroAdicional=; quor@ ; "
                "@UsuarioLogeado = OTRO; @Caja=7; @Plataforma=%4")
            .arg(sqlite ? "" : QString("tcp/%1:%2").arg(base().servidor()).arg(base().puerto()),
                 base().nombre(), usuario, sqlite ? "SQLITE" : "POSTGRESQL");
    ASSERT_EQ(IniciaAplicacion(linea, ModoInicio::SinDialogo), CodigoInicio::Correcto)
        << MensajeInicio().toStdString();
    EXPECT_TRUE(db().gOpenFlag);
    EXPECT_EQ(ModGlobal::gUsuarioLogeado, usuario); // the database user, not "OTRO"
    EXPECT_EQ(ModGlobal::gCaja, "7");
    EXPECT_EQ(ModGlobal::gKXTimeOut, 360);
    EXPECT_EQ(db().gCnn->CommandTimeout, 360);
    EXPECT_EQ(db().gCnn->IsolationLevel, 256);
    EXPECT_EQ(ModGlobal::gTablaCfg, "ta_configuracion");
    EXPECT_EQ(ModGlobal::gUnidadKG, "KG");
    EXPECT_EQ(ModGlobal::gColorFondo, 0xFFFF00u);
    EXPECT_TRUE(db().gEsAdmin);
    EXPECT_EQ(ModGlobal::gDsnReportes, "DSN=" + base().nombre() + "; UID=" + usuario + "; PWD=");
    EXPECT_EQ(filas("SELECT Usuario, Formulario FROM Control_Acceso"),
              QStringList{usuario.toUpper() + "|TARVELO"});
    FijaPreparaConsultas(nullptr);
    EXPECT_EQ(carpetaConsultas, QDir(base().carpeta()).path() + "/");
    EXPECT_EQ(cadenaConsultas, db().gConnString);
    const QString informe = InformeInicio();
    EXPECT_TRUE(informe.contains("Conexion: abierta")) << informe.toStdString();
    EXPECT_TRUE(informe.contains("Administrador: Si"));
    EXPECT_TRUE(informe.contains("UNIDADDEMEDIDA_KG: KG"));
    EXPECT_TRUE(informe.contains("CFondo: &HFFFF00"));
    EXPECT_TRUE(op_.sinGuion().isEmpty()) << op_.sinGuion().join("\n").toStdString();
}

TEST_P(RuntimeBase, StartUpWithoutConnectionData) {
    BaseDePrueba::cierra(db());
    const bool sqlite = base().plataforma() == Plataforma::Sqlite;
    const QString incompleta =
        sqlite ? QString("@server=x; @usuario=y; @Plataforma=SQLITE")
               : QString("@server=   ; @dbname=%1; @Plataforma=POSTGRESQL").arg(base().nombre());
    // Unattended: a clear message and a non-zero code, nobody asked.
    EXPECT_EQ(IniciaAplicacion(incompleta, ModoInicio::SinDialogo), CodigoInicio::DatosIncompletos);
    EXPECT_TRUE(MensajeInicio().contains("Faltan datos de conexion"));
    EXPECT_FALSE(db().gOpenFlag);
    QString salida, errores;
    QTextStream s(&salida), e(&errores);
    EXPECT_EQ(ComandoInicio(incompleta.split(' '), ModoInicio::SinDialogo, s, e),
              CodigoInicio::DatosIncompletos);
    EXPECT_EQ(salida, "");
    EXPECT_TRUE(errores.startsWith("Faltan datos de conexion")) << errores.toStdString();
    // With the dialog, but cancelled: the connection stays closed, the process must end.
    DB_Dll::fijaDialogoConexion([](DialogoConexion& d) { d.aceptar = false; });
    EXPECT_EQ(IniciaAplicacion(incompleta, ModoInicio::ConDialogo), CodigoInicio::SinConexion);
    EXPECT_FALSE(db().gOpenFlag);
    DB_Dll::fijaDialogoConexion(nullptr);
    // An unknown platform is refused before anything is opened.
    EXPECT_EQ(IniciaAplicacion("@server=s; @usuario=u; @Plataforma=DB2", ModoInicio::SinDialogo),
              CodigoInicio::DatosIncompletos);
    EXPECT_TRUE(MensajeInicio().contains("DB2"));
    EXPECT_TRUE(op_.preguntas().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Motores, RuntimeBase, valoresMotores(), nombreMotor);
