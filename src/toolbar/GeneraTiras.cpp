// Draws the toolbar's icon strips (VER2021*.bmp) from Qt's own standard icons,
// one tint per style, on the magenta that the toolbar cuts away.
// Usage: genera_tiras FOLDER   (run with QT_QPA_PLATFORM=offscreen)
#include "toolbar/TiraIconos.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QStyle>
#include <QTextStream>

namespace {
constexpr int kLado = 32;

struct Tira {
    const char* estilo;
    QRgb tinte;
    double fuerza; // 0: the icons as Qt draws them
    bool gris;
};

QRgb Colorea(QRgb c, const Tira& t) {
    int r = qRed(c), g = qGreen(c), b = qBlue(c);
    if (t.gris) {
        r = g = b = qGray(c);
    }
    r = int(r * (1 - t.fuerza) + qRed(t.tinte) * t.fuerza);
    g = int(g * (1 - t.fuerza) + qGreen(t.tinte) * t.fuerza);
    b = int(b * (1 - t.fuerza) + qBlue(t.tinte) * t.fuerza);
    QRgb res = qRgb(r, g, b);
    if ((res & 0xFFFFFFu) == TiraIconos::kColorMascara) {
        res = qRgb(0xFE, 0, 0xFF);
    }
    return res;
}
} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));
    QTextStream err(stderr);
    if (argc != 2) {
        err << "uso: genera_tiras CARPETA\n";
        return 2;
    }
    // In bar order: Nuevo, Borrar, Reporte, Consultar, Planilla, Cancelar, Grabar, Cerrar.
    const QStyle::StandardPixmap iconos[] = {QStyle::SP_FileIcon,
                                             QStyle::SP_TrashIcon,
                                             QStyle::SP_FileDialogDetailedView,
                                             QStyle::SP_FileDialogContentsView,
                                             QStyle::SP_FileDialogListView,
                                             QStyle::SP_DialogCancelButton,
                                             QStyle::SP_DialogSaveButton,
                                             QStyle::SP_DialogCloseButton};
    const Tira tiras[] = {
        {"", qRgb(0, 0, 0), 0.0, false},
        {"1", qRgb(0x1f, 0x5f, 0xc0), 0.30, false},
        {"2", qRgb(0xd0, 0x70, 0x10), 0.30, false},
        {"3", qRgb(0x20, 0x90, 0x40), 0.30, false},
        {"4", qRgb(0x40, 0x40, 0x48), 0.15, true},
    };
    const QString carpeta = QString::fromLocal8Bit(argv[1]);
    for (const Tira& t : tiras) {
        QImage tira(kLado * int(std::size(iconos)), kLado, QImage::Format_RGB32);
        tira.fill(QRgb(0xFF000000u | TiraIconos::kColorMascara));
        for (int i = 0; i < int(std::size(iconos)); ++i) {
            const QImage icono = QApplication::style()
                                     ->standardIcon(iconos[i])
                                     .pixmap(kLado, kLado)
                                     .toImage()
                                     .convertToFormat(QImage::Format_ARGB32);
            const int x0 = i * kLado + (kLado - icono.width()) / 2;
            const int y0 = (kLado - icono.height()) / 2;
            // Bitmaps have no partial transparency: a pixel is the icon's or the mask's.
            for (int y = 0; y < icono.height(); ++y) {
                for (int x = 0; x < icono.width(); ++x) {
                    const QRgb c = icono.pixel(x, y);
                    if (qAlpha(c) >= 128) {
                        tira.setPixel(x0 + x, y0 + y, Colorea(c, t));
                    }
                }
            }
        }
        const QString archivo =
            carpeta + QLatin1Char('/') + TiraIconos::ArchivoTira(QString::fromLatin1(t.estilo));
        if (!tira.save(archivo, "BMP")) {
            err << "no se pudo escribir " << archivo << "\n";
            return 1;
        }
    }
    return 0;
}
