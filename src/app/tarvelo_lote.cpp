// tarvelo-lote: the batch logic with no window, for scheduled runs.
#include "cli/ComandoLote.h"
#include "demo/ComandosDemo.h"
#include "runtime/IniciaAplicacion.h"
#include "utility_library/Programa.h"

#include <QCoreApplication>
#include <QTextStream>
#include <cstdio>

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
           AyudaComandoLote() +
           QStringLiteral("\nCodigos de salida: 0 correcto; 1 nada para enviar; 2 argumentos o "
                          "datos invalidos; 3 operacion abandonada por una falla.\n");
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
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
    } else {
        err << "Comando desconocido: " << comando << " (ver tarvelo-lote --help)\n";
    }
    out.flush();
    err.flush();
    return codigo;
}
