#pragma once

#include <QImage>
#include <QList>

// The banner's twelve animation frames: a ring of twelve dots whose bright dot
// goes once round the ring in one cycle. Drawn at run time, so the program
// needs no image files for them.
class CuadrosAnimacion {
public:
    static constexpr int Cantidad = 12;
    // Frames 1 to 12 (index 0 holds frame 1), `lado` pixels square.
    static QList<QImage> dibuja(int lado = 32);
};
