#include "PruebaLote.h"
#include "db/Recordset.h"
#include "demo/BaseDemo.h"

#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

namespace {

// A banner that ends the program's server session (as a server restart
// would) when the load shows its tenth row, and knows whether it is open.
class CartelQueCorta : public Dll_Display {
public:
    std::function<void()> alDecimo;
    bool abierto = false;
    int mostrados = 0;
    void CartelInicio(const QString&, bool) override { abierto = true; }
    void CartelMostrar(bool& cancelado, const std::optional<QString>&,
                       const std::optional<QString>&, const std::optional<QString>&) override {
        cancelado = false;
        if (++mostrados == 10 && alDecimo) {
            alDecimo();
        }
    }
    void CartelCerrar() override { abierto = false; }
    void Siempre_Visible(bool) override {}
};

// Fails the test when a question comes while the banner would cover it.
class OperadorVigilado : public OperadorGuion {
public:
    explicit OperadorVigilado(const CartelQueCorta& cartel) : cartel_(cartel) {}
    int MsgBox(const QString& texto, int estilo, const QString& titulo) override {
        EXPECT_FALSE(cartel_.abierto) << "pregunta bajo el cartel: " << texto.toStdString();
        return OperadorGuion::MsgBox(texto, estilo, titulo);
    }

private:
    const CartelQueCorta& cartel_;
};

// PostgreSQL: the program's backend is ended midway through a load of 5,000
// pending prices.
class EnlacePerdidoTest : public PruebaLote {
protected:
    void SetUp() override {
        PruebaLote::SetUp();
        if (IsSkipped() || HasFatalFailure()) {
            return;
        }
        if (base().plataforma() != Plataforma::PostgreSql) {
            GTEST_SKIP() << "sólo un servidor pierde el enlace";
        }
        OpcionesMasivo o;
        o.filas = 5000;
        o.hoy = kHoy;
        BaseDemo::generaMasivo(esquema->conexion(), o);
        eligeLista(o.idLista, o.nombreLista);
        fijaOperador(&vigilado);
        cargador =
            std::make_unique<LoteNovedades>(ventana, *repositorio, corta, &ParametrosConfigurados);
        cargador->fijaImpresor(&impresor);
        corta.alDecimo = [this] { terminaSesion(); };
    }
    void TearDown() override {
        cargador.reset();
        PruebaLote::TearDown();
    }

    // Ends the program's session from another connection.
    void terminaSesion() {
        Recordset rs;
        DB_Dll::instancia().AbrirRecordset(QStringLiteral("SELECT pg_backend_pid() AS P"), rs);
        const int pid = rs.Campo(QStringLiteral("P")).toInt();
        {
            QSqlDatabase otra = QSqlDatabase::addDatabase("QPSQL", "termina");
            otra.setHostName(base().servidor());
            otra.setPort(base().puerto());
            otra.setUserName(base().usuario());
            otra.setDatabaseName(base().nombre());
            ASSERT_TRUE(otra.open()) << otra.lastError().text().toStdString();
            QSqlQuery q(otra);
            ASSERT_TRUE(q.exec(QStringLiteral("SELECT pg_terminate_backend(%1)").arg(pid)));
            q = QSqlQuery();
            otra.close();
        }
        QSqlDatabase::removeDatabase("termina");
    }

    CartelQueCorta corta;
    OperadorVigilado vigilado{corta};
    std::unique_ptr<LoteNovedades> cargador;
};

} // namespace

TEST_P(EnlacePerdidoTest, CargaIncompletaSeMarcaYReintentarRecargaTodo) {
    // Leaving after the failure: the rows read stay, marked incomplete.
    vigilado.responde(Operador::Abortar);
    const ResultadoCarga r = cargador->CargaNovedades();
    ASSERT_EQ(vigilado.preguntas().size(), 1);
    EXPECT_EQ(vigilado.preguntas().first().estilo & 7, Operador::AbortarReintentarIgnorar);
    EXPECT_EQ(r.estado, ResultadoCarga::Estado::Abandonado);
    EXPECT_TRUE(r.incompleta);
    EXPECT_GE(r.total, 5000);
    EXPECT_GE(r.leidas, 10);
    EXPECT_LT(r.leidas, r.total / 2);
    EXPECT_EQ(ventana.cargaIncompleta,
              QStringLiteral("Carga incompleta: %1 de %2 filas").arg(r.leidas).arg(r.total));
    EXPECT_FALSE(corta.abierto);

    // Generar asks first; No writes nothing.
    ventana.fijaRuta(rutaCambios());
    vigilado.responde(Operador::No);
    const ResultadoGeneracion g = cargador->Genera();
    EXPECT_EQ(g.estado, ResultadoGeneracion::Estado::Declinado);
    ASSERT_EQ(vigilado.preguntas().size(), 2);
    EXPECT_TRUE(vigilado.preguntas().last().texto.startsWith(ventana.cargaIncompleta))
        << vigilado.preguntas().last().texto.toStdString();
    EXPECT_TRUE(vigilado.preguntas().last().estilo & Operador::SegundoPorDefecto);
    EXPECT_FALSE(QFile::exists(rutaCambios()));

    // "Ignorar" on a lost link ends the load at once: one question, no loop.
    vigilado.limpia();
    corta.mostrados = 0;
    vigilado.responde(Operador::Ignorar);
    const ResultadoCarga ignorada = cargador->CargaNovedades();
    EXPECT_EQ(vigilado.preguntas().size(), 1);
    EXPECT_TRUE(ignorada.incompleta);
    EXPECT_FALSE(ventana.cargaIncompleta.isEmpty());

    // "Reintentar" connects again and loads everything from the start.
    vigilado.limpia();
    corta.mostrados = 0;
    vigilado.responde(Operador::Reintentar);
    const ResultadoCarga completa = cargador->CargaNovedades();
    EXPECT_EQ(vigilado.preguntas().size(), 1);
    EXPECT_EQ(completa.estado, ResultadoCarga::Estado::Cargado);
    EXPECT_FALSE(completa.incompleta);
    EXPECT_TRUE(ventana.cargaIncompleta.isEmpty());
    EXPECT_GE(ventana.FilasCargadas(), r.total);
    EXPECT_TRUE(DB_Dll::instancia().gCnn->abierta());
    // Nothing was ever generated.
    EXPECT_EQ(EsquemaPrueba().cuenta("SELECT COUNT(*) FROM MV_TARVELO"), 0);
}

INSTANTIATE_TEST_SUITE_P(Motores, EnlacePerdidoTest, valoresMotores(), nombreMotor);
