#include "BaseDePrueba.h"
#include "EsquemaPrueba.h"
#include "cli/ComandoLote.h"
#include "cli/ComandoTestigo.h"
#include "utility_library/Programa.h"

#include <QDir>

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <functional>

namespace {

// --testigo-pdf answers the witness question Yes, whatever its wording, and
// writes the witness of the batch just generated or regenerated.
class TestigoPdfTest : public PruebaPorMotor {
protected:
    void SetUp() override {
        PruebaPorMotor::SetUp();
        if (IsSkipped() || HasFatalFailure()) {
            return;
        }
        if (QStandardPaths::findExecutable("pdftotext").isEmpty()) {
            GTEST_SKIP() << "pdftotext is not installed";
        }
        EsquemaPrueba e;
        ASSERT_GT(e.creaConDemo(QDate(2026, 3, 10)).pendientes, 0);
        BaseDePrueba::cierra(DB_Dll::instancia());
        ASSERT_TRUE(dir.isValid());
        // The report definitions live in the program folder.
        QDir().mkpath(Programa::carpeta() + "/reports");
        for (const QString& f : QDir(TARVELO_RECURSOS "/reports").entryList(QDir::Files)) {
            QFile::remove(Programa::carpeta() + "/reports/" + f);
            QFile::copy(TARVELO_RECURSOS "/reports/" + f, Programa::carpeta() + "/reports/" + f);
        }
        linea = base().lineaSuite();
    }

    static QString texto(const QString& pdf) {
        QProcess p;
        p.start("pdftotext", {pdf, "-"});
        p.waitForFinished(30000);
        return QString::fromUtf8(p.readAllStandardOutput());
    }

    QTemporaryDir dir;
    QString linea;
};

} // namespace

TEST_P(TestigoPdfTest, GenerarYRegenerarEscribenElTestigo) {
    struct Caso {
        const char* comando;
        QStringList extra;
    };
    const QString pdf1 = dir.filePath("generado.pdf");
    const QString pdf2 = dir.filePath("regenerado.pdf");
    QString out, err;
    QTextStream o(&out), e(&err);
    ASSERT_EQ(ComandoGenerar({"generar", linea, "--hoy", "2026-03-10", "--lista", "1", "--carpeta",
                              dir.path(), "--codigo", "0041", "--testigo-pdf", pdf1},
                             o, e),
              CodigoLote::Generado)
        << err.toStdString();
    ASSERT_EQ(ComandoRegenerar({"regenerar", linea, "--codigo", "41", "--testigo-pdf", pdf2}, o, e),
              CodigoLote::Generado)
        << err.toStdString();
    e.flush();
    for (const QString& pdf : {pdf1, pdf2}) {
        ASSERT_TRUE(QFile::exists(pdf)) << pdf.toStdString() << err.toStdString();
        const QString t = texto(pdf);
        EXPECT_TRUE(t.contains("41")) << t.toStdString();
        EXPECT_TRUE(t.contains("DEMO")) << t.toStdString();
    }
    // A witness that cannot be written fails the run (exit 3), the batch stays.
    QFile::remove(Programa::carpeta() + "/reports/RP_Tarvelo.txt");
    EXPECT_EQ(ComandoRegenerar({"regenerar", linea, "--codigo", "41", "--testigo-pdf",
                                dir.filePath("falta.pdf")},
                               o, e),
              CodigoLote::Abandonado);
    // Without the option nobody prints: the safe answer.
    ASSERT_EQ(ComandoRegenerar({"regenerar", linea, "--codigo", "41"}, o, e), CodigoLote::Generado);
    EXPECT_EQ(QDir(dir.path()).entryList({"*.pdf"}).size(), 2);
}

