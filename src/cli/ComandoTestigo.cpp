#include "cli/ComandoTestigo.h"

#include "cli/Argumentos.h"
#include "generator/ReglasLote.h"
#include "reports/ErroresReporte.h"
#include "reports/ImpresionLote.h"
#include "runtime/IniciaAplicacion.h"
#include "utility_library/ErrorKX.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>

namespace {
constexpr int kEscrito = 0;
constexpr int kInvalido = 2;
constexpr int kFallo = 3;
} // namespace

QString AyudaComandoTestigo() {
    return QStringLiteral(
        "tarvelo-lote testigo \"<linea de la suite>\" --codigo N --pdf ARCHIVO [--etiquetas]\n"
        "  Guarda en ARCHIVO (PDF) el testigo del lote N (RP_Tarvelo), o sus etiquetas\n"
        "  (MA_PRE3) con --etiquetas. Los reportes se leen de la carpeta reports del\n"
        "  programa. Si algo falla no se escribe nada y un archivo anterior queda igual.\n"
        "  Codigos de salida: 0 escrito; 2 argumentos o datos invalidos; 3 falla.\n");
}

int ComandoTestigo(const QStringList& argumentos, QTextStream& out, QTextStream& err) {
    FormaComando forma;
    forma.nombre = QStringLiteral("testigo");
    forma.conValor = {QStringLiteral("codigo"), QStringLiteral("pdf")};
    forma.banderas = {QStringLiteral("etiquetas")};
    forma.faltaPosicional =
        QStringLiteral("Falta la linea de comandos de la suite (\"@server=...; @dbname=...\")");
    Argumentos a;
    if (!LeeArgumentos(argumentos, forma, a, err)) {
        return kInvalido;
    }
    if (a.ayuda) {
        out << AyudaComandoTestigo();
        out.flush();
        return kEscrito;
    }
    const QString linea = a.posicional;
    QString codigo = a.valor("codigo").value_or(QString());
    const QString archivo = a.valor("pdf").value_or(QString());
    const bool etiquetas = a.bandera("etiquetas");
    if (codigo.isEmpty() || archivo.isEmpty()) {
        err << "testigo necesita --codigo y --pdf" << Qt::endl;
        return kInvalido;
    }
    codigo = codigo.trimmed();
    // Read as every other command reads a batch code.
    if (!ReglasLote::LeeCodigo(codigo)) {
        err << "El codigo del lote debe ser un numero entero: " << codigo << Qt::endl;
        return kInvalido;
    }
    const QFileInfo destino(archivo);
    if (!destino.absoluteDir().exists()) {
        err << "La carpeta del PDF no existe: " << QDir::toNativeSeparators(destino.absolutePath())
            << Qt::endl;
        return kInvalido;
    }
    if (destino.isDir()) {
        err << "--pdf nombra una carpeta, no un archivo: " << archivo << Qt::endl;
        return kInvalido;
    }
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        err << "testigo necesita una QGuiApplication (fuentes para el PDF)" << Qt::endl;
        return kFallo;
    }
    const int inicio = IniciaAplicacion(linea, ModoInicio::SinDialogo);
    if (inicio != CodigoInicio::Correcto) {
        err << MensajeInicio() << Qt::endl;
        return inicio == CodigoInicio::DatosIncompletos ? kInvalido : kFallo;
    }
    try {
        const int paginas = ImprimeLotePdf(codigo, etiquetas, archivo);
        out << "testigo codigo=" << codigo << " reporte=" << (etiquetas ? "MA_PRE3" : "RP_Tarvelo")
            << " paginas=" << paginas << " pdf=\""
            << QDir::toNativeSeparators(destino.absoluteFilePath()) << "\"" << Qt::endl;
    } catch (const FalloKX& e) {
        err << e.error().descripcion << Qt::endl;
        // A batch that does not exist is bad input, not a failure of the run.
        return e.error().numero == ErroresReporte::kSinFilas ? kInvalido : kFallo;
    }
    return kEscrito;
}
