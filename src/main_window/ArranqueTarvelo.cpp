#include "main_window/ArranqueTarvelo.h"

#include "main_window/FrmTarvelo.h"
#include "runtime/IniciaAplicacion.h"
#include "runtime/LineaComando.h"
#include "utility_library/Operador.h"

QString AyudaTarvelo() {
    return QStringLiteral(
        "Uso: tarvelo [\"<linea de comando de la suite>\"]\n"
        "\n"
        "Abre el generador de novedades de precios. La linea de la suite trae los datos\n"
        "de conexion, separados por \";\":\n"
        "  @server=SERVIDOR; @dbname=BASE; @usuario=USUARIO; @Password=CLAVE;\n"
        "  @UsuarioLogeado=OPERADOR; @Caja=1\n"
        "y, fuera de la suite, @Plataforma=SQLSERVER|ORACLE|POSTGRESQL|SQLITE y @Puerto=N.\n"
        "Sin servidor o usuario se abre el dialogo de conexion.\n"
        "\n"
        "  --help, -h   muestra esta ayuda\n"
        "\n"
        "Codigos de salida: 0 correcto; 2 linea de comando ilegible; 3 sin conexion.\n");
}

namespace {
int Ilegible(const QString& motivo, QTextStream& errores, bool conPantalla) {
    errores << "tarvelo: " << motivo << "\n(ver tarvelo --help)\n";
    errores.flush();
    if (conPantalla) {
        operador().MsgBox(motivo, Operador::SoloAceptar | Operador::IconoCritico,
                          FrmTarvelo::kTitulo);
    }
    return CodigoInicio::DatosIncompletos;
}
} // namespace

std::optional<int> ArrancaTarvelo(const QStringList& argumentos, QTextStream& salida,
                                  QTextStream& errores, bool conPantalla) {
    for (const QString& a : argumentos) {
        if (a == QLatin1String("--help") || a == QLatin1String("-h") || a == QLatin1String("/?")) {
            salida << AyudaTarvelo();
            salida.flush();
            return 0;
        }
        // An option of another program would otherwise be taken for connection data.
        if (a.startsWith(QLatin1String("--"))) {
            return Ilegible(QStringLiteral("Opcion desconocida: ") + a, errores, conPantalla);
        }
    }
    const int inicio =
        IniciaAplicacion(LineaComando::DeArgumentos(argumentos),
                         conPantalla ? ModoInicio::ConDialogo : ModoInicio::SinDialogo);
    if (inicio == CodigoInicio::DatosIncompletos) {
        return Ilegible(MensajeInicio(), errores, conPantalla);
    }
    if (inicio != CodigoInicio::Correcto) {
        // The dialog was left, or the connection layer already told the
        // operator why it could not connect.
        errores << "tarvelo: " << MensajeInicio() << "\n";
        errores.flush();
        return inicio;
    }
    return std::nullopt;
}
