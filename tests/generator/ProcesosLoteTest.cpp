#include "PruebaLote.h"
#include "cli/ComandoLote.h"
#include "demo/BaseDemo.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSet>
#include <csignal>

namespace {

// tarvelo-lote as the scheduler runs it: whole processes, started together
// or killed in the middle, on a list large enough that they overlap. The
// expected batch is what this process's own load of the list finds.
class ProcesosLoteTest : public PruebaLote {
protected:
    void SetUp() override {
        PruebaLote::SetUp();
        if (IsSkipped() || HasFatalFailure()) {
            return;
        }
        OpcionesMasivo o;
        o.filas = 3000;
        o.hoy = kHoy;
        BaseDemo::generaMasivo(esquema->conexion(), o);
        eligeLista(o.idLista, o.nombreLista);
        filasLote = lote->CargaNovedades().filas;
        ASSERT_GE(filasLote, o.filas);
        // A price can give two rows (a changed bar code): it is marked once.
        QSet<QString> ids;
        for (int f = 1; f <= filasLote; ++f) {
            if (celda(f, FilaNovedad::NoMarcar) == "0") {
                ids << celda(f, FilaNovedad::Id);
            }
        }
        aMarcar = int(ids.size());
        sinMarca = 0;
        for (int f = 1; f <= filasLote; ++f) {
            sinMarca += celda(f, FilaNovedad::NoMarcar) == "0" ? 0 : 1;
        }
        ASSERT_GT(aMarcar, 0);
        linea = base().lineaSuite();
    }

    std::unique_ptr<QProcess> generar(const QString& destino, const QString& codigo) {
        auto p = std::make_unique<QProcess>();
        p->setProgram(QStringLiteral(TARVELO_LOTE));
        QStringList args = {"generar", linea, "--hoy",     "2026-03-10",
                            "--lista", "M1",  "--carpeta", destino};
        if (!codigo.isEmpty()) {
            args << "--codigo" << codigo;
        }
        p->setArguments(args);
        p->start();
        return p;
    }

