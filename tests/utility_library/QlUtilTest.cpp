#include "utility_library/Cp1252.h"
#include "OperadorGuion.h"
#include "utility_library/Pasos.h"
#include "utility_library/QlCifrado.h"
#include "utility_library/QlDialogos.h"
#include "utility_library/QlFields.h"
#include "utility_library/QlIni.h"
#include "utility_library/QlTexto.h"
#include "utility_library/Regional.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(QlUtil, AjustaTextoCutsAndPads) {
    EXPECT_EQ(QlUtil::AjustaTexto("ABC", 5), "ABC  ");
    EXPECT_EQ(QlUtil::AjustaTexto("ABCDEF", 4), "ABCD");
    EXPECT_EQ(QlUtil::AjustaTexto("", 3), "   ");
}

TEST(QlUtil, TextoAMonedaReadsDatabaseAndTypedAmounts) {
    const struct {
        const char* texto;
        double valor;
    } casos[] = {{"", 0},        {"001250500", 1250500}, {"1250.5", 1250.5}, {"1.250,50", 1250.5},
                 {"12,5", 12.5}, {"-3.25", -3.25},       {"abc", 0},         {"0.00005", 0.0001}};
    for (const auto& c : casos) {
        EXPECT_DOUBLE_EQ(QlUtil::TextoAMoneda(c.texto), c.valor) << c.texto;
    }
}

// Plain decimals are read without a copy of the text; every form must read
// as QString::toDouble reads it (correctly rounded), and the others as before.
TEST(QlUtil, TextoANumeroReadsPlainAndGroupedAmounts) {
    const struct {
        const char* texto;
        double valor;
    } casos[] = {
        {"1250.5", 1250.5},       {"-3", -3},
        {".5", 0.5},              {"5.", 5},
        {"0.1", 0.1},             {"2.0005", 2.0005},
        {"-0.000001", -0.000001}, {"9007199254740993", 9007199254740992.0},
        {"123456.789", 123456.789}, {"007", 7},
        {" 7 ", 7},               {"1,5", 1.5},
        {"1.234.567", 1234567},   {"1.234,50", 1234.5},
        {"+5", 5},                {"-", 0},
        {".", 0},                 {"", 0},
        {"12a", 0},               {"1e3", 1000},
    };
    for (const auto& c : casos) {
        EXPECT_EQ(QlUtil::TextoANumero(QString::fromLatin1(c.texto)), c.valor) << c.texto;
    }
}

TEST(QlUtil, TextHelpers) {
    EXPECT_EQ(QlUtil::CuentaPalabras("  SELECT  *  FROM T "), 4);
    EXPECT_EQ(QlUtil::QuitaCaracteres(" =a=b ", "="), " ab ");
    EXPECT_EQ(QlUtil::Reemplaza("a\\Cambios.txt", "\\CAMBIOS.TXT", "\\BALANZA.TXT"),
              "a\\BALANZA.TXT");
    EXPECT_EQ(QlUtil::FormateaCodigo(" 1 ", 4), "1   ");
    EXPECT_EQ(QlUtil::AgregaBarra("/tmp"), "/tmp/");
    EXPECT_EQ(QlUtil::AgregaBarra("C:\\x\\"), "C:\\x\\");
    EXPECT_EQ(QlUtil::NoNulo(QVariant()), "");
    EXPECT_EQ(QlUtil::NoNulo(QVariant(1250.5)), "1250.5");
    EXPECT_EQ(QlUtil::NoNulo(QVariant(QDate(2026, 12, 10))), "10/12/2026");
}

TEST(QlUtil, CipherRoundTripsWithoutCommasOrLineBreaks) {
    for (const QString& t : {QString("clave,con\r\ncomas"), QString(""), QString("ñandú €")}) {
        const QString c = QlUtil::Encripta(t);
        EXPECT_FALSE(c.contains(',') || c.contains('\n') || c.contains('\r'));
        EXPECT_EQ(QlUtil::Desencripta(c), t);
    }
}

