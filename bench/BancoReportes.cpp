// Times the witness and the labels of a generated batch, written as PDF,
// against the batch's own load and generation in the same run:
//
//   bench_reportes 20000 [CARPETA]
//
// With a folder the two PDFs are kept there to be looked at.
//
// Prints one line of figures: the generation, each report, their ratio to
// the generation and the resident peak of the reports alone. The same
// figures in CPU time of the process follow (cpu_*), since on a shared
// machine the wall clock also counts the other programs.

#include "BaseBanco.h"
#include "MemoriaProceso.h"
#include "db/DB_Dll.h"
#include "generator/EstadoVentana.h"
#include "generator/LoteNovedades.h"
#include "generator_sql/ParametrosConfigurados.h"
#include "generator_sql/RepositorioLoteSql.h"
#include "progress/Dll_Display.h"
#include "reports/ImpresionLote.h"
#include "utility_library/ErrorKX.h"
#include "utility_library/OperadorSilencioso.h"
#include "utility_library/Programa.h"
#include "utility_library/Reloj.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <cstdio>
#include <ctime>

namespace {

const QDate kHoy(2026, 3, 10);

// Milliseconds of CPU the process has used so far.
double msCpu() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec * 1000.0 + t.tv_nsec / 1e6;
}

void falla(const QString& texto) {
    std::fprintf(stderr, "%s\n", qPrintable(texto));
    std::exit(1);
}

void copiaReportes(const QString& carpeta) {
    const QDir origen(QStringLiteral(TARVELO_RECURSOS "/reports"));
    QDir(carpeta).mkpath(QStringLiteral("reports"));
    for (const QString& f : origen.entryList(QDir::Files)) {
        QFile::copy(origen.filePath(f), QDir(carpeta).filePath("reports/" + f));
    }
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    const QStringList a = app.arguments();
    const int filas = a.size() > 1 ? a[1].toInt() : 20000;
    if (filas <= 0) {
        falla("uso: bench_reportes FILAS");
    }
    QTemporaryDir dir;
    Programa::fijaCarpeta(dir.path());
    copiaReportes(dir.path());
    Reloj::fijaHoy(kHoy);
    const QString base = dir.filePath("banco.db");
    BaseBanco::CreaSqlite(base, filas, kHoy, 1);

    OperadorSilencioso op;
    BaseBanco::Inicia(base, op);
    EstadoVentana ventana;
    RepositorioLoteSql repositorio(DB_Dll::instancia());
    LoteNovedades lote(ventana, repositorio, Dll_Display::instancia(), &ParametrosConfigurados);
    lote.InicializaFormulario();
    ventana.campo("IdLista") = "M1";
    ventana.textoLista = "Lista de Precios: LISTA MASIVA DE PRUEBA";
    ventana.fijaRuta(QDir::toNativeSeparators(dir.filePath("CAMBIOS.TXT")));
    QElapsedTimer t;
    t.start();
    const double cpuInicio = msCpu();
    lote.CargaNovedades();
    const ResultadoGeneracion gen = lote.Genera();
    const double msLote = t.elapsed();
    const double cpuLote = msCpu() - cpuInicio;
    if (gen.estado != ResultadoGeneracion::Estado::Generado) {
        falla("la generacion no termino: " + op.mensajes().join(" | "));
    }

    MemoriaProceso::ReiniciaPico();
    const double picoAntes = MemoriaProceso::MB("VmHWM:");
    const QDir salida(a.size() > 2 ? a[2] : dir.path());
    const QString testigo = salida.filePath("testigo.pdf");
    const QString etiquetas = salida.filePath("etiquetas.pdf");
    int paginasTestigo = 0, paginasEtiquetas = 0;
    double msTestigo = 0, msEtiquetas = 0, cpuTestigo = 0, cpuEtiquetas = 0;
    try {
        t.restart();
        double cpu = msCpu();
        paginasTestigo = ImprimeLotePdf(gen.codigo, false, testigo);
        msTestigo = t.restart();
        cpuTestigo = msCpu() - cpu;
        cpu = msCpu();
        paginasEtiquetas = ImprimeLotePdf(gen.codigo, true, etiquetas);
        msEtiquetas = t.elapsed();
        cpuEtiquetas = msCpu() - cpu;
    } catch (const FalloKX& e) {
        falla(e.error().descripcion);
    }
    const double pico = MemoriaProceso::MB("VmHWM:");
    std::printf("filas=%d filas_lote=%d lote_ms=%.0f testigo_ms=%.0f (%d paginas, %.1f MB) "
                "etiquetas_ms=%.0f (%d paginas, %.1f MB) razon=%.2f pico_mb=%.1f (antes %.1f) "
                "cpu_lote_ms=%.0f cpu_testigo_ms=%.0f cpu_etiquetas_ms=%.0f cpu_razon=%.2f\n",
                filas, gen.filas, msLote, msTestigo, paginasTestigo,
                QFileInfo(testigo).size() / 1048576.0, msEtiquetas, paginasEtiquetas,
                QFileInfo(etiquetas).size() / 1048576.0, (msTestigo + msEtiquetas) / msLote, pico,
                picoAntes, cpuLote, cpuTestigo, cpuEtiquetas,
                (cpuTestigo + cpuEtiquetas) / cpuLote);
    fijaOperador(nullptr);
    return 0;
}
