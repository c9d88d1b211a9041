#include "reports/FuentePdf.h"

#include <QtEndian>
#include <atomic>
#include <set>
#include <vector>

namespace {

quint16 u16(const QByteArray& t, qsizetype i) {
    return i + 2 <= t.size() ? qFromBigEndian<quint16>(t.constData() + i) : 0;
}
qint16 i16(const QByteArray& t, qsizetype i) {
    return qint16(u16(t, i));
}
quint32 u32(const QByteArray& t, qsizetype i) {
    return i + 4 <= t.size() ? qFromBigEndian<quint32>(t.constData() + i) : 0;
}
void pon16(QByteArray& t, qsizetype i, quint16 v) {
    qToBigEndian<quint16>(v, t.data() + i);
}
void pon32(QByteArray& t, qsizetype i, quint32 v) {
    qToBigEndian<quint32>(v, t.data() + i);
}
void agrega16(QByteArray& t, quint16 v) {
    char b[2];
    qToBigEndian<quint16>(v, b);
    t.append(b, 2);
}
void agrega32(QByteArray& t, quint32 v) {
    char b[4];
    qToBigEndian<quint32>(v, b);
    t.append(b, 4);
}

quint32 sumaTabla(const QByteArray& t) {
    quint32 suma = 0;
    for (qsizetype i = 0; i < t.size(); i += 4) {
        quint32 palabra = 0;
        for (int k = 0; k < 4; ++k) {
            palabra = (palabra << 8) | (i + k < t.size() ? quint8(t[i + k]) : 0);
        }
        suma += palabra;
    }
    return suma;
}

QByteArray hex4(quint32 v) {
    return QByteArray::number(v, 16).toUpper().rightJustified(4, '0');
}

// The tables a TrueType program needs to draw its glyphs in a PDF.
const char* const kTablas[] = {"cvt ", "fpgm", "glyf", "head", "hhea",
                               "hmtx", "loca", "maxp", "prep"};
const char* const kObligatorias[] = {"glyf", "head", "hhea", "hmtx", "loca", "maxp"};

std::atomic<int> series{0};

} // namespace

FuentePdf::FuentePdf(const QRawFont& fuente) : fuente_(fuente), serie_(series++) {}

bool FuentePdf::embebible(const QRawFont& fuente) {
    if (!fuente.isValid()) {
        return false;
    }
    for (const char* t : kObligatorias) {
        if (fuente.fontTable(t).isEmpty()) {
            return false;
        }
    }
    return u16(fuente.fontTable("head"), 18) > 0;
}

QString FuentePdf::clave(const QRawFont& fuente) {
    return fuente.familyName() + QLatin1Char('|') + fuente.styleName() + QLatin1Char('|') +
           QString::number(fuente.weight()) + QLatin1Char('|') +
           QString::number(int(fuente.style()));
}

void FuentePdf::usa(quint32 glifo, char16_t caracter) {
    usados_.emplace(glifo, caracter);
}

