#include "db/RegistroKX.h"

#include "db/ColacionKX.h"

// The same source serves the program (built with SQLITE_CORE: direct calls)
// and the loadable extension (calls through the routines the loader hands over).
#include <sqlite3ext.h>
SQLITE_EXTENSION_INIT3

namespace {

void funcionLike(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    // like(pattern, text [, escape])
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    const auto* p = sqlite3_value_text(argv[0]);
    const int np = sqlite3_value_bytes(argv[0]);
    const auto* t = sqlite3_value_text(argv[1]);
    const int nt = sqlite3_value_bytes(argv[1]);
    char32_t escape = 0;
    if (argc == 3 && sqlite3_value_type(argv[2]) != SQLITE_NULL) {
        const auto* e = sqlite3_value_text(argv[2]);
        if (!CaracterEscapeKX(e, sqlite3_value_bytes(argv[2]), escape)) {
            sqlite3_result_error(ctx, "ESCAPE expression must be a single character", -1);
            return;
        }
    }
    sqlite3_result_int(ctx, CoincideKX(t, nt, p, np, escape) ? 1 : 0);
}

} // namespace

int RegistraKX(sqlite3* db) {
    const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    int rc = sqlite3_create_collation_v2(db, "KX", SQLITE_UTF8, nullptr, ComparaKX, nullptr);
    if (rc == SQLITE_OK) {
        rc = sqlite3_create_function_v2(db, "like", 2, flags, nullptr, funcionLike, nullptr,
                                        nullptr, nullptr);
    }
    if (rc == SQLITE_OK) {
        rc = sqlite3_create_function_v2(db, "like", 3, flags, nullptr, funcionLike, nullptr,
                                        nullptr, nullptr);
    }
    return rc;
}
