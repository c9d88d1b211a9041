#pragma once

#include "generator/ArticulosBalanza.h"

#include <QSqlQuery>
#include <optional>

class DB_Dll;

// The scale lookup on the article master V_MA_ARTICULOS, by "IdArticulo",
// one query per row (prepared once where the engine takes it).
class ArticulosBalanzaDB : public ArticulosBalanza {
public:
    explicit ArticulosBalanzaDB(DB_Dll& db) : db_(db) {}
    bool Busca(const QString& clave, Articulo& articulo) override;

private:
    DB_Dll& db_;
    std::optional<QSqlQuery> consulta_;
    bool preparada_ = false;
};
