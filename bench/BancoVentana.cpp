// Times a batch of N pending rows shown in the main window against the same
// load with no window, then scrolls the grid from the first row to the last
// and measures every step's repaint. SQLite; offscreen unless a display is set.
//
//   bench_ventana 100000
//
// Prints one line: load times and their ratio, the slowest and the mean
// scroll step, and the process's peak memory.

#include "BaseBanco.h"
#include "MemoriaProceso.h"
#include "db/DB_Dll.h"
#include "demo/BaseDemo.h"
#include "generator/EstadoVentana.h"
#include "generator/LoteNovedades.h"
#include "generator_sql/ParametrosConfigurados.h"
#include "generator_sql/RepositorioLoteSql.h"
#include "main_window/FrmTarvelo.h"
#include "main_window/ModeloGrilla.h"
#include "progress/Dll_Display.h"
#include "utility_library/OperadorSilencioso.h"
#include "utility_library/Programa.h"
#include "utility_library/Reloj.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QScrollBar>
#include <QTableView>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

namespace {

const QDate kHoy(2026, 3, 10);

void falla(const QString& texto) {
    std::fprintf(stderr, "%s\n", qPrintable(texto));
    std::exit(1);
}

// CPU time of this thread, beside the wall clock: on a shared machine the
// wait for a core is no work of either side. Everything measured runs here.
double cpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

struct Tiempo {
    double ms = 1e18;
    double cpu = 1e18;
    void mejor(double m, double c) {
        ms = std::min(ms, m);
        cpu = std::min(cpu, c);
    }
};

// The state of a new batch on the large list, ready for "&Cargar".
void preparaLote(LoteNovedades& lote) {
    EstadoVentana& v = lote.ventana();
    lote.InicializaFormulario();
    lote.HabilitaEdicion(true);
    v.campo("IdLista") = "M1";
    v.textoLista = "Lista de Precios: LISTA MASIVA DE PRUEBA";
    v.avisa();
}

// One load with no window: the batch logic on its state alone (kept from
// one round to the next, as the window keeps its own).
void cargaSinVentana(LoteNovedades& lote, int& filas, Tiempo& tiempo) {
    preparaLote(lote);
    QElapsedTimer t;
    t.start();
    const double cpu = cpuMs();
    filas = lote.CargaNovedades().filas;
    tiempo.mejor(double(t.nsecsElapsed()) / 1e6, cpuMs() - cpu);
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    const int filas = app.arguments().value(1, QStringLiteral("100000")).toInt();
    QTemporaryDir dir;
    Programa::fijaCarpeta(dir.path());
    Reloj::fijaHoy(kHoy);
    const QString archivo = dir.filePath(QStringLiteral("banco.db"));
    BaseBanco::CreaSqlite(archivo, filas, kHoy, OpcionesMasivo().codigoInicial);
    OperadorSilencioso op;
    BaseBanco::Inicia(archivo, op);

    // Loading reads only: both sides load the same rows, alternately, and
    // the best of five counts for each.
    Tiempo sinVentana, conVentana;
    int filasSin = 0, filasCon = 0;
    EstadoVentana estadoSolo;
    RepositorioLoteSql repositorioSolo(DB_Dll::instancia());
    LoteNovedades loteSolo(estadoSolo, repositorioSolo, Dll_Display::instancia(),
                           &ParametrosConfigurados);
    EstadoVentana estado;
    RepositorioLoteSql repositorio(DB_Dll::instancia());
    LoteNovedades lote(estado, repositorio, Dll_Display::instancia(), &ParametrosConfigurados);
    FrmTarvelo ventana(lote, nullptr);
    ventana.resize(1200, 720);
    ventana.Carga();
    ventana.show();
    QApplication::processEvents();
    for (int vuelta = 0; vuelta < 5; ++vuelta) {
        // The window's grid is emptied first: one batch in memory at a time.
        preparaLote(lote);
        QApplication::processEvents();
        cargaSinVentana(loteSolo, filasSin, sinVentana);
        preparaLote(loteSolo);
        QElapsedTimer t;
        t.start();
        const double cpu = cpuMs();
        filasCon = lote.CargaNovedades().filas;
        ventana.modeloGrilla().sincroniza();
        QApplication::processEvents();
        conVentana.mejor(double(t.nsecsElapsed()) / 1e6, cpuMs() - cpu);
    }
    if (filasSin != filasCon || ventana.modeloGrilla().rowCount() != filasCon) {
        falla(QString("filas distintas: sin ventana %1, con ventana %2, en la grilla %3")
                  .arg(filasSin)
                  .arg(filasCon)
                  .arg(ventana.modeloGrilla().rowCount()));
    }

    // Scrolling page by page from the first row to the last, each step painted.
    auto* grilla = ventana.findChild<QTableView*>(QStringLiteral("MSFlexGrid1"));
    QScrollBar* barra = grilla->verticalScrollBar();
    barra->setValue(0);
    grilla->viewport()->repaint();
    double maximo = 0, total = 0;
    int pasos = 0;
    std::vector<double> tiempos;
    while (barra->value() < barra->maximum()) {
        QElapsedTimer t;
        t.start();
        barra->setValue(barra->value() + barra->pageStep());
        grilla->viewport()->repaint();
        const double ms = double(t.nsecsElapsed()) / 1e6;
        maximo = std::max(maximo, ms);
        total += ms;
        tiempos.push_back(ms);
        ++pasos;
    }
    // The machine is shared: the 95th percentile says more than the slowest step.
    std::sort(tiempos.begin(), tiempos.end());
    const double p95 = tiempos.empty() ? 0.0 : tiempos[tiempos.size() * 95 / 100];
    const int ultima = grilla->rowAt(grilla->viewport()->height() - 2);
    std::printf(
        "filas=%d carga_sin_ventana_ms=%.0f (cpu %.0f) carga_con_ventana_ms=%.0f (cpu %.0f) "
        "razon=%.3f (cpu %.3f) "
        "desplazamiento_pasos=%d paso_medio_ms=%.2f paso_p95_ms=%.2f paso_max_ms=%.2f "
        "(cuadro 16.7) "
        "ultima_fila_vista=%d pico_mb=%.1f\n",
        filasCon, sinVentana.ms, sinVentana.cpu, conVentana.ms, conVentana.cpu,
        conVentana.ms / sinVentana.ms, conVentana.cpu / sinVentana.cpu, pasos,
        pasos ? total / pasos : 0.0, p95, maximo, ultima + 1, MemoriaProceso::MB("VmHWM:"));
    fijaOperador(nullptr);
    return 0;
}
