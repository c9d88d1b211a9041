#include "generator/AlertasPrecio.h"

#include "generator/FilaNovedad.h"
#include "generator/FormatoNovedad.h"
#include "generator/GrillaLote.h"
#include "utility_library/QlTexto.h"

#include <QSet>
#include <algorithm>
#include <cmath>

namespace {
QString porcentaje(double v) {
    QString t = QString::number(std::abs(v), 'f', 1).replace(QLatin1Char('.'), QLatin1Char(','));
    return (v >= 0 ? QStringLiteral("+") : QStringLiteral("-")) + t + QLatin1Char('%');
}

QString umbral(double v) {
    return QString::number(v, 'g', 6).replace(QLatin1Char('.'), QLatin1Char(','));
}
} // namespace

QString AlertaFila::Describe() const {
    return QStringLiteral("Fila %1 (%2): %3")
        .arg(fila)
        .arg(codigo.trimmed(), motivos.join(QStringLiteral("; ")));
}

namespace AlertasPrecio {

QStringList Motivos(const PreciosAlerta& p, const UmbralesAlerta& u) {
    QStringList r;
    if (!p.precio) {
        return r;
    }
    const qint64 n = *p.precio;
    if (n == 0) {
        r << QStringLiteral("precio cero");
        return r;
    }
    // Compared exactly: |n - a| * 100 > limit * a, so a change of exactly the
    // limit does not alert and one thousandth past it does.
    if (p.anterior && *p.anterior > 0) {
        const qint64 a = *p.anterior;
        const long double cambio = (long double)(n - a) * 100.0L;
        if (std::fabs(cambio) > (long double)u.variacionMaxima * (long double)a) {
            r << QStringLiteral("variación %1 (último enviado %2)")
                     .arg(porcentaje(double(cambio / (long double)a)), Importe(a));
        }
    }
    if (p.regular && *p.regular > 0 && n >= *p.regular) {
        r << QStringLiteral("oferta %1 no menor que regular %2")
                 .arg(Importe(n), Importe(*p.regular));
    }
    if (p.costo && *p.costo > 0 &&
        (long double)n * 100.0L < (long double)*p.costo * (100.0L + (long double)u.margenMinimo)) {
        r << (u.margenMinimo > 0
                  ? QStringLiteral("precio %1 bajo costo %2 + %3%")
                        .arg(Importe(n), Importe(*p.costo), umbral(u.margenMinimo))
                  : QStringLiteral("precio %1 bajo costo %2").arg(Importe(n), Importe(*p.costo)));
    }
    return r;
}

QList<AlertaFila> Revisa(const GrillaLote& g, const QHash<qint64, qint64>& regulares,
                         const QHash<QString, QString>& anteriores, const UmbralesAlerta& u,
                         int desde, int hasta) {
    QList<AlertaFila> r;
    const int fin = hasta < 0 ? g.Rows() : std::min(hasta, g.Rows());
    for (int f = std::max(desde, 1); f < fin; ++f) {
        if (FilaNovedad::EnBlanco(g, f)) {
            continue;
        }
        PreciosAlerta p;
        p.precio = Milesimas(g.Celda(f, FilaNovedad::Precio));
        p.costo = Milesimas(g.Celda(f, FilaNovedad::PrecioCosto));
        const QStringView codigo = g.Celda(f, FilaNovedad::CodInterno);
        const auto anterior = anteriores.isEmpty()
                                  ? anteriores.constEnd()
                                  : anteriores.constFind(codigo.trimmed().toString());
        if (anterior != anteriores.constEnd()) {
            p.anterior = Milesimas(*anterior);
        }
        bool ok = false;
        const qint64 id = g.Celda(f, FilaNovedad::Id).trimmed().toLongLong(&ok);
        const auto regular = ok ? regulares.constFind(id) : regulares.constEnd();
        if (regular != regulares.constEnd()) {
            p.regular = *regular;
        }
        QStringList motivos = Motivos(p, u);
        if (!motivos.isEmpty()) {
            r.push_back({f, codigo.toString(), std::move(motivos)});
        }
    }
    return r;
}

QStringList Articulos(const GrillaLote& g, int desde, int cuantos, int& hasta) {
    QStringList r;
    QSet<QStringView> vistos;
    int f = std::max(desde, 1);
    for (; f < g.Rows(); ++f) {
        if (FilaNovedad::EnBlanco(g, f)) {
            continue;
        }
        const QStringView c = g.Celda(f, FilaNovedad::CodInterno);
        if (vistos.contains(c)) {
            continue;
        }
        if (r.size() >= cuantos) {
            break;
        }
        vistos.insert(c);
        r << c.toString();
    }
    hasta = f;
    return r;
}

std::optional<qint64> Milesimas(QStringView celda) {
    return QlUtil::Milesimas(celda);
}

QString Importe(qint64 milesimas) {
    return QlUtil::TextoMilesimas(milesimas, 2, QStringLiteral(","));
}

double LeeUmbral(const QString& texto, double defecto) {
    const QString t = texto.trimmed();
    if (t.isEmpty()) {
        return defecto;
    }
    const std::optional<double> v = FormatoNovedad::LeeImporte(t);
    if (!v || !std::isfinite(*v) || *v < 0) {
        return defecto;
    }
    return *v;
}

} // namespace AlertasPrecio
