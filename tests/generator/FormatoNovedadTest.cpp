#include "generator/FormatoNovedad.h"
#include "generator/FilaNovedad.h"
#include "generator/ReglasLote.h"
#include "generator/ValoresFila.h"

#include <gtest/gtest.h>

namespace {
struct CasoImporte {
    double valor;
    const char* esperado;
};
} // namespace

TEST(FormatoNovedad, Importes) {
    const CasoImporte casos[] = {
        {0, "000000000"},
        {1250.5, "001250500"},
        {800, "000800000"},
        {999999.999, "999999999"},
        {1000000, "1000000000"},
        {12345678.9, "12345678900"},
        {-5, "-000005000"},
        {-0.25, "-000000250"},
        {0.0005, "000000001"},
        {2.0005, "000002001"},
        {2.00049, "000002000"},
        {1.23456, "000001235"},
        {999999.9996, "1000000000"},
    };
    for (const auto& c : casos) {
        EXPECT_EQ(FormatoNovedad::Importe(c.valor), QString(c.esperado)) << c.valor;
    }
    // Read from text, as the price columns arrive: either separator, empty as 0.
    EXPECT_EQ(FormatoNovedad::ImporteTexto("1250.50"), "001250500");
    EXPECT_EQ(FormatoNovedad::ImporteTexto("1250,5"), "001250500");
    EXPECT_EQ(FormatoNovedad::ImporteTexto(""), "000000000");
    EXPECT_EQ(FormatoNovedad::ImporteTexto("-12.5"), "-000012500");
}

// An amount is one number or it is unreadable: never a guess.
TEST(FormatoNovedad, ImportesLegibles) {
    const struct {
        const char* texto;
        std::optional<double> valor;
    } casos[] = {
        {"", 0.0},
        {"  ", 0.0},
        {"1250.5", 1250.5},
        {"1250,5", 1250.5},
        {"-12.5", -12.5},
        {"+3", 3.0},
        {".5", 0.5},
        {"100.0000", 100.0},
        {"1.234.567", 1234567.0},
        {"1.234,50", 1234.5},
        {"1,234.50", 1234.5},
        {" 7 ", 7.0},
        {"1.2.3", {}},
        {"1,2,3", {}},
        {"12a", {}},
        {"1.23.456", {}},
        {"--1", {}},
        {"1 000", {}},
        {"1e3", {}},
        {"abc", {}},
        {"1.234,5.6", {}},
        {"-", {}},
    };
    for (const auto& c : casos) {
        EXPECT_EQ(FormatoNovedad::LeeImporte(c.texto), c.valor) << c.texto;
    }
}

// Batch codes are read exactly, as 64-bit whole numbers; list codes have at
// most four characters.
TEST(ReglasLote, CodigosYListas) {
    const struct {
        const char* texto;
        std::optional<qint64> codigo;
    } codigos[] = {
        {"49", 49},
        {"049", 49},
        {" 0001 ", 1},
        {"0", 0},
        {"9007199254740993", Q_INT64_C(9007199254740993)},
        {"9223372036854775807", Q_INT64_C(9223372036854775807)},
        {"0009223372036854775807", Q_INT64_C(9223372036854775807)},
        {"9223372036854775808", {}},
        {"99999999999999999999", {}},
        {"-1", {}},
        {"4 9", {}},
        {"1e3", {}},
        {"", {}},
        {"1; DELETE FROM MV_TARVELO", {}},
    };
    for (const auto& c : codigos) {
        EXPECT_EQ(ReglasLote::LeeCodigo(c.texto), c.codigo) << c.texto;
    }
    EXPECT_EQ(ReglasLote::LeeLista("1"), std::optional<QString>("1"));
    EXPECT_EQ(ReglasLote::LeeLista("  A3  "), std::optional<QString>("A3"));
    EXPECT_EQ(ReglasLote::LeeLista("ABCD"), std::optional<QString>("ABCD"));
    EXPECT_EQ(ReglasLote::LeeLista("ABCDE"), std::nullopt);
    EXPECT_EQ(ReglasLote::LeeLista("1   ; DROP TABLE X"), std::nullopt);
    EXPECT_EQ(ReglasLote::LeeLista("   "), std::nullopt);
}

TEST(FormatoNovedad, CeldasDeTexto) {
    struct Caso {
        const char* entrada;
        const char* esperado;
    };
    const Caso codigos[] = {{"1234", "000001234"},         {"  1234 ", "000001234"},
                            {"123456789012", "123456789"}, {"ABC", "000000ABC"},
                            {"12345678 9", "012345678"},   {"", "000000000"}};
    for (const auto& c : codigos) {
        EXPECT_EQ(FormatoNovedad::CodInterno(c.entrada), QString(c.esperado)) << c.entrada;
    }
    const QString cuarenta = "0123456789012345678901234567890123456789";
    EXPECT_EQ(FormatoNovedad::Texto(cuarenta, 30), cuarenta.left(30));
    EXPECT_EQ(FormatoNovedad::Texto("QUESO CREM", 30), "QUESO CREM" + QString(20, ' '));
    EXPECT_EQ(FormatoNovedad::Texto("  QUESO  ", 30), "QUESO" + QString(25, ' '));
    // Cut first, then trimmed: blanks at the cut do not survive.
    EXPECT_EQ(FormatoNovedad::Texto("LACTEOS Y      DERIVADOS", 15), "LACTEOS Y" + QString(6, ' '));
    EXPECT_EQ(FormatoNovedad::Texto("", 15), QString(15, ' '));
}

