// The demo data set: what a newcomer and the other tests rely on finding in it.
#include "BaseDePrueba.h"
#include "EsquemaPrueba.h"
#include "db/SqliteKX.h"
#include "demo/BaseDemo.h"
#include "schema/EsquemaSql.h"

#include <QElapsedTimer>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QDate kHoy(2026, 12, 10);

class DemoTest : public PruebaPorMotor {
protected:
    void SetUp() override {
        PruebaPorMotor::SetUp();
        if (IsSkipped() || HasFatalFailure()) {
            return;
        }
        e_ = std::make_unique<EsquemaPrueba>();
    }
    void TearDown() override {
        e_.reset();
        PruebaPorMotor::TearDown();
    }
    EsquemaPrueba& e() { return *e_; }

    QStringList columna(const QString& sql) {
        QStringList r;
        QSqlQuery q(e().conexion());
        EXPECT_TRUE(q.exec(sql)) << sql.toStdString();
        while (q.next()) {
            r << q.value(0).toString();
        }
        return r;
    }

    // The pending loader's selection, with the dates bound as the schema stores them.
    int filasACargar(const QString& lista) {
        return e().cuenta(
            QStringLiteral("SELECT COUNT(*) FROM VT_MA_PRECIOS_ARTICULOS WHERE "
                           "TIPOLISTA = 'V' AND IDLISTA = ? AND (ESTADO = '0-C' OR "
                           "ESTADO = '0-M' OR FHOFERTADESDE = ? OR FHOFERTAHASTA = ?) "
                           "AND SUSPENDIDO = 0"),
            {lista.leftJustified(4), EsquemaPrueba::fecha(kHoy.addDays(1)),
             EsquemaPrueba::fecha(kHoy)});
    }

    std::unique_ptr<EsquemaPrueba> e_;
};

