#pragma once

#include "db/Plataforma.h"
#include "db/Recordset.h"

#include <QList>
#include <QVariant>
#include <QVector>

class QSqlQuery;

// What a statement's columns are for the result set (type and defined size),
// and the repair SQLite needs: it keeps dates as ISO text and tells only the
// declared type of a column.
namespace TiposCampo {
// Reads the current result of `q` whole into `campos` and `filas`. With
// `sqliteNativo` the declared types of the SQLite statement decide, and date
// text becomes date values. False when fetching failed (q.lastError() says why).
bool leeResultado(QSqlQuery& q, bool sqliteNativo, QList<Recordset::InfoCampo>& campos,
                  QVector<QVector<QVariant>>& filas);
// A value bound into a statement, as the engine keeps it (SQLite: dates as ISO text).
QVariant valorParaMotor(const QVariant& v, Plataforma p);
} // namespace TiposCampo
