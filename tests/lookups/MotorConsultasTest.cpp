#include "BaseDePrueba.h"
#include "EsquemaPrueba.h"
#include "OperadorGuion.h"
#include "db/Recordset.h"
#include "demo/BaseDemo.h"
#include "lookups/ArchivoConsultas.h"
#include "lookups/FilasConsulta.h"
#include "lookups/Lib_ClsCons3.h"
#include "utility_library/Programa.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

// Stands in for the windows: records what the engine asks for and answers
// with a prepared result.
class VentanasGrabadas : public VentanasConsulta {
public:
    QList<PedidoLista> listas;
    QList<PedidoArbol> arboles;
    QList<PedidoOpciones> opciones;
    ResultadoConsulta respuesta;
    ResultadoConsulta muestraLista(const PedidoLista& p) override {
        listas.append(p);
        return respuesta;
    }
    ResultadoConsulta muestraArbol(const PedidoArbol& p) override {
        arboles.append(p);
        return respuesta;
    }
    ResultadoConsulta muestraOpciones(const PedidoOpciones& p) override {
        opciones.append(p);
        return respuesta;
    }
    int anchoPantallaTwips() const override { return 1000 * 15; }
};

class Motor : public PruebaPorMotor {
protected:
    void SetUp() override {
        PruebaPorMotor::SetUp();
        if (IsSkipped() || HasFatalFailure()) {
            return;
        }
        EsquemaPrueba e;
        ASSERT_TRUE(e.creaEsquema());
        viejoTemp_ = qgetenv("temp");
        qputenv("temp", base().carpeta().toLocal8Bit());
        fijaOperador(&op_);
        ruta_ = QDir(base().carpeta()).filePath(QStringLiteral("consultas.kvx"));
        ASSERT_TRUE(ArchivoConsultas::CreaArchivoConsultas(ruta_));
    }
    void TearDown() override {
        fijaOperador(nullptr);
        qputenv("temp", viejoTemp_);
        PruebaPorMotor::TearDown();
    }
    // A fresh engine (configuration is read at creation) on the recorder.
    std::unique_ptr<Lib_ClsCons3> motor() {
        auto m = std::make_unique<Lib_ClsCons3>(&ventanas_);
        m->gUsarMascarasConsultas = true;
        m->gRutaMascaraConsultas = ruta_;
        return m;
    }
    // One lookup with the given arguments; the statement the list window got.
    QString consulta(Lib_ClsCons3& m, QString sql, QString where = {}, QString campo = {},
                     QString opcional = {}) {
        std::optional<QStringList> cmps = QStringList{QStringLiteral("X")};
        QString clave, defecto;
        const int antes = int(ventanas_.listas.size());
        m.ConsultaSearch(sql, cmps, clave, campo, where, opcional, false, defecto);
        campo_ = campo;
        where_ = where;
        const bool mostro = ventanas_.listas.size() > antes;
        // Every lookup that showed a window leaves the caller's collection as nothing.
        EXPECT_EQ(cmps.has_value(), !mostro);
        return mostro ? ventanas_.listas.last().SQL : QString();
    }
    VentanasGrabadas ventanas_;
    OperadorGuion op_;
    QString ruta_, campo_, where_;
    QByteArray viejoTemp_;
};

