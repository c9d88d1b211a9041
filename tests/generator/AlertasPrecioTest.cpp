#include "generator/AlertasPrecio.h"
#include "generator/FilaNovedad.h"
#include "generator/GrillaLote.h"

#include <gtest/gtest.h>

namespace {

struct CasoAlerta {
    const char* nombre;
    PreciosAlerta precios;
    QStringList motivos;
};

} // namespace

// Each rule at its threshold (no alert) and one thousandth past it.
TEST(AlertasPrecio, CadaReglaEnSuUmbralYJustoDespues) {
    const UmbralesAlerta u; // 50%, margin 0
    const QList<CasoAlerta> casos = {
        {"sube justo el 50%", {150000, {}, 100000, {}}, {}},
        {"sube pasado el 50%",
         {150001, {}, 100000, {}},
         {"variación +50,0% (último enviado 100,00)"}},
        {"baja justo el 50%", {50000, {}, 100000, {}}, {}},
        {"baja pasado el 50%",
         {49999, {}, 100000, {}},
         {"variación -50,0% (último enviado 100,00)"}},
        {"coma corrida", {19900, {}, 1990, {}}, {"variación +900,0% (último enviado 1,99)"}},
        {"nunca enviado", {19900, {}, {}, {}}, {}},
        {"enviado a cero", {19900, {}, 0, {}}, {}},
        {"oferta menor que el regular", {99999, {}, {}, 100000}, {}},
        {"oferta igual al regular",
         {100000, {}, {}, 100000},
         {"oferta 100,00 no menor que regular 100,00"}},
        {"oferta mayor que el regular",
         {120000, {}, {}, 100000},
         {"oferta 120,00 no menor que regular 100,00"}},
        {"regular sin precio", {120000, {}, {}, 0}, {}},
        {"igual al costo", {80000, 80000, {}, {}}, {}},
        {"bajo el costo", {79999, 80000, {}, {}}, {"precio 79,999 bajo costo 80,00"}},
        {"costo desconocido", {1, 0, {}, {}}, {}},
        {"precio cero", {0, 80000, 100000, 100000}, {"precio cero"}},
        {"sin precio legible", {{}, 80000, 100000, {}}, {}},
        {"varias a la vez",
         {300000, 400000, 100000, 250000},
         {"variación +200,0% (último enviado 100,00)", "oferta 300,00 no menor que regular 250,00",
          "precio 300,00 bajo costo 400,00"}},
    };
    for (const CasoAlerta& c : casos) {
        EXPECT_EQ(AlertasPrecio::Motivos(c.precios, u), c.motivos) << c.nombre;
    }
}

TEST(AlertasPrecio, UmbralesConfigurados) {
    UmbralesAlerta u;
    u.variacionMaxima = 10;
    u.margenMinimo = 25;
    // 10% limit: 110 is at it, 110.001 past it.
    EXPECT_TRUE(AlertasPrecio::Motivos({110000, {}, 100000, {}}, u).isEmpty());
    EXPECT_EQ(AlertasPrecio::Motivos({110001, {}, 100000, {}}, u).size(), 1);
    // 25% over a cost of 80: 100 is at it, 99.999 below it.
    EXPECT_TRUE(AlertasPrecio::Motivos({100000, 80000, {}, {}}, u).isEmpty());
    EXPECT_EQ(AlertasPrecio::Motivos({99999, 80000, {}, {}}, u),
              QStringList{"precio 99,999 bajo costo 80,00 + 25%"});

    const QList<std::tuple<const char*, double>> textos = {
        {"", 50}, {"  ", 50}, {"30", 30},   {"12,5", 12.5}, {"12.5", 12.5},
        {"0", 0}, {"-5", 50}, {"diez", 50}, {"1.2.3", 50},
    };
    for (const auto& [texto, esperado] : textos) {
        EXPECT_DOUBLE_EQ(AlertasPrecio::LeeUmbral(texto, 50), esperado) << texto;
    }
}

TEST(AlertasPrecio, ImportesYCeldas) {
    EXPECT_EQ(AlertasPrecio::Milesimas(u"001250500"), 1250500);
    EXPECT_EQ(AlertasPrecio::Milesimas(u" -00001000"), -1000);
    EXPECT_FALSE(AlertasPrecio::Milesimas(u""));
    EXPECT_FALSE(AlertasPrecio::Milesimas(u"12a"));
    EXPECT_EQ(AlertasPrecio::Importe(1250500), "1250,50");
    EXPECT_EQ(AlertasPrecio::Importe(1999), "1,999");
    EXPECT_EQ(AlertasPrecio::Importe(-5000), "-5,00");
}

// A batch is looked at a block of articles at a time: every row falls in one
// block, an article sent twice in a row (a changed bar code) is asked once,
// and the rows of a block are judged against that block's last prices.
TEST(AlertasPrecio, BloquesDeArticulos) {
    GrillaLote g;
    g.FijaCols(FilaNovedad::Columnas);
    g.FijaRows(1);
    const QList<std::pair<QString, QString>> filas = {{"000000001", "000100000"},
                                                      {"000000001", "000100000"},
                                                      {"000000002", "000300000"},
                                                      {"000000003", "000100000"},
                                                      {"000000004", "000000000"}};
    for (const auto& [cod, precio] : filas) {
        g.AgregaFila();
        g.FijaTexto(g.Rows() - 1, FilaNovedad::CodInterno, cod);
        g.FijaTexto(g.Rows() - 1, FilaNovedad::Precio, precio);
        g.FijaTexto(g.Rows() - 1, FilaNovedad::PrecioCosto, "000000000");
    }
    int hasta = 0;
    EXPECT_EQ(AlertasPrecio::Articulos(g, 1, 2, hasta), QStringList({"000000001", "000000002"}));
    EXPECT_EQ(hasta, 4);
    EXPECT_EQ(AlertasPrecio::Articulos(g, hasta, 2, hasta),
              QStringList({"000000003", "000000004"}));
    EXPECT_EQ(hasta, 6);

    // Article 2 went out at 100.00 before: +200% in the first block only.
    const QHash<QString, QString> anteriores = {{"000000002", "000100000"}};
    const QList<AlertaFila> primero = AlertasPrecio::Revisa(g, {}, anteriores, {}, 1, 4);
    ASSERT_EQ(primero.size(), 1);
    EXPECT_EQ(primero[0].fila, 3);
    const QList<AlertaFila> segundo = AlertasPrecio::Revisa(g, {}, {}, {}, 4, 6);
    ASSERT_EQ(segundo.size(), 1);
    EXPECT_EQ(segundo[0].motivos, QStringList{"precio cero"});
}
