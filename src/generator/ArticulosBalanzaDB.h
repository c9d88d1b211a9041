#pragma once

#include "ArticulosBalanza.h"

class DB_Dll;

// The scale lookup on the article master V_MA_ARTICULOS, by "IdArticulo".
class ArticulosBalanzaDB : public ArticulosBalanza {
public:
    explicit ArticulosBalanzaDB(DB_Dll& db) : db_(db) {}
    bool Busca(const QString& clave, Articulo& articulo) override;

private:
    DB_Dll& db_;
};
