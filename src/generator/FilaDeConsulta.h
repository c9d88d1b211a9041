#pragma once

#include "generator/FilaOrigen.h"

#include <QHash>
#include <QSqlQuery>

// The current row of a forward-only query that streams its rows instead of
// holding the whole result (a list of 100,000 price rows stays small).
class FilaDeConsulta : public FilaOrigen {
public:
    explicit FilaDeConsulta(const QSqlQuery& q) : q_(q) {}
    QVariant Campo(const QString& nombre) const override;

private:
    const QSqlQuery& q_;
    mutable QHash<QString, int> indices_;
};