// A list whose last batch of pending changes was three days ago: the run
// says which days it caught up on, and so does the witness; with
// --sin-recuperar a later gap is not caught up and nothing is said.
TEST_P(TestigoPdfTest, LosDiasRecuperadosSeDicenEnElTestigo) {
    base().ejecutaDirecto("INSERT INTO MV_TARVELO_CARGAS (Codigo, IdLista, Dia) VALUES (900, '1', "
                          "'2026-03-07')");
    const QString pdf = dir.filePath("recuperado.pdf");
    const QString aviso = "Se incluyen las ofertas de los días sin novedad: del 08/03 al 09/03";
    QString out, err;
    QTextStream o(&out), e(&err);
    ASSERT_EQ(ComandoGenerar({"generar", linea, "--hoy", "2026-03-10", "--lista", "1", "--carpeta",
                              dir.path(), "--codigo", "43", "--testigo-pdf", pdf},
                             o, e),
              CodigoLote::Generado)
        << err.toStdString();
    e.flush();
    EXPECT_TRUE(err.contains(aviso + "\n")) << err.toStdString();
    EXPECT_TRUE(texto(pdf).contains(aviso)) << texto(pdf).toStdString();

    err.clear();
    const int r = ComandoGenerar({"generar", linea, "--hoy", "2026-03-14", "--lista", "1",
                                  "--carpeta", dir.path(), "--sin-recuperar"},
                                 o, e);
    e.flush();
    EXPECT_TRUE(r == CodigoLote::Generado || r == CodigoLote::SinNovedades) << err.toStdString();
    EXPECT_FALSE(err.contains("días sin novedad")) << err.toStdString();
}

// A PDF path that is a link, or that a folder takes: the link is replaced,
// never followed (the file it points to stays as it was, a dangling link's
// target is never created); a folder in the way is refused as a wrong path.
TEST_P(TestigoPdfTest, UnEnlaceNoSeSigue) {
    QString out, err;
    QTextStream o(&out), e(&err);
    ASSERT_EQ(ComandoGenerar({"generar", linea, "--hoy", "2026-03-10", "--lista", "1", "--carpeta",
                              dir.path(), "--codigo", "42"},
                             o, e),
              CodigoLote::Generado)
        << err.toStdString();
    QTemporaryDir afuera;
    const QString ajeno = afuera.filePath("ajeno.txt");
    {
        QFile f(ajeno);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("NO TOCAR");
    }
    struct Caso {
        const char* nombre;
        std::function<void(const QString&)> prepara;
        int codigo;
    };
    const Caso casos[] = {
        {"enlace a un archivo", [&](const QString& p) { QFile::link(ajeno, p); },
         CodigoLote::Generado},
        {"enlace colgante", [&](const QString& p) { QFile::link(afuera.filePath("nuevo.txt"), p); },
         CodigoLote::Generado},
        {"carpeta en su lugar", [&](const QString& p) { QDir().mkpath(p); }, CodigoLote::Invalido},
    };
    int n = 0;
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nombre);
        for (const bool etiquetas : {false, true}) {
            const QString pdf = dir.filePath(QString("caso%1.pdf").arg(++n));
            c.prepara(pdf);
            QStringList args = {"testigo", linea, "--codigo", "42", "--pdf", pdf};
            if (etiquetas) {
                args << "--etiquetas";
            }
            EXPECT_EQ(ComandoTestigo(args, o, e), c.codigo) << err.toStdString();
            EXPECT_EQ(QFileInfo(pdf).isSymLink(), false);
            if (c.codigo == CodigoLote::Generado) {
                EXPECT_TRUE(texto(pdf).contains("42"));
            }
        }
    }
    QFile f(ajeno);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), "NO TOCAR");
    EXPECT_FALSE(QFile::exists(afuera.filePath("nuevo.txt")));
    EXPECT_EQ(QDir(dir.path()).entryList({"*.tmp"}, QDir::Files | QDir::Hidden).size(), 0);
}

INSTANTIATE_TEST_SUITE_P(Motores, TestigoPdfTest, valoresMotores(), nombreMotor);