TEST_P(Motor, StatementsBuiltFromDefinitionsTablesAndFullStatements) {
    auto m = motor();
    EXPECT_EQ(consulta(*m, "V_MA_ARTICULOS"),
              QStringLiteral("SELECT TOP 1000 DESCRIPCION,IDARTICULO FROM VT_MA_ARTICULOS  "
                             "with(nolock)  WHERE SUSPENDIDO = 0 ORDER BY DESCRIPCION"));
    EXPECT_EQ(campo_, QStringLiteral("DESCRIPCION"));
    EXPECT_FALSE(ventanas_.listas.last().OrdenarPorLwv);
    // The caller's condition, wrapped, replaces the table's default one.
    EXPECT_EQ(consulta(*m, "VT_CLIENTES", "CODIGO > 10"),
              QStringLiteral("SELECT TOP 1000 RAZON_SOCIAL,CODIGO,CONTACTO FROM VT_CLIENTES  "
                             "with(nolock)  WHERE  (CODIGO > 10)  ORDER BY RAZON_SOCIAL"));
    EXPECT_EQ(where_, QStringLiteral(" (CODIGO > 10) "));
    EXPECT_EQ(consulta(*m, "VT_PROVEEDORES"),
              QStringLiteral("SELECT TOP 1000 RAZON_SOCIAL,CODIGO FROM VT_PROVEEDORES  "
                             "with(nolock)  WHERE Dada_De_Baja = 0 ORDER BY RAZON_SOCIAL"));
    EXPECT_EQ(consulta(*m, "select a from b", "X = 1"),
              QStringLiteral("select a from b WHERE  (X = 1) "));
    EXPECT_EQ(consulta(*m, "SELECT IDARTICULO FROM V_MA_ARTICULOS ORDER BY 1"),
              QStringLiteral("SELECT IDARTICULO FROM VT_MA_ARTICULOS ORDER BY 1"));
    EXPECT_EQ(consulta(*m, "select a from b", "x"), QStringLiteral("select a from b WHERE x"));
    // Default branch: the table's fields, reversed; ID skipped; the name searches.
    base().ejecutaDirecto(QStringLiteral("CREATE TABLE TA_PRUEBA (ID INTEGER, CODIGO %1, "
                                         "NOMBRE %1, PRECIO NUMERIC(18,2))")
                              .arg(base().tipoTexto(20)));
    EXPECT_EQ(
        consulta(*m, "TA_PRUEBA").toUpper(),
        QStringLiteral("SELECT TOP 1000 PRECIO,NOMBRE,CODIGO FROM TA_PRUEBA  ORDER BY NOMBRE"));
    EXPECT_EQ(consulta(*m, "V_TA_DEPOSITO"),
              QStringLiteral("SELECT TOP 1000 Descripcion,IdDeposito FROM V_TA_DEPOSITO  "
                             "with(nolock)  ORDER BY Descripcion"));
    m->gUsarMascarasConsultas = false;
    EXPECT_EQ(consulta(*m, "V_TA_DEPOSITO"),
              QStringLiteral("SELECT TOP 1000 Descripcion,IdDeposito,UnidadNegocio FROM "
                             "V_TA_DEPOSITO  ORDER BY IDDEPOSITO"));
    EXPECT_EQ(consulta(*m, "TA_PRUEBA", "", "", "SELECT 1 AS UNO"),
              QStringLiteral("SELECT 1 AS UNO"));
    EXPECT_TRUE(ventanas_.listas.last().OrdenarPorLwv);
}

TEST_P(Motor, RowLimitFromConfigurationAndOneShotRequests) {
    EsquemaPrueba e;
    e.configuracion("TopConsArt", "50");
    e.configuracion("UsaConsultaLike", "si");
    e.configuracion("Stk_Nivel1", "255");
    e.configuracion("MostrarStockenConsultas", "SI");
    auto m = motor();
    m->Checks = true;
    m->CampoDevuelto = QStringLiteral("IDARTICULO");
    EXPECT_TRUE(consulta(*m, "V_MA_ARTICULOS").startsWith(QStringLiteral("SELECT TOP 50 ")));
    const PedidoLista& p = ventanas_.listas.last();
    EXPECT_TRUE(p.CheckBoxes);
    EXPECT_TRUE(p.CfgUsaConsultaLIKE);
    EXPECT_EQ(p.CampoDevuelto, QStringLiteral("IDARTICULO"));
    EXPECT_EQ(p.StkNivel[0].toString(), QStringLiteral("255"));
    EXPECT_EQ(p.StkNivel[1].toInt(), 0); // blank key stored as 0
    EXPECT_EQ(p.MuestraStock, QStringLiteral("SI"));
    EXPECT_EQ(p.CmpsDevueltos, QStringList{QStringLiteral("X")});
    // Requests do not survive the lookup.
    EXPECT_FALSE(m->Checks);
    EXPECT_TRUE(m->CampoDevuelto.isEmpty());
    consulta(*m, "V_MA_ARTICULOS");
    EXPECT_FALSE(ventanas_.listas.last().CheckBoxes);
}

