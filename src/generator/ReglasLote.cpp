#include "generator/ReglasLote.h"

#include <algorithm>
#include <limits>

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

VentanaCarga VentanaDeCarga(const QDate& hoy, const std::optional<QDate>& ultimoDia, int limiteDias,
                            bool recuperar) {
    VentanaCarga v;
    v.hoy = hoy;
    v.inicioDesde = v.inicioHasta = hoy.addDays(1);
    v.finDesde = v.finHasta = hoy;
    v.limiteDias = limiteDias;
    if (ultimoDia) {
        v.ultimoDia = *ultimoDia;
    }
    const QDate ayer = hoy.addDays(-1);
    if (!recuperar || !ultimoDia || !ultimoDia->isValid() || *ultimoDia >= ayer ||
        limiteDias <= 0) {
        return v;
    }
    // The load of a day D took the offers starting on D + 1 and ending on
    // D: the missed days D + 1 .. yesterday are caught up, the oldest ones
    // dropped past the bound.
    const QDate limite = hoy.addDays(-qint64(limiteDias) - 1);
    QDate desde = *ultimoDia;
    if (desde < limite) {
        v.diasFueraDeLimite = int(desde.daysTo(limite));
        desde = limite;
    }
    v.inicioDesde = desde.addDays(2);
    v.finDesde = desde.addDays(1);
    v.recuperaDesde = desde.addDays(1);
    v.recuperaHasta = ayer;
    return v;
}

int LeeDias(const QString& texto, int defecto) {
    constexpr qint64 kSiglo = 36525;
    const std::optional<qint64> n = LeeCodigo(texto);
    if (!n) {
        return defecto;
    }
    return int(std::min(*n, kSiglo));
}

bool DebeMarcar(const QString& celdaNoMarcar, const QString& lista) {
    return celdaNoMarcar == QLatin1String("0") &&
           lista.trimmed().compare(QLatin1String("A3"), Qt::CaseInsensitive) != 0;
}

std::optional<qint64> LeeCodigo(const QString& texto) {
    const QString t = texto.trimmed();
    if (t.isEmpty()) {
        return std::nullopt;
    }
    constexpr qint64 maximo = std::numeric_limits<qint64>::max();
    qint64 n = 0;
    for (QChar c : t) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) {
            return std::nullopt;
        }
        const int digito = c.unicode() - '0';
        // Exact or nothing: a code is never rounded through a double.
        if (n > (maximo - digito) / 10) {
            return std::nullopt;
        }
        n = n * 10 + digito;
    }
    return n;
}

bool FormaDeCodigo(const QString& texto) {
    const QString t = texto.trimmed();
    return !t.isEmpty() && std::all_of(t.begin(), t.end(), [](QChar c) {
        return c >= QLatin1Char('0') && c <= QLatin1Char('9');
    });
}

std::optional<QString> LeeLista(const QString& texto) {
    const QString t = texto.trimmed();
    if (t.isEmpty() || t.size() > kLargoLista) {
        return std::nullopt;
    }
    return t;
}

} // namespace ReglasLote
