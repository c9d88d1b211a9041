#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <optional>

class GrillaLote;

// When a price looks implausible enough to stop before it reaches a shelf.
// Read from the configuration table; a missing or unreadable key keeps its
// default.
struct UmbralesAlerta {
    // A change against the last price sent beyond this percentage, up or
    // down (a decimal point slipped turns 1.99 into 19.90: +900%).
    double variacionMaxima = 50.0;
    // A price below the cost plus this percentage of it (0: below cost).
    double margenMinimo = 0.0;

    static constexpr const char* kClaveVariacion = "TARVELO_VARIACION_MAXIMA";
    static constexpr const char* kClaveMargen = "TARVELO_MARGEN_MINIMO";
};

// What the rules look at for one price, in thousandths (the amount cells
// hold three implied decimals). A missing value is not checked.
struct PreciosAlerta {
    std::optional<qint64> precio;
    std::optional<qint64> costo;
    // The price the last batch of the list sent for the article.
    std::optional<qint64> anterior;
    // The regular price, when the price sent is an offer.
    std::optional<qint64> regular;
};

// One row's alert: which grid row, which article, and why (one line per rule).
struct AlertaFila {
    int fila = 0;
    QString codigo;
    QStringList motivos;

    // "Fila 3 (000001234): variación +900,0% (último enviado 1,99)".
    QString Describe() const;
};

namespace AlertasPrecio {
// The reasons a price alerts, in the order zero, change, offer, cost; empty
// when it is plausible. A price of zero is only that: it is trivially below
// cost and a change of -100%.
QStringList Motivos(const PreciosAlerta& p, const UmbralesAlerta& u);
// An amount cell ("001250500") in thousandths; none when it is no amount.
std::optional<qint64> Milesimas(QStringView celda);
// Thousandths as the operator reads them: "1250,50", "1,999".
QString Importe(qint64 milesimas);
// Every loaded row of the grid against the rules. `regulares`: the regular
// price of each offer row, by its Id cell; `anteriores`: the Precio cell last
// sent for each CodInterno cell. Pure: no database, no question.
// Rows [desde, hasta) only, when given.
QList<AlertaFila> Revisa(const GrillaLote& grilla, const QHash<qint64, qint64>& regulares,
                         const QHash<QString, QString>& anteriores, const UmbralesAlerta& u,
                         int desde = 1, int hasta = -1);
// The CodInterno cells of the loaded rows from `desde` on, each once, at most
// `cuantos` of them (a batch is looked at a block at a time, so its memory
// stays flat); `hasta` gets the row after the last one they cover.
QStringList Articulos(const GrillaLote& grilla, int desde, int cuantos, int& hasta);
// A configured threshold: a non-negative number with "." or ","; anything
// else gives `defecto`.
double LeeUmbral(const QString& texto, double defecto);
} // namespace AlertasPrecio
