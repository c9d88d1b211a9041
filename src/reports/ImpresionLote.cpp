#include "reports/ImpresionLote.h"

#include "reports/ImpresoraPdf.h"
#include "runtime/Configuracion.h"
#include "runtime/ValoresGlobales.h"
#include "utility_library/ErrorKX.h"
#include "utility_library/QlReport.h"


namespace {

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
