#pragma once

#include <QByteArray>
#include <QRawFont>
#include <QString>
#include <map>

// One TrueType face embedded in a PDF the program writes itself: the glyphs
// its pages used, the character each glyph stands for (so that the text can
// be searched and copied), and the font program cut down to those glyphs.
// Glyph numbers stay those of the face, so the pages name glyphs directly.
class FuentePdf {
public:
    explicit FuentePdf(const QRawFont& fuente);

    // Whether the face carries TrueType outlines this class can embed.
    static bool embebible(const QRawFont& fuente);
    // The same face, whatever its size.
    static QString clave(const QRawFont& fuente);

    void usa(quint32 glifo, char16_t caracter);
    bool vacia() const { return usados_.empty(); }

    // The font program with the outlines of the used glyphs only (and the
    // parts they are built of); the other glyphs are left empty.
    QByteArray programa() const;
    // The ToUnicode map of the used glyphs.
    QByteArray aUnicode() const;
    // The face's name as a subset font: "TARVAB+DejaVuSans-Bold".
    QByteArray nombre() const;
    // The descriptor's measures, in thousandths of the em.
    QByteArray medidas() const;

private:
    QRawFont fuente_;
    std::map<quint32, char16_t> usados_;
    int serie_;
};
