#include "BaseDePrueba.h"
#include "db/DB_Dll.h"
#include "db/SentenciaPreparada.h"
#include "OperadorGuion.h"
#include "utility_library/Programa.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct Terminado {
    int codigo;
};

// A PostgreSQL database reached natively (QPSQL) or through ODBC with the
// PostgreSQL driver: the code path SQL Server takes through FreeTDS.
class ServidorPostgres : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override {
        if (!hayPostgreSql()) {
            GTEST_SKIP() << "no PostgreSQL server configured (TARVELO_PG_HOST unset)";
        }
        fijaOperador(&operador_);
        base_ = std::make_unique<BaseDePrueba>(Plataforma::PostgreSql);
        ASSERT_TRUE(base_->creada());
        DB_Dll& db = DB_Dll::instancia();
        base_->configura(db);
        if (GetParam()) {
            db.gControladorOdbc = QStringLiteral("PostgreSQL Unicode");
        }
        db.OpenServerADODB(false, 3, QString(), true, true);
        ASSERT_TRUE(db.gOpenFlag);
        ASSERT_TRUE(db.gCnn->abierta());
        base_->ejecutaDirecto(QStringLiteral(
            "CREATE TABLE V_MA_ARTICULOS (IDARTICULO bpchar COLLATE kx, DESCRIPCION bpchar "
            "COLLATE kx, PRECIO numeric(12,4), ALTA date)"));
        base_->ejecutaDirecto(QStringLiteral(
            "INSERT INTO V_MA_ARTICULOS VALUES ('0000000000000000000000001', 'Café ñandú', 1.5, "
            "'2021-12-31'), ('2', 'AGUA', 0, NULL)"));
    }
    void TearDown() override {
        DB_Dll::instancia().reinicia();
        base_.reset();
        fijaOperador(nullptr);
        Programa::fijaTerminacion(nullptr);
    }
    qint64 pidDelServidor() {
        Recordset rs;
        DB_Dll::instancia().AbrirRecordset(QStringLiteral("SELECT pg_backend_pid() AS PID"), rs);
        EXPECT_TRUE(rs.abierto());
        return rs.abierto() ? rs.Campo(QStringLiteral("pid")).toLongLong() : 0;
    }
    void cortaLaConexion(qint64 pid) {
        base_->ejecutaDirecto(QStringLiteral("SELECT pg_terminate_backend(%1)").arg(pid));
    }
    OperadorGuion operador_;
    std::unique_ptr<BaseDePrueba> base_;
};

TEST_P(ServidorPostgres, LeeTextoAcentuadoYComparaComoSqlServer) {
    DB_Dll& db = DB_Dll::instancia();
    Recordset rs;
    db.AbrirRecordset(QStringLiteral("SELECT TOP 1 * FROM V_MA_ARTICULOS with(nolock) WHERE "
                                     "IDARTICULO = '1                        ' OR DESCRIPCION = "
                                     "'CAFÉ ÑANDÚ ' ORDER BY IDARTICULO"),
                      rs);
    ASSERT_TRUE(rs.abierto());
    ASSERT_EQ(rs.RecordCount(), 1);
    EXPECT_EQ(rs.Campo(QStringLiteral("descripcion")).toString(), QStringLiteral("Café ñandú"));
    EXPECT_DOUBLE_EQ(rs.Campo(QStringLiteral("PRECIO")).toDouble(), 1.5);
    EXPECT_EQ(rs.Campo(QStringLiteral("ALTA")).toDate(), QDate(2021, 12, 31));
    EXPECT_EQ(db.DatosTabla(QStringLiteral("V_MA_ARTICULOS"), QStringLiteral(" agua "),
                            QStringLiteral("IDARTICULO"), QStringLiteral("DESCRIPCION")),
              QStringLiteral("2"));
    // A failing statement fills the error list and never raises.
    db.EjecutaConsultaSQL(QStringLiteral("UPDATE NO_EXISTE SET A = 1"));
    ASSERT_FALSE(db.gCnn->Errors.isEmpty());
    EXPECT_EQ(db.gCnn->Errors.first().sqlState, QStringLiteral("42P01"))
        << db.gCnn->Errors.first().descripcion.toStdString();
    EXPECT_EQ(db.gCnn->Errors.first().numero, NumerosADO::ErrorSql);
    EXPECT_TRUE(operador_.sinGuion().isEmpty()) << operador_.sinGuion().join('\n').toStdString();
}

TEST_P(ServidorPostgres, ScriptQueFallaSeDeshace) {
    DB_Dll& db = DB_Dll::instancia();
    db.EjecutaConsultaSQL(QStringLiteral(
        "BEGIN TRANSACTION \r\r\rDELETE FROM V_MA_ARTICULOS WHERE IDARTICULO = '2'\rINSERT INTO "
        "V_MA_ARTICULOS (IDARTICULO, PRECIO) VALUES ('3', 'no es un numero')\r"));
    ASSERT_FALSE(db.gCnn->Errors.isEmpty());
    db.gCnn->Errors.clear();
    db.EjecutaConsultaSQL(QStringLiteral("ROLLBACK TRANSACTION"));
    EXPECT_TRUE(db.gCnn->Errors.isEmpty());
    EXPECT_TRUE(db.ExisteEnTabla(QStringLiteral("V_MA_ARTICULOS"), QStringLiteral("2"),
                                 QStringLiteral("IDARTICULO")));
}

