#include "generator/ReglasLote.h"

namespace ReglasLote {

Precio PrecioAplicable(double sugerido, bool hayFechasOferta, const QDate& desde,
                       const QDate& hasta, const QDate& hoy, bool manual) {
    if (sugerido > 0) {
        return Precio::Sugerido;
    }
    if (!hayFechasOferta) {
        return Precio::Venta;
    }
    const QDate manana = hoy.addDays(1);
    if (desde == manana && hasta >= hoy) {
        return Precio::Oferta;
    }
    if (!manual && hasta > hoy) {
        return Precio::Oferta;
    }
    return Precio::Venta;
}

Oferta DecideOferta(const QDate& desde, const QDate& hasta, const QDate& hoy, const QDate& manana) {
    if (desde.isNull()) {
        return Oferta::SinOferta;
    }
    if (desde > manana) {
        return Oferta::NoVence;
    }
    if (!hasta.isNull() && hasta <= hoy) {
        return Oferta::Termina;
    }
    return Oferta::Vigente;
}

bool DebeMarcar(const QString& celdaNoMarcar, const QString& lista) {
    return celdaNoMarcar == QLatin1String("0") &&
           lista.trimmed().compare(QLatin1String("A3"), Qt::CaseInsensitive) != 0;
}

std::optional<qint64> LeeCodigo(const QString& texto) {
    const QString t = texto.trimmed();
    // 18 digits always fit a signed 64-bit integer, the widest code every
    // engine stores exactly.
    if (t.isEmpty() || t.size() > 18) {
        return std::nullopt;
    }
    qint64 n = 0;
    for (QChar c : t) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) {
            return std::nullopt;
        }
        n = n * 10 + (c.unicode() - '0');
    }
    return n;
}

} // namespace ReglasLote
