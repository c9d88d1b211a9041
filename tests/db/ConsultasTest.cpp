#include "BaseDePrueba.h"
#include "db/DB_Dll.h"
#include "db/SentenciaPreparada.h"
#include "utility_library/ErrorKX.h"
#include "OperadorGuion.h"
#include "utility_library/Programa.h"
#include "utility_library/Reloj.h"

#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

// A small price list table, as the program reads its lists and articles.
class Consultas : public PruebaPorMotor {
protected:
    void SetUp() override {
        PruebaPorMotor::SetUp();
        if (IsSkipped() || HasFatalFailure()) {
            return;
        }
        fijaOperador(&operador_);
        base().ejecutaDirecto(QStringLiteral("CREATE TABLE V_MA_PRECIOSCAB (IDLISTA ") +
                              base().tipoTexto(4) + QStringLiteral(", NOMBRE ") +
                              base().tipoTexto(30) + QStringLiteral(", TIPOLISTA ") +
                              base().tipoTexto(1) +
                              QStringLiteral(", FECHA date, ALTA timestamp, PRECIO numeric(12,4), "
                                             "ORDEN integer, CORTO varchar(12))"));
        const char* filas[] = {
            "('0001','VENTAS','V','2021-12-31','2021-12-31 10:30:00',10.5,1,'a')",
            "('2','Compras  ','C',NULL,NULL,NULL,2,'')",
            "('0003','O''Brien','V','2022-01-15','2022-01-15 00:00:00',0,3,NULL)",
        };
        for (const char* f : filas) {
            base().ejecutaDirecto(QStringLiteral("INSERT INTO V_MA_PRECIOSCAB VALUES ") +
                                  QString::fromLatin1(f));
        }
    }
    void TearDown() override {
        fijaOperador(nullptr);
        PruebaPorMotor::TearDown();
    }
    OperadorGuion operador_;
};

TEST_P(Consultas, RecordsetNavegaYLeeCamposSinDistinguirMayusculas) {
    Recordset rs;
    db().AbrirRecordset(QStringLiteral("SELECT * FROM V_MA_PRECIOSCAB with(nolock) ORDER BY ORDEN"),
                        rs);
    ASSERT_TRUE(rs.abierto());
    EXPECT_EQ(rs.RecordCount(), 3);
    EXPECT_FALSE(rs.Bof());
    EXPECT_FALSE(rs.Eof());
    EXPECT_EQ(rs.Campo(QStringLiteral("idlista")).toString().trimmed(), QStringLiteral("0001"));
    EXPECT_EQ(rs.Campo(QStringLiteral("Nombre")).toString(), QStringLiteral("VENTAS"));
    EXPECT_EQ(rs.Campo(QStringLiteral("FECHA")).toDate(), QDate(2021, 12, 31));
    EXPECT_EQ(rs.Campo(QStringLiteral("FECHA")).typeId(), QMetaType::QDate);
    EXPECT_EQ(rs.Campo(QStringLiteral("ALTA")).toDateTime(),
              QDateTime(QDate(2021, 12, 31), QTime(10, 30)));
    EXPECT_DOUBLE_EQ(rs.Campo(QStringLiteral("precio")).toDouble(), 10.5);
    rs.MoveNext();
    // Stored text comes back as written, trailing blanks included.
    EXPECT_EQ(rs.Campo(QStringLiteral("NOMBRE")).toString(), QStringLiteral("Compras  "));
    // Null stays distinct from empty text.
    EXPECT_TRUE(rs.Campo(QStringLiteral("FECHA")).isNull());
    EXPECT_FALSE(rs.Campo(QStringLiteral("CORTO")).isNull());
    EXPECT_EQ(rs.Campo(QStringLiteral("CORTO")).toString(), QString());
    rs.MoveLast();
    EXPECT_EQ(rs.Campo(QStringLiteral("NOMBRE")).toString(), QStringLiteral("O'Brien"));
    EXPECT_TRUE(rs.Campo(QStringLiteral("CORTO")).isNull());
    rs.MoveNext();
    EXPECT_TRUE(rs.Eof());
    EXPECT_THROW(rs.MoveNext(), FalloKX);
    rs.MoveFirst();
    EXPECT_EQ(rs.Campo(QStringLiteral("ORDEN")).toInt(), 1);
    rs.MovePrevious();
    EXPECT_TRUE(rs.Bof());
    try {
        rs.MoveFirst();
        rs.Campo(QStringLiteral("NO_EXISTE"));
        FAIL() << "an unknown field must fail";
    } catch (const FalloKX& e) {
        EXPECT_EQ(e.error().numero, 3265);
    }
    db().CierraRecordset(rs);
    EXPECT_FALSE(rs.abierto());
    db().CierraRecordset(rs); // closing twice does nothing
    Recordset nunca;
    db().CierraRecordset(nunca);
}

