#include "generator/FilaNovedad.h"

#include "generator/GrillaLote.h"

const QString FilaNovedad::kCeros9 = QStringLiteral("000000000");
const QString FilaNovedad::kCeros6 = QStringLiteral("000000");
const QString FilaNovedad::kCondIva = QStringLiteral("S");
const QString FilaNovedad::kFijo = QStringLiteral("SS");
const QString FilaNovedad::kPesable = QStringLiteral("I");
const QString FilaNovedad::kSinRubro = QStringLiteral("99");
const QString FilaNovedad::kIva21 = QStringLiteral("21");

const QStringList& FilaNovedad::Encabezados() {
    static const QStringList e = {
        QStringLiteral("TipoMov"),  QStringLiteral("CodInterno"),  QStringLiteral("Descripción"),
        QStringLiteral("Marca"),    QStringLiteral("PrecioVenta"), QStringLiteral("Precio"),
        QStringLiteral("Internos"), QStringLiteral("PrecioCosto"), QStringLiteral("CondIva"),
        QStringLiteral("TipoIva"),  QStringLiteral("Fijo"),        QStringLiteral("CodBarra"),
        QStringLiteral("Tipo"),     QStringLiteral("Rubro"),       QStringLiteral("Aux1"),
        QStringLiteral("Aux2"),     QStringLiteral("Id"),          QStringLiteral("NoMarcar")};
    return e;
}

FilaNovedad FilaNovedad::DeGrilla(const GrillaLote& grilla, int fila) {
    FilaNovedad f;
    const int n = std::min(int(Columnas), grilla.Cols());
    for (int c = 0; c < n; ++c) {
        f.celdas[size_t(c)] = grilla.TextMatrix(fila, c);
    }
    return f;
}

void FilaNovedad::EnGrilla(GrillaLote& grilla, int fila) const {
    grilla.FijaFila(fila, celdas.data(), int(Columnas));
}

bool FilaNovedad::EnBlanco(const GrillaLote& grilla, int fila) {
    const int n = std::min(int(Id), grilla.Cols());
    for (int c = 0; c < n; ++c) {
        if (!grilla.Celda(fila, c).trimmed().isEmpty()) {
            return false;
        }
    }
    return true;
}
