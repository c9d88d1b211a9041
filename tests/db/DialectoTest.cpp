#include "db/Dialecto.h"
#include "BaseDePrueba.h"
#include "db/DB_Dll.h"
#include "OperadorGuion.h"
#include "utility_library/QlTexto.h"
#include "utility_library/Reloj.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

QString blancos(const QString& s) {
    return s.simplified(); // runs of blanks do not matter to the engines
}

struct Caso {
    const char* sqlServer;
    const char* sqlite;
    const char* postgres;
};

// The program's SQL Server idioms and their counterparts.
const Caso kCasos[] = {
    {"SELECT TOP 1 * FROM T with(nolock) WHERE A = 1", "SELECT * FROM T WHERE A = 1 LIMIT 1",
     "SELECT * FROM T WHERE A = 1 LIMIT 1"},
    {"SELECT TOP 1000 DESCRIPCION,IDARTICULO FROM VT_MA_ARTICULOS  with(nolock)  WHERE "
     "SUSPENDIDO = 0 ORDER BY DESCRIPCION",
     "SELECT DESCRIPCION,IDARTICULO FROM VT_MA_ARTICULOS WHERE SUSPENDIDO = 0 ORDER BY "
     "DESCRIPCION LIMIT 1000",
     "SELECT DESCRIPCION,IDARTICULO FROM VT_MA_ARTICULOS WHERE SUSPENDIDO = 0 ORDER BY "
     "DESCRIPCION LIMIT 1000"},
    {"select distinct top (3) a from t WITH ( NOLOCK ) order by a",
     "select distinct a from t order by a LIMIT 3", "select distinct a from t order by a LIMIT 3"},
    {"SELECT A FROM T (nolock)", "SELECT A FROM T", "SELECT A FROM T"},
    {"SELECT     TOP 100 PERCENT IdFamilia, Descripcion, (SELECT     TOP 1 idfamilia FROM "
     "v_ta_familias a   Where a.IdFamilia < b.IdFamilia And (Len(LTrim(RTrim(a.IdFamilia))) < "
     "Len(LTrim(RTrim(b.IdFamilia))))  ORDER BY idfamilia DESC) AS [relative] FROM "
     "dbo.V_TA_FAMILIAS b Where IdFamilia<>'' ORDER BY IdFamilia",
     "SELECT IdFamilia, Descripcion, (SELECT idfamilia FROM v_ta_familias a Where a.IdFamilia < "
     "b.IdFamilia And (LENGTH(RTRIM(LTrim(RTrim(a.IdFamilia)))) < "
     "LENGTH(RTRIM(LTrim(RTrim(b.IdFamilia))))) ORDER BY idfamilia DESC LIMIT 1) AS [relative] "
     "FROM V_TA_FAMILIAS b Where IdFamilia<>'' COLLATE KX ORDER BY IdFamilia",
     "SELECT IdFamilia, Descripcion, (SELECT idfamilia FROM v_ta_familias a Where a.IdFamilia < "
     "b.IdFamilia And (LENGTH(RTRIM((LTrim((RTrim((a.IdFamilia)::text))::text))::text)) < "
     "LENGTH(RTRIM((LTrim((RTrim((b.IdFamilia)::text))::text))::text))) ORDER BY idfamilia DESC "
     "LIMIT 1) AS relative FROM V_TA_FAMILIAS b Where IdFamilia<>'' ORDER BY IdFamilia"},
    {"SELECT ISNULL(A,'x') FROM [Mi Tabla] WHERE LEN (B) > 2 AND [C] = 1",
     "SELECT COALESCE(A,'x') FROM [Mi Tabla] WHERE LENGTH (RTRIM(B)) > 2 AND [C] = 1",
     "SELECT COALESCE(A,'x') FROM \"mi tabla\" WHERE LENGTH (RTRIM((B)::text)) > 2 AND C = 1"},
    {"SELECT * FROM T WHERE X LIKE 'a%' AND Y NOT LIKE '%b'",
     "SELECT * FROM T WHERE X LIKE 'a%' AND Y NOT LIKE '%b'",
     "SELECT * FROM T WHERE X COLLATE \"und-x-icu\" ILIKE 'a%' AND Y COLLATE \"und-x-icu\" NOT "
     "ILIKE '%b'"},
    // Dates typed in the short date form; SQLite keeps ISO text.
    {"SELECT * FROM T WHERE F = '31/12/2021' OR G >= '1/2/2022' OR H = 'x31/12/2021'",
     "SELECT * FROM T WHERE F = '2021-12-31' COLLATE KX OR G >= '2022-02-01' COLLATE KX OR H = "
     "'x31/12/2021' COLLATE KX",
     "SELECT * FROM T WHERE F = '31/12/2021' OR G >= '1/2/2022' OR H = 'x31/12/2021'"},
    {"INSERT INTO T (F) VALUES ('31/02/2021')", "INSERT INTO T (F) VALUES ('31/02/2021')",
     "INSERT INTO T (F) VALUES ('31/02/2021')"},
    // Nothing inside a quoted value changes.
    {"UPDATE T SET A = 'TOP 1 with(nolock) [x] LEN(' WHERE B = 'dbo.c'",
     "UPDATE T SET A = 'TOP 1 with(nolock) [x] LEN(' WHERE B = 'dbo.c' COLLATE KX",
     "UPDATE T SET A = 'TOP 1 with(nolock) [x] LEN(' WHERE B = 'dbo.c'"},
    {"SELECT N'abc', GETDATE() FROM dbo.T",
     "SELECT 'abc', strftime('%Y-%m-%d %H:%M:%S','now','localtime') FROM T",
     "SELECT 'abc', LOCALTIMESTAMP(0) FROM T"},
};

