#include "generator/FormatoCambios.h"

#include "generator/FilaNovedad.h"
#include "generator/GrillaLote.h"
#include "utility_library/Cp1252.h"

const QString FormatoCambios::kNombre = QStringLiteral("CAMBIOS.TXT");

std::optional<QString> FormatoCambios::Registro(const GrillaLote& grilla, int fila) {
    QString r;
    r.reserve(kLargo + 4);
    for (int c : ColumnasGrilla::kRegistro) {
        r += grilla.Celda(fila, c);
    }
    return r;
}

QByteArray FormatoCambios::Codifica(const QString& registro) const {
    return Cp1252::codifica(registro);
}

std::optional<HallazgoFormato> FormatoCambios::Revisa(const GrillaLote& grilla, int fila) {
    // One byte per character: the record's length in the file is its length
    // in characters.
    qsizetype largo = 0;
    for (int c : ColumnasGrilla::kRegistro) {
        largo += grilla.Celda(fila, c).size();
    }
    if (largo == kLargo) {
        return std::nullopt;
    }
    HallazgoFormato h;
    h.tipo = HallazgoFormato::Tipo::LargoCambios;
    h.archivo = kNombre;
    h.largo = int(largo);
    h.esperado = kLargo;
    return h;
}
