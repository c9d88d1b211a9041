// tarvelo-lote: the batch logic with no window, for scheduled runs.
#include "cli/ComandoLote.h"
#include "demo/ComandosDemo.h"
#include "reports/ComandoTestigo.h"
#include "runtime/IniciaAplicacion.h"
#include "utility_library/ErrorKX.h"
#include "utility_library/Programa.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTextStream>
#include <cstdio>
#include <memory>

namespace {

QString Ayuda() {
    return QStringLiteral(
               "Uso: tarvelo-lote COMANDO [argumentos]\n"
               "\n"
               "Comandos:\n"
               "  crear-base ARCHIVO [--demo] [--hoy AAAA-MM-DD]\n"
               "      Crea una base SQLite con las tablas de la suite (y datos de demostracion).\n"
               "  resumen \"<linea de comando de la suite>\"\n"
               "      Listas de precios, cantidad de articulos y novedades pendientes.\n"
               "  inicio \"<linea de comando de la suite>\"\n"
               "      Ejecuta el inicio del programa sin dialogos e informa lo que encontro.\n") +
           AyudaComandoLote() + QStringLiteral("\n") + AyudaComandoTestigo() +
           QStringLiteral("\n") + CodigosDeSalidaLote();
}

} // namespace

int main(int argc, char** argv) {
    // The witness and labels are drawn with fonts, which need a GUI
    // application (offscreen when there is no screen); the other commands
    // run on the core application alone.
    bool dibuja = false;
    for (int i = 1; i < argc; ++i) {
        const QByteArray a(argv[i]);
        dibuja = dibuja || a == "testigo" || a.startsWith("--testigo-pdf");
    }
    std::unique_ptr<QCoreApplication> aplicacion;
    if (dibuja) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
        if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
            // A scheduled run has no session folder; Qt wants a private one.
            const QString carpeta = QDir::temp().filePath(QStringLiteral("tarvelo-lote-") +
                                                          qEnvironmentVariable("USER"));
            QDir().mkpath(carpeta);
            QFile::setPermissions(carpeta, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                               QFileDevice::ExeOwner);
            qputenv("XDG_RUNTIME_DIR", carpeta.toLocal8Bit());
        }
        aplicacion = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        aplicacion = std::make_unique<QCoreApplication>(argc, argv);
    }
    QCoreApplication& app = *aplicacion;
    Programa::fijaNombreEjecutable(QStringLiteral("tarvelo"));
    QTextStream out(stdout);
    QTextStream err(stderr);
    QStringList args = app.arguments().mid(1);
    if (args.isEmpty() || args[0] == "--help" || args[0] == "-h" || args[0] == "ayuda") {
        out << Ayuda();
        return args.isEmpty() ? 2 : 0;
    }
    const QString comando = args.takeFirst();
    if (args.contains(QStringLiteral("--help"))) {
        out << Ayuda();
        return 0;
    }
    int codigo = 2;
    // A failure no command expected still ends the run as a failure, with
    // its reason: never as an abort that leaves no word of why.
    try {
        if (comando == "crear-base") {
            codigo = ComandoCrearBase(args, out, err);
        } else if (comando == "resumen") {
            codigo = ComandoResumen(args, out, err);
        } else if (comando == "inicio") {
            codigo = ComandoInicio(args, ModoInicio::SinDialogo, out, err);
        } else if (comando == "generar") {
            codigo = ComandoGenerar(args, out, err);
        } else if (comando == "regenerar") {
            codigo = ComandoRegenerar(args, out, err);
        } else if (comando == "verificar") {
            codigo = ComandoVerificar(args, out, err);
        } else if (comando == "testigo") {
            codigo = ComandoTestigo(args, out, err);
        } else {
            err << "Comando desconocido: " << comando << " (ver tarvelo-lote --help)\n";
        }
    } catch (const FalloKX& f) {
        err << "tarvelo-lote: " << f.error().descripcion << "\n";
        codigo = 3;
    } catch (const std::exception& e) {
        err << "tarvelo-lote: " << e.what() << "\n";
        codigo = 3;
    }
    out.flush();
    err.flush();
    return codigo;
}
