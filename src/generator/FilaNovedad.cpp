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
    static const QStringList e = [] {
        QStringList r;
        for (const ColumnaGrilla& c : kColumnasGrilla) {
            r << QString::fromUtf16(c.encabezado.data(), qsizetype(c.encabezado.size()));
        }
        return r;
    }();
    return e;
}

FilaNovedad FilaNovedad::DeGrilla(const GrillaLote& grilla, int fila) {
    FilaNovedad f;
    const int n = std::min(int(Columnas), grilla.Cols());
    for (int c = 0; c < n; ++c) {
        f.celdas[size_t(c)] = grilla.Texto(fila, c);
    }
    return f;
}

namespace {
// A control character (a line break, a tab, a NUL) inside a cell would break
// the fixed-length record it goes into: it becomes a blank, in the grid and
// so in both files and in the batch table.
bool tieneControl(const QString& t) {
    for (QChar c : t) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F) {
            return true;
        }
    }
    return false;
}
} // namespace

void FilaNovedad::EnGrilla(GrillaLote& grilla, int fila) const {
    bool limpiar = false;
    for (const QString& c : celdas) {
        limpiar = limpiar || tieneControl(c);
    }
    if (!limpiar) {
        grilla.FijaFila(fila, celdas.data(), int(Columnas));
        return;
    }
    std::array<QString, Columnas> limpias = celdas;
    for (QString& c : limpias) {
        for (QChar& ch : c) {
            if (ch.unicode() < 0x20 || ch.unicode() == 0x7F) {
                ch = QLatin1Char(' ');
            }
        }
    }
    grilla.FijaFila(fila, limpias.data(), int(Columnas));
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