TEST(FormatoNovedad, IvaCodigoDeBarrasRubroYPesable) {
    struct CasoIva {
        const char* tasa;
        const char* piva;
        const char* esperado;
    };
    const CasoIva ivas[] = {{"21", "10.5", "0"}, {"10.5", "21", "1"}, {"", "21", "0"},
                            {"", " ", "1"},      {"21.00", "", "1"},  {"27", "21", "1"}};
    for (const auto& c : ivas) {
        EXPECT_EQ(FormatoNovedad::TipoIva(c.tasa, c.piva), QString(c.esperado))
            << c.tasa << "/" << c.piva;
    }
    EXPECT_EQ(FormatoNovedad::CodBarra("", "000001234"), "0000012340000");
    EXPECT_EQ(FormatoNovedad::CodBarra("  ", "000001234"), "0000012340000");
    EXPECT_EQ(FormatoNovedad::CodBarra("7790001234567", "x"), "7790001234567");
    EXPECT_EQ(FormatoNovedad::CodBarra("77900012345678901", "x"), "7790001234567");
    EXPECT_EQ(FormatoNovedad::CodBarra("12345", "x"), "12345        ");

    EXPECT_EQ(FormatoNovedad::Rubro("05"), "05");
    EXPECT_EQ(FormatoNovedad::Rubro(" 5 "), "5");
    EXPECT_EQ(FormatoNovedad::Rubro("1234"), "12");
    EXPECT_EQ(FormatoNovedad::Rubro(""), "99");

    struct CasoPesable {
        const char* texto;
        const char* esperado;
    };
    const CasoPesable pesables[] = {{"", "0"},      {"0", "0"},     {"N", "0"},   {"no", "0"},
                                    {"FALSO", "0"}, {"false", "0"}, {"1", "1"},   {"S", "1"},
                                    {"True", "1"},  {"X", "1"},     {" -1 ", "1"}};
    for (const auto& c : pesables) {
        EXPECT_EQ(FormatoNovedad::Pesable(c.texto), QString(c.esperado)) << c.texto;
    }
}

TEST(FormatoNovedad, PatronesNumericos) {
    EXPECT_EQ(FormatoNovedad::Patron("5", 2), "05");
    EXPECT_EQ(FormatoNovedad::Patron("05", 2), "05");
    EXPECT_EQ(FormatoNovedad::Patron("123", 2), "123");
    EXPECT_EQ(FormatoNovedad::Patron("A1", 2), "A1");
    EXPECT_EQ(FormatoNovedad::Patron("01234", 5), "01234");
    EXPECT_EQ(FormatoNovedad::Patron("00125050", 8), "00125050");
    EXPECT_EQ(FormatoNovedad::Patron("-0000050", 8), "-00000050");
    EXPECT_EQ(FormatoNovedad::Patron(" 1.5 ", 2), "02");
    EXPECT_EQ(FormatoNovedad::Patron("", 2), "");
    EXPECT_EQ(FormatoNovedad::Patron(1234.0, 6), "001234");
    // Whole digits up to fifteen are read as a whole number; longer ones go
    // through a double, as every other number does.
    EXPECT_EQ(FormatoNovedad::Patron("0", 2), "00");
    EXPECT_EQ(FormatoNovedad::Patron("000", 5), "00000");
    EXPECT_EQ(FormatoNovedad::Patron("123456789012345", 6), "123456789012345");
    EXPECT_EQ(FormatoNovedad::Patron("0123456789012345", 6), "123456789012345");
    EXPECT_EQ(FormatoNovedad::Patron("12345678901234567", 6), "12345678901234568");
    EXPECT_EQ(FormatoNovedad::Patron("12a", 5), "12a");
}

// FormateaFila and AgregaFila's mapping: the whole row as the pending loader
// and the manual loader make it.
TEST(ValoresFila, FilaCompletaComoLaArmanLosCargadores) {
    ValoresFila v;
    v.tipoMov = "0-M";
    v.codigo = "1234";
    v.descripcion = "QUESO CREMOSO";
    v.marca = "LACTEOS";
    v.precio = v.precio2 = "1250.5";
    v.costo = "800";
    v.tasaIva = "21";
    v.codBarra = "";
    v.rubro = "05";
    v.pesable = "S";
    v.id = "77";
    v.noMarcar = true;
    v.FormateaFila("10.5", false);
    const FilaNovedad f = v.Fila();
    const QStringList esperado = {"M",
                                  "000001234",
                                  "QUESO CREMOSO" + QString(17, ' '),
                                  "LACTEOS" + QString(8, ' '),
                                  "001250500",
                                  "001250500",
                                  "000000000",
                                  "000800000",
                                  "S",
                                  "0",
                                  "SS",
                                  "0000012340000",
                                  "I",
                                  "05",
                                  "000000000",
                                  "000000",
                                  "77",
                                  "1"};
    for (int c = 0; c < FilaNovedad::Columnas; ++c) {
        EXPECT_EQ(f[c], esperado[c]) << FilaNovedad::Encabezados()[c].toStdString();
    }

    struct CasoTipo {
        const char* estado;
        bool completa;
        const char* esperado;
    };
    const CasoTipo tipos[] = {{"0-C", false, "C"},
                              {"1-M", false, "M"},
                              {"", false, "C"},
                              {"XY", true, "XY"},
                              {"ABCD", true, "ABCD"}};
    for (const auto& c : tipos) {
        ValoresFila w;
        w.tipoMov = c.estado;
        w.FormateaFila("21", c.completa);
        EXPECT_EQ(w.Fila()[FilaNovedad::TipoMov], QString(c.esperado)) << c.estado;
        // Not weighable gives a blank Tipo; NoMarcar "0" by default.
        EXPECT_EQ(w.Fila()[FilaNovedad::Tipo], " ");
        EXPECT_EQ(w.Fila()[FilaNovedad::NoMarcar], "0");
        EXPECT_EQ(w.Fila()[FilaNovedad::Rubro], "99");
    }
}
