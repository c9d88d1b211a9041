// The collation "KX" and its LIKE as a loadable SQLite extension, so that the
// sqlite3 shell, Python's sqlite3 module or a backup script can read tables
// declared with the collation:
//   sqlite3 demo.db ".load build/bin/kx_sqlite" "select ..."
// The entry point's name is the one SQLite derives from the file name.
#include "db/RegistroKX.h"

#include <sqlite3ext.h>
SQLITE_EXTENSION_INIT1

extern "C" __attribute__((visibility("default"))) int
sqlite3_kxsqlite_init(sqlite3* db, char** error, const sqlite3_api_routines* api) {
    SQLITE_EXTENSION_INIT2(api);
    const int rc = RegistraKX(db);
    if (rc != SQLITE_OK && error) {
        *error = sqlite3_mprintf("KX collation not registered: %s", sqlite3_errstr(rc));
    }
    return rc;
}
