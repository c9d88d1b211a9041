#include "generator/AlertasPrecio.h"

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
        {"sube pasado el 50%", {150001, {}, 100000, {}}, {"variación +50,0% (último enviado 100,00)"}},
        {"baja justo el 50%", {50000, {}, 100000, {}}, {}},
        {"baja pasado el 50%", {49999, {}, 100000, {}}, {"variación -50,0% (último enviado 100,00)"}},
        {"coma corrida", {19900, {}, 1990, {}}, {"variación +900,0% (último enviado 1,99)"}},
        {"nunca enviado", {19900, {}, {}, {}}, {}},
        {"enviado a cero", {19900, {}, 0, {}}, {}},
        {"oferta menor que el regular", {99999, {}, {}, 100000}, {}},
        {"oferta igual al regular", {100000, {}, {}, 100000}, {"oferta 100,00 no menor que regular 100,00"}},
        {"oferta mayor que el regular", {120000, {}, {}, 100000}, {"oferta 120,00 no menor que regular 100,00"}},
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
        {"", 50}, {"  ", 50}, {"30", 30}, {"12,5", 12.5}, {"12.5", 12.5},
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
