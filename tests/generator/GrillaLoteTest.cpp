#include "generator/GrillaLote.h"
#include "generator/FilaNovedad.h"
#include "utility_library/ErrorKX.h"

#include <gtest/gtest.h>

TEST(GrillaLote, CeldasPorFilaYColumna) {
    GrillaLote g;
    g.FijaCols(4);
    g.FijaRows(3);
    EXPECT_EQ(g.Texto(2, 3), "");
    g.FijaTexto(1, 1, "abc");
    g.FijaTexto(1, 3, "z");
    g.FijaTexto(1, 0, "xy");
    g.FijaTexto(1, 1, "");
    g.FijaTexto(1, 2, "€é");
    EXPECT_EQ(g.Fila(1), QStringList({"xy", "", "€é", "z"}));
    EXPECT_EQ(g.Fila(0), QStringList({"", "", "", ""}));

    const QString celdas[2] = {"A", "BBB"};
    g.FijaFila(2, celdas, 2);
    g.FijaTexto(2, 3, "fin");
    g.FijaFila(2, celdas, 1);
    EXPECT_EQ(g.Fila(2), QStringList({"A", "BBB", "", "fin"}));

    // Columns kept on a change of column count; new rows and columns are blank.
    g.FijaCols(3);
    EXPECT_EQ(g.Fila(1), QStringList({"xy", "", "€é"}));
    g.FijaCols(5);
    EXPECT_EQ(g.Fila(1), QStringList({"xy", "", "€é", "", ""}));
    g.AgregaFila();
    EXPECT_EQ(g.Rows(), 4);
    EXPECT_EQ(g.Fila(3), QStringList({"", "", "", "", ""}));

    g.Clear();
    EXPECT_EQ(g.Rows(), 4);
    EXPECT_EQ(g.Fila(1), QStringList({"", "", "", "", ""}));
    g.FijaRows(2);
    EXPECT_EQ(g.Rows(), 2);

    EXPECT_THROW(g.Texto(2, 0), FalloKX);
    EXPECT_THROW(g.FijaTexto(0, 5, "x"), FalloKX);
    EXPECT_THROW(g.Texto(-1, 0), FalloKX);
    EXPECT_EQ(g.ColWidth(0), GrillaLote::AnchoPorDefecto);
    g.FijaColWidth(4, 0);
    EXPECT_EQ(g.ColWidth(4), 0);
}

// A row longer than the compact cell offsets hold keeps every cell, through
// each way of writing it, and the other rows keep theirs.
TEST(GrillaLote, FilaMasLargaQueLosDesplazamientosCortos) {
    const QString largo(70000, QLatin1Char('x'));
    for (int via = 0; via < 3; ++via) {
        GrillaLote g;
        g.FijaRows(3);
        g.FijaCols(3);
        g.FijaTexto(1, 0, "a");
        g.FijaTexto(1, 2, "c");
        g.FijaTexto(2, 2, "otra");
        if (via == 0) {
            g.FijaTexto(1, 1, largo);
        } else if (via == 1) {
            const QString celdas[3] = {"a", largo, "c"};
            g.FijaFila(1, celdas, 3);
        } else {
            g.FijaTexto(1, 1, largo);
            g.FijaCols(4); // offsets rebuilt from wide ones
        }
        SCOPED_TRACE(via);
        EXPECT_EQ(g.Texto(1, 0), "a");
        EXPECT_EQ(g.Texto(1, 1), largo);
        EXPECT_EQ(g.Texto(1, 2), "c");
        EXPECT_EQ(g.Texto(2, 2), "otra");
        g.FijaTexto(1, 1, "b");
        g.FijaTexto(1, 0, "aa");
        EXPECT_EQ(g.Texto(1, 1), "b");
        EXPECT_EQ(g.Texto(1, 2), "c");
        g.AgregaFila();
        EXPECT_EQ(g.Texto(3, 2), "");
    }
}

TEST(GrillaLote, AvisaALaVista) {
    struct Registro : GrillaLote::Observador {
        QStringList eventos;
        void antesDeReiniciar() override { eventos << "reinicia"; }
        void antesDeAgregarFilas(int d, int h) override {
            eventos << QString("agrega %1-%2").arg(d).arg(h);
        }
        void celdaCambiada(int f, int c) override {
            eventos << QString("celda %1,%2").arg(f).arg(c);
        }
    } r;
    GrillaLote g;
    g.fijaObservador(&r);
    g.FijaCols(2);
    g.FijaRows(2);
    g.AgregaFila();
    g.FijaTexto(2, 1, "x");
    g.Clear();
    EXPECT_EQ(r.eventos,
              QStringList({"reinicia", "agrega 0-1", "agrega 2-2", "celda 2,1", "reinicia"}));
}

TEST(FilaNovedad, EncabezadosYFilaEnBlanco) {
    ASSERT_EQ(FilaNovedad::Encabezados().size(), 18);
    EXPECT_EQ(FilaNovedad::Encabezados()[FilaNovedad::Descripcion], "Descripción");
    EXPECT_EQ(FilaNovedad::Encabezados()[FilaNovedad::Tipo], "Tipo");
    EXPECT_EQ(FilaNovedad::Encabezados()[FilaNovedad::Rubro], "Rubro");
    EXPECT_EQ(FilaNovedad::Encabezados()[FilaNovedad::NoMarcar], "NoMarcar");

    GrillaLote g;
    g.FijaCols(18);
    g.FijaRows(2);
    EXPECT_TRUE(FilaNovedad::EnBlanco(g, 1));
    g.FijaTexto(1, FilaNovedad::Id, "12");
    g.FijaTexto(1, FilaNovedad::TipoIva, " ");
    EXPECT_TRUE(FilaNovedad::EnBlanco(g, 1)); // ids and blanks are no loaded row
    g.FijaTexto(1, FilaNovedad::Aux2, "000000");
    EXPECT_FALSE(FilaNovedad::EnBlanco(g, 1));

    FilaNovedad f;
    for (int c = 0; c < FilaNovedad::Columnas; ++c) {
        f[c] = QString::number(c);
    }
    f.EnGrilla(g, 1);
    const FilaNovedad leida = FilaNovedad::DeGrilla(g, 1);
    EXPECT_EQ(leida.celdas, f.celdas);
}