    int filasDe(int codigo) {
        return esquema->cuenta("SELECT COUNT(*) FROM MV_TARVELO WHERE Codigo = ?", {codigo});
    }
    int marcadas() {
        return esquema->cuenta(
            "SELECT COUNT(*) FROM V_MA_PRECIOS WHERE IdLista = 'M1' AND ESTADO = '1-M'");
    }
    static QByteArray lee(const QString& ruta) {
        QFile f(ruta);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    void dosConElMismoCodigo(const QString& codigo);

    QString linea;
    int filasLote = 0;
    int aMarcar = 0;  // price rows to mark
    int sinMarca = 0; // grid rows sent without a mark
};

} // namespace

// Two workstations start the same list's batch at the same moment under
// codes 77 and 78. Every price that is marked goes out once, in one batch
// and its files; rows sent without a mark (offers by date) go in both.
TEST_P(ProcesosLoteTest, DosEstacionesALaVez) {
    QTemporaryDir a, b;
    auto pa = generar(a.path(), "77");
    auto pb = generar(b.path(), "78");
    ASSERT_TRUE(pa->waitForFinished(120000));
    ASSERT_TRUE(pb->waitForFinished(120000));
    const QString errA = QString::fromUtf8(pa->readAllStandardError());
    const QString errB = QString::fromUtf8(pb->readAllStandardError());
    // A run that loads after the other committed finds every price sent
    // (the running offers too, at the same price): nothing to send, exit 1.
    int generadas = 0;
    for (QProcess* p : {pa.get(), pb.get()}) {
        EXPECT_EQ(p->exitStatus(), QProcess::NormalExit);
        EXPECT_TRUE(p->exitCode() == CodigoLote::Generado ||
                    p->exitCode() == CodigoLote::SinNovedades)
            << errA.toStdString() << errB.toStdString();
        generadas += p->exitCode() == CodigoLote::Generado ? 1 : 0;
    }
    EXPECT_GE(generadas, 1);
    const int en77 = filasDe(77), en78 = filasDe(78);
    EXPECT_EQ(en77 + en78, filasLote + (generadas == 2 ? sinMarca : 0));
    EXPECT_EQ(marcadas(), aMarcar);
    EXPECT_EQ(lee(a.path() + "/CAMBIOS.TXT").count("\r\n"), en77);
    EXPECT_EQ(lee(b.path() + "/CAMBIOS.TXT").count("\r\n"), en78);
}

// Two generations started together under the same code: never two batches
// under one code. With the proposed code the later one takes the next free
// code; with a code given on the command line it is refused (exit 3) and its
// folder keeps its earlier files byte for byte.
void ProcesosLoteTest::dosConElMismoCodigo(const QString& codigo) {
    {
        QTemporaryDir a, b;
        for (QTemporaryDir* d : {&a, &b}) {
            QFile f(d->path() + "/CAMBIOS.TXT");
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write("LOTE ANTERIOR " + d->path().toUtf8() + "\r\n");
        }
        const QByteArray antesA = lee(a.path() + "/CAMBIOS.TXT");
        const QByteArray antesB = lee(b.path() + "/CAMBIOS.TXT");
        auto pa = generar(a.path(), codigo);
        auto pb = generar(b.path(), codigo);
        ASSERT_TRUE(pa->waitForFinished(120000));
        ASSERT_TRUE(pb->waitForFinished(120000));
        const QString err = QString::fromUtf8(pa->readAllStandardError()) + "\n---\n" +
                            QString::fromUtf8(pb->readAllStandardError());
        // One batch per code: each code's rows name one folder.
        EXPECT_EQ(esquema->cuenta("SELECT COUNT(*) FROM (SELECT Codigo FROM MV_TARVELO GROUP BY "
                                  "Codigo HAVING COUNT(DISTINCT RutaArchivo) > 1) x"),
                  0)
            << err.toStdString();
        EXPECT_EQ(marcadas(), aMarcar);
        const int codigos =
            esquema->cuenta("SELECT COUNT(*) FROM (SELECT DISTINCT Codigo FROM MV_TARVELO) x");
        if (codigo.isEmpty()) {
            // Two batches, unless one run loaded after the other committed
            // and found nothing left to send.
            int generadas = 0;
            for (QProcess* p : {pa.get(), pb.get()}) {
                EXPECT_TRUE(p->exitCode() == CodigoLote::Generado ||
                            p->exitCode() == CodigoLote::SinNovedades)
                    << err.toStdString();
                generadas += p->exitCode() == CodigoLote::Generado ? 1 : 0;
            }
            EXPECT_GE(generadas, 1);
            EXPECT_EQ(codigos, generadas);
        } else {
            EXPECT_EQ(codigos, 1);
            EXPECT_EQ(filasDe(55), filasLote);
            const bool ganoA = pa->exitCode() == CodigoLote::Generado;
            // Refused: taken meanwhile (3), or already taken when it started (2).
            const int perdedor = (ganoA ? pb : pa)->exitCode();
            EXPECT_TRUE(perdedor == CodigoLote::Abandonado || perdedor == CodigoLote::Invalido)
                << err.toStdString();
            EXPECT_EQ(lee((ganoA ? b : a).path() + "/CAMBIOS.TXT"), ganoA ? antesB : antesA);
            EXPECT_EQ(QDir((ganoA ? b : a).path()).entryList({"*.tmp"}, QDir::Files).size(), 0);
        }
    }
}

TEST_P(ProcesosLoteTest, UnLotePorCodigoPropuesto) {
    dosConElMismoCodigo("");
}

TEST_P(ProcesosLoteTest, UnLotePorCodigoDado) {
    dosConElMismoCodigo("55");
}

// A generation killed at any moment leaves either nothing (the previous
// files as they were, no batch rows, no marks) or the whole batch; never a
// half file under the final names. A later run sends what is pending and
// sweeps the killed runs' temporary files.
TEST_P(ProcesosLoteTest, MuertoEnCualquierMomento) {
    QTemporaryDir destino;
    const QString cambios = destino.path() + "/CAMBIOS.TXT";
    const QByteArray anterior = "LOTE ANTERIOR\r\n";
    {
        QFile f(cambios);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(anterior);
    }
    bool completo = false;
    int muertos = 0;
    for (int espera : {40, 80, 120, 180, 250, 350, 500, 800, 1100, 1500, 2000, 3000}) {
        SCOPED_TRACE(espera);
        auto p = generar(destino.path(), "90");
        ASSERT_TRUE(p->waitForStarted());
        if (!p->waitForFinished(espera)) {
            ::kill(pid_t(p->processId()), SIGKILL);
            ASSERT_TRUE(p->waitForFinished(10000));
            ++muertos;
        }
        const int filas = filasDe(90);
        const QByteArray contenido = lee(cambios);
        if (filas == 0) {
            EXPECT_EQ(marcadas(), 0);
            EXPECT_EQ(contenido, anterior);
            continue;
        }
        // Recorded whole; published whole, unless the kill came between the
        // commit and the rename (the previous file is then still there).
        completo = true;
        EXPECT_EQ(filas, filasLote);
        EXPECT_EQ(marcadas(), aMarcar);
        if (contenido != anterior) {
            EXPECT_EQ(contenido.count("\r\n"), filasLote);
        }
        break;
    }
    EXPECT_GT(muertos, 0) << "no run was killed: the list is too small to overlap";
    if (!completo) {
        auto p = generar(destino.path(), "91");
        ASSERT_TRUE(p->waitForFinished(120000));
        EXPECT_EQ(p->exitCode(), CodigoLote::Generado) << p->readAllStandardError().toStdString();
        EXPECT_EQ(filasDe(91), filasLote);
        EXPECT_EQ(lee(cambios).count("\r\n"), filasLote);
    } else {
        // The recorded batch may have been killed between its commit and its
        // renames: the next run publishes it first, with nothing else to send.
        auto p = generar(destino.path(), "91");
        ASSERT_TRUE(p->waitForFinished(120000));
        EXPECT_EQ(p->exitCode(), CodigoLote::SinNovedades)
            << p->readAllStandardError().toStdString();
        EXPECT_EQ(lee(cambios).count("\r\n"), filasLote);
    }
    const QStringList resto = QDir(destino.path()).entryList(QDir::Files | QDir::Hidden);
    EXPECT_EQ(resto, QStringList({"BALANZA.TXT", "CAMBIOS.TXT"})) << resto.join(",").toStdString();
}

INSTANTIATE_TEST_SUITE_P(Motores, ProcesosLoteTest, valoresMotores(), nombreMotor);
