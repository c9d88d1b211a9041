#include "generator/FilaDeConsulta.h"

#include "utility_library/ErrorKX.h"

#include <QSqlRecord>

QVariant FilaDeConsulta::Campo(const QString& nombre) const {
    auto it = indices_.constFind(nombre);
    if (it == indices_.constEnd()) {
        // QSqlRecord::indexOf ignores case.
        it = indices_.insert(nombre, q_.record().indexOf(nombre));
    }
    if (*it < 0) {
        throw FalloKX(3265,
                      QStringLiteral("Item cannot be found in the collection corresponding to the "
                                     "requested name or ordinal (%1).")
                          .arg(nombre),
                      QStringLiteral("ADODB.Recordset"));
    }
    return q_.value(*it);
}
