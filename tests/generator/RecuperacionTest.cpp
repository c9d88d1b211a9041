#include "PruebaLote.h"
#include "generator/CargadorNovedades.h"
#include "generator/VentanaCarga.h"
#include "utility_library/QlUtil.h"

#include <QFile>

namespace {

// List "1" with one pending price and offers placed around nights without a
// batch, today being 10/03. Offer rows are in state '1-M': only their dates
// bring them in. Sale 100, offer 80, no suggested price.
struct Oferta {
    const char* articulo;
    int desde, hasta; // days from today
};
const Oferta kOfertas[] = {
    {"000202", -1, 10},  // started yesterday, running
    {"000203", -20, -2}, // ended the day before yesterday
    {"000204", -2, -1},  // started and ended two and one days ago
    {"000205", -4, -3},  // started and ended four and three days ago
    {"000206", 1, 10},   // starts tomorrow
    {"000207", -10, 0},  // ends today
    {"000208", 2, 10},   // starts the day after tomorrow
    {"000209", -5, 10},  // started five days ago, running
    {"000210", -4, 10},  // started four days ago, running
    {"000211", -30, -3}, // ended three days ago
};

class RecuperacionTest : public PruebaLote {
protected:
    void SetUp() override {
        PruebaLote::SetUp();
        if (IsSkipped() || HasFatalFailure()) {
            return;
        }
        esquema->lista("1", "LISTA UNO");
        esquema->tipo("T1", "MARCA");
        const auto articulo = [&](const QString& cod) {
            ArticuloPrueba a;
            a.idArticulo = cod;
            a.descripcion = "ARTICULO " + cod;
            a.tipo = "T1";
            a.rubro = "05";
            esquema->articulo(a);
        };
        articulo("000201");
        esquema->precio(
            {.idLista = "1", .idArticulo = "000201", .estado = "0-M", .precios = {100, 80, 0}});
        for (const Oferta& o : kOfertas) {
            articulo(o.articulo);
            PrecioPrueba p;
            p.idLista = "1";
            p.idArticulo = o.articulo;
            p.estado = "1-M";
            p.fhOfertaDesde = kHoy.addDays(o.desde);
            p.fhOfertaHasta = kHoy.addDays(o.hasta);
            p.precios = {100, 80, 0};
            p.costo = 50;
            esquema->precio(p);
        }
        eligeLista("1", "LISTA UNO");
        ventana.fijaRuta(rutaCambios());
    }

    // The list's last pending load that became a batch was on `dia`.
    void registraDia(const QDate& dia) {
        esquema->ejecuta(
            "INSERT INTO MV_TARVELO_CARGAS (Codigo, IdLista, Dia) VALUES (900, '1', ?)",
            {dia.toString(Qt::ISODate)});
    }
    int cuenta(const QString& sql) { return esquema->cuenta(sql); }
};

} // namespace

