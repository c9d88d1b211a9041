#pragma once

// SQL Server's default text comparison, on UTF-8 bytes as SQLite hands them
// over: no SQLite calls here, so the program's connections and the loadable
// extension for the sqlite3 shell compare with the same code.

// The collation "KX": ignores case (Latin-1 letters) and trailing blanks.
// Shaped as SQLite's collation callback; the first argument is unused.
int ComparaKX(void*, int n1, const void* p1, int n2, const void* p2);

// LIKE with '%', '_' and an optional escape character (0: none), ignoring
// case the way the collation does.
bool CoincideKX(const unsigned char* texto, int nTexto, const unsigned char* patron, int nPatron,
                char32_t escape);

// The escape character of LIKE ... ESCAPE: false unless the text is exactly
// one character (or empty, which leaves `escape` at 0).
bool CaracterEscapeKX(const unsigned char* texto, int n, char32_t& escape);