QByteArray FuentePdf::programa() const {
    QByteArray head = fuente_.fontTable("head");
    const QByteArray loca = fuente_.fontTable("loca");
    const QByteArray glyf = fuente_.fontTable("glyf");
    const int glifos = u16(fuente_.fontTable("maxp"), 4);
    const bool largo = i16(head, 50) != 0;
    const auto desde = [&](int g) -> quint32 {
        return largo ? u32(loca, 4 * qsizetype(g)) : quint32(u16(loca, 2 * qsizetype(g))) * 2;
    };
    // The used glyphs and, for a glyph made of others, its parts.
    std::set<quint32> dentro;
    std::vector<quint32> pendientes{0}; // the glyph of a missing character
    for (const auto& [g, c] : usados_) {
        (void)c;
        pendientes.push_back(g);
    }
    while (!pendientes.empty()) {
        const quint32 g = pendientes.back();
        pendientes.pop_back();
        if (g >= quint32(glifos) || !dentro.insert(g).second) {
            continue;
        }
        const quint32 a = desde(int(g)), b = desde(int(g) + 1);
        if (b <= a + 10 || b > quint32(glyf.size()) || i16(glyf, a) >= 0) {
            continue;
        }
        // A composite glyph: its parts follow its header.
        qsizetype i = a + 10;
        for (;;) {
            const quint16 marcas = u16(glyf, i);
            pendientes.push_back(u16(glyf, i + 2));
            i += 4 + ((marcas & 0x0001) ? 4 : 2);
            if (marcas & 0x0008) {
                i += 2;
            } else if (marcas & 0x0040) {
                i += 4;
            } else if (marcas & 0x0080) {
                i += 8;
            }
            if (!(marcas & 0x0020) || i >= qsizetype(b)) {
                break;
            }
        }
    }
    QByteArray nuevoGlyf, nuevaLoca;
    for (int g = 0; g < glifos; ++g) {
        agrega32(nuevaLoca, quint32(nuevoGlyf.size()));
        if (dentro.count(quint32(g))) {
            const quint32 a = desde(g), b = desde(g + 1);
            if (b > a && b <= quint32(glyf.size())) {
                nuevoGlyf.append(glyf.constData() + a, qsizetype(b - a));
                while (nuevoGlyf.size() % 4) {
                    nuevoGlyf.append('\0');
                }
            }
        }
    }
    agrega32(nuevaLoca, quint32(nuevoGlyf.size()));
    pon32(head, 8, 0);  // the whole program's check, set below
    pon16(head, 50, 1); // offsets of four bytes

    std::vector<std::pair<QByteArray, QByteArray>> tablas;
    for (const char* t : kTablas) {
        QByteArray datos;
        if (qstrcmp(t, "glyf") == 0) {
            datos = nuevoGlyf;
        } else if (qstrcmp(t, "loca") == 0) {
            datos = nuevaLoca;
        } else if (qstrcmp(t, "head") == 0) {
            datos = head;
        } else {
            datos = fuente_.fontTable(t);
        }
        if (!datos.isEmpty()) {
            tablas.emplace_back(QByteArray(t, 4), datos);
        }
    }
    const quint16 n = quint16(tablas.size());
    quint16 potencia = 1, exponente = 0;
    while (potencia * 2 <= n) {
        potencia *= 2;
        ++exponente;
    }
    QByteArray r;
    agrega32(r, 0x00010000);
    agrega16(r, n);
    agrega16(r, quint16(potencia * 16));
    agrega16(r, exponente);
    agrega16(r, quint16(n * 16 - potencia * 16));
    quint32 posicion = quint32(12 + 16 * n);
    qsizetype posicionHead = -1;
    for (const auto& [etiqueta, datos] : tablas) {
        r.append(etiqueta);
        agrega32(r, sumaTabla(datos));
        agrega32(r, posicion);
        agrega32(r, quint32(datos.size()));
        if (etiqueta == "head") {
            posicionHead = posicion;
        }
        posicion += quint32((datos.size() + 3) / 4 * 4);
    }
    for (const auto& [etiqueta, datos] : tablas) {
        (void)etiqueta;
        r.append(datos);
        while (r.size() % 4) {
            r.append('\0');
        }
    }
    if (posicionHead >= 0) {
        pon32(r, posicionHead + 8, 0xB1B0AFBAu - sumaTabla(r));
    }
    return r;
}

QByteArray FuentePdf::aUnicode() const {
    QByteArray r = "/CIDInit /ProcSet findresource begin\n12 dict begin\nbegincmap\n"
                   "/CIDSystemInfo << /Registry (Adobe) /Ordering (UCS) /Supplement 0 >> def\n"
                   "/CMapName /Adobe-Identity-UCS def\n/CMapType 2 def\n"
                   "1 begincodespacerange\n<0000> <FFFF>\nendcodespacerange\n";
    std::vector<std::pair<quint32, char16_t>> pares(usados_.begin(), usados_.end());
    for (size_t i = 0; i < pares.size(); i += 100) {
        const size_t hasta = std::min(pares.size(), i + 100);
        r += QByteArray::number(qulonglong(hasta - i)) + " beginbfchar\n";
        for (size_t k = i; k < hasta; ++k) {
            r += '<' + hex4(pares[k].first) + "> <" + hex4(pares[k].second) + ">\n";
        }
        r += "endbfchar\n";
    }
    r += "endcmap\nCMapName currentdict /CMap defineresource pop\nend\nend\n";
    return r;
}

QByteArray FuentePdf::nombre() const {
    QByteArray etiqueta = "TARVAA";
    int s = serie_;
    for (int i = 5; i >= 0 && s > 0; --i, s /= 26) {
        etiqueta[i] = char('A' + s % 26);
    }
    QByteArray base;
    const QString completo = fuente_.familyName() + QLatin1Char('-') + fuente_.styleName();
    for (const QChar c : completo) {
        if ((c >= QLatin1Char('A') && c <= QLatin1Char('Z')) ||
            (c >= QLatin1Char('a') && c <= QLatin1Char('z')) ||
            (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('-')) {
            base += char(c.unicode());
        }
    }
    return etiqueta + '+' + (base.isEmpty() ? QByteArray("Fuente") : base);
}

QByteArray FuentePdf::medidas() const {
    const QByteArray head = fuente_.fontTable("head");
    const QByteArray hhea = fuente_.fontTable("hhea");
    const double em = u16(head, 18);
    const auto mil = [&](int v) { return QByteArray::number(qRound(v * 1000.0 / em)); };
    const QByteArray ascenso = mil(i16(hhea, 4));
    return "/Flags 32 /FontBBox [" + mil(i16(head, 36)) + ' ' + mil(i16(head, 38)) + ' ' +
           mil(i16(head, 40)) + ' ' + mil(i16(head, 42)) + "] /ItalicAngle 0 /Ascent " + ascenso +
           " /Descent " + mil(i16(hhea, 6)) + " /CapHeight " + ascenso + " /StemV 80";
}
