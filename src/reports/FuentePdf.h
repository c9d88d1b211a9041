#pragma once

#include <QByteArray>
#include <QRawFont>
#include <map>

struct hb_face_t;
struct hb_font_t;

// One face file as a PDF the program writes itself uses it: the glyphs its
// pages used, the character each glyph stands for (so that the text can be
// searched and copied), and the font program cut down to those glyphs by
// HarfBuzz's subsetter. Glyph numbers stay those of the face, so the pages
// name glyphs directly.
//
// The face is known by its content, not by its name: the same file reached
// under two names is one face, and two files that share a name are two.
class FuentePdf {
public:
    enum class Clase {
        TrueType,   // embedded as a CIDFontType2 font program
        Cff,        // an OpenType font program with CFF outlines (FontFile3 /OpenType)
        Contornos,  // its licence forbids embedding, or its CFF is keyed by CID:
                    // its glyphs are drawn as outlines and its text written unseen
        SinContorno // no outlines to embed or draw: the report needs Qt's writer
    };

    explicit FuentePdf(const QRawFont& fuente);
    ~FuentePdf();
    FuentePdf(const FuentePdf&) = delete;
    FuentePdf& operator=(const FuentePdf&) = delete;

    Clase clase() const { return clase_; }
    // A digest of the face's tables: equal for the same face file.
    const QByteArray& huella() const { return huella_; }

    void usa(quint32 glifo, char16_t caracter);
    bool vacia() const { return usados_.empty(); }

    // The font program with the used glyphs only (and the glyphs they are
    // built of), every glyph keeping its number. Empty when the subsetter
    // fails or the face is not embedded.
    QByteArray programa() const;
    // The ToUnicode map of the used glyphs.
    QByteArray aUnicode() const;
    // The face's PostScript name as a subset font: "ABCDEF+DejaVuSans-Bold",
    // the tag drawn from the face and the glyphs used, so the same subset
    // is always named alike and two subsets of one face never are.
    QByteArray nombre() const;
    // The descriptor's flags and measures, from the face's own tables, in
    // thousandths of the em.
    QByteArray medidas() const;

private:
    Clase clase_ = Clase::SinContorno;
    QByteArray huella_;
    QByteArray nombrePs_;
    bool enteraSiempre_ = false; // the licence forbids cutting the face down
    hb_face_t* cara_ = nullptr;
    hb_font_t* fuenteHb_ = nullptr;
    std::map<quint32, char16_t> usados_;
};
