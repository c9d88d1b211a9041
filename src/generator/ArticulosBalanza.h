#pragma once

#include <QString>
#include <QStringList>

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
    // The keys the next lookups will ask for, so that they can be answered
    // together (one question for many rows instead of one each). A lookup
    // of a key not given still asks on its own. May throw FalloKX.
    virtual void Anticipa(const QStringList& claves) { (void)claves; }
};
