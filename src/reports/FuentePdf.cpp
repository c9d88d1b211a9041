#include "reports/FuentePdf.h"

#include <QCryptographicHash>
#include <QtEndian>
#include <hb-ot.h>
#include <hb-subset.h>
#include <hb.h>
#include <cmath>
#include <vector>

namespace {

quint16 u16(const QByteArray& t, qsizetype i) {
    return i >= 0 && i + 2 <= t.size() ? qFromBigEndian<quint16>(t.constData() + i) : 0;
}

QByteArray hex4(quint32 v) {
    return QByteArray::number(v, 16).toUpper().rightJustified(4, '0');
}

// The tables read from the face: what the subsetter needs to cut down the
// outlines, and what the descriptor's measures come from.
const char* const kTablas[] = {"head", "hhea", "hmtx", "maxp", "loca", "glyf", "cvt ",
                               "fpgm", "prep", "CFF ", "OS/2", "post", "name", "cmap"};

// A font program inside a PDF is reached by glyph number: the character map
// is never read, and a TrueType program needs neither its names nor its
// OS/2 measures (the descriptor carries them).
const hb_tag_t kSinUsoTrueType[] = {HB_TAG('c', 'm', 'a', 'p'), HB_TAG('n', 'a', 'm', 'e'),
                                    HB_TAG('p', 'o', 's', 't'), HB_TAG('O', 'S', '/', '2')};
const hb_tag_t kSinUsoCff[] = {HB_TAG('c', 'm', 'a', 'p')};

// Whether a CFF program is keyed by CID: its top dictionary starts with the
// ROS operator (12 30). Such a program names its glyphs by CID, not by the
// glyph numbers the pages use.
bool cffPorCid(const QByteArray& cff) {
    const auto byte = [&](qsizetype i) { return i < cff.size() ? quint8(cff[i]) : 0u; };
    // The header, then the name index; the top dictionary index follows.
    qsizetype i = byte(2);
    const auto saltaIndice = [&](qsizetype desde, qsizetype* datos, qsizetype* largo) {
        const quint16 cuantos = u16(cff, desde);
        if (cuantos == 0) {
            *datos = desde + 2;
            *largo = 0;
            return desde + 2;
        }
        const int tam = int(byte(desde + 2));
        const auto offset = [&](int k) {
            quint32 v = 0;
            for (int b = 0; b < tam; ++b) {
                v = (v << 8) | byte(desde + 3 + qsizetype(k) * tam + b);
            }
            return qsizetype(v);
        };
        const qsizetype base = desde + 3 + qsizetype(cuantos + 1) * tam - 1;
        *datos = base + offset(0);
        *largo = offset(1) - offset(0);
        return base + offset(cuantos);
    };
    qsizetype datos = 0, largo = 0;
    i = saltaIndice(i, &datos, &largo);
    saltaIndice(i, &datos, &largo);
    const qsizetype fin = std::min(datos + largo, cff.size());
    for (qsizetype k = datos; k < fin;) {
        const quint8 b = byte(k);
        if (b == 12) {
            return byte(k + 1) == 30;
        }
        if (b <= 21) {
            return false; // the first operator is another one
        }
        if (b == 28) {
            k += 3;
        } else if (b == 29) {
            k += 5;
        } else if (b == 30) { // a real number, nibbles up to 0xF
            ++k;
            while (k < fin && (byte(k) & 0x0F) != 0x0F && (byte(k) & 0xF0) != 0xF0) {
                ++k;
            }
            ++k;
        } else if (b >= 247 && b <= 254) {
            k += 2;
        } else {
            ++k;
        }
    }
    return false;
}

// A name as PDF takes it: letters, digits and hyphens.
QByteArray nombrePdf(const QString& texto) {
    QByteArray r;
    for (const QChar c : texto) {
        if ((c >= QLatin1Char('A') && c <= QLatin1Char('Z')) ||
            (c >= QLatin1Char('a') && c <= QLatin1Char('z')) ||
            (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('-')) {
            r += char(c.unicode());
        }
    }
    return r;
}

} // namespace

FuentePdf::FuentePdf(const QRawFont& fuente) {
    if (!fuente.isValid()) {
        return;
    }
    QCryptographicHash huella(QCryptographicHash::Sha1);
    std::vector<QByteArray> tablas;
    tablas.reserve(std::size(kTablas));
    hb_face_t* constructor = hb_face_builder_create();
    for (const char* etiqueta : kTablas) {
        tablas.push_back(fuente.fontTable(etiqueta));
        const QByteArray& datos = tablas.back();
        if (datos.isEmpty()) {
            continue;
        }
        huella.addData(QByteArrayView(etiqueta, 4));
        huella.addData(QByteArray::number(datos.size()));
        huella.addData(datos);
        hb_blob_t* blob = hb_blob_create(datos.constData(), unsigned(datos.size()),
                                         HB_MEMORY_MODE_READONLY, nullptr, nullptr);
        hb_face_builder_add_table(constructor, hb_tag_from_string(etiqueta, 4), blob);
        hb_blob_destroy(blob);
    }
    huella_ = huella.result();
    // The builder's tables compiled into one font file, read as a face.
    hb_blob_t* archivo = hb_face_reference_blob(constructor);
    hb_face_destroy(constructor);
    cara_ = hb_face_create(archivo, 0);
    hb_blob_destroy(archivo);
    fuenteHb_ = hb_font_create(cara_);

    const auto tabla = [&](const char* etiqueta) -> const QByteArray& {
        for (size_t i = 0; i < std::size(kTablas); ++i) {
            if (qstrcmp(kTablas[i], etiqueta) == 0) {
                return tablas[i];
            }
        }
        static const QByteArray vacia;
        return vacia;
    };
    if (u16(tabla("head"), 18) == 0 || tabla("maxp").isEmpty()) {
        clase_ = Clase::SinContorno;
    } else if (!tabla("glyf").isEmpty() && !tabla("loca").isEmpty()) {
        clase_ = Clase::TrueType;
    } else if (!tabla("CFF ").isEmpty()) {
        clase_ = cffPorCid(tabla("CFF ")) ? Clase::Contornos : Clase::Cff;
    }
    // The licence's embedding bits: "restricted" (no embedding at all) as
    // the only usage permission, or bitmaps only, which this writer never
    // embeds. Either way the glyphs are drawn as outlines.
    const quint16 permisos = u16(tabla("OS/2"), 8);
    if (clase_ != Clase::SinContorno && ((permisos & 0x000F) == 0x0002 || (permisos & 0x0200))) {
        clase_ = Clase::Contornos;
    }
    enteraSiempre_ = (permisos & 0x0100) != 0; // "no subsetting"

    char nombre[128];
    unsigned largo = sizeof nombre;
    hb_ot_name_get_utf8(cara_, HB_OT_NAME_ID_POSTSCRIPT_NAME, HB_LANGUAGE_INVALID, &largo, nombre);
    nombrePs_ = nombrePdf(QString::fromUtf8(nombre, int(largo)));
    if (nombrePs_.isEmpty()) {
        nombrePs_ = nombrePdf(fuente.familyName() + QLatin1Char('-') + fuente.styleName());
    }
    if (nombrePs_.isEmpty()) {
        nombrePs_ = "Fuente";
    }
}

FuentePdf::~FuentePdf() {
    hb_font_destroy(fuenteHb_);
    hb_face_destroy(cara_);
}

void FuentePdf::usa(quint32 glifo, char16_t caracter) {
    usados_.emplace(glifo, caracter);
}

QByteArray FuentePdf::programa() const {
    if (clase_ != Clase::TrueType && clase_ != Clase::Cff) {
        return QByteArray();
    }
    hb_subset_input_t* entrada = hb_subset_input_create_or_fail();
    if (!entrada) {
        return QByteArray();
    }
    hb_set_t* glifos = hb_subset_input_glyph_set(entrada);
    if (enteraSiempre_) {
        hb_set_add_range(glifos, 0, hb_face_get_glyph_count(cara_) - 1);
    } else {
        hb_set_add(glifos, 0); // the glyph of a missing character
        for (const auto& [g, c] : usados_) {
            (void)c;
            hb_set_add(glifos, g);
        }
    }
    hb_set_t* fuera = hb_subset_input_set(entrada, HB_SUBSET_SETS_DROP_TABLE_TAG);
    if (clase_ == Clase::TrueType) {
        for (const hb_tag_t t : kSinUsoTrueType) {
            hb_set_add(fuera, t);
        }
    } else {
        for (const hb_tag_t t : kSinUsoCff) {
            hb_set_add(fuera, t);
        }
    }
    // Without the hinting programs: a PDF is drawn at any scale, the viewers
    // keep their own hinting, and the programs are most of a small subset.
    hb_subset_input_set_flags(entrada, HB_SUBSET_FLAGS_RETAIN_GIDS | HB_SUBSET_FLAGS_NO_HINTING);
    hb_face_t* recortada = hb_subset_or_fail(cara_, entrada);
    hb_subset_input_destroy(entrada);
    if (!recortada) {
        return QByteArray();
    }
    hb_blob_t* blob = hb_face_reference_blob(recortada);
    unsigned largo = 0;
    const char* datos = hb_blob_get_data(blob, &largo);
    const QByteArray r(datos, qsizetype(largo));
    hb_blob_destroy(blob);
    hb_face_destroy(recortada);
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
    QCryptographicHash h(QCryptographicHash::Sha1);
    h.addData(huella_);
    for (const auto& [g, c] : usados_) {
        (void)c;
        const quint32 grande = qToBigEndian(g);
        h.addData(QByteArrayView(reinterpret_cast<const char*>(&grande), 4));
    }
    const QByteArray d = h.result();
    QByteArray etiqueta(6, 'A');
    for (int i = 0; i < 6; ++i) {
        etiqueta[i] = char('A' + quint8(d[i]) % 26);
    }
    return etiqueta + '+' + nombrePs_;
}

QByteArray FuentePdf::medidas() const {
    const double em = hb_face_get_upem(cara_);
    const auto mil = [&](double v) { return QByteArray::number(qRound(v * 1000.0 / em)); };
    hb_blob_t* blob = hb_face_reference_table(cara_, HB_TAG('h', 'e', 'a', 'd'));
    unsigned largo = 0;
    const char* datos = hb_blob_get_data(blob, &largo);
    const QByteArray head(datos, qsizetype(largo));
    hb_blob_destroy(blob);
    const auto i16 = [&](qsizetype i) { return qint16(u16(head, i)); };

    const auto medida = [&](hb_ot_metrics_tag_t que, hb_position_t* v) {
        return hb_ot_metrics_get_position(fuenteHb_, que, v) != 0;
    };
    hb_position_t ascenso = 0, descenso = 0, mayuscula = 0, minuscula = 0;
    medida(HB_OT_METRICS_TAG_HORIZONTAL_ASCENDER, &ascenso);
    medida(HB_OT_METRICS_TAG_HORIZONTAL_DESCENDER, &descenso);
    // A face without the capitals' height in its OS/2 table: the top of its "H".
    if (!medida(HB_OT_METRICS_TAG_CAP_HEIGHT, &mayuscula) || mayuscula <= 0) {
        hb_codepoint_t h = 0;
        hb_glyph_extents_t e{};
        mayuscula = hb_font_get_nominal_glyph(fuenteHb_, 'H', &h) &&
                            hb_font_get_glyph_extents(fuenteHb_, h, &e)
                        ? e.y_bearing
                        : ascenso;
    }
    const bool hayMinuscula = medida(HB_OT_METRICS_TAG_X_HEIGHT, &minuscula) && minuscula > 0;
    const float inclinacion = hb_style_get_value(fuenteHb_, HB_STYLE_TAG_SLANT_ANGLE);

    hb_blob_t* post = hb_face_reference_table(cara_, HB_TAG('p', 'o', 's', 't'));
    const char* p = hb_blob_get_data(post, &largo);
    const bool fija = largo >= 16 && qFromBigEndian<quint32>(p + 12) != 0;
    hb_blob_destroy(post);
    hb_blob_t* os2 = hb_face_reference_table(cara_, HB_TAG('O', 'S', '/', '2'));
    const char* o = hb_blob_get_data(os2, &largo);
    const int peso = largo >= 6 ? qFromBigEndian<quint16>(o + 4) : 400;
    hb_blob_destroy(os2);

    // Flags: fixed pitch, italic, and the Latin character set.
    const int marcas = 32 | (fija ? 1 : 0) | (inclinacion != 0 ? 64 : 0);
    // No table holds the stems' width; it follows the weight class.
    const int tallo = qRound(50 + std::pow(peso / 65.0, 2));
    return "/Flags " + QByteArray::number(marcas) + " /FontBBox [" + mil(i16(36)) + ' ' +
           mil(i16(38)) + ' ' + mil(i16(40)) + ' ' + mil(i16(42)) + "] /ItalicAngle " +
           QByteArray::number(double(inclinacion), 'g', 6) + " /Ascent " + mil(ascenso) +
           " /Descent " + mil(descenso) + " /CapHeight " + mil(mayuscula) +
           (hayMinuscula ? " /XHeight " + mil(minuscula) : QByteArray()) + " /StemV " +
           QByteArray::number(tallo);
}
