#include "toolbar/TiraIconos.h"

#include <QImage>
#include <QPixmap>

QString TiraIconos::ArchivoTira(const QString& estilo) {
    if (estilo == QLatin1String("1")) {
        return QStringLiteral("VER2021B.bmp");
    }
    if (estilo == QLatin1String("2")) {
        return QStringLiteral("VER2021M.bmp");
    }
    if (estilo == QLatin1String("3")) {
        return QStringLiteral("VER2021V.bmp");
    }
    if (estilo == QLatin1String("4")) {
        return QStringLiteral("VER2021i.bmp");
    }
    return QStringLiteral("VER2021.bmp");
}

QList<QIcon> TiraIconos::CortaTira(const QString& ruta, int cantidad) {
    QList<QIcon> iconos;
    if (cantidad <= 0) {
        return iconos;
    }
    QImage tira(ruta);
    if (tira.isNull() || tira.width() < cantidad) {
        return iconos;
    }
    tira = tira.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < tira.height(); ++y) {
        auto* fila = reinterpret_cast<QRgb*>(tira.scanLine(y));
        for (int x = 0; x < tira.width(); ++x) {
            if ((fila[x] & 0xFFFFFFu) == kColorMascara) {
                fila[x] = 0;
            }
        }
    }
    const int ancho = tira.width() / cantidad;
    for (int i = 0; i < cantidad; ++i) {
        iconos.append(QIcon(QPixmap::fromImage(tira.copy(i * ancho, 0, ancho, tira.height()))));
    }
    return iconos;
}