// A reader that keeps the rows takes them from the current one on, and the
// result set is left at its end; a row being edited is not handed over.
TEST_P(Consultas, TomaFilasDesdeLaActual) {
    Recordset rs;
    db().AbrirRecordset(QStringLiteral("SELECT IDLISTA, ORDEN FROM V_MA_PRECIOSCAB ORDER BY ORDEN"),
                        rs);
    ASSERT_TRUE(rs.abierto());
    rs.MoveNext();
    const QVector<QVector<QVariant>> filas = rs.TomaFilas();
    ASSERT_EQ(filas.size(), 2);
    EXPECT_EQ(filas[0][1].toInt(), 2);
    EXPECT_EQ(filas[1][0].toString().trimmed(), QStringLiteral("0003"));
    EXPECT_TRUE(rs.Eof());
    EXPECT_TRUE(rs.TomaFilas().isEmpty());

    Recordset edicion;
    db().AbrirRecordset(QStringLiteral("SELECT * FROM V_MA_PRECIOSCAB"), edicion);
    edicion.AddNew();
    EXPECT_THROW(edicion.TomaFilas(), FalloKX);
}

TEST_P(Consultas, TipoYTamanoDeCadaCampo) {
    Recordset rs;
    db().AbrirRecordset(
        QStringLiteral("SELECT IDLISTA, CORTO, FECHA, PRECIO, ORDEN FROM V_MA_PRECIOSCAB"), rs);
    ASSERT_TRUE(rs.abierto());
    const auto& c = rs.Campos();
    ASSERT_EQ(c.size(), 5);
    EXPECT_EQ(c[0].tipo, Recordset::TipoCampo::Texto);
    EXPECT_EQ(c[1].tipo, Recordset::TipoCampo::Texto);
    EXPECT_EQ(c[1].tamanoDefinido, 12);
    EXPECT_EQ(c[2].tipo, Recordset::TipoCampo::Fecha);
    EXPECT_EQ(c[3].tipo, Recordset::TipoCampo::Numero);
    EXPECT_EQ(c[4].tipo, Recordset::TipoCampo::Entero);
    if (GetParam() == Plataforma::Sqlite) {
        EXPECT_EQ(c[0].tamanoDefinido, 4);
    }
    // An empty result has its fields and both markers.
    db().AbrirRecordset(QStringLiteral("SELECT * FROM V_MA_PRECIOSCAB WHERE 1 = 0"), rs);
    ASSERT_TRUE(rs.abierto());
    EXPECT_EQ(rs.CantidadCampos(), 8);
    EXPECT_TRUE(rs.Bof());
    EXPECT_TRUE(rs.Eof());
}