TEST_P(DemoTest, HoldsWhatTheBatchNeeds) {
    const CifrasDemo c = e().creaConDemo(kHoy);
    EXPECT_EQ(c.listas, 3);
    EXPECT_GE(c.articulos, 250);
    EXPECT_EQ(c.pendientes, 34);
    EXPECT_EQ(c.filasLote, 4);

    const QVariant manana = EsquemaPrueba::fecha(kHoy.addDays(1));
    const QVariant hoy = EsquemaPrueba::fecha(kHoy);
    struct Caso {
        const char* que;
        const char* sql;
        QVariantList valores;
        int minimo;
    };
    const Caso casos[] = {
        {"sales lists", "SELECT COUNT(*) FROM V_MA_PRECIOSCAB WHERE TIPOLISTA = 'v'", {}, 2},
        {"purchase list", "SELECT COUNT(*) FROM V_MA_PRECIOSCAB WHERE TIPOLISTA = 'C'", {}, 1},
        {"family levels",
         "SELECT COUNT(*) FROM V_TA_FAMILIAS WHERE IdFamilia IN ('01','0101','010101','02')",
         {},
         4},
        {"articles in a third-level family",
         "SELECT COUNT(*) FROM V_MA_ARTICULOS WHERE IdFamilia = '010101'",
         {},
         1},
        {"types", "SELECT COUNT(*) FROM V_TA_TIPOARTICULO", {}, 5},
        {"no bar code",
         "SELECT COUNT(*) FROM V_MA_ARTICULOS WHERE Pesable = 0 AND (CodigoBarra IS NULL OR "
         "CodigoBarra = '')",
         {},
         10},
        {"bar codes", "SELECT COUNT(*) FROM V_MA_ARTICULOS WHERE CodigoBarra <> ''", {}, 100},
        {"weighed by the kilogram",
         "SELECT COUNT(*) FROM V_MA_ARTICULOS WHERE Pesable = 1 AND IdUnidad = 'kg'",
         {},
         20},
        {"weighed, sold by the unit",
         "SELECT COUNT(*) FROM V_MA_ARTICULOS WHERE Pesable = 1 AND IdUnidad = 'UN'",
         {},
         3},
        {"VAT 21", "SELECT COUNT(*) FROM V_MA_ARTICULOS WHERE TASAIVA = '21'", {}, 100},
        {"VAT 10.5", "SELECT COUNT(*) FROM V_MA_ARTICULOS WHERE TASAIVA = '10.5'", {}, 50},
        {"no VAT rate (piva applies)",
         "SELECT COUNT(*) FROM V_MA_ARTICULOS WHERE TASAIVA IS NULL OR TASAIVA = ''",
         {},
         1},
        {"no category", "SELECT COUNT(*) FROM V_MA_ARTICULOS WHERE Rubro IS NULL", {}, 1},
        {"one-letter category", "SELECT COUNT(*) FROM V_MA_ARTICULOS WHERE Rubro = '5'", {}, 1},
        {"no short description",
         "SELECT COUNT(*) FROM V_MA_ARTICULOS WHERE DescripAbrev IS NULL",
         {},
         5},
        {"code longer than nine",
         "SELECT COUNT(*) FROM V_MA_ARTICULOS WHERE IdArticulo = '201912345678'",
         {},
         1},
        {"'0-C'",
         "SELECT COUNT(*) FROM V_MA_PRECIOS WHERE IDLISTA = '1' AND ESTADO = '0-C'",
         {},
         1},
        {"'0-M'",
         "SELECT COUNT(*) FROM V_MA_PRECIOS WHERE IDLISTA = '1' AND ESTADO = '0-M'",
         {},
         1},
        {"'1-M'",
         "SELECT COUNT(*) FROM V_MA_PRECIOS WHERE IDLISTA = '1' AND ESTADO = '1-M'",
         {},
         100},
        {"bar code changed",
         "SELECT COUNT(*) FROM V_MA_PRECIOS WHERE CAMBIOCODBARRA = 1 AND ESTADO = '0-M'",
         {},
         1},
        {"offer from tomorrow",
         "SELECT COUNT(*) FROM V_MA_PRECIOS WHERE ESTADO = '1-M' AND FHOFERTADESDE = ?",
         {manana},
         1},
        {"offer ending today",
         "SELECT COUNT(*) FROM V_MA_PRECIOS WHERE ESTADO = '1-M' AND FHOFERTAHASTA = ?",
         {hoy},
         1},
        {"running offer",
         "SELECT COUNT(*) FROM V_MA_PRECIOS WHERE FHOFERTADESDE < ? AND FHOFERTAHASTA > ?",
         {hoy, hoy},
         2},
        {"suspended pending row",
         "SELECT COUNT(*) FROM V_MA_PRECIOS WHERE SUSPENDIDO = 1 AND ESTADO = '0-M'",
         {},
         1},
        {"pending row without price",
         "SELECT COUNT(*) FROM V_MA_PRECIOS WHERE precio1 = 0 AND ESTADO = '0-M'",
         {},
         1},
        {"suggested price", "SELECT COUNT(*) FROM V_MA_PRECIOS WHERE precio3 > 0", {}, 1},
        {"earlier batch", "SELECT COUNT(*) FROM MV_TARVELO WHERE Codigo = 1", {}, 4},
        {"administrator",
         "SELECT COUNT(*) FROM ta_usuarios WHERE nombre = 'demo' AND "
         "Administrador = 1",
         {},
         1},
        {"user",
         "SELECT COUNT(*) FROM ta_usuarios WHERE nombre = 'VENTAS' AND Administrador = 0",
         {},
         1},
    };
    for (const Caso& caso : casos) {
        EXPECT_GE(e().cuenta(QString::fromUtf8(caso.sql), caso.valores), caso.minimo) << caso.que;
    }
    EXPECT_EQ(filasACargar(BaseDemo::kListaVenta), 35);
    EXPECT_EQ(filasACargar(BaseDemo::kListaMayorista), 7);
    EXPECT_EQ(filasACargar(BaseDemo::kListaCompra), 0);

    const QStringList descripciones =
        columna(QStringLiteral("SELECT Descripcion FROM V_MA_ARTICULOS"));
    EXPECT_TRUE(descripciones.filter(QStringLiteral("D'ANGELO")).size() > 5);
    EXPECT_FALSE(descripciones.filter(QStringLiteral("ÑOQUIS")).isEmpty());
    EXPECT_FALSE(descripciones.filter(QStringLiteral("CAFÉ")).isEmpty());
    int largas = 0;
    for (const QString& d : descripciones) {
        largas += d.size() > 30 ? 1 : 0;
    }
    EXPECT_GT(largas, 10);

    // DEMO's task runs this program.
    const QStringList procesos = columna(QStringLiteral(
        "SELECT TA_MENU.Proceso FROM TA_TAREAS INNER JOIN TA_MENU ON TA_TAREAS.TAREA = "
        "TA_MENU.Clave WHERE TA_TAREAS.USUARIO = 'DEMO '"));
    EXPECT_FALSE(procesos.filter(QStringLiteral("tarvelo"), Qt::CaseInsensitive).isEmpty());
}

