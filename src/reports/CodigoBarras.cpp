#include "reports/CodigoBarras.h"

#include "reports/ErroresReporte.h"
#include "reports/Trazador.h"
#include "utility_library/ErrorKX.h"

#include <QVarLengthArray>
#include <cmath>
#include <memory>
#include <zint.h>

namespace {

// Below this many device dots a bar unit keeps its exact size: cutting it to
// whole dots would shrink the code too much.
constexpr double kDotsEnteros = 4;

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

QRectF CodigoBarras::dibuja(Trazador& trazador, const QRectF& caja, const QString& texto,
                            double modulo, double altoTexto) {
    const QString t = texto.trimmed();
    const Simbologia s = elige(t);
    if (s == Simbologia::Ninguna) {
        return QRectF();
    }
    // Beyond printable ASCII, Code 128 needs its extended mode, which many
    // scanners read as other letters: no code at all beats a wrong one.
    for (const QChar c : t) {
        if (c.unicode() < 0x20 || c.unicode() > 0x7E) {
            throw FalloKX(ErroresReporte::kCodigoBarras,
                          QStringLiteral("No se puede dibujar el código de barras \"%1\": tiene "
                                         "caracteres fuera de ASCII")
                              .arg(t),
                          QStringLiteral("QlReport"));
        }
    }
    std::unique_ptr<zint_symbol, BorraSimbolo> z(ZBarcode_Create());
    z->symbology = s == Simbologia::Ean13 ? BARCODE_EANX : BARCODE_CODE128;
    z->input_mode = UNICODE_MODE;
    z->show_hrt = 0;
    z->output_options = BARCODE_QUIET_ZONES;
    z->height = 50;
    z->scale = 0.5f; // one unit of the layout is one bar unit
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
    if (altoTexto > 0) {
        barras.setHeight(std::max(caja.height() * 0.5, caja.height() - altoTexto));
    }
    // Every bar scaled alike: the widths keep their ratios and the code
    // stays centred when a unit would be wider than wanted. A unit of several
    // device dots is cut to whole dots and the code starts on a whole dot, so
    // every edge falls on the device's grid: the printer draws each bar as
    // wide as the next, and the coordinates written stay short.
    double sx = std::min(barras.width() / v->width, modulo);
    if (sx >= kDotsEnteros) {
        sx = std::floor(sx);
    }
    const double sy = barras.height() / v->height;
    const double x0 = std::round(barras.left() + (barras.width() - v->width * sx) / 2);
    const double y0 = std::round(barras.top());
    QVarLengthArray<QRectF, 80> rectangulos;
    for (const zint_vector_rect* b = v->rectangles; b; b = b->next) {
        const double arriba = std::round(b->y * sy);
        rectangulos.append(QRectF(x0 + b->x * sx, y0 + arriba, b->width * sx,
                                  std::round((b->y + b->height) * sy) - arriba));
    }
    trazador.rellenos(rectangulos.constData(), int(rectangulos.size()), Qt::black);
    if (altoTexto <= 0) {
        return QRectF();
    }
    return QRectF(caja.left(), barras.bottom(), caja.width(), caja.bottom() - barras.bottom());
}
