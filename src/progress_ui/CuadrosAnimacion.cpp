#include "progress_ui/CuadrosAnimacion.h"

#include <QPainter>
#include <cmath>
#include <numbers>

QList<QImage> CuadrosAnimacion::dibuja(int lado) {
    QList<QImage> cuadros;
    const double centro = lado / 2.0;
    const double radioAnillo = lado * 0.36;
    const double radioPunto = lado * 0.085;
    for (int cuadro = 0; cuadro < Cantidad; ++cuadro) {
        QImage img(lado, lado, QImage::Format_ARGB32_Premultiplied);
        img.fill(Qt::transparent);
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        for (int punto = 0; punto < Cantidad; ++punto) {
            // The bright dot leads; the ones behind it fade, like a comet's tail.
            const int atraso = (cuadro - punto + Cantidad) % Cantidad;
            const int alfa = std::max(40, 255 - atraso * 40);
            p.setBrush(QColor(30, 90, 170, alfa));
            const double angulo = (punto * 30.0 - 90.0) * std::numbers::pi / 180.0;
            const QPointF c(centro + radioAnillo * std::cos(angulo),
                            centro + radioAnillo * std::sin(angulo));
            const double r = atraso == 0 ? radioPunto * 1.3 : radioPunto;
            p.drawEllipse(c, r, r);
        }
        p.end();
        cuadros << img;
    }
    return cuadros;
}
