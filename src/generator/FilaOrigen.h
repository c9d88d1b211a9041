#pragma once

#include <QString>
#include <QVariant>

// The current row of a loader's source query, field by name (without regard
// to case); an unknown name throws FalloKX (3265), as a result set does.
class FilaOrigen {
public:
    virtual ~FilaOrigen() = default;
    virtual QVariant Campo(const QString& nombre) const = 0;
};