TEST(Dialecto, ReescribeCadaModismo) {
    for (const Caso& c : kCasos) {
        const QString s = QString::fromUtf8(c.sqlServer);
        EXPECT_EQ(blancos(Dialecto::reescribe(s, Plataforma::Sqlite, "dmy")),
                  QString::fromUtf8(c.sqlite))
            << c.sqlServer;
        EXPECT_EQ(blancos(Dialecto::reescribe(s, Plataforma::PostgreSql, "dmy")),
                  QString::fromUtf8(c.postgres))
            << c.sqlServer;
        // SQL Server and Oracle receive the text as written.
        EXPECT_EQ(Dialecto::reescribe(s, Plataforma::SqlServer, "dmy"), s);
        EXPECT_EQ(Dialecto::reescribe(s, Plataforma::Oracle, "dmy"), s);
    }
    // Month first when the workstation writes month/day/year.
    EXPECT_EQ(blancos(Dialecto::reescribe("SELECT * FROM T WHERE F = '12/31/2021'",
                                          Plataforma::Sqlite, "mdy")),
              QStringLiteral("SELECT * FROM T WHERE F = '2021-12-31' COLLATE KX"));
}

TEST(Dialecto, DivideScriptsEnSentencias) {
    struct Script {
        const char* texto;
        QStringList esperado;
    };
    const Script casos[] = {
        // The script runner's text: CR-separated statements after BEGIN TRANSACTION.
        {"BEGIN TRANSACTION \r\r\rINSERT INTO T (A,B) VALUES ('1','x')\rINSERT INTO T (A,B) "
         "VALUES ('2','y\r;z')\r",
         {"BEGIN TRANSACTION", "INSERT INTO T (A,B) VALUES ('1','x')",
          "INSERT INTO T (A,B) VALUES ('2','y\r;z')"}},
        {"SET NOCOUNT ON; SELECT 1;", {"SELECT 1"}},
        {"UPDATE T\r\nSET A = 1\r\nWHERE B = 2", {"UPDATE T\r\nSET A = 1\r\nWHERE B = 2"}},
        {"DELETE FROM T\nGO\nDELETE FROM U -- done\n", {"DELETE FROM T", "DELETE FROM U -- done"}},
        {"INSERT INTO T (A)\nSELECT A FROM U", {"INSERT INTO T (A)\nSELECT A FROM U"}},
        {"CREATE TRIGGER tr INSTEAD OF INSERT ON v BEGIN INSERT INTO t VALUES (1); UPDATE t SET "
         "a = 2; END;\nCOMMIT",
         {"CREATE TRIGGER tr INSTEAD OF INSERT ON v BEGIN INSERT INTO t VALUES (1); UPDATE t SET "
          "a = 2; END",
          "COMMIT"}},
        {"  \r\n ; ", {}},
    };
    for (const Script& c : casos) {
        EXPECT_EQ(Dialecto::sentencias(QString::fromUtf8(c.texto), Plataforma::PostgreSql, "dmy"),
                  c.esperado)
            << c.texto;
    }
    EXPECT_EQ(Dialecto::sentencias("SET TRANSACTION ISOLATION LEVEL READ UNCOMMITTED",
                                   Plataforma::Sqlite, "dmy"),
              QStringList());
}