TEST_P(DemoTest, ConfigurationKeys) {
    e().creaConDemo(kHoy);
    const std::pair<const char*, const char*> claves[] = {
        {"ClasePrecioVenta", "1"},     {"ClasePrecioSugerido", "3"},
        {"ClasePrecioOferta", "2"},    {"piva", "21"},
        {"UNIDADDEMEDIDA_KG", "KG"},   {"NOMBRE", "SUPERMERCADOS DEMO S.A."},
        {"CFondo", "12648447"},        {"TopConsArt", "500"},
        {"SS_CONFIDENCIALIDAD", "NO"},
    };
    for (const auto& [clave, valor] : claves) {
        // The program reads keys in any case.
        EXPECT_EQ(e().valor(QStringLiteral("SELECT VALOR FROM TA_CONFIGURACION WHERE CLAVE = ?"),
                            {QString::fromUtf8(clave).toUpper()})
                      .toString()
                      .trimmed(),
                  QString::fromUtf8(valor))
            << clave;
    }
}

TEST_P(DemoTest, EarlierBatchHoldsTheRunningOfferAtItsPrice) {
    e().creaConDemo(kHoy);
    const QString articulo = e().valor("SELECT IdArticulo FROM V_MA_ARTICULOS WHERE Descripcion = "
                                       "'DURAZNOS EN ALMÍBAR DEL VALLE X 350 G'")
                                 .toString();
    ASSERT_FALSE(articulo.isEmpty());
    const double oferta = e().valor("SELECT precio2 FROM V_MA_PRECIOS WHERE IDLISTA = '1' AND "
                                    "IdArticulo = ?",
                                    {articulo})
                              .toDouble();
    const QString precio = e().valor("SELECT Precio FROM MV_TARVELO WHERE IdLista = '1' AND "
                                     "CodInterno = ?",
                                     {articulo.rightJustified(9, QLatin1Char('0'))})
                               .toString();
    EXPECT_EQ(precio, QString::asprintf("%010.3f", oferta).remove(QLatin1Char('.')));
    EXPECT_EQ(precio.size(), 9);
}

TEST_P(DemoTest, BulkListForTheBenchmark) {
    ASSERT_TRUE(e().creaEsquema());
    OpcionesMasivo o;
    o.filas = 2500;
    o.codigoInicial = 1;
    o.hoy = kHoy;
    QElapsedTimer reloj;
    reloj.start();
    BaseDemo::generaMasivo(e().conexion(), o);
    EXPECT_LT(reloj.elapsed(), 20000);
    EXPECT_EQ(e().cuenta("SELECT COUNT(*) FROM V_MA_ARTICULOS"), 2500);
    EXPECT_EQ(filasACargar(o.idLista), 2500);
    EXPECT_GT(
        e().cuenta(
            "SELECT COUNT(*) FROM V_MA_ARTICULOS WHERE Pesable = 1 AND IdArticulo < '010000'"),
        0);
    EXPECT_EQ(e().valor("SELECT NOMBRE FROM V_MA_PRECIOS WHERE ID = (SELECT MIN(ID) FROM "
                        "V_MA_PRECIOS)")
                  .toString()
                  .trimmed(),
              o.nombreLista);
    EXPECT_EQ(e().valor("SELECT VALOR FROM TA_CONFIGURACION WHERE CLAVE = 'ClasePrecioVenta'")
                  .toString()
                  .trimmed(),
              "1");
}

TEST_P(DemoTest, BulkListBesideTheDemo) {
    e().creaConDemo(kHoy);
    OpcionesMasivo o;
    o.filas = 300;
    BaseDemo::generaMasivo(e().conexion(), o);
    EXPECT_EQ(filasACargar(o.idLista), 300);
    EXPECT_EQ(filasACargar(BaseDemo::kListaVenta), 35);
}

INSTANTIATE_TEST_SUITE_P(Motores, DemoTest, valoresMotores(), nombreMotor);

QStringList volcado(const QString& archivo) {
    QStringList filas;
    const QString nombre = QStringLiteral("volcado-") + archivo;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), nombre);
        db.setDatabaseName(archivo);
        EXPECT_TRUE(db.open());
        RegistraKXSqlite(db);
        BaseDemo::crea(db, true, kHoy);
        QSqlQuery q(db);
        EXPECT_TRUE(q.exec("SELECT p.ID, p.IDLISTA, a.IdArticulo, a.Descripcion, a.CodigoBarra, "
                           "p.ESTADO, p.FHOFERTADESDE, p.precio1 FROM V_MA_PRECIOS p JOIN "
                           "V_MA_ARTICULOS a ON a.IdArticulo = p.IdArticulo ORDER BY p.ID"));
        while (q.next()) {
            QStringList c;
            for (int i = 0; i < 8; ++i) {
                c << q.value(i).toString();
            }
            filas << c.join(QLatin1Char('|'));
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(nombre);
    return filas;
}

TEST(DemoDeterminismo, SameDaySameRows) {
    QTemporaryDir d;
    const QStringList a = volcado(d.filePath("a.db"));
    const QStringList b = volcado(d.filePath("b.db"));
    EXPECT_GT(a.size(), 500);
    EXPECT_EQ(a, b);
}

} // namespace
