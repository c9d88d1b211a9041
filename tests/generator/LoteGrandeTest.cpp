#include "PruebaLote.h"

#include <QElapsedTimer>
#include <QFile>

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
    QElapsedTimer t;
    t.start();
    ASSERT_EQ(lote->CargaNovedades().filas, kFilas);
    EXPECT_EQ(ventana.MSFlexGrid1.Rows(), kFilas + 1);
    EXPECT_EQ(cartel.lineas().value(1), "");
    ventana.fijaRuta(rutaCambios());
    op.responde(Operador::No);
    const ResultadoGeneracion r = lote->cmdExportar();
    ASSERT_EQ(r.estado, ResultadoGeneracion::Estado::Generado);
    EXPECT_EQ(r.filas, kFilas);
    EXPECT_EQ(esquema->cuenta("SELECT COUNT(*) FROM MV_TARVELO"), kFilas);
    EXPECT_EQ(esquema->cuenta("SELECT COUNT(*) FROM V_MA_PRECIOS WHERE ESTADO = '1-M'"), kFilas);
    EXPECT_EQ(QFile(rutaCambios()).size(), qint64(kFilas) * 128);

    ventana.campo("Codigo") = r.codigo;
    const ResultadoCarga c = lote->CargaLote();
    EXPECT_EQ(c.filas, kFilas);
    EXPECT_EQ(ventana.MSFlexGrid1.Rows(), kFilas + 1);
    EXPECT_EQ(celda(kFilas, FilaNovedad::CodInterno),
              QString::number(o.codigoInicial + kFilas - 1).rightJustified(9, '0'));
    std::cerr << "32800 filas: " << t.elapsed() << " ms\n";
}

INSTANTIATE_TEST_SUITE_P(Motores, LoteGrandeTest, valoresMotores(), nombreMotor);

// The progress bar of a load: the cycle runs 1 .. 41 and starts again.
TEST(MuestraAvance, CicloDeCuarentaYUno) {
    EstadoVentana ventana;
    CartelSilencioso cartel;
    LoteNovedades lote(ventana, DB_Dll::instancia(), cartel);
    cartel.CartelInicio("Cargando Datos", false);
    lote.IniciaAvance();
    for (int i = 1; i <= 41; ++i) {
        lote.MuestraAvance(i, 230);
    }
    EXPECT_EQ(cartel.lineas(), QStringList({"Cargando Datos", "41 de 230", QString(41, '|')}));
    lote.MuestraAvance(42, 230);
    EXPECT_EQ(cartel.lineas()[2], "|");
    lote.ArmaGrilla();
    EXPECT_EQ(ventana.MSFlexGrid1.Rows(), 2);
    EXPECT_EQ(ventana.MSFlexGrid1.Cols(), 18);
    EXPECT_EQ(ventana.MSFlexGrid1.ColWidth(16), 0);
    EXPECT_EQ(ventana.MSFlexGrid1.ColWidth(17), 0);
    EXPECT_EQ(ventana.MSFlexGrid1.Fila(0), FilaNovedad::Encabezados());
    EXPECT_TRUE(FilaNovedad::EnBlanco(ventana.MSFlexGrid1, 1));
}
