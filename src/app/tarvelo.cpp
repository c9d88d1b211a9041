// tarvelo: started by the suite's menu with its command line, or by hand
// (the connection dialog then asks for what is missing).
#include "connection_dialog/DialogoConexionQt.h"
#include "db/DB_Dll.h"
#include "generator/EstadoVentana.h"
#include "generator/LoteNovedades.h"
#include "generator_sql/ParametrosConfigurados.h"
#include "generator_sql/RepositorioLoteSql.h"
#include "generator_sql/TestigoQlReport.h"
#include "lookups/Lib_ClsCons3.h"
#include "lookups_ui/VentanasConsultaQt.h"
#include "main_window/ConsultasConMotor.h"
#include "reports_ui/VistaPrevia.h"
#include "utility_library/QlReport.h"
#include "main_window/ArranqueTarvelo.h"
#include "main_window/FrmTarvelo.h"
#include "progress/CartelEnPantalla.h"
#include "progress/VentanaCartel.h"
#include "runtime/OperadorQt.h"
#include "utility_library/Operador.h"
#include "utility_library/Programa.h"

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
    QApplication app(argc, argv);
    Programa::fijaNombreEjecutable(QStringLiteral("tarvelo"));
    OperadorQt operadorInicio;
    fijaOperador(&operadorInicio);
    InstalaDialogoConexion();
    // Start-up hands the connection to the lookup engine and writes its
    // default definitions when they are missing.
    InstalaConsultas();
    QTextStream salida(stdout), errores(stderr);
    if (const auto fin = ArrancaTarvelo(app.arguments().mid(1), salida, errores)) {
        fijaOperador(nullptr);
        return *fin;
    }

    CartelEnPantalla cartel;
    Dll_Display::fijaInstancia(&cartel);
    EstadoVentana estado;
    RepositorioLoteSql repositorio(DB_Dll::instancia());
    LoteNovedades lote(estado, repositorio, cartel, &ParametrosConfigurados);
    ConsultasConMotor consultas(motorConsultas());
    FrmTarvelo ventana(lote, DB_Dll::instancia(), &consultas);
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
