#include "reports/CodigoBarras.h"

#include "reports/ErroresReporte.h"
#include "utility_library/ErrorKX.h"

#include <QPainter>
#include <QPainterPath>
#include <memory>
#include <zint.h>

namespace {

struct BorraSimbolo {
    void operator()(zint_symbol* s) const { ZBarcode_Delete(s); }
};

} // namespace

bool CodigoBarras::esEan13(const QString& texto) {
    if (texto.size() != 13) {
        return false;
    }
    int suma = 0;
    for (int i = 0; i < 13; ++i) {
        const QChar c = texto[i];
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) {
            return false;
        }
        if (i < 12) {
            suma += (c.unicode() - '0') * (i % 2 ? 3 : 1);
        }
    }
    return (10 - suma % 10) % 10 == texto[12].unicode() - '0';
}

CodigoBarras::Simbologia CodigoBarras::elige(const QString& texto) {
    const QString t = texto.trimmed();
    if (t.isEmpty()) {
        return Simbologia::Ninguna;
    }
    return esEan13(t) ? Simbologia::Ean13 : Simbologia::Code128;
}

void CodigoBarras::dibuja(QPainter& p, const QRectF& caja, const QString& texto, double modulo,
                          const QFont* fuente) {
    const QString t = texto.trimmed();
    const Simbologia s = elige(t);
    if (s == Simbologia::Ninguna) {
        return;
    }
    std::unique_ptr<zint_symbol, BorraSimbolo> z(ZBarcode_Create());
    z->symbology = s == Simbologia::Ean13 ? BARCODE_EANX : BARCODE_CODE128;
    z->input_mode = UNICODE_MODE;
    z->show_hrt = 0;
    z->output_options = BARCODE_QUIET_ZONES;
    z->height = 50;
    const QByteArray datos = t.toUtf8();
    const int r = ZBarcode_Encode_and_Buffer_Vector(
        z.get(), reinterpret_cast<const unsigned char*>(datos.constData()), int(datos.size()), 0);
    if (r >= ZINT_ERROR || !z->vector) {
        throw FalloKX(ErroresReporte::kCodigoBarras,
                      QStringLiteral("No se puede dibujar el código de barras \"%1\": %2")
                          .arg(t, QString::fromLatin1(z->errtxt)),
                      QStringLiteral("QlReport"));
    }
    const zint_vector* v = z->vector;
    QRectF barras = caja;
    if (fuente) {
        const double alto = QFontMetricsF(*fuente, p.device()).height();
        barras.setHeight(std::max(caja.height() * 0.5, caja.height() - alto));
    }
    // Every bar scaled alike: the widths keep their ratios and the code
    // stays centred when a unit would be wider than wanted.
    const double sx = std::min(barras.width() / v->width, modulo);
    const double sy = barras.height() / v->height;
    const double x0 = barras.left() + (barras.width() - v->width * sx) / 2;
    QPainterPath camino;
    for (const zint_vector_rect* b = v->rectangles; b; b = b->next) {
        camino.addRect(
            QRectF(x0 + b->x * sx, barras.top() + b->y * sy, b->width * sx, b->height * sy));
    }
    p.fillPath(camino, Qt::black);
    if (fuente) {
        p.setFont(*fuente);
        p.setPen(Qt::black);
        p.drawText(
            QRectF(caja.left(), barras.bottom(), caja.width(), caja.bottom() - barras.bottom()),
            Qt::AlignHCenter | Qt::AlignTop, t);
    }
}
