#include "db/SqliteKX.h"

#include "db/RegistroKX.h"

#include <QSqlDriver>
#include <QVariant>

bool RegistraKXSqlite(QSqlDatabase& db) {
    QVariant v = db.driver()->handle();
    if (!v.isValid() || qstrcmp(v.typeName(), "sqlite3*") != 0) {
        return false;
    }
    sqlite3* h = *static_cast<sqlite3* const*>(v.data());
    return h && RegistraKX(h) == SQLITE_OK;
}