// The program's text comparisons rely on SQL Server's default collation.
TEST_P(Consultas, ComparaTextoComoSqlServer) {
    struct Caso {
        const char* condicion;
        int filas;
    };
    const Caso casos[] = {
        {"NOMBRE = 'ventas'", 1},  // case-insensitive
        {"NOMBRE = 'VENTAS '", 1}, // trailing blanks ignored
        {"NOMBRE = 'compras'", 1}, // blanks stored after the text too
        {"IDLISTA = '2   '", 1},   // code padded to 4 finds its row
        {"IDLISTA = '0001'", 1},
        {"IDLISTA = '0001                     '", 1}, // padded to 25
        {"NOMBRE = ' VENTAS'", 0},                    // leading blanks count
        {"NOMBRE = 'o''brien'", 1},
        {"LTRIM(RTRIM(NOMBRE)) = 'VeNtAs'", 1}, // also through functions
        {"NOMBRE LIKE 'ven%'", 1},
        {"NOMBRE NOT LIKE 'ven%'", 2},
        {"TIPOLISTA = 'v'", 2},
    };
    for (const Caso& c : casos) {
        Recordset rs;
        db().AbrirRecordset(QStringLiteral("SELECT * FROM V_MA_PRECIOSCAB with(nolock) WHERE ") +
                                QString::fromLatin1(c.condicion),
                            rs);
        ASSERT_TRUE(rs.abierto()) << c.condicion;
        EXPECT_EQ(rs.RecordCount(), c.filas) << c.condicion;
    }
    // GROUP BY and ORDER BY see "ventas" and "VENTAS " as one value.
    db().EjecutaConsultaSQL(
        QStringLiteral("INSERT INTO V_MA_PRECIOSCAB (IDLISTA, NOMBRE) VALUES ('9','ventas ')"));
    Recordset rs;
    db().AbrirRecordset(QStringLiteral("SELECT NOMBRE, COUNT(*) AS N FROM V_MA_PRECIOSCAB "
                                       "WHERE NOMBRE = 'VENTAS' GROUP BY NOMBRE"),
                        rs);
    ASSERT_TRUE(rs.abierto());
    EXPECT_EQ(rs.RecordCount(), 1);
    EXPECT_EQ(rs.Campo(QStringLiteral("N")).toInt(), 2);
    // LIKE ignores the case of accented letters too.
    db().EjecutaConsultaSQL(QStringLiteral(
        "INSERT INTO V_MA_PRECIOSCAB (IDLISTA, NOMBRE) VALUES ('10','Café ñandú 50%')"));
    const std::pair<const char*, int> like[] = {{"'%ÑANDÚ%'", 1},         {"'caf_ %'", 1},
                                                {"'CAFE%'", 0},           {"'%50!%' ESCAPE '!'", 1},
                                                {"'%5!%' ESCAPE '!'", 0}, {"'%'", 5}};
    for (const auto& [patron, n] : like) {
        db().AbrirRecordset(QStringLiteral("SELECT * FROM V_MA_PRECIOSCAB WHERE NOMBRE LIKE ") +
                                QString::fromUtf8(patron),
                            rs);
        ASSERT_TRUE(rs.abierto()) << patron;
        EXPECT_EQ(rs.RecordCount(), n) << patron;
    }
}

