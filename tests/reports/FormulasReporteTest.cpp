#include "reports/FormulasReporte.h"
#include "reports/CodigoBarras.h"
#include "reports/LectorLote.h"
#include "utility_library/ErrorKX.h"

#include <gtest/gtest.h>

namespace {

TEST(FormulaSeleccion, AceptaLaFormaQueEscribeElPrograma) {
    struct Caso {
        const char* formula;
        QVariant valor;
    };
    const Caso casos[] = {
        {"{mv_tarvelo.codigo} =12", QVariant(qlonglong(12))},
        {"  { MV_TARVELO . Codigo }   =   -7  ", QVariant(qlonglong(-7))},
        {"{mv_tarvelo.codigo} =12.5", QVariant(12.5)},
        {"{mv_tarvelo.idlista} ='M1'", QVariant(QStringLiteral("M1"))},
        {"{mv_tarvelo.nombre} ='O''Brien'", QVariant(QStringLiteral("O'Brien"))},
        {"{mv_tarvelo.nombre} =\"dice \"\"hola\"\"\"", QVariant(QStringLiteral("dice \"hola\""))},
        {"{mv_tarvelo.nombre} =''", QVariant(QString())},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.formula);
        const SeleccionReporte s = FormulasReporte::leeSeleccion(QString::fromUtf8(c.formula));
        EXPECT_EQ(s.tabla.toLower(), "mv_tarvelo");
        EXPECT_EQ(s.valor, c.valor);
        EXPECT_EQ(s.valor.typeId(), c.valor.typeId());
    }
}

TEST(FormulaSeleccion, RechazaTodoLoDemasSinAdivinar) {
    const char* malas[] = {
        "{mv_tarvelo.codigo} =",          // the window's Codigo field empty
        "{mv_tarvelo.codigo} =12 OR 1=1", // anything after the value
        "{mv_tarvelo.codigo} =12; DELETE FROM MV_TARVELO",
        "{mv_tarvelo.codigo} ='x' OR 'a'='a'", // a quote closing early
        "{mv_tarvelo.codigo} ='sin cierre",
        "{mv_tarvelo.codigo} >12",
        "mv_tarvelo.codigo =12",
        "{mv_tarvelo.codigo;--} =12",
        "{codigo} =12",
        "",
    };
    for (const char* f : malas) {
        SCOPED_TRACE(f);
        try {
            FormulasReporte::leeSeleccion(QString::fromUtf8(f));
            ADD_FAILURE() << "aceptada";
        } catch (const FalloKX& e) {
            EXPECT_TRUE(e.error().descripcion.startsWith("Fórmula de selección no válida"))
                << e.what();
            EXPECT_TRUE(e.error().descripcion.contains(QString::fromUtf8(f)));
        }
    }
}

TEST(FormulasNombradas, LaEmpresaQuedaEnteraConApostrofesOVacia) {
    const auto f = FormulasReporte::leeFormulas(
        {"Empresa = 'Almacén O'Brien S.A.'", "", "", "", "", "", "", ""});
    EXPECT_EQ(f.value("empresa"), QString::fromUtf8("Almacén O'Brien S.A."));
    EXPECT_EQ(FormulasReporte::leeFormulas({"Empresa = ''"}).value("empresa"), "");
    EXPECT_THROW(FormulasReporte::leeFormulas({"Empresa = sin comillas"}), FalloKX);
}

TEST(CodigoBarras, Ean13SoloConDigitoVerificadorCorrecto) {
    using S = CodigoBarras::Simbologia;
    struct Caso {
        const char* texto;
        S esperado;
    };
    const Caso casos[] = {
        {"4006381333931", S::Ean13},
        {" 4006381333931   ", S::Ean13},
        {"4006381333932", S::Code128}, // wrong check digit: never "corrected"
        {"400638133393", S::Code128},  // 12 digits: zint would add a digit
        {"0000012340000", S::Code128},
        {"0000012340002", S::Ean13},
        {"40063813339311", S::Code128},
        {"ABC-123", S::Code128},
        {"", S::Ninguna},
        {"             ", S::Ninguna},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.texto);
        EXPECT_EQ(CodigoBarras::elige(QString::fromLatin1(c.texto)), c.esperado);
    }
}

TEST(Importes, TresDecimalesImplicitosSinPerderNada) {
    struct Caso {
        const char* celda;
        const char* texto; // empty: no amount
    };
    const Caso casos[] = {
        {"001250500", "1250,50"},
        {"001250505", "1250,505"},
        {"000000000", "0,00"},
        {"000000100", "0,10"},
        {"1000000000", "1000000,00"},
        {"-00012500", "-12,50"},
        {"", ""},
        {"12A", ""},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.celda);
        const auto m = LectorLote::milesimas(QString::fromLatin1(c.celda));
        if (!*c.texto) {
            EXPECT_FALSE(m.has_value());
            continue;
        }
        ASSERT_TRUE(m.has_value());
        EXPECT_EQ(LectorLote::importe(*m, 2, ","), QString::fromLatin1(c.texto));
    }
}

} // namespace