TEST(QlUtil, ReportaErrorAsksTheOperator) {
    OperadorGuion op;
    fijaOperador(&op);
    op.responde(4);
    EXPECT_EQ(QlUtil::ReportaError(ErrorKX{13, "Type mismatch", "Prueba"}), 4);
    ASSERT_EQ(op.preguntas().size(), 1);
    EXPECT_EQ(op.preguntas()[0].estilo, 18);
    fijaOperador(nullptr);
}

TEST(Pasos, RetryGoOnLeave) {
    int intentos = 0, despues = 0;
    QList<int> respuestas{4, 4};
    Pasos p([&](const ErrorKX&) { return respuestas.takeFirst(); });
    EXPECT_TRUE(p.pasos({[&] {
                             if (++intentos < 3) {
                                 throw FalloKX(1, "x");
                             }
                         },
                         [&] { ++despues; }}));
    EXPECT_EQ(intentos, 3);
    EXPECT_EQ(despues, 1);
    Pasos sale([](const ErrorKX&) { return 3; });
    EXPECT_FALSE(sale.pasos({[] { throw FalloKX(1, "x"); }, [&] { ++despues; }}));
    EXPECT_EQ(despues, 1);
}

TEST(Cp1252, RoundTripAndUnmappable) {
    const QString t = QString::fromUtf8("Año € “x” ñ");
    const QByteArray b = Cp1252::codifica(t);
    EXPECT_EQ(b.size(), t.size());
    EXPECT_EQ(quint8(b[4]), 0x80);
    EXPECT_EQ(Cp1252::decodifica(b), t);
    EXPECT_EQ(Cp1252::codifica(QString::fromUtf8("漢")), QByteArray("?"));
    // Appending writes the same bytes after what is there; only the
    // characters without a code make a text unrepresentable.
    QByteArray r("AB");
    Cp1252::agrega(r, QString::fromUtf8("ñ€?"));
    EXPECT_EQ(r, QByteArray("AB\xF1\x80?"));
    const struct {
        const char* texto;
        bool representable;
    } casos[] = {{"", true}, {"PLAIN ?", true}, {"ñandú €", true}, {"漢", false},
                 {"\xC2\x81", false}, {"Œ\xE2\x80\x94", true}};
    for (const auto& c : casos) {
        const QString t = QString::fromUtf8(c.texto);
        EXPECT_EQ(Cp1252::representable(t), c.representable) << c.texto;
    }
}

TEST(Regional, ShortDatesReadAsTheSameDay) {
    EXPECT_EQ(Regional::fechaCorta(QDate(2026, 12, 1)), "01/12/2026");
    EXPECT_EQ(Regional::leeFecha("01/12/2026"), QDate(2026, 12, 1));
    EXPECT_EQ(Regional::leeFecha("1/12/26"), QDate(2026, 12, 1));
    EXPECT_EQ(Regional::leeFecha("2026-12-01 00:00:00"), QDate(2026, 12, 1));
    EXPECT_FALSE(Regional::leeFecha("31/02/2026").isValid());
    EXPECT_FALSE(Regional::leeFecha("hola").isValid());
}

TEST(QlFields, IndiceCampoIgnoresCase) {
    EXPECT_EQ(QlFields::IndiceCampo("idlista", {"Codigo", "Fecha", "IdLista"}), 2);
    EXPECT_EQ(QlFields::IndiceCampo("nada", {"Codigo"}), -1);
}

TEST(QlIni, ReadsSectionsAndKeysWithoutRegardToCase) {
    QTemporaryDir d;
    QFile f(d.filePath("x.ini"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("; comentario\r\n[Skin]\r\nOPERADOR = 3\r\n[Otra]\r\noperador=9\r\n");
    f.close();
    EXPECT_EQ(QlIni::LeeValor(d.filePath("x.ini"), "skin", "operador", "0"), "3");
    EXPECT_EQ(QlIni::LeeValor(d.filePath("x.ini"), "skin", "falta", "0"), "0");
    EXPECT_EQ(QlIni::LeeValor(d.filePath("no.ini"), "skin", "operador", "def"), "def");
}