TEST_P(Consultas, ExisteEnTablaYDatosTabla) {
    EXPECT_TRUE(db().ExisteEnTabla(QStringLiteral("V_MA_PRECIOSCAB"), QStringLiteral(" 0001 "),
                                   QStringLiteral("IDLISTA")));
    EXPECT_TRUE(db().ExisteEnTabla(QStringLiteral("V_MA_PRECIOSCAB"), QStringLiteral("ventas"),
                                   QStringLiteral("NOMBRE")));
    EXPECT_FALSE(db().ExisteEnTabla(QStringLiteral("V_MA_PRECIOSCAB"), QStringLiteral("0009"),
                                    QStringLiteral("IDLISTA")));
    // A condition with or without its WHERE.
    EXPECT_TRUE(db().ExisteEnTabla(QStringLiteral("V_MA_PRECIOSCAB"), QString(), QString(), nullptr,
                                   8, QStringLiteral("TIPOLISTA = 'C'")));
    EXPECT_TRUE(db().ExisteEnTabla(QStringLiteral("V_MA_PRECIOSCAB"), QString(), QString(), nullptr,
                                   8, QStringLiteral(" WHERE ORDEN = 3")));
    // The caller's result set stays open on the row found.
    Recordset rs;
    EXPECT_TRUE(db().ExisteEnTabla(QStringLiteral("V_MA_PRECIOSCAB"), QStringLiteral("0003"),
                                   QStringLiteral("IDLISTA"), &rs));
    ASSERT_TRUE(rs.abierto());
    EXPECT_EQ(rs.Campo(QStringLiteral("ORDEN")).toInt(), 3);
    // An apostrophe inside the value is part of the value, not the end of the literal.
    EXPECT_TRUE(db().ExisteEnTabla(QStringLiteral("V_MA_PRECIOSCAB"), QStringLiteral("O'Brien"),
                                   QStringLiteral("NOMBRE")));
    EXPECT_TRUE(db().ExisteEnTablaST(QStringLiteral("V_MA_PRECIOSCAB"), QStringLiteral("O'Brien"),
                                     QStringLiteral("NOMBRE")));
    EXPECT_FALSE(db().ExisteEnTablaST(QStringLiteral("V_MA_PRECIOSCAB"),
                                      QStringLiteral("x' OR '1'='1"), QStringLiteral("NOMBRE")));
    EXPECT_EQ(db().DatosTabla(QStringLiteral("V_MA_PRECIOSCAB"), QStringLiteral("O'Brien"),
                              QStringLiteral("IDLISTA"), QStringLiteral("NOMBRE"))
                  .trimmed(),
              QStringLiteral("0003"));
    EXPECT_EQ(db().DatosTabla(QStringLiteral("V_MA_PRECIOSCAB"), QStringLiteral("0001"),
                              QStringLiteral("precio"), QStringLiteral("IDLISTA")),
              QStringLiteral("10.5"));
    // Missing row and null value: empty text, never "null".
    EXPECT_EQ(db().DatosTabla(QStringLiteral("V_MA_PRECIOSCAB"), QStringLiteral("0099"),
                              QStringLiteral("NOMBRE"), QStringLiteral("IDLISTA")),
              QString());
    EXPECT_EQ(db().DatosTabla(QStringLiteral("V_MA_PRECIOSCAB"), QStringLiteral("2"),
                              QStringLiteral("FECHA"), QStringLiteral("IDLISTA")),
              QString());
    EXPECT_TRUE(operador_.sinGuion().isEmpty()) << operador_.sinGuion().join('\n').toStdString();
}

