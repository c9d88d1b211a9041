#include "BaseDePrueba.h"
#include "db/DB_Dll.h"
#include "OperadorGuion.h"
#include "utility_library/Regional.h"

#include <gtest/gtest.h>

namespace {

QString blancos(const QString& s) {
    return s.simplified();
}

TEST(Sinonimos, ReemplazaTablasConfidenciales) {
    struct Caso {
        bool admin;
        bool confidencialidad;
        const char* entrada;
        const char* salida;
    };
    const Caso casos[] = {
        {false, false, "SELECT * FROM MA_CUENTAS WHERE A = 1",
         "SELECT * FROM SS_MA_CUENTAS WHERE A = 1"},
        {true, false, "SELECT * FROM MA_CUENTAS WHERE A = 1",
         "SELECT * FROM MA_CUENTAS WHERE A = 1"},
        {false, false, "SELECT * FROM @Admin_MA_CUENTAS WHERE A = 1",
         "SELECT * FROM MA_CUENTAS WHERE A = 1"},
        {true, false, "SELECT * FROM @admin_MA_CUENTAS x", "SELECT * FROM MA_CUENTAS x"},
        // Only the listed forms: not at the very start, not before a comma.
        {false, false, "MA_CUENTAS x", "MA_CUENTAS x"},
        {false, false, "SELECT * FROM MA_CUENTAS,T", "SELECT * FROM MA_CUENTAS,T"},
        {false, false, "SELECT ma_cuentas.a,MA_CUENTAS.b FROM (ma_cuentas x",
         "SELECT SS_MA_CUENTAS.a,SS_MA_CUENTAS.b FROM (SS_MA_CUENTAS x"},
        {false, false, "SELECT {MA_CUENTAS.A}", "SELECT {SS_MA_CUENTAS.A}"},
        // MV_ASIENTOS: left alone unless confidentiality is on.
        {false, false, "SELECT * FROM MV_ASIENTOS WHERE X IN (SELECT Y FROM V_TA_CAJAS )",
         "SELECT * FROM MV_ASIENTOS WHERE X IN (SELECT Y FROM V_TA_CAJAS )"},
        {false, true, "SELECT * FROM MV_ASIENTOS WHERE X IN (SELECT Y FROM V_TA_CAJAS )",
         "SELECT * FROM SS_MV_ASIENTOS WHERE X IN (SELECT Y FROM SS_V_TA_CAJAS )"},
        {false, false, "SELECT * FROM V_TA_FAMILIAS b, @Admin_V_TA_FAMILIAS a",
         "SELECT * FROM SS_V_TA_FAMILIAS b, V_TA_FAMILIAS a"},
        {false, false, "SELECT * FROM AC_CUENTASDIARIO_CCOSTO WHERE (AC_CUENTASDIARIO .x",
         "SELECT * FROM SS_AC_CUENTAS_DIARIO_CCOSTO WHERE (SS_AC_CUENTASDIARIO .x"},
        {false, false, "SELECT * FROM V_TA_DEPOSITO d", "SELECT * FROM SS_V_TA_DEPOSITO d"},
    };
    DB_Dll db;
    for (const Caso& c : casos) {
        db.gEsAdmin = c.admin;
        db.gConfidencialidad = c.confidencialidad;
        EXPECT_EQ(db.SS_TSinonimos(QString::fromUtf8(c.entrada)), QString::fromUtf8(c.salida))
            << c.entrada;
    }
}

TEST(Oracle, TraduceModismosDeSqlServer) {
    struct Caso {
        const char* entrada;
        const char* salida;
    };
    const Caso casos[] = {
        {"SELECT top 5 * FROM T ORDER BY A", "SELECT * FROM T WHERE ROWNUM <= 5 ORDER BY A"},
        {"SELECT TOP 1 * FROM T WHERE A = 1 ORDER BY B",
         "SELECT * FROM T WHERE A = 1 AND ROWNUM <= 1 ORDER BY B"},
        {"SELECT TOP 3 A FROM T WHERE B = 1 GROUP BY A",
         "SELECT A FROM T WHERE B = 1 AND ROWNUM <= 3 GROUP BY A"},
        {"SELECT A FROM T WHERE LEN(A) > 1 AND LEN  (B) < 2", "SELECT A FROM T WHERE LENGTH(A) > 1 "
                                                              "AND LENGTH(B) < 2"},
        {"SELECT [A] FROM [T]", "SELECT \"A\" FROM \"T\""},
        {"SELECT * FROM T WHERE F = '31/12/2021' AND G = '31/12/2021'",
         "SELECT * FROM T WHERE F = TO_DATE('31/12/2021','DD/MM/YYYY') AND G = "
         "TO_DATE('31/12/2021','DD/MM/YYYY')"},
        {"SELECT * FROM T WHERE F = '1/2/2021' AND N = 'PEPE'",
         "SELECT * FROM T WHERE F = TO_DATE('01/02/2021','DD/MM/YYYY') AND N = 'PEPE'"},
        {"SELECT Charindex('a',B) FROM T", "SELECT InStr('a',B) FROM T"},
        {"SELECT CONVERT(NVARCHAR,F,103), CONVERT(INT,C) FROM T",
         "SELECT TO_CHAR(F,'DD/MM/YYYY'), TO_NUMBER(C) FROM T"},
        {"SELECT A = '' FROM T WHERE B = '' AND C=''", "SELECT A = '' FROM T WHERE B IS NULL AND C "
                                                       "IS NULL"},
        {"SELECT SUBSTRING(A,1,2), ISNULL(B,0) FROM T", "SELECT SUBSTR(A,1,2), NVL(B,0) FROM T"},
        {"LEN", "LENGTH"},
        {"T", "T"},
    };
    DB_Dll db;
    db.gConnString =
        QStringLiteral("Provider=OraOLEDB.Oracle.1;Data Source=X;User Id=U;Password=P;");
    for (const Caso& c : casos) {
        EXPECT_EQ(blancos(db.ORACLE_Dicc(QString::fromUtf8(c.entrada))),
                  QString::fromUtf8(c.salida))
            << c.entrada;
    }
    // On SQL Server every text comes back as it went in.
    db.gConnString = QStringLiteral("PROVIDER=SQLOLEDB;Server=S;Database =D;UId=U;Pwd=P;");
    for (const Caso& c : casos) {
        EXPECT_EQ(db.ORACLE_Dicc(QString::fromUtf8(c.entrada)), QString::fromUtf8(c.entrada));
    }
}

TEST(Literales, SQLValueYDepuraSentencia) {
    DB_Dll db;
    EXPECT_EQ(db.SQLValue(QStringLiteral("OPERADOR"), QStringLiteral("'")),
              QStringLiteral("'OPERADOR'"));
    EXPECT_EQ(db.SQLValue(QString(), QStringLiteral("'")), QStringLiteral("''"));
    EXPECT_EQ(db.SQLValue(QStringLiteral(" A "), QStringLiteral("'")), QStringLiteral("' A '"));
    EXPECT_EQ(db.SQLValue(QStringLiteral("12"), QString()), QStringLiteral("12"));
    EXPECT_EQ(db.DepuraSentencia(QStringLiteral("set nocount on")), QString());
    EXPECT_EQ(db.DepuraSentencia(QStringLiteral("IF NOT EXISTS (SELECT 1) CREATE TABLE X (A int)")),
              QString());
    EXPECT_EQ(db.DepuraSentencia(QStringLiteral("DELETE FROM X")), QStringLiteral("DELETE FROM X"));
}

// The script runner cuts the script at its keywords and maps the transaction
// statements to the connection's own calls.
class Script : public PruebaPorMotor {};

TEST_P(Script, EjecutaScriptSQLCortaYMapeaTransacciones) {
    base().ejecutaDirecto(QStringLiteral("CREATE TABLE AUX_S (A integer, B ") +
                          base().tipoTexto(10) + QStringLiteral(")"));
    QString script = QStringLiteral(
        "SET NOCOUNT ON\r\nBEGIN TRANSACTION\r\nINSERT INTO AUX_S (A,B) VALUES (1,'x')\r\nGO\r\n"
        "INSERT INTO AUX_S (A,B) VALUES (2,'y')\r\nUPDATE AUX_S SET B = 'z' WHERE A >= 1\r\n"
        "COMMIT TRANSACTION\r\n");
    qint64 n = 0;
    db().EjecutaScriptSQL(script, n);
    EXPECT_EQ(n, 4);
    EXPECT_TRUE(script.isEmpty());
    EXPECT_EQ(db().gCnn->nivelTransaccion(), 0);
    EXPECT_EQ(db().DatosTabla(QStringLiteral("AUX_S"), QStringLiteral("2"), QStringLiteral("B"),
                              QStringLiteral("A")),
              QStringLiteral("z"));
    // A rolled back script leaves nothing behind.
    script = QStringLiteral("BEGIN TRANS DELETE FROM AUX_S ROLLBACK TRANS");
    n = 0;
    db().EjecutaScriptSQL(script, n);
    EXPECT_EQ(n, 2);
    EXPECT_TRUE(
        db().ExisteEnTabla(QStringLiteral("AUX_S"), QStringLiteral("1"), QStringLiteral("A")));
}

INSTANTIATE_TEST_SUITE_P(Motores, Script, valoresMotores(), nombreMotor);

} // namespace
