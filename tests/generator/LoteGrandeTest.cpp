#include "PruebaLote.h"
#include "db/DB_Dll.h"
#include "generator_sql/RepositorioLoteSql.h"

#include <QFile>
#include <QSet>

// No 16-bit counters: a batch of more rows than a signed 16-bit number holds
// loads, generates and reloads whole.
class LoteGrandeTest : public PruebaLote {};

TEST_P(LoteGrandeTest, MasDe32767Filas) {
    constexpr int kFilas = 32800;
    OpcionesMasivo o;
    o.filas = kFilas;
    o.hoy = kHoy;
    BaseDemo::generaMasivo(esquema->conexion(), o);
    eligeLista(o.idLista, o.nombreLista);
    // Changed bar codes give some articles two rows.
    const int n = lote->CargaNovedades().filas;
    ASSERT_GE(n, kFilas);
    EXPECT_EQ(ventana.grilla.Rows(), n + 1);
    QSet<QString> aMarcar;
    for (int f = 1; f <= n; ++f) {
        if (celda(f, FilaNovedad::NoMarcar) == "0") {
            aMarcar << celda(f, FilaNovedad::Id);
        }
    }
    ventana.fijaRuta(rutaCambios());
    op.responde(Operador::No);
    const ResultadoGeneracion r = lote->Genera();
    ASSERT_EQ(r.estado, ResultadoGeneracion::Estado::Generado);
    EXPECT_EQ(r.filas, n);
    EXPECT_EQ(esquema->cuenta("SELECT COUNT(*) FROM MV_TARVELO"), n);
    EXPECT_EQ(esquema->cuenta("SELECT COUNT(*) FROM V_MA_PRECIOS WHERE ESTADO = '1-M'"),
              aMarcar.size());
    QFile cambios(rutaCambios());
    ASSERT_TRUE(cambios.open(QIODevice::ReadOnly));
    EXPECT_EQ(cambios.readAll().count('\n'), n);

    ventana.campo("Codigo") = r.codigo;
    const ResultadoCarga c = lote->CargaLote();
    EXPECT_EQ(c.filas, n);
    EXPECT_EQ(ventana.grilla.Rows(), n + 1);
    EXPECT_EQ(celda(n, FilaNovedad::CodInterno),
              QString::number(o.codigoInicial + kFilas - 1).rightJustified(9, '0'));
}

// The server's link lost while the load reads the source through its cursor:
// reported once, as any failure, and the process goes on (nothing aborts it
// from a destructor); nothing is marked.
TEST_P(LoteGrandeTest, EnlacePerdidoDuranteLaCarga) {
    if (GetParam() != Plataforma::PostgreSql) {
        GTEST_SKIP() << "a server-side cursor";
    }
    OpcionesMasivo o;
    o.filas = 5000;
    o.hoy = kHoy;
    BaseDemo::generaMasivo(esquema->conexion(), o);
    eligeLista(o.idLista, o.nombreLista);
    const QString pid = esquema->valor("SELECT pg_backend_pid()").toString();
    ASSERT_FALSE(pid.isEmpty());
    cartel.alMostrar([&](int n) {
        if (n == 10) {
            base().ejecutaDirecto("SELECT pg_terminate_backend(" + pid + ")");
        }
    });
    op.responde(Operador::Abortar);
    const ResultadoCarga r = lote->CargaNovedades();
    cartel.alMostrar({});
    EXPECT_EQ(r.estado, ResultadoCarga::Estado::Abandonado);
    EXPECT_EQ(op.preguntas().size(), 1);
    EXPECT_TRUE(op.sinGuion().isEmpty()) << op.sinGuion().join('|').toStdString();
    EXPECT_FALSE(cartel.visible());
    op.limpia();
    // Back on a new link: nothing was marked.
    BaseDePrueba::cierra(DB_Dll::instancia());
    ASSERT_TRUE(base().abre(DB_Dll::instancia()));
    EXPECT_EQ(EsquemaPrueba().cuenta("SELECT COUNT(*) FROM V_MA_PRECIOS WHERE ESTADO = '1-M'"), 0);
}

INSTANTIATE_TEST_SUITE_P(Motores, LoteGrandeTest, valoresMotores(), nombreMotor);

// The progress bar of a load: the cycle runs 1 .. 41 and starts again.
TEST(MuestraAvance, CicloDeCuarentaYUno) {
    EstadoVentana ventana;
    CartelSilencioso cartel;
    RepositorioLoteSql repositorio(DB_Dll::instancia());
    LoteNovedades lote(ventana, repositorio, cartel, ParametrosLote{});
    cartel.CartelInicio("Cargando Datos", false);
    lote.IniciaAvance();
    for (int i = 1; i <= 41; ++i) {
        lote.MuestraAvance(i, 230);
    }
    EXPECT_EQ(cartel.lineas(), QStringList({"Cargando Datos", "41 de 230", QString(41, '|')}));
    lote.MuestraAvance(42, 230);
    EXPECT_EQ(cartel.lineas()[2], "|");
    lote.ArmaGrilla();
    EXPECT_EQ(ventana.grilla.Rows(), 2);
    EXPECT_EQ(ventana.grilla.Cols(), 18);
    EXPECT_EQ(ventana.grilla.ColWidth(16), 0);
    EXPECT_EQ(ventana.grilla.ColWidth(17), 0);
    EXPECT_EQ(ventana.grilla.Fila(0), FilaNovedad::Encabezados());
    EXPECT_TRUE(FilaNovedad::EnBlanco(ventana.grilla, 1));
}
