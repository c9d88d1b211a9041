#pragma once

#include <QIcon>
#include <QList>
#include <QString>

// The toolbar's icons come from one bitmap strip in the program folder holding
// the eight icons side by side in bar order, drawn on a magenta background
// that is cut away (the way image lists of the suite's bitmaps work).
class TiraIconos {
public:
    // Strip file for a style value, compared as text: "1" → "VER2021B.bmp",
    // "2" → "VER2021M.bmp", "3" → "VER2021V.bmp", "4" → "VER2021i.bmp",
    // anything else (also "01") → "VER2021.bmp".
    static QString ArchivoTira(const QString& estilo);
    // The strip cut into `cantidad` square-or-wider cells of equal width; empty
    // when the file is missing, unreadable or narrower than `cantidad` pixels.
    static QList<QIcon> CortaTira(const QString& ruta, int cantidad);
    // Colour that stands for "transparent" in a strip.
    static constexpr unsigned kColorMascara = 0xFF00FF;
};
