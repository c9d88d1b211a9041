#pragma once

#include <sqlite3.h>

// Registers the collation "KX" and the LIKE that ignores case the same way
// (SQLite's own folds ASCII letters only) on one SQLite connection. Used by the
// program on its connections and by the loadable extension of the sqlite3
// shell. Returns SQLite's result code.
int RegistraKX(sqlite3* db);
