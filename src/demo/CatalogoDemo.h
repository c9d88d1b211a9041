#pragma once

#include <QList>
#include <QString>
#include <QVariant>
#include <vector>

// The demo's catalogue: article types (the brands shown as "Marca"),
// hierarchical families, and some three hundred articles of a supermarket,
// always the same ones in the same order.

struct TipoDemo {
    QString id;
    QString descripcion;
};

struct FamiliaDemo {
    QString codigo;
    QString descripcion;
    double margen;
};

struct ArticuloDemo {
    QString codigo;
    QString descripcion;
    QString abrev;
    QVariant codigoBarra;
    QString tipo;
    QVariant rubro;
    QString familia;
    QString unidad;
    QString iva;
    bool pesable = false;
    bool suspendido = false;
    double stock = 0;
    double puntoPedido = 0;
    double precio = 0; // sale price of the main list
};

class CatalogoDemo {
public:
    static const QList<TipoDemo>& tipos();
    static QString nombreTipo(const QString& id);
    static const QList<FamiliaDemo>& familias();
    // Weighed articles get codes from 001001 (below 10000: they reach the
    // scales), packaged ones from 010001; a fixed seed makes stock figures repeat.
    static std::vector<ArticuloDemo> articulos();
    // The digits followed by their EAN check digit (12 digits: EAN-13, 7: EAN-8).
    static QString ean(const QString& digitos);
    // Prices end in ten cents.
    static double redondea(double x);
};
