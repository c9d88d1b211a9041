#include "PruebaLote.h"
#include "generator/CargadorLote.h"
#include "generator/CargadorNovedades.h"

namespace {

// One price-change case of list "1": what the pending loader must make of it.
struct Caso {
    const char* articulo;
    const char* estado;
    QDate desde, hasta;
    QList<double> precios; // precio1 sale, precio2 offer, precio3 suggested
    bool suspendido = false;
    bool cambioBarra = false;
};

const QDate kHoy(2026, 3, 10);

const Caso kCasos[] = {
    {"000101", "0-M", {}, {}, {100, 80, 0}},                              // plain pending
    {"000102", "0-C", {}, {}, {100, 80, 0}},                              // pending, new
    {"000103", "1-M", kHoy.addDays(1), kHoy.addDays(10), {100, 80, 0}},   // offer starts tomorrow
    {"000104", "0-M", kHoy.addDays(2), kHoy.addDays(10), {100, 80, 0}},   // not due yet
    {"000105", "1-M", kHoy.addDays(-7), kHoy, {100, 80, 0}},              // offer ends today
    {"000106", "0-M", kHoy.addDays(-7), kHoy.addDays(7), {100, 80, 0}},   // offer running
    {"000107", "0-M", kHoy.addDays(-7), kHoy.addDays(7), {100, 80, 150}}, // suggested price
    {"000108", "0-C", {}, {}, {100, 80, 0}, false, true},                 // bar code changed
    {"000109", "0-M", {}, {}, {0, 80, 0}},                                // price 0
    {"000110", "0-M", {}, {}, {100, 80, 0}, true},                        // suspended
    {"000112", "1-M", {}, {}, {100, 80, 0}},                              // already sent
    {"000113", "0-M", {}, {}, {55.5, 0, 0}},                              // no article
};

class CargaNovedadesTest : public PruebaLote {
protected:
    void SetUp() override {
        PruebaLote::SetUp();
        if (IsSkipped() || HasFatalFailure()) {
            return;
        }
        esquema->lista("1", "LISTA UNO");
        esquema->lista("C1", "COMPRAS", "C");
        esquema->tipo("T1", "LACTEOS");
        for (const Caso& c : kCasos) {
            const QString cod = c.articulo;
            if (cod != "000113") {
                ArticuloPrueba a;
                a.idArticulo = cod;
                a.descripcion = "ARTICULO " + cod;
                a.tipo = "T1";
                a.rubro = "05";
                a.idFamilia = cod <= "000102" ? "01" : "02";
                esquema->articulo(a);
            }
            PrecioPrueba p;
            p.idLista = "1";
            p.idArticulo = cod;
            p.estado = c.estado;
            p.cambioCodBarra = c.cambioBarra;
            p.fhOfertaDesde = c.desde;
            p.fhOfertaHasta = c.hasta;
            p.suspendido = c.suspendido;
            p.precios = c.precios;
            p.costo = 60;
            ids[cod] = esquema->precio(p);
        }
        // A weighed article with a short description and its own VAT and bar code.
        esquema->ejecuta("UPDATE V_MA_ARTICULOS SET DescripAbrev = 'QUESO ABREV', Pesable = 1, "
                         "TASAIVA = '10.5', CodigoBarra = '7790001234567' WHERE IdArticulo = "
                         "'000101'");
        // The same article on a purchase list is never loaded.
        esquema->precio({.idLista = "C1", .idArticulo = "000102", .precios = {100}});
        eligeLista("1", "LISTA UNO");
    }
    QMap<QString, qint64> ids;
};

} // namespace

