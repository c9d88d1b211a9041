// tarvelo: started by the suite's menu with its command line, or by hand
// (the connection dialog then asks for what is missing).
#include "connection_dialog/DialogoConexionQt.h"
#include "generator/EstadoVentana.h"
#include "generator/LoteNovedades.h"
#include "generator_sql/ParametrosConfigurados.h"
#include "generator_sql/RepositorioLoteSql.h"
#include "generator_sql/TestigoQlReport.h"
#include "lookups/Lib_ClsCons3.h"
#include "lookups_ui/VentanasConsultaQt.h"
#include "main_window/ArranqueTarvelo.h"
#include "main_window/ConsultasConMotor.h"
#include "main_window/FrmTarvelo.h"
#include "progress_ui/CartelEnPantalla.h"
#include "progress_ui/VentanaCartel.h"
#include "reports_ui/VistaPrevia.h"
#include "runtime/IniciaAplicacion.h"
#include "runtime_ui/OperadorQt.h"
#include "runtime_ui/IdiomaQt.h"
#include "utility_library/CarpetasPrograma.h"
#include "utility_library/Operador.h"
#include "utility_library/OperadorSilencioso.h"
#include "utility_library/Programa.h"
#include "utility_library/QlReport.h"

#include <QApplication>
#include <QTextStream>

int main(int argc, char** argv) {
    // The usage needs no screen.
    for (int i = 1; i < argc; ++i) {
        const QByteArray a(argv[i]);
        if (a == "--help" || a == "-h" || a == "/?") {
            QTextStream(stdout) << AyudaTarvelo();
            return 0;
        }
    }
#ifdef Q_OS_UNIX
    // Without any display Qt would abort before a word of ours: start-up then
    // runs without a screen, says what it has to say on standard error, and
    // the program ends instead of waiting on a window nobody can see.
    const bool sinDisplay = qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") &&
                            qEnvironmentVariableIsEmpty("DISPLAY") &&
                            qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
    if (sinDisplay) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
#else
    const bool sinDisplay = false;
#endif
    QApplication app(argc, argv);
    IdiomaQt::Instala(app);
    Programa::fijaNombreEjecutable(QStringLiteral("tarvelo"));
    // A message box on a screen nobody sees would wait forever.
    const QString plataforma = QGuiApplication::platformName();
    const bool conPantalla =
        plataforma != QLatin1String("offscreen") && plataforma != QLatin1String("minimal");
    OperadorQt operadorInicio;
    OperadorSilencioso operadorConsola;
    fijaOperador(conPantalla ? static_cast<Operador*>(&operadorInicio) : &operadorConsola);
    InstalaDialogoConexion();
    // Start-up hands the connection to the lookup engine and writes its
    // default definitions when they are missing.
    InstalaConsultas();
    QTextStream salida(stdout), errores(stderr);
    if (const QString aviso = CarpetasPrograma::aviso(); !aviso.isEmpty()) {
        errores << "tarvelo: " << aviso << "\n";
        errores.flush();
    }
    if (const auto fin = ArrancaTarvelo(app.arguments().mid(1), salida, errores, conPantalla)) {
        fijaOperador(nullptr);
        return *fin;
    }
    if (sinDisplay) {
        errores << "tarvelo: no hay pantalla donde abrir la ventana (DISPLAY vacío); para generar "
                   "un lote sin ventana use tarvelo-lote\n";
        errores.flush();
        fijaOperador(nullptr);
        return CodigoInicio::DatosIncompletos;
    }

    CartelEnPantalla cartel;
    Dll_Display::fijaInstancia(&cartel);
    EstadoVentana estado;
    const std::unique_ptr<RepositorioLote> repositorio = RepositorioDeLaSesion();
    LoteNovedades lote(estado, *repositorio, cartel, &ParametrosConfigurados);
    ConsultasConMotor consultas(motorConsultas());
    FrmTarvelo ventana(lote, &consultas);
    // The witness and the labels, previewed over the window (print, page
    // set-up, save as PDF).
    ImpresoraVistaPrevia impresora(&ventana);
    QlReport::fijaImpresora(&impresora);
    TestigoQlReport testigo(estado);
    lote.fijaImpresor(&testigo);
    OperadorQt operadorVentana(&ventana);
    fijaOperador(&operadorVentana);
    QObject::connect(&ventana, &FrmTarvelo::descargada, &app, &QApplication::quit);
    ventana.Carga();
    ventana.show();
    const int r = app.exec();
    QlReport::fijaImpresora(nullptr);
    fijaOperador(nullptr);
    Dll_Display::fijaInstancia(nullptr);
    return r;
}
