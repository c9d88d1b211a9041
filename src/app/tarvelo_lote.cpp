// tarvelo-lote: the batch logic with no window, for scheduled runs.
#include "cli/Comandos.h"
#include "utility_library/CarpetasPrograma.h"
#include "utility_library/ErrorKX.h"
#include "utility_library/Programa.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTextStream>
#include <cstdio>
#include <memory>

int main(int argc, char** argv) {
    // The witness and labels are drawn with fonts, which need a GUI
    // application (offscreen when there is no screen); the other commands
    // run on the core application alone.
    bool dibuja = false;
    for (int i = 1; i < argc; ++i) {
        const QByteArray a(argv[i]);
        const ComandoDeLote* c = i == 1 ? BuscaComando(QString::fromLocal8Bit(a)) : nullptr;
        dibuja = dibuja || (c && c->dibuja) || a.startsWith("--testigo-pdf");
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
        out << AyudaLote();
        return args.isEmpty() ? 2 : 0;
    }
    // The command's own reader takes its words, --help included.
    const QString comando = args.takeFirst();
    int codigo = 2;
    // A failure no command expected still ends the run as a failure, with
    // its reason: never as an abort that leaves no word of why.
    try {
        if (const ComandoDeLote* c = BuscaComando(comando)) {
            // Whoever reads the journal of a scheduled run learns where its
            // files went when they cannot go beside the program.
            if (const QString aviso = CarpetasPrograma::aviso(); !aviso.isEmpty()) {
                err << "tarvelo-lote: " << aviso << "\n";
                err.flush();
            }
            codigo = c->corre(args, out, err);
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