TEST_P(Motor, ResultsCopiedAndACancelLeavesNoCollection) {
    auto m = motor();
    ventanas_.respuesta = {QStringLiteral("0001"), QStringList{QStringLiteral("a")}, QStringList()};
    consulta(*m, "V_MA_ARTICULOS");
    EXPECT_EQ(m->ValorDevuelto.toString(), QStringLiteral("0001"));
    EXPECT_EQ(m->Valores, QStringList{QStringLiteral("a")});
    ventanas_.respuesta = {QString(), std::nullopt, std::nullopt};
    consulta(*m, "V_MA_ARTICULOS");
    EXPECT_TRUE(m->ValorDevuelto.toString().isEmpty());
    EXPECT_FALSE(m->Valores.has_value());
    // The tree window gets the statement, the returned column and the check request.
    m->Checks = true;
    m->CampoDevuelto = QStringLiteral("CODIGO");
    std::optional<QStringList> cmps;
    QString sql = QStringLiteral("SELECT CODIGO, DESCRIPCION FROM MA_CUENTAS ORDER BY CODIGO"),
            clave, campo, where, opcional, defecto;
    m->ConsultaSearch(sql, cmps, clave, campo, where, opcional, true, defecto);
    ASSERT_EQ(ventanas_.arboles.size(), 1);
    EXPECT_EQ(ventanas_.arboles[0].SQL, sql);
    EXPECT_TRUE(ventanas_.arboles[0].CheckBoxes);
    EXPECT_EQ(ventanas_.arboles[0].CampoDevuelto, QStringLiteral("CODIGO"));
    EXPECT_FALSE(m->Checks);
}

TEST_P(Motor, ADefinitionWithOneColumnAndNoSearchColumnOpensNothing) {
    QFile f(ruta_);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(MascaraConsulta{{}, QStringLiteral("MA_CUENTAS"), QStringLiteral("|DESCRIPCION|"), {}}
                .codifica());
    f.close();
    auto m = motor();
    m->ValorDevuelto = QStringLiteral("antes");
    m->CampoDevuelto = QStringLiteral("CODIGO");
    op_.responde(1);
    EXPECT_TRUE(consulta(*m, "MA_CUENTAS").isEmpty());
    ASSERT_EQ(op_.preguntas().size(), 1);
    EXPECT_EQ(op_.preguntas()[0].texto,
              QStringLiteral("Debe configurar la consulta para esta tabla"));
    EXPECT_EQ(op_.preguntas()[0].titulo, QStringLiteral("Aviso al operador"));
    EXPECT_EQ(op_.preguntas()[0].estilo, 64);
    EXPECT_EQ(m->ValorDevuelto.toString(), QStringLiteral("antes"));
    EXPECT_EQ(m->CampoDevuelto, QStringLiteral("CODIGO"));
}

TEST_P(Motor, Pickers) {
    auto m = motor();
    std::optional<QStringList> nada;
    ventanas_.respuesta = {QString(), QStringList{QStringLiteral("Uno")}, std::nullopt};
    EXPECT_TRUE(m->CheckOpciones(QStringLiteral("Elija"), nada, {"1Uno", "0Dos"}).isEmpty());
    const PedidoOpciones& p = ventanas_.opciones.last();
    EXPECT_EQ(p.tipo, PedidoOpciones::Tipo::Marcas);
    EXPECT_EQ(p.textos, (QStringList{"Uno", "Dos"}));
    EXPECT_EQ(p.marcadas, (QList<bool>{true, false}));
    EXPECT_EQ(p.anchoTwips, 5 * 120);
    EXPECT_EQ(m->Valores, QStringList{QStringLiteral("Uno")});
    ventanas_.respuesta = {QStringLiteral("B"), std::nullopt, std::nullopt};
    EXPECT_EQ(m->MenuOpciones(QStringLiteral("T"), {QString(200, 'x')}), QStringLiteral("B"));
    EXPECT_EQ(ventanas_.opciones.last().anchoTwips, 1000 * 15); // the screen at most
    // The option file: a missing one is reported and gives nothing.
    op_.responde(1);
    const QString falta = QDir(base().carpeta()).filePath(QStringLiteral("no.txt"));
    EXPECT_TRUE(m->ConsultaDesdeArchivo(QStringLiteral("T"), falta).isEmpty());
    EXPECT_EQ(op_.preguntas().last().texto, QStringLiteral("No existe el archivo ") + falta +
                                                QStringLiteral(" que desea consultar consulta "));
}

