#pragma once

#include "generator/FilaOrigen.h"
#include "db/Recordset.h"

// The current row of a result set opened through DB_Dll.
class FilaDeRecordset : public FilaOrigen {
public:
    explicit FilaDeRecordset(const Recordset& rs) : rs_(rs) {}
    QVariant Campo(const QString& nombre) const override { return rs_.Campo(nombre); }

private:
    const Recordset& rs_;
};
