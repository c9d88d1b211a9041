#pragma once

#include <QString>

// What the scale record needs to know of an article: whether it is weighed
// and its unit. Behind an interface so that the record builder can be tested
// without a database.
class ArticulosBalanza {
public:
    struct Articulo {
        bool pesable = false; // a null Pesable counts as not weighable
        QString idUnidad;     // empty for a null unit
    };
    virtual ~ArticulosBalanza() = default;
    // Looks the article up by `clave` (the code as the scale record builds it,
    // fitted to 25 characters). False when there is no such article; a failed
    // lookup throws FalloKX.
    virtual bool Busca(const QString& clave, Articulo& articulo) = 0;
};