TEST_P(Consultas, EdicionPorRecordset) {
    Recordset rs;
    QString sql = QStringLiteral("select  top 1 * from V_MA_PRECIOSCAB  with(nolock) ");
    db().AbrirRecordset(sql, rs, nullptr, 2, 3);
    ASSERT_TRUE(rs.abierto());
    rs.AddNew();
    rs.FijaCampo(QStringLiteral("IDLISTA"), QStringLiteral("0007"));
    rs.FijaCampo(QStringLiteral("nombre"), QStringLiteral("L'Oferta"));
    rs.FijaCampo(QStringLiteral("FECHA"), QDate(2022, 3, 4));
    rs.FijaCampo(QStringLiteral("ALTA"), QDateTime(QDate(2022, 3, 4), QTime(8, 5, 9)));
    rs.Update();
    db().CierraRecordset(rs);
    EXPECT_EQ(db().DatosTabla(QStringLiteral("V_MA_PRECIOSCAB"), QStringLiteral("0007"),
                              QStringLiteral("NOMBRE"), QStringLiteral("IDLISTA")),
              QStringLiteral("L'Oferta"));
    // Dates written through a result set compare with typed short dates.
    Recordset f;
    db().AbrirRecordset(QStringLiteral("SELECT * FROM V_MA_PRECIOSCAB WHERE FECHA = '04/03/2022'"),
                        f);
    ASSERT_TRUE(f.abierto());
    ASSERT_EQ(f.RecordCount(), 1);
    EXPECT_EQ(f.Campo(QStringLiteral("ALTA")).toDateTime(),
              QDateTime(QDate(2022, 3, 4), QTime(8, 5, 9)));
    // Changing the current row changes only that row.
    db().AbrirRecordset(QStringLiteral("SELECT * FROM V_MA_PRECIOSCAB WHERE IDLISTA = '2'"), rs);
    ASSERT_TRUE(rs.abierto());
    rs.FijaCampo(QStringLiteral("NOMBRE"), QStringLiteral("COMPRAS NUEVA"));
    rs.Update();
    db().CierraRecordset(rs);
    Recordset todas;
    db().AbrirRecordset(
        QStringLiteral("SELECT * FROM V_MA_PRECIOSCAB WHERE NOMBRE = 'COMPRAS NUEVA'"), todas);
    EXPECT_EQ(todas.RecordCount(), 1);
    // Closing with an edit pending cancels it.
    db().AbrirRecordset(sql, rs);
    rs.AddNew();
    rs.FijaCampo(QStringLiteral("IDLISTA"), QStringLiteral("0008"));
    db().CierraRecordset(rs);
    EXPECT_FALSE(rs.abierto());
    EXPECT_FALSE(db().ExisteEnTabla(QStringLiteral("V_MA_PRECIOSCAB"), QStringLiteral("0008"),
                                    QStringLiteral("IDLISTA")));
}

TEST_P(Consultas, SentenciaFallidaNoLevantaErrorYDejaLaListaDeErrores) {
    QString sql = QStringLiteral("UPDATE TABLA_QUE_NO_EXISTE SET A = 1");
    qint64 n = 0;
    EXPECT_NO_THROW(db().EjecutaConsultaSQL(sql, &n));
    ASSERT_EQ(db().gCnn->Errors.size(), 1);
    const ErrorADO e = db().gCnn->Errors.first();
    EXPECT_EQ(e.numero, NumerosADO::ErrorSql);
    EXPECT_FALSE(e.descripcion.isEmpty());
    EXPECT_NE(e.nativo, 0);
    if (GetParam() == Plataforma::PostgreSql) {
        EXPECT_EQ(e.sqlState, QStringLiteral("42P01"));
    }
    db().gCnn->Errors.clear();
    // The connection goes on working, and rows affected are counted.
    sql = QStringLiteral("UPDATE V_MA_PRECIOSCAB SET ORDEN = ORDEN + 10 WHERE TIPOLISTA = 'V'");
    db().EjecutaConsultaSQL(sql, &n);
    EXPECT_TRUE(db().gCnn->Errors.isEmpty());
    EXPECT_EQ(n, 2);
    // "@Admin_" is removed before running.
    sql = QStringLiteral("DELETE FROM @Admin_V_MA_PRECIOSCAB WHERE IDLISTA = '2'");
    db().EjecutaConsultaSQL(sql, &n);
    EXPECT_EQ(sql, QStringLiteral("DELETE FROM V_MA_PRECIOSCAB WHERE IDLISTA = '2'"));
    EXPECT_EQ(n, 1);
    // A result set handed to a statement receives its rows.
    Recordset rs;
    sql = QStringLiteral("SELECT COUNT(*) AS N FROM V_MA_PRECIOSCAB");
    db().EjecutaConsultaSQL(sql, &n, &rs);
    ASSERT_TRUE(rs.abierto());
    EXPECT_EQ(rs.Campo(QStringLiteral("n")).toInt(), 2);
}