// The lookups the window opens, on the demo data: the same headers (as the
// statement or the suite's definition writes them) and the same widths on
// every engine, whatever case the engine gives names in and whether its
// schema declares lengths. A text column no definition sizes takes its
// width from its data.
TEST_P(Motor, LasConsultasSeVenIgualEnCadaMotor) {
    ASSERT_GT(BaseDemo::cargaDemo(EsquemaPrueba().conexion(), QDate(2026, 3, 10)).articulos, 0);
    base().ejecutaDirecto(QStringLiteral("CREATE TABLE ta_sin_largo (clave %1, detalle %1)")
                              .arg(base().plataforma() == Plataforma::Sqlite
                                       ? QStringLiteral("TEXT")
                                       : QStringLiteral("bpchar COLLATE kx")));
    base().ejecutaDirecto(
        "INSERT INTO ta_sin_largo VALUES ('A1', 'UNA DESCRIPCION DE TREINTA L.')");
    using Columnas = QList<QPair<QString, int>>;
    const auto columnas = [&](const QString& sql) {
        Recordset rs;
        DB_Dll::instancia().AbrirRecordset(sql, rs);
        FilasConsulta f;
        f.encolumnar(rs, sql, QString(), {});
        f.leer(rs, FilasConsulta::Lectura{});
        Columnas r;
        for (int i = 0; i < f.columnas(); ++i) {
            r << qMakePair(f.columna(i).encabezado, f.columna(i).caracteres);
        }
        return r;
    };
    auto m = motor();
    const struct {
        QString tabla;
        bool definiciones;
        Columnas esperadas;
    } casos[] = {
        {"V_MA_ARTICULOS", true, {{"DESCRIPCION", 60}, {"IDARTICULO", 25}}},
        {"V_MA_ARTICULOS",
         false,
         {{"PUNTOPEDIDO", 12},
          {"Stock", 12},
          {"SUSPENDIDO", 12},
          {"TASAIVA", 10},
          {"Pesable", 12},
          {"IdUnidad", 5},
          {"IdFamilia", 10},
          {"Rubro", 2},
          {"Tipo", 10},
          {"CodigoBarra", 20},
          {"DescripAbrev", 30},
          {"Descripcion", 60},
          {"IdArticulo", 25}}},
        // Outside the suite's definition, no size declared: the data's width.
        {"ta_sin_largo", false, {{"detalle", 29}, {"clave", 5}}},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.tabla.toStdString() + (c.definiciones ? " definida" : ""));
        m->gUsarMascarasConsultas = c.definiciones;
        const QString sql = consulta(*m, c.tabla);
        ASSERT_FALSE(sql.isEmpty());
        const Columnas r = columnas(sql);
        EXPECT_EQ(r, c.esperadas) << sql.toStdString();
    }
    // The list lookup's own statement.
    EXPECT_EQ(columnas("SELECT IDLISTA,NOMBRE FROM V_MA_PRECIOSCAB WHERE TIPOLISTA = 'V' ORDER BY "
                       "IDLISTA"),
              (Columnas{{"IDLISTA", 4}, {"NOMBRE", 50}}));
}

INSTANTIATE_TEST_SUITE_P(Motores, Motor, valoresMotores(), nombreMotor);

} // namespace