// Every load of the table on the same prices: which offers each one takes,
// with which price and mark, each once; "ayer", no day and --sin-recuperar
// are today's load row for row.
TEST_P(RecuperacionTest, CadaHuecoTomaSusOfertasUnaVez) {
    struct Esperada {
        const char* articulo;
        const char* precio;
        const char* noMarcar;
    };
    const Esperada pendiente{"000201", "000100000", "0"}, empiezaManana{"000206", "000080000", "1"},
        terminaHoy{"000207", "000100000", "0"}, corre202{"000202", "000080000", "1"},
        termino203{"000203", "000100000", "0"}, dentro204{"000204", "000100000", "0"},
        dentro205{"000205", "000100000", "0"}, corre210{"000210", "000080000", "1"},
        termino211{"000211", "000100000", "0"};
    struct Caso {
        const char* nombre;
        std::optional<int> ultimo; // the recorded day, from today
        QString limite;            // TARVELO_DIAS_RECUPERACION (empty: missing)
        bool recupera;
        QList<Esperada> filas;
        const char* aviso; // above the grid
        bool fueraDeLimite;
    };
    const QList<Esperada> deHoy = {pendiente, empiezaManana, terminaHoy};
    const Caso casos[] = {
        {"sin día registrado", std::nullopt, "", true, deHoy, "", false},
        {"último día ayer", -1, "", true, deHoy, "", false},
        {"hueco de dos días",
         -3,
         "",
         true,
         {pendiente, corre202, termino203, dentro204, empiezaManana, terminaHoy},
         "Se incluyen las ofertas de los días sin novedad: del 08/03 al 09/03",
         false},
        {"hueco de cinco días",
         -6,
         "",
         true,
         {pendiente, corre202, termino203, dentro204, dentro205, empiezaManana, terminaHoy,
          corre210, termino211},
         "Se incluyen las ofertas de los días sin novedad: del 05/03 al 09/03",
         false},
        {"hueco más largo que el límite",
         -40,
         "3",
         true,
         {pendiente, corre202, termino203, dentro204, dentro205, empiezaManana, terminaHoy,
          termino211},
         "Se incluyen las ofertas de los días sin novedad: del 07/03 al 09/03",
         true},
        {"--sin-recuperar", -6, "", false, deHoy, "", false},
        {"límite cero", -6, "0", true, deHoy, "", false},
    };
    QList<QStringList> filasDeHoy;
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nombre);
        esquema->ejecuta("DELETE FROM MV_TARVELO_CARGAS");
        if (c.ultimo) {
            registraDia(kHoy.addDays(*c.ultimo));
        }
        if (c.limite.isEmpty()) {
            esquema->ejecuta(
                "DELETE FROM TA_CONFIGURACION WHERE CLAVE = 'TARVELO_DIAS_RECUPERACION'");
        } else {
            esquema->configuracion("TARVELO_DIAS_RECUPERACION", c.limite);
        }
        ModGlobal::CargaConfiguracion(QString());
        lote->fijaRecupera(c.recupera);
        op.limpia();
        ASSERT_EQ(lote->CargaNovedades().estado, ResultadoCarga::Estado::Cargado);

        const auto f = filas();
        ASSERT_EQ(f.size(), c.filas.size());
        for (int i = 0; i < f.size(); ++i) {
            const Esperada& e = c.filas[i];
            EXPECT_EQ(f[i][FilaNovedad::CodInterno], QString("000") + e.articulo) << i;
            EXPECT_EQ(f[i][FilaNovedad::TipoMov], "M") << e.articulo;
            EXPECT_EQ(f[i][FilaNovedad::PrecioVenta], e.precio) << e.articulo;
            EXPECT_EQ(f[i][FilaNovedad::NoMarcar], e.noMarcar) << e.articulo;
        }
        if (*c.aviso == '\0') { // today's load, row for row
            if (filasDeHoy.isEmpty()) {
                filasDeHoy = f;
            }
            EXPECT_EQ(f, filasDeHoy);
        }
        EXPECT_EQ(ventana.textoRecuperacion, QString::fromUtf8(c.aviso));
        // The load remembers its day for the batch, whatever it caught up on.
        ASSERT_TRUE(ventana.cargaPendiente);
        EXPECT_EQ(ventana.cargaPendiente->hoy, kHoy);
        EXPECT_EQ(ventana.cargaPendiente->recupera(), *c.aviso != '\0');
        if (c.fueraDeLimite) {
            ASSERT_EQ(op.preguntas().size(), 1);
            EXPECT_EQ(op.preguntas()[0].texto,
                      CargadorNovedades::kFueraDeLimite.arg("1", "29/01/2026").arg(3).arg(36));
            EXPECT_EQ(op.preguntas()[0].estilo & 7, Operador::SoloAceptar);
        } else {
            EXPECT_TRUE(op.preguntas().isEmpty()) << preguntas().join("|").toStdString();
        }
    }
}

// The batch that caught up records today: the next night loads its own day
// only, and nothing caught up goes out twice.
TEST_P(RecuperacionTest, LoRecuperadoNoSeReenviaLaNocheSiguiente) {
    registraDia(kHoy.addDays(-3));
    ASSERT_EQ(lote->CargaNovedades().estado, ResultadoCarga::Estado::Cargado);
    op.responde(Operador::No); // no witness
    ASSERT_EQ(lote->Genera().estado, ResultadoGeneracion::Estado::Generado);

    Reloj::fijaHoy(kHoy.addDays(1));
    lote->InicializaFormulario();
    eligeLista("1", "LISTA UNO");
    ventana.fijaRuta(rutaCambios());
    ASSERT_EQ(lote->CargaNovedades().estado, ResultadoCarga::Estado::Cargado);
    EXPECT_TRUE(ventana.textoRecuperacion.isEmpty());
    QStringList codigos;
    for (const QStringList& f : filas()) {
        codigos << f[FilaNovedad::CodInterno];
    }
    // 11/03: only the offer starting 12/03.
    EXPECT_EQ(codigos, QStringList({"000000208"}));
}