TEST_P(CargaNovedadesTest, CasosDelCargadorDePendientes) {
    QStringList lineas;
    cartel.alMostrar([&](int) { lineas << cartel.lineas()[1]; });
    const ResultadoCarga r = lote->CargaNovedades();
    EXPECT_EQ(r.estado, ResultadoCarga::Estado::Cargado);
    // The row priced 0 is not sent, stays pending, and the operator is told.
    EXPECT_EQ(preguntas(), QStringList({CargadorNovedades::kFilasNoCargadas + "\r\nId " +
                                        QString::number(ids["000109"]) +
                                        ", artículo 000000109: el precio es 0"}));

    struct Esperado {
        const char* articulo;
        const char* tipoMov;
        const char* precio;
        const char* noMarcar;
    };
    const Esperado esperados[] = {
        {"000101", "M", "000100000", "0"}, {"000102", "C", "000100000", "0"},
        {"000103", "M", "000080000", "1"}, {"000105", "M", "000100000", "0"},
        {"000106", "M", "000080000", "1"}, {"000107", "M", "000150000", "1"},
        {"000108", "C", "000100000", "0"}, {"000108", "M", "000100000", "0"},
        {"000113", "M", "000055500", "0"},
    };
    const auto f = filas();
    ASSERT_EQ(f.size(), int(std::size(esperados)));
    for (int i = 0; i < f.size(); ++i) {
        const Esperado& e = esperados[i];
        const QString cod = e.articulo;
        EXPECT_EQ(f[i][FilaNovedad::CodInterno], "000" + cod) << i;
        EXPECT_EQ(f[i][FilaNovedad::TipoMov], e.tipoMov) << cod.toStdString();
        EXPECT_EQ(f[i][FilaNovedad::PrecioVenta], e.precio) << cod.toStdString();
        EXPECT_EQ(f[i][FilaNovedad::Precio], e.precio) << cod.toStdString();
        EXPECT_EQ(f[i][FilaNovedad::NoMarcar], e.noMarcar) << cod.toStdString();
        EXPECT_EQ(f[i][FilaNovedad::Id], QString::number(ids[cod])) << cod.toStdString();
        EXPECT_EQ(f[i][FilaNovedad::PrecioCosto], "000060000");
    }
    // Cells from the article: short description, type, VAT, bar code, weighable.
    EXPECT_EQ(f[0][FilaNovedad::Descripcion], "QUESO ABREV" + QString(19, ' '));
    EXPECT_EQ(f[0][FilaNovedad::Marca], "LACTEOS" + QString(8, ' '));
    EXPECT_EQ(f[0][FilaNovedad::TipoIva], "1");
    EXPECT_EQ(f[0][FilaNovedad::CodBarra], "7790001234567");
    EXPECT_EQ(f[0][FilaNovedad::Tipo], "I");
    EXPECT_EQ(f[0][FilaNovedad::Rubro], "05");
    EXPECT_EQ(f[1][FilaNovedad::Descripcion], "ARTICULO 000102" + QString(15, ' '));
    EXPECT_EQ(f[1][FilaNovedad::TipoIva], "0");
    EXPECT_EQ(f[1][FilaNovedad::CodBarra], "0000001020000");
    EXPECT_EQ(f[1][FilaNovedad::Tipo], " ");
    // The article missing from the master: blank texts, configured VAT, no category.
    EXPECT_EQ(f[8][FilaNovedad::Descripcion], QString(30, ' '));
    EXPECT_EQ(f[8][FilaNovedad::Marca], QString(15, ' '));
    EXPECT_EQ(f[8][FilaNovedad::TipoIva], "0");
    EXPECT_EQ(f[8][FilaNovedad::CodBarra], "0000001130000");
    EXPECT_EQ(f[8][FilaNovedad::Rubro], "99");

    // The banner: rows filled of the query's rows (the changed bar code counts twice).
    EXPECT_EQ(cartel.aperturas(), 1);
    EXPECT_EQ(cartel.cierres(), 1);
    EXPECT_FALSE(cartel.visible());
    EXPECT_EQ(lineas, QStringList({"1 de 10", "2 de 10", "3 de 10", "4 de 10", "5 de 10", "6 de 10",
                                   "8 de 10", "9 de 10"}));
    EXPECT_EQ(ventana.campo("IdLista"), "1"); // not changed
}

