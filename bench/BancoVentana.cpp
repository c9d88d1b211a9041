// Times a batch of N pending rows shown in the main window against the same
// load with no window, then scrolls the grid from the first row to the last
// and measures every step's repaint. SQLite; offscreen unless a display is set.
//
//   bench_ventana 100000
//
// Prints one line: load times and their ratio, the slowest and the mean
// scroll step, and the process's peak memory.

#include "db/DB_Dll.h"
#include "db/SqliteKX.h"
#include "demo/BaseDemo.h"
#include "schema/EsquemaSql.h"
#include "generator/EstadoVentana.h"
#include "generator/LoteNovedades.h"
#include "generator_sql/ParametrosConfigurados.h"
#include "generator_sql/RepositorioLoteSql.h"
#include "main_window/FrmTarvelo.h"
#include "main_window/ModeloGrilla.h"
#include "progress/Dll_Display.h"
#include "runtime/IniciaAplicacion.h"
#include "utility_library/OperadorSilencioso.h"
#include "utility_library/Programa.h"
#include "utility_library/Reloj.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QScrollBar>
#include <QSqlDatabase>
#include <QSqlError>
#include <QTableView>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

const QDate kHoy(2026, 3, 10);

void falla(const QString& texto) {
    std::fprintf(stderr, "%s\n", qPrintable(texto));
    std::exit(1);
}

double picoMB() {
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly)) {
        return -1;
    }
    for (const QByteArray& l : f.readAll().split('\n')) {
        if (l.startsWith("VmHWM:")) {
            return l.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
        }
    }
    return -1;
}

void prepara(const QString& archivo, int filas) {
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "prepara");
        db.setDatabaseName(archivo);
        if (!db.open()) {
            falla(db.lastError().text());
        }
        RegistraKXSqlite(db);
        EsquemaSql::crea(db);
        BaseDemo::cargaConfiguracion(db);
        OpcionesMasivo o;
        o.filas = filas;
        o.hoy = kHoy;
        BaseDemo::generaMasivo(db, o);
        db.close();
    }
    QSqlDatabase::removeDatabase("prepara");
}

// The state of a new batch on the large list, ready for "&Cargar".
void preparaLote(LoteNovedades& lote) {
    EstadoVentana& v = lote.ventana();
    lote.InicializaFormulario();
    lote.HabilitaEdicion(true);
    v.campo("IdLista") = "M1";
    v.lblLista = "Lista de Precios: LISTA MASIVA DE PRUEBA";
    v.avisa();
}

// One load with no window: the batch logic on its state alone.
double cargaSinVentana(int& filas) {
    EstadoVentana v;
    RepositorioLoteSql repositorio(DB_Dll::instancia());
    LoteNovedades lote(v, repositorio, Dll_Display::instancia(), &ParametrosConfigurados);
    preparaLote(lote);
    QElapsedTimer t;
    t.start();
    filas = lote.CargaNovedades().filas;
    return double(t.nsecsElapsed()) / 1e6;
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
    prepara(archivo, filas);
    OperadorSilencioso op;
    op.fijaEco(false);
    fijaOperador(&op);
    if (IniciaAplicacion("@Plataforma=SQLITE; @server=.; @dbname=" + archivo +
                             "; @usuario=BANCO; @UsuarioLogeado=BANCO",
                         ModoInicio::SinDialogo) != 0) {
        falla(MensajeInicio());
    }

    // Loading reads only: both sides load the same rows, alternately, and
    // the best of three counts for each.
    double sinVentana = 1e18, conVentana = 1e18;
    int filasSin = 0, filasCon = 0;
    EstadoVentana estado;
    RepositorioLoteSql repositorio(DB_Dll::instancia());
    LoteNovedades lote(estado, repositorio, Dll_Display::instancia(), &ParametrosConfigurados);
    FrmTarvelo ventana(lote, DB_Dll::instancia(), nullptr);
    ventana.resize(1200, 720);
    ventana.Carga();
    ventana.show();
    QApplication::processEvents();
    for (int vuelta = 0; vuelta < 3; ++vuelta) {
        // The window's grid is emptied first: one batch in memory at a time.
        preparaLote(lote);
        QApplication::processEvents();
        sinVentana = std::min(sinVentana, cargaSinVentana(filasSin));
        QElapsedTimer t;
        t.start();
        filasCon = lote.CargaNovedades().filas;
        ventana.modeloGrilla().sincroniza();
        QApplication::processEvents();
        conVentana = std::min(conVentana, double(t.nsecsElapsed()) / 1e6);
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
    std::printf("filas=%d carga_sin_ventana_ms=%.0f carga_con_ventana_ms=%.0f razon=%.3f "
                "desplazamiento_pasos=%d paso_medio_ms=%.2f paso_p95_ms=%.2f paso_max_ms=%.2f "
                "(cuadro 16.7) "
                "ultima_fila_vista=%d pico_mb=%.1f\n",
                filasCon, sinVentana, conVentana, conVentana / sinVentana, pasos,
                pasos ? total / pasos : 0.0, p95, maximo, ultima + 1, picoMB());
    fijaOperador(nullptr);
    return 0;
}