// The day recorded is the workstation's today of a pending load whose batch
// was committed, with the days it caught up on; a range loaded on its own,
// a regeneration and a batch rolled back record nothing.
TEST_P(RecuperacionTest, ElDiaSeRegistraSoloConUnLoteConfirmadoDePendientes) {
    const auto dias = [&] {
        QStringList r;
        for (const QVariant& v : esquema->valores(
                 "SELECT IdLista || ' ' || Dia || ' ' || COALESCE(RecuperaDesde, '-') || ' ' || "
                 "COALESCE(RecuperaHasta, '-') FROM MV_TARVELO_CARGAS ORDER BY Dia, Codigo")) {
            r << v.toString();
        }
        return r;
    };
    registraDia(kHoy.addDays(-3));
    const QStringList antes = dias();

    // A range on its own.
    ventana.campo("Fecha") = "01/01/2026";
    lote->AbreRangoManual();
    ventana.campo("ArtDesde") = "000201";
    ventana.campo("ArtHasta") = "000202";
    ASSERT_EQ(lote->AceptaRangoManual().estado, ResultadoCarga::Estado::Cargado);
    op.responde(Operador::No);
    ASSERT_EQ(lote->Genera().estado, ResultadoGeneracion::Estado::Generado);
    EXPECT_EQ(dias(), antes);

    // A pending load whose batch fails at its last write and is left: rolled
    // back whole, the day with it.
    base().fallaAlInsertar("falla_carga", "MV_TARVELO_CARGAS", "1 = 1");
    eligeLista("1", "LISTA UNO");
    ventana.campo("Fecha") = "01/01/2026"; // the batch date is not the day recorded
    ASSERT_EQ(lote->CargaNovedades().estado, ResultadoCarga::Estado::Cargado);
    ventana.fijaRuta(rutaCambios());
    const int lotes = cuenta("SELECT COUNT(DISTINCT Codigo) FROM MV_TARVELO");
    const auto estados = [&] {
        return esquema->valores("SELECT ESTADO FROM V_MA_PRECIOS ORDER BY ID");
    };
    const QVariantList estadosAntes = estados();
    op.limpia();
    op.responde(Operador::Abortar);
    EXPECT_EQ(lote->Genera().estado, ResultadoGeneracion::Estado::Abandonado);
    EXPECT_EQ(dias(), antes);
    EXPECT_EQ(cuenta("SELECT COUNT(DISTINCT Codigo) FROM MV_TARVELO"), lotes);
    EXPECT_EQ(estados(), estadosAntes);
    base().quitaFalla("falla_carga", "MV_TARVELO_CARGAS");

    // Committed: today and the two days caught up, whatever the batch date.
    op.limpia();
    op.responde(Operador::No);
    const ResultadoGeneracion r = lote->Genera();
    ASSERT_EQ(r.estado, ResultadoGeneracion::Estado::Generado);
    EXPECT_EQ(dias(), antes + QStringList{"1 2026-03-10 2026-03-08 2026-03-09"});
    EXPECT_EQ(cuenta("SELECT COUNT(*) FROM MV_TARVELO_CARGAS WHERE Codigo = " + r.codigo), 1);

    // Regenerated: nothing more.
    ventana.campo("Codigo") = r.codigo;
    ASSERT_EQ(lote->CargaLote().estado, ResultadoCarga::Estado::Cargado);
    op.limpia();
    op.responde(Operador::Si).responde(Operador::No);
    ASSERT_EQ(lote->Genera().estado, ResultadoGeneracion::Estado::Regenerado);
    EXPECT_EQ(dias().size(), antes.size() + 1);

    // The next day a load of today's only: no days caught up, recorded as such.
    Reloj::fijaHoy(kHoy.addDays(1));
    lote->InicializaFormulario();
    eligeLista("1", "LISTA UNO");
    ventana.fijaRuta(rutaCambios());
    ASSERT_EQ(lote->CargaNovedades().estado, ResultadoCarga::Estado::Cargado);
    op.limpia();
    op.responde(Operador::No);
    ASSERT_EQ(lote->Genera().estado, ResultadoGeneracion::Estado::Generado);
    EXPECT_EQ(dias().last(), "1 2026-03-11 - -");
}

INSTANTIATE_TEST_SUITE_P(Motores, RecuperacionTest, valoresMotores(), nombreMotor);