TEST_P(CargaNovedadesTest, SinClaseSugeridaMandaElPrecioDeVentaPositivo) {
    esquema->ejecuta("DELETE FROM TA_CONFIGURACION WHERE CLAVE = 'ClasePrecioSugerido'");
    esquema->ejecuta("UPDATE V_MA_PRECIOS SET precio1 = 0 WHERE IdArticulo = '000107'");
    lote->CargaNovedades();
    QMap<QString, QString> precio;
    for (const auto& f : filas()) {
        precio[f[FilaNovedad::CodInterno]] = f[FilaNovedad::PrecioVenta];
    }
    EXPECT_EQ(precio["000000106"], "000100000"); // running offer, sale price positive
    EXPECT_EQ(precio["000000107"], "000080000"); // sale price 0: the offer's
    EXPECT_EQ(precio["000000103"], "000100000");
}

TEST_P(CargaNovedadesTest, SinFilasElMensajeYLaGrillaVacia) {
    eligeLista("C1", "COMPRAS");
    ventana.grilla.FijaTexto(1, 1, "viejo");
    const ResultadoCarga r = lote->CargaNovedades();
    EXPECT_EQ(r.estado, ResultadoCarga::Estado::SinNovedades);
    ASSERT_EQ(op.preguntas().size(), 1);
    EXPECT_EQ(op.preguntas()[0].texto, "No se encontraron novedades!!!");
    EXPECT_EQ(op.preguntas()[0].titulo, "Aviso al Usuario");
    EXPECT_EQ(op.preguntas()[0].estilo, 64);
    EXPECT_EQ(ventana.grilla.Rows(), 2);
    EXPECT_TRUE(FilaNovedad::EnBlanco(ventana.grilla, 1));
    EXPECT_EQ(cartel.aperturas(), 0);
}

TEST_P(CargaNovedadesTest, LaSegundaCargaDespuesDeGenerarDescartaLoYaTransmitido) {
    lote->CargaNovedades();
    ventana.fijaRuta(rutaCambios());
    op.responde(Operador::Si); // generate in spite of article 113's price below cost
    op.responde(Operador::No); // no witness
    ASSERT_EQ(lote->Genera().estado, ResultadoGeneracion::Estado::Generado);

    eligeLista("1", "LISTA UNO");
    lote->CargaNovedades();
    // Marked rows are gone; running offers already sent at this price are
    // dropped; the offer that ends today still goes (its last change).
    QStringList codigos;
    for (const auto& f : filas()) {
        codigos << f[FilaNovedad::CodInterno];
    }
    EXPECT_EQ(codigos, QStringList({"000000105"}));

    // A new offer price sends the running offer again.
    esquema->ejecuta("UPDATE V_MA_PRECIOS SET precio2 = 70 WHERE IdArticulo = '000106'");
    lote->CargaNovedades();
    codigos.clear();
    for (const auto& f : filas()) {
        codigos << f[FilaNovedad::CodInterno] + ":" + f[FilaNovedad::PrecioVenta];
    }
    EXPECT_EQ(codigos, QStringList({"000000105:000100000", "000000106:000070000"}));
}