TEST_P(ServidorPostgres, ConexionPerdidaSeRecuperaReconectando) {
    DB_Dll& db = DB_Dll::instancia();
    const qint64 antes = pidDelServidor();
    ASSERT_GT(antes, 0);
    cortaLaConexion(antes);
    Recordset rs;
    db.AbrirRecordset(QStringLiteral("SELECT * FROM V_MA_ARTICULOS ORDER BY IDARTICULO"), rs);
    ASSERT_TRUE(rs.abierto());
    EXPECT_EQ(rs.RecordCount(), 2);
    EXPECT_TRUE(db.gOpenFlag);
    EXPECT_NE(pidDelServidor(), antes);
    EXPECT_TRUE(operador_.preguntas().isEmpty());
}

// A prepared statement keeps the layer's treatment: bound values (an
// apostrophe is just a character), a lost link reconnected and the statement
// run again with nobody asked, and outside that a failure thrown to the
// caller, written to the error log, with no dialog of its own (the caller's
// runner asks once). Inside a transaction a lost link is never retried: the
// transaction's earlier work went with it.
TEST_P(ServidorPostgres, SentenciaPreparadaReconectaYFallaUnaVez) {
    DB_Dll& db = DB_Dll::instancia();
    QTemporaryDir carpeta;
    Programa::fijaCarpeta(carpeta.path());
    SentenciaPreparada s(db,
                         QStringLiteral("SELECT DESCRIPCION FROM V_MA_ARTICULOS WHERE "
                                        "IDARTICULO = ?"),
                         QStringLiteral("Prueba"));
    s.ejecuta({QStringLiteral("2")});
    ASSERT_TRUE(s.siguiente());
    EXPECT_EQ(s.valor(0).toString().trimmed(), QStringLiteral("AGUA"));
    s.termina();

    cortaLaConexion(pidDelServidor());
    s.ejecuta({QStringLiteral("o'b")});
    EXPECT_FALSE(s.siguiente());
    s.termina();
    EXPECT_TRUE(operador_.preguntas().isEmpty());

    SentenciaPreparada mala(db,
                            QStringLiteral("SELECT NO_EXISTE FROM V_MA_ARTICULOS WHERE "
                                           "IDARTICULO = ?"),
                            QStringLiteral("Prueba"));
    EXPECT_THROW(mala.ejecuta({QStringLiteral("2")}), FalloKX);
    EXPECT_TRUE(operador_.preguntas().isEmpty());
    QFile log(carpeta.filePath(QStringLiteral("KXERR.LOG")));
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    EXPECT_TRUE(log.readAll().contains("Prueba"));

    db.gCnn->BeginTrans();
    cortaLaConexion(pidDelServidor());
    EXPECT_THROW(s.ejecuta({QStringLiteral("2")}), FalloKX);
    EXPECT_TRUE(operador_.preguntas().isEmpty());
    Programa::fijaCarpeta(QString());
}

TEST_P(ServidorPostgres, TerceraPerdidaEnUnaLlamadaVaAlDialogo) {
    DB_Dll& db = DB_Dll::instancia();
    const qint64 antes = pidDelServidor();
    operador_.responde(3);
    Recordset rs;
    // The statement ends its own session every time it runs.
    db.AbrirRecordset(QStringLiteral("SELECT pg_terminate_backend(pg_backend_pid())"), rs);
    EXPECT_FALSE(rs.abierto());
    ASSERT_EQ(operador_.preguntas().size(), 1);
    EXPECT_TRUE(operador_.preguntas()[0].titulo.endsWith(
        QStringLiteral("AbrirRecordset -  Aviso al operador!!! - 5 ")));
    // The next query finds the link lost and reconnects by itself.
    const qint64 despues = pidDelServidor();
    EXPECT_GT(despues, 0);
    EXPECT_NE(despues, antes);
    EXPECT_EQ(operador_.preguntas().size(), 1);
}

TEST_P(ServidorPostgres, ConexionPerdidaSinServidorPreguntaYTermina) {
    DB_Dll& db = DB_Dll::instancia();
    const qint64 pid = pidDelServidor();
    cortaLaConexion(pid);
    base_->ejecutaEnServidor(QStringLiteral("ALTER DATABASE ") + base_->nombre() +
                             QStringLiteral(" ALLOW_CONNECTIONS false"));
    Programa::fijaTerminacion([](int codigo) { throw Terminado{codigo}; });
    operador_.responde(Operador::Si).responde(Operador::No);
    Recordset rs;
    EXPECT_THROW(db.AbrirRecordset(QStringLiteral("SELECT * FROM V_MA_ARTICULOS"), rs), Terminado);
    ASSERT_EQ(operador_.preguntas().size(), 2);
    const auto& p = operador_.preguntas().first();
    EXPECT_EQ(p.titulo, QStringLiteral("AVISO AL OPERADOR"));
    EXPECT_EQ(p.estilo, Operador::SiNo + Operador::IconoCritico);
    EXPECT_EQ(p.texto, QStringLiteral("\r\n\r\n\r\nSe perdio la conexion con la base de datos ") +
                           base_->nombre() + QStringLiteral("\r\n Servidor ") + base_->servidor() +
                           QStringLiteral("\r\n\r\nElija SI para reintentar conectarse\r\nElija NO "
                                          "para cerrar la aplicacion\r\n\r\n\r\n"));
    EXPECT_FALSE(db.gOpenFlag);
}

INSTANTIATE_TEST_SUITE_P(Via, ServidorPostgres, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& i) {
                             return i.param ? std::string("ODBC") : std::string("QPSQL");
                         });

} // namespace
