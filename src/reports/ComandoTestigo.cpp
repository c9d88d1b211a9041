#include "reports/ComandoTestigo.h"

#include "db/TextoSql.h"
#include "reports/ErroresReporte.h"
#include "reports/ImpresoraPdf.h"
#include "runtime/Configuracion.h"
#include "runtime/IniciaAplicacion.h"
#include "runtime/ValoresGlobales.h"
#include "utility_library/ErrorKX.h"
#include "utility_library/QlReport.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>

namespace {

constexpr int kEscrito = 0;
constexpr int kInvalido = 2;
constexpr int kFallo = 3;

// Puts back the printer that was installed before (none in the unattended program).
class ImpresoraInstalada {
public:
    explicit ImpresoraInstalada(QlReport::Impresora& i) { QlReport::fijaImpresora(&i); }
    ~ImpresoraInstalada() { QlReport::fijaImpresora(nullptr); }
};

} // namespace

QString FormulaSeleccionLote(const QString& codigo) {
    return QStringLiteral("{mv_tarvelo.codigo} =") + codigo;
}

QStringList FormulasLote() {
    // A missing key reads as a single blank: the formula then holds an empty name.
    return {QStringLiteral("Empresa = '") + ModGlobal::Cfg(QStringLiteral("NOMBRE")).trimmed() +
                QLatin1Char('\''),
            QString(),
            QString(),
            QString(),
            QString(),
            QString(),
            QString(),
            QString()};
}

int ImprimeLotePdf(const QString& codigo, bool etiquetas, const QString& archivo) {
    ImpresoraPdf pdf(archivo);
    ImpresoraInstalada instalada(pdf);
    QlReport::Imprime(etiquetas ? QStringLiteral("MA_PRE3") : QStringLiteral("RP_Tarvelo"),
                      QStringList{QString()}, FormulaSeleccionLote(codigo), ModGlobal::gDsnReportes,
                      FormulasLote());
    return pdf.paginas();
}

QString AyudaComandoTestigo() {
    return QStringLiteral(
        "tarvelo-lote testigo \"<linea de la suite>\" --codigo N --pdf ARCHIVO [--etiquetas]\n"
        "  Guarda en ARCHIVO (PDF) el testigo del lote N (RP_Tarvelo), o sus etiquetas\n"
        "  (MA_PRE3) con --etiquetas. Los reportes se leen de la carpeta reports del\n"
        "  programa. Si algo falla no se escribe nada y un archivo anterior queda igual.\n"
        "  Codigos de salida: 0 escrito; 2 argumentos o datos invalidos; 3 falla.\n");
}

int ComandoTestigo(const QStringList& argumentos, QTextStream& out, QTextStream& err) {
    QStringList a = argumentos;
    if (!a.isEmpty() && a.first().compare(QLatin1String("testigo"), Qt::CaseInsensitive) == 0) {
        a.removeFirst();
    }
    QString linea, codigo, archivo;
    bool etiquetas = false;
    bool hayLinea = false;
    for (int i = 0; i < a.size(); ++i) {
        const QString& w = a[i];
        if (w == QLatin1String("--help") || w == QLatin1String("-h")) {
            out << AyudaComandoTestigo();
            out.flush();
            return kEscrito;
        }
        if (w == QLatin1String("--etiquetas")) {
            etiquetas = true;
        } else if (w == QLatin1String("--codigo") || w == QLatin1String("--pdf")) {
            if (i + 1 >= a.size()) {
                err << "Falta el valor de " << w << Qt::endl;
                return kInvalido;
            }
            (w == QLatin1String("--codigo") ? codigo : archivo) = a[++i];
        } else if (w.startsWith(QLatin1String("--"))) {
            err << "Opcion desconocida: " << w << " (vea tarvelo-lote testigo --help)" << Qt::endl;
            return kInvalido;
        } else if (!hayLinea) {
            linea = w;
            hayLinea = true;
        } else {
            err << "Argumento inesperado: " << w << Qt::endl;
            return kInvalido;
        }
    }
    if (!hayLinea) {
        err << "Falta la linea de comandos de la suite (\"@server=...; @dbname=...\")" << Qt::endl;
        return kInvalido;
    }
    if (codigo.isEmpty() || archivo.isEmpty()) {
        err << "testigo necesita --codigo y --pdf" << Qt::endl;
        return kInvalido;
    }
    codigo = codigo.trimmed();
    if (!TextoSql::EsEntero(codigo)) {
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