TEST_P(CargaNovedadesTest, CargaManualDeTodoElRango) {
    lote->AbreRangoManual();
    EXPECT_TRUE(ventana.rangoVisible);
    EXPECT_EQ(ventana.campo("Letra"), "M");
    EXPECT_FALSE(ventana.rangoSinMarcar);
    cartel.alMostrar([&](int) { EXPECT_TRUE(cartel.botonCancelarVisible()); });
    const ResultadoCarga r = lote->AceptaRangoManual();
    EXPECT_FALSE(ventana.rangoVisible);
    EXPECT_EQ(r.estado, ResultadoCarga::Estado::Cargado);
    // Every price row of the list, sent, suspended or priced 0 included; the
    // changed bar code twice; the first row in the blank row 1.
    const auto f = filas();
    ASSERT_EQ(f.size(), 13);
    QMap<QString, QStringList> por;
    for (const auto& x : f) {
        por[x[FilaNovedad::CodInterno]] << x[FilaNovedad::TipoMov] + ":" +
                                               x[FilaNovedad::PrecioVenta] + ":" +
                                               x[FilaNovedad::NoMarcar];
    }
    EXPECT_EQ(por["000000106"], QStringList({"M:000100000:1"})); // running offer: sale price
    EXPECT_EQ(por["000000103"], QStringList({"M:000080000:1"})); // starts tomorrow: offer
    EXPECT_EQ(por["000000107"], QStringList({"M:000150000:1"}));
    EXPECT_EQ(por["000000109"], QStringList({"M:000000000:1"}));
    EXPECT_EQ(por["000000108"], QStringList({"C:000100000:1", "M:000100000:1"}));
    EXPECT_TRUE(por.contains("000000110"));
    EXPECT_TRUE(por.contains("000000112"));
    // The view's description, not the article's short one.
    EXPECT_EQ(f[0][FilaNovedad::Descripcion], "ARTICULO 000101" + QString(15, ' '));
    EXPECT_EQ(f[0][FilaNovedad::TipoIva], "1");
}

TEST_P(CargaNovedadesTest, CargaManualRangosLetrasYMarcas) {
    // Families compared as trimmed texts, not fitted.
    lote->AbreRangoManual();
    ventana.tipoRango = "Familia";
    ventana.campo("ArtDesde") = " 01 ";
    ventana.campo("ArtHasta") = " 01";
    ventana.campo("Letra") = " ab ";
    ventana.rangoSinMarcar = true;
    lote->AceptaRangoManual();
    auto f = filas();
    ASSERT_EQ(f.size(), 2);
    EXPECT_EQ(f[0][FilaNovedad::TipoMov], "AB");
    EXPECT_EQ(f[0][FilaNovedad::NoMarcar], "0");
    EXPECT_EQ(f[1][FilaNovedad::CodInterno], "000000102");

    // Articles fitted to 25 characters; an overlapping range appends again;
    // an emptied letter gives "M".
    lote->AbreRangoManual();
    ventana.tipoRango = "Articulo";
    ventana.campo("ArtDesde") = "000102";
    ventana.campo("ArtHasta") = " 000103 ";
    ventana.campo("Letra") = "";
    lote->AceptaRangoManual();
    f = filas();
    ASSERT_EQ(f.size(), 4);
    EXPECT_EQ(f[2][FilaNovedad::CodInterno], "000000102");
    EXPECT_EQ(f[2][FilaNovedad::TipoMov], "M");
    EXPECT_EQ(f[2][FilaNovedad::NoMarcar], "1");
    EXPECT_EQ(f[3][FilaNovedad::CodInterno], "000000103");

    // A bound with an apostrophe is a value like any other.
    lote->AbreRangoManual();
    ventana.campo("ArtDesde") = "D'X";
    const ResultadoCarga r = lote->AceptaRangoManual();
    EXPECT_EQ(r.estado, ResultadoCarga::Estado::SinNovedades);
    EXPECT_EQ(preguntas(), QStringList({"No se encontraron novedades!!!"}));
    EXPECT_EQ(filas().size(), 4);
}

TEST_P(CargaNovedadesTest, CargaManualTrasUnaCargaVaciaYCancelada) {
    eligeLista("C1", "COMPRAS");
    esquema->ejecuta("DELETE FROM V_MA_PRECIOS WHERE IDLISTA = 'C1'");
    lote->CargaNovedades();
    eligeLista("1", "LISTA UNO");
    // Cancel pressed while the second row shows: the third call reports it.
    cartel.alMostrar([&](int n) {
        if (n == 2) {
            cartel.pulsaCancelar();
        }
    });
    lote->AbreRangoManual();
    const ResultadoCarga r = lote->AceptaRangoManual();
    EXPECT_EQ(r.estado, ResultadoCarga::Estado::Cancelado);
    EXPECT_EQ(r.filas, 3);
    EXPECT_EQ(ventana.grilla.Rows(), 4); // header + three, the first in row 1
    EXPECT_EQ(celda(1, FilaNovedad::CodInterno), "000000101");
    EXPECT_FALSE(cartel.visible());
}

