#include "generator/RevisionFormato.h"
#include "generator/FilaNovedad.h"
#include "generator/GrillaLote.h"
#include "generator/ValoresFila.h"

#include <gtest/gtest.h>

namespace {

struct Fila {
    const char *codigo, *descripcion, *precio, *costo, *rubro;
};

GrillaLote grillaDe(std::initializer_list<Fila> filas) {
    GrillaLote g;
    g.FijaCols(FilaNovedad::Columnas);
    g.FijaRows(1);
    for (int c = 0; c < FilaNovedad::Columnas; ++c) {
        g.FijaTexto(0, c, FilaNovedad::Encabezados()[c]);
    }
    int id = 1;
    for (const Fila& f : filas) {
        g.AgregaFila();
        if (!*f.codigo) {
            continue; // a row where nothing was loaded
        }
        ValoresFila v;
        v.tipoMov = "0-M";
        v.codigo = f.codigo;
        v.descripcion = QString::fromUtf8(f.descripcion);
        v.marca = "MARCA";
        v.precio = v.precio2 = f.precio;
        v.costo = f.costo;
        v.tasaIva = "21";
        v.rubro = f.rubro;
        v.id = QString::number(id++);
        v.FormateaFila("21", false);
        v.Fila().EnGrilla(g, g.Rows() - 1);
    }
    return g;
}

using T = HallazgoFormato::Tipo;

} // namespace

TEST(RevisionFormato, CuentaLoQueSaleDelFormatoFijo) {
    const GrillaLote g = grillaDe({
        {"1234", "QUESO ÑOQUIS €", "1250.5", "800", "05"}, // 1: fits
        {"1235", "QUESO", "10", "5", "1"},                 // 2: one-character category
        {"42", "MANZANA", "1000000", "5", "05"},           // 3: a million or more
        {"43", "PERA", "-12.5", "5", "05"},                // 4: below zero, scale too
        {"44", "MANZANA Ω", "10", "5", "05"},              // 5: no code in Windows-1252
        {"", "", "", "", ""},                              // 6: blank, never written
        {"20000", "PAN", "10", "-5", "05"},                // 7: no scale record
    });
    const RevisionFormato r = RevisaFormato(g);
    struct Esperado {
        int fila;
        T tipo;
        int largo;
        int columna;
        const char* perdidos;
    };
    const Esperado esperados[] = {
        {2, T::LargoCambios, 125, -1, ""},
        {3, T::LargoCambios, 128, -1, ""},
        {4, T::LargoCambios, 128, -1, ""},
        {4, T::LargoBalanza, 82, -1, ""},
        {5, T::CaracteresPerdidos, 1, FilaNovedad::Descripcion, "Ω"},
        {7, T::LargoCambios, 127, -1, ""},
    };
    ASSERT_EQ(r.hallazgos.size(), qsizetype(std::size(esperados)))
        << r.Describe().join("\n").toStdString();
    for (size_t i = 0; i < std::size(esperados); ++i) {
        SCOPED_TRACE(i);
        const HallazgoFormato& h = r.hallazgos[qsizetype(i)];
        const Esperado& e = esperados[i];
        EXPECT_EQ(h.fila, e.fila);
        EXPECT_EQ(h.tipo, e.tipo);
        EXPECT_EQ(h.largo, e.largo);
        EXPECT_EQ(h.columna, e.columna);
        EXPECT_EQ(h.perdidos, QString::fromUtf8(e.perdidos));
    }
    EXPECT_EQ(r.filasCambios(), 4);
    EXPECT_EQ(r.filasBalanza(), 1);
    EXPECT_EQ(r.celdasConPerdidas(), 1);
    EXPECT_EQ(r.filas(), QList<int>({2, 3, 4, 5, 7}));
    EXPECT_EQ(r.Describe().first(),
              "Fila 2 (000001235): el registro de CAMBIOS.TXT tendría 125 caracteres en lugar "
              "de 126");
    EXPECT_EQ(r.hallazgos[3].Describe(),
              "Fila 4 (000000043): el registro de BALANZA.TXT tendría 82 caracteres en lugar de "
              "81");
    EXPECT_EQ(r.hallazgos[4].Describe(),
              QString::fromUtf8("Fila 5 (000000044), Descripción: \"Ω\" no existe en "
                                "Windows-1252 y se escribiría como \"?\""));

    // A characterless grid and a clean one have nothing to say.
    EXPECT_TRUE(RevisaFormato(grillaDe({})).vacia());
    EXPECT_TRUE(RevisaFormato(grillaDe({{"1", "A", "1", "1", "99"}})).vacia());
}

TEST(RevisionFormato, UnCaracterFueraDelPlanoBasicoCuentaComoSeEscribe) {
    // Two UTF-16 units, each written as "?": named whole, and the record
    // keeps its length.
    const GrillaLote g = grillaDe({{"1", "MANZANA 🍎", "1", "1", "05"}});
    const RevisionFormato r = RevisaFormato(g);
    ASSERT_EQ(r.hallazgos.size(), 1);
    EXPECT_EQ(r.hallazgos[0].tipo, T::CaracteresPerdidos);
    EXPECT_EQ(r.hallazgos[0].perdidos, QString::fromUtf8("🍎"));
}