// A statement the engine will not prepare gets its values written in by the
// driver's literal formatter: an apostrophe stays text, a mark inside quotes
// is no mark, and values that do not match the marks are refused.
TEST_P(Consultas, SentenciaSinPrepararEscribeLosValoresComoLiterales) {
    const auto cuenta = [&](const QVariantList& valores) {
        SentenciaPreparada s(db(),
                             QStringLiteral("SELECT COUNT(*) FROM V_MA_PRECIOSCAB WHERE NOMBRE = ? "
                                            "OR IDLISTA = '?' OR ORDEN = ?"),
                             QStringLiteral("Prueba"));
        s.fijaSinPreparar(true);
        s.ejecuta(valores);
        const int n = s.siguiente() ? s.valor(0).toInt() : -1;
        s.termina();
        return n;
    };
    EXPECT_EQ(cuenta({QStringLiteral("O'Brien"), 99}), 1);
    EXPECT_EQ(cuenta({QStringLiteral("x' OR '1'='1"), 99}), 0);
    EXPECT_EQ(cuenta({QStringLiteral("x\\' OR 1=1 --"), 99}), 0);
    EXPECT_EQ(cuenta({QStringLiteral("nada"), 2}), 1);
    EXPECT_EQ(cuenta({QVariant(), QVariant()}), 0);
    EXPECT_THROW(cuenta({QStringLiteral("VENTAS")}), FalloKX);
    EXPECT_THROW(cuenta({QStringLiteral("VENTAS"), 1, 2}), FalloKX);
}

TEST_P(Consultas, ConsultaFallidaLlegaAlDialogoYAlLog) {
    Reloj::fijaAhora(QDateTime(QDate(2021, 12, 31), QTime(23, 59, 58)));
    operador_.responde(4).responde(3); // retry once, then leave
    Recordset rs;
    db().AbrirRecordset(QStringLiteral("SELECT * FROM NO_HAY_TAL_TABLA"), rs);
    Reloj::fijaAhora(QDateTime());
    EXPECT_FALSE(rs.abierto());
    ASSERT_EQ(operador_.preguntas().size(), 2);
    const auto& p = operador_.preguntas().first();
    EXPECT_EQ(p.estilo, 18);
    EXPECT_EQ(p.titulo,
              db().gCnn->fuente() + QStringLiteral("AbrirRecordset -  Aviso al operador!!! - 5 "));
    const QString prefijo = QStringLiteral("Ha ocurrido el Siguiente Error (") +
                            QString::number(NumerosADO::ErrorSql) + QStringLiteral(") ");
    EXPECT_TRUE(p.texto.startsWith(prefijo)) << p.texto.toStdString();
    QFile log(Programa::carpeta() + QStringLiteral("KXERR.LOG"));
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const QByteArray todo = log.readAll();
    const QList<QByteArray> lineas = todo.split('\n');
    ASSERT_EQ(lineas.size(), 3); // two lines and the empty rest
    EXPECT_TRUE(todo.endsWith("\r\n"));
    const QString primera = QString::fromLatin1(lineas[0]);
    EXPECT_TRUE(primera.startsWith(QStringLiteral("12-31-2021 23:59:58 Rutina: AbrirRecordset - "
                                                  "Mensaje ") +
                                   prefijo))
        << primera.toStdString();
    EXPECT_TRUE(primera.endsWith(QStringLiteral(" Respondi") + QChar(0xF3) +
                                 QStringLiteral(" : Reintentar\r")))
        << lineas[0].toHex().toStdString();
    EXPECT_TRUE(QString::fromLatin1(lineas[1]).endsWith(QStringLiteral(" : Abortar\r")));
}

TEST_P(Consultas, TablasDeLaBase) {
    EXPECT_TRUE(db().ExisteTablaDB(QStringLiteral(" v_ma_precioscab ")));
    EXPECT_FALSE(db().ExisteTablaDB(QStringLiteral("TA_USUARIOS")));
}

INSTANTIATE_TEST_SUITE_P(Motores, Consultas, valoresMotores(), nombreMotor);

} // namespace
