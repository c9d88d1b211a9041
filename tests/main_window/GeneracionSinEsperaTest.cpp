// A generation that fails asks the operator only after its transaction is
// rolled back: while the question waits, another station or the nightly run
// generates; each answer leaves the window's batch whole or not written at all.
#include "VentanaPrueba.h"

#include "generator/FilaNovedad.h"
#include "generator/GeneradorLote.h"

#include <QElapsedTimer>
#include <QProcess>
#include <functional>

namespace {

// Runs `alPreguntar` inside the first error question, before answering it.
struct OperadorQueEspera : OperadorGuion {
    std::function<void()> alPreguntar;
    int MsgBox(const QString& texto, int estilo, const QString& titulo) override {
        if ((estilo & 7) == AbortarReintentarIgnorar && alPreguntar) {
            auto f = std::move(alPreguntar);
            alPreguntar = nullptr;
            f();
        }
        return OperadorGuion::MsgBox(texto, estilo, titulo);
    }
};

class GeneracionSinEsperaTest : public VentanaTest {
protected:
    // The nightly run of list 2, beside the window; its exit code.
    int nocturna(const QString& carpeta, qint64& milisegundos) {
        QProcess p;
        p.setProgram(QStringLiteral(TARVELO_LOTE));
        p.setArguments({"generar", base().lineaSuite(), "--hoy", "2026-03-10", "--lista", "2",
                        "--codigo", "900", "--carpeta", carpeta});
        QElapsedTimer reloj;
        reloj.start();
        p.start();
        if (!p.waitForFinished(180000)) {
            p.kill();
            return -1;
        }
        milisegundos = reloj.elapsed();
        if (p.exitCode() != 0) {
            ADD_FAILURE() << p.readAllStandardError().toStdString();
        }
        return p.exitCode();
    }
    void corre(int respuesta);
};

} // namespace

// One generation of list 1 whose row of one article fails, answered with
// `respuesta`; the nightly run of list 2 goes while the question waits.
void GeneracionSinEsperaTest::corre(int respuesta) {
    abre();
    enter("Codigo");
    enter("Fecha");
    escribeYEnter("IdLista", "1");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QApplication::processEvents();
    const int filas = estado.FilasCargadas();
    ASSERT_GT(filas, 1);
    // A row whose article appears once in the batch.
    QString articulo, id;
    for (int f = 1; f < estado.grilla.Rows() && articulo.isEmpty(); ++f) {
        const QString a = estado.grilla.Texto(f, FilaNovedad::CodInterno);
        int veces = 0;
        for (int g = 1; g < estado.grilla.Rows(); ++g) {
            veces += estado.grilla.Texto(g, FilaNovedad::CodInterno) == a ? 1 : 0;
        }
        if (veces == 1) {
            articulo = a;
            id = estado.grilla.Texto(f, FilaNovedad::Id).trimmed();
        }
    }
    ASSERT_FALSE(articulo.isEmpty());
    base().fallaAlInsertar("falla_lote", "MV_TARVELO", "NEW.CodInterno = '" + articulo + "'");
    QTemporaryDir salida, otra;
    op.respondeArchivo(salida.path());
    clic("cmdExaminar");
    const QString codigo = campo("Codigo")->text();

    OperadorQueEspera espera;
    int salidaNocturna = -2;
    qint64 demora = 0;
    espera.alPreguntar = [&] {
        salidaNocturna = nocturna(otra.path(), demora);
        if (respuesta == Operador::Reintentar) {
            base().reparaFalla("falla_lote");
        }
    };
    // The demo's short record is sent anyway; then the failure's answer;
    // no witness.
    espera.responde(Operador::Si).responde(respuesta);
    espera.respondeSiempre(Operador::No);
    fijaOperador(&espera);
    clic("cmdExportar");
    fijaOperador(&op);

    // The nightly run did not wait for the window's question.
    EXPECT_EQ(salidaNocturna, 0);
    EXPECT_LT(demora, 30000);
    EsquemaPrueba e;
    EXPECT_GT(e.cuenta("SELECT COUNT(*) FROM MV_TARVELO WHERE Codigo = 900"), 0);
    const int grabadas = e.cuenta("SELECT COUNT(*) FROM MV_TARVELO WHERE Codigo = " + codigo);
    const int marcada =
        e.cuenta("SELECT COUNT(*) FROM V_MA_PRECIOS WHERE ESTADO = '1-M' AND ID = " + id);
    QStringList textos;
    for (const auto& p : espera.preguntas()) {
        textos << p.texto;
    }
    if (respuesta == Operador::Reintentar) {
        EXPECT_EQ(grabadas, filas);
        EXPECT_TRUE(QFile::exists(salida.path() + "/CAMBIOS.TXT"));
    } else if (respuesta == Operador::Ignorar) {
        EXPECT_EQ(grabadas, filas - 1);
        EXPECT_EQ(marcada, 0); // its price stays pending
        EXPECT_TRUE(textos.contains(GeneradorLote::Omitidas(1))) << textos.join('|').toStdString();
    } else {
        EXPECT_EQ(grabadas, 0);
        EXPECT_FALSE(QFile::exists(salida.path() + "/CAMBIOS.TXT"));
        EXPECT_TRUE(textos.contains(GeneradorLote::kNoGenerado.arg(codigo)))
            << textos.join('|').toStdString();
        EXPECT_EQ(control<QProgressBar>("PBar")->value(), 0);
        EXPECT_EQ(estado.FilasCargadas(), filas); // the window's rows stay
    }
}

TEST_P(GeneracionSinEsperaTest, ReintentarCorreElLoteOtraVez) {
    corre(Operador::Reintentar);
}

TEST_P(GeneracionSinEsperaTest, IgnorarLoCorreSinLaFila) {
    corre(Operador::Ignorar);
}

TEST_P(GeneracionSinEsperaTest, InterrumpirLoDejaComoEstaba) {
    corre(Operador::Abortar);
}

INSTANTIATE_TEST_SUITE_P(Motores, GeneracionSinEsperaTest, valoresMotores(), nombreMotor);