TEST(Dialecto, ReconoceLasSentenciasDeTransaccion) {
    using T = Dialecto::Transaccion;
    const std::pair<const char*, T> casos[] = {
        {"BEGIN TRANSACTION", T::Inicio},
        {"begin tran", T::Inicio},
        {"BEGIN", T::Inicio},
        {"COMMIT TRANSACTION", T::Confirma},
        {"commit", T::Confirma},
        {"ROLLBACK TRANSACTION", T::Deshace},
        {"ROLLBACK TRAN;", T::Deshace},
        {"ROLLBACK TO SAVEPOINT x", T::Ninguna},
        {"BEGIN TRANSACTION x", T::Inicio},
        {"INSERT INTO T VALUES (1)", T::Ninguna},
        {"COMMIT TRANSACTION 'x'", T::Ninguna},
    };
    for (const auto& [texto, esperado] : casos) {
        EXPECT_EQ(Dialecto::transaccion(QString::fromUtf8(texto)), esperado) << texto;
    }
}

// The program's own texts run on every engine and give the same rows.
class TextosDelPrograma : public PruebaPorMotor {
protected:
    void SetUp() override {
        PruebaPorMotor::SetUp();
        if (IsSkipped() || HasFatalFailure()) {
            return;
        }
        fijaOperador(&operador_);
        const QString t = base().tipoTexto(30);
        const QString fecha =
            GetParam() == Plataforma::Sqlite ? QStringLiteral("date") : QStringLiteral("date");
        const QStringList ddl{
            "CREATE TABLE V_MA_PRECIOSCAB (IDLISTA " + t + ", NOMBRE " + t + ", TIPOLISTA " + t +
                ")",
            "CREATE TABLE V_MA_PRECIOS (ID integer, IDLISTA " + t + ", NOMBRE " + t +
                ", TIPOLISTA " + t + ", ESTADO " + t + ", FHOFERTADESDE " + fecha +
                ", FHOFERTAHASTA " + fecha + ", CAMBIOCODBARRA integer)",
            "CREATE TABLE MV_TARVELO (CODIGO integer, FECHA " + fecha + ")",
            "CREATE TABLE V_TA_FAMILIAS (IdFamilia " + t + ", Descripcion " + t + ")",
            "CREATE TABLE TA_TAREAS (USUARIO " + t + ", TAREA " + t + ")",
            "CREATE TABLE TA_MENU (Proceso " + t + ", Clave " + t + ", Nombre " + t + ")",
            "INSERT INTO V_MA_PRECIOSCAB VALUES ('0002','MAYORISTA','V'),('0001','MINORISTA','V'),"
            "('0003','COMPRAS','C')",
            "INSERT INTO V_MA_PRECIOS VALUES (1,'0001','MINORISTA','V','0-C',NULL,NULL,1),"
            "(2,'0001','MINORISTA','V','1-M','2021-12-31',NULL,1),"
            "(3,'0002','MAYORISTA','V','1-M',NULL,'2021-12-29',1),"
            "(4,'0002','MAYORISTA','V','1-M',NULL,'2021-12-30',1),"
            "(5,'0003','COMPRAS','C','0-M',NULL,NULL,1)",
            "INSERT INTO MV_TARVELO VALUES (7,'2021-12-01'),(12,'2021-12-20'),(9,'2021-12-10')",
            "INSERT INTO V_TA_FAMILIAS VALUES ('01','ALMACEN'),('0101','ACEITES'),"
            "('010101','OLIVA'),('02','BEBIDAS'),('', 'VACIA')",
            "INSERT INTO TA_TAREAS VALUES ('OPERADOR','10'),('OPERADOR','11'),('OTRO','10')",
            "INSERT INTO TA_MENU VALUES ('VE000;TARVELO.EXE','10','Novedades'),"
            "('STOCK','11','Stock')",
        };
        for (const QString& s : ddl) {
            base().ejecutaDirecto(s);
        }
    }
    void TearDown() override {
        fijaOperador(nullptr);
        PruebaPorMotor::TearDown();
    }
    QStringList filas(const QString& sql) {
        Recordset rs;
        QString texto = sql;
        db().AbrirRecordset(texto, rs);
        EXPECT_TRUE(rs.abierto()) << sql.toStdString();
        QStringList r;
        if (!rs.abierto()) {
            return r;
        }
        while (!rs.Eof()) {
            QStringList c;
            for (int i = 0; i < rs.CantidadCampos(); ++i) {
                c << QlUtil::NoNulo(rs.Campo(i)).trimmed();
            }
            r << c.join('|');
            rs.MoveNext();
        }
        return r;
    }
    OperadorGuion operador_;
};

