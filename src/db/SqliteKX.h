#pragma once

#include <QSqlDatabase>

// SQL Server's default text comparison on SQLite: the collation "KX" compares
// without regard to case and ignores trailing blanks (so codes padded to their
// width find their rows). LIKE is replaced by one that ignores case the same
// way (SQLite's own folds ASCII letters only). Both must be registered on every
// connection before a table declared with the collation is used. Returns false
// when the handle is not SQLite's.
bool RegistraKXSqlite(QSqlDatabase& db);
