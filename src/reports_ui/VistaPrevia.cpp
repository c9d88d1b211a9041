#include "reports_ui/VistaPrevia.h"

#include "reports/ImpresionLote.h"
#include "runtime/ValoresGlobales.h"

void MuestraVistaPrevia(const QString& reporte, const QString& codigo, QWidget* padre) {
    ImpresoraVistaPrevia impresora(padre);
    impresora.Imprime(QlReport::Ruta(), reporte, QStringList{QString()},
                      FormulaSeleccionLote(codigo), ModGlobal::gDsnReportes, FormulasLote());
}