TEST_P(TextosDelPrograma, DanLasMismasFilas) {
    // Tomorrow's and yesterday's dates typed in the short date form.
    const QString manana = QStringLiteral("31/12/2021"), ayer = QStringLiteral("29/12/2021");
    struct Consulta {
        QString sql;
        QStringList esperado;
    };
    const Consulta consultas[] = {
        {"SELECT IDLISTA,NOMBRE FROM V_MA_PRECIOSCAB WHERE TIPOLISTA = 'V' ORDER BY IDLISTA",
         {"0001|MINORISTA", "0002|MAYORISTA"}},
        {"SELECT TOP 1 CODIGO FROM MV_TARVELO ORDER BY CODIGO DESC", {"12"}},
        {"SELECT IDLISTA,NOMBRE FROM V_MA_PRECIOS WHERE TIPOLISTA = 'V' AND (ESTADO = '0-C' OR "
         "ESTADO = '0-M' OR FHOFERTADESDE = '" +
             manana + "' OR  FHOFERTAHASTA ='" + ayer +
             "') GROUP BY IDLISTA,NOMBRE ORDER BY IDLISTA",
         {"0001|MINORISTA", "0002|MAYORISTA"}},
        {"SELECT max(fecha) as FhTrans FROM MV_TARVELO WHERE CODIGO < 10", {"10/12/2021"}},
        {"SELECT * FROM MV_TARVELO WHERE FECHA >= '10/12/2021' ORDER BY CODIGO",
         {"9|10/12/2021", "12|20/12/2021"}},
        {"SELECT     TOP 100 PERCENT IdFamilia, Descripcion, (SELECT     TOP 1 idfamilia FROM "
         "@Admin_v_ta_familias a   Where a.IdFamilia < b.IdFamilia And "
         "(Len(LTrim(RTrim(a.IdFamilia))) < Len(LTrim(RTrim(b.IdFamilia))))  ORDER BY idfamilia "
         "DESC) AS [relative] FROM dbo.V_TA_FAMILIAS b Where IdFamilia<>'' ORDER BY IdFamilia",
         {"01|ALMACEN|", "0101|ACEITES|01", "010101|OLIVA|0101", "02|BEBIDAS|"}},
        {"SELECT TA_TAREAS.USUARIO, TA_MENU.Proceso, TA_MENU.Clave , TA_MENU.Nombre  FROM "
         "TA_TAREAS  with(nolock) INNER JOIN TA_MENU ON TA_TAREAS.TAREA = TA_MENU.Clave  WHERE "
         "(TA_TAREAS.USUARIO = 'operador ') AND (TA_MENU.Proceso LIKE '%tarvelo%')",
         {"OPERADOR|VE000;TARVELO.EXE|10|Novedades"}},
    };
    for (const Consulta& c : consultas) {
        EXPECT_EQ(filas(c.sql), c.esperado) << c.sql.toStdString();
    }
    // Statements of the batch: marking sent rows.
    QString sql = QStringLiteral("UPDATE V_MA_PRECIOS SET ESTADO = '1-M' , CAMBIOCODBARRA=0  "
                                 "WHERE ID = 1");
    qint64 n = 0;
    db().EjecutaConsultaSQL(sql, &n);
    EXPECT_EQ(n, 1);
    EXPECT_EQ(filas("SELECT ESTADO, CAMBIOCODBARRA FROM V_MA_PRECIOS WHERE ID = 1"),
              QStringList{"1-M|0"});
    EXPECT_TRUE(db().gCnn->Errors.isEmpty());
    EXPECT_TRUE(operador_.sinGuion().isEmpty()) << operador_.sinGuion().join('\n').toStdString();
}

INSTANTIATE_TEST_SUITE_P(Motores, TextosDelPrograma, valoresMotores(), nombreMotor);

} // namespace