TEST_P(CargaNovedadesTest, UnaFallaPorFilaPideSeguirOSalir) {
    // An offer class that names no price column: only rows that need the
    // offer price fail (000103, 000105, 000106). The operator goes on past the
    // first and leaves at the second.
    esquema->configuracion("ClasePrecioOferta", "9");
    op.responde(Operador::Ignorar).responde(Operador::Abortar);
    const ResultadoCarga r = lote->CargaNovedades();
    EXPECT_EQ(r.estado, ResultadoCarga::Estado::Abandonado);
    ASSERT_EQ(op.preguntas().size(), 2);
    EXPECT_EQ(op.preguntas()[0].estilo,
              Operador::AbortarReintentarIgnorar | Operador::IconoCritico);
    QStringList codigos;
    for (const auto& f : filas()) {
        codigos << f[FilaNovedad::CodInterno];
    }
    EXPECT_EQ(codigos, QStringList({"000000101", "000000102"}));
    EXPECT_FALSE(cartel.visible());
}

TEST_P(CargaNovedadesTest, EstadoInicialYEdicion) {
    lote->InicializaFormulario();
    EXPECT_EQ(ventana.campo("Codigo"), "1");
    EXPECT_EQ(ventana.campo("Fecha"), "10/03/2026");
    EXPECT_EQ(ventana.campo("IdLista"), "");
    EXPECT_EQ(ventana.textoLista, "Lista de Precios: ");
    EXPECT_EQ(ventana.textoRuta, "...");
    EXPECT_TRUE(ventana.campoHabilitado("Codigo"));
    EXPECT_FALSE(ventana.campoHabilitado("Fecha"));
    EXPECT_FALSE(ventana.habilitado(ControlVentana::Cargar));
    EXPECT_TRUE(ventana.habilitado(ControlVentana::Cerrar));
    EXPECT_FALSE(ventana.habilitado(ControlVentana::Cancelar));
    esquema->filaLote({.codigo = 57, .idLista = "1", .codInterno = "000000001"});
    lote->InicializaFormulario();
    EXPECT_EQ(ventana.campo("Codigo"), "58");
    lote->HabilitaEdicion(true);
    EXPECT_FALSE(ventana.campoHabilitado("Codigo"));
    EXPECT_TRUE(ventana.campoHabilitado("ArtHasta"));
    EXPECT_TRUE(
        ventana.habilitado(ControlVentana::Cargar) && ventana.habilitado(ControlVentana::Manual) &&
        ventana.habilitado(ControlVentana::Examinar) && ventana.habilitado(ControlVentana::Buscar));
    EXPECT_FALSE(ventana.habilitado(ControlVentana::Generar));
    EXPECT_TRUE(ventana.habilitado(ControlVentana::Cancelar));
    EXPECT_FALSE(ventana.habilitado(ControlVentana::Cerrar));
    // A chosen path enables generating and labels; "..." disables them.
    ventana.fijaRuta("/x/CAMBIOS.TXT");
    EXPECT_TRUE(ventana.habilitado(ControlVentana::Generar) &&
                ventana.habilitado(ControlVentana::Etiquetas));
    ventana.fijaRuta("...");
    EXPECT_FALSE(ventana.habilitado(ControlVentana::Generar) ||
                 ventana.habilitado(ControlVentana::Etiquetas));
}

INSTANTIATE_TEST_SUITE_P(Motores, CargaNovedadesTest, valoresMotores(), nombreMotor);
