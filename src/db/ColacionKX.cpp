#include "db/ColacionKX.h"

namespace {

// Case folding for the Latin-1 range, as SQL Server's default collation does
// for the characters of the suite's data.
inline char32_t pliega(char32_t c) {
    if ((c >= U'a' && c <= U'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7)) {
        return c - 0x20;
    }
    return c;
}

// Next code point of a UTF-8 text; advances `i`. Invalid bytes stand for themselves.
inline char32_t siguiente(const unsigned char* s, int n, int& i) {
    const unsigned char b = s[i++];
    if (b < 0x80) {
        return b;
    }
    int extra = 0;
    char32_t c = 0;
    if ((b & 0xE0) == 0xC0) {
        extra = 1, c = b & 0x1F;
    } else if ((b & 0xF0) == 0xE0) {
        extra = 2, c = b & 0x0F;
    } else if ((b & 0xF8) == 0xF0) {
        extra = 3, c = b & 0x07;
    } else {
        return b;
    }
    if (i + extra > n) {
        return b;
    }
    for (int k = 0; k < extra; ++k) {
        c = (c << 6) | (s[i++] & 0x3F);
    }
    return c;
}

inline int sinBlancosFinales(const unsigned char* s, int n) {
    while (n > 0 && s[n - 1] == ' ') {
        --n;
    }
    return n;
}

bool coincide(const unsigned char* t, int nt, int it, const unsigned char* p, int np, int ip,
              char32_t escape) {
    while (ip < np) {
        int sigP = ip;
        char32_t c = siguiente(p, np, sigP);
        if (escape && c == escape && sigP < np) {
            c = siguiente(p, np, sigP);
        } else if (c == U'%') {
            while (sigP < np) {
                int k = sigP;
                const char32_t d = siguiente(p, np, k);
                if (d != U'%') {
                    break;
                }
                sigP = k;
            }
            if (sigP >= np) {
                return true;
            }
            for (int k = it; k <= nt;) {
                if (coincide(t, nt, k, p, np, sigP, escape)) {
                    return true;
                }
                if (k >= nt) {
                    break;
                }
                siguiente(t, nt, k);
            }
            return false;
        } else if (c == U'_') {
            if (it >= nt) {
                return false;
            }
            siguiente(t, nt, it);
            ip = sigP;
            continue;
        }
        if (it >= nt) {
            return false;
        }
        if (pliega(siguiente(t, nt, it)) != pliega(c)) {
            return false;
        }
        ip = sigP;
    }
    return it >= nt;
}

} // namespace

// Called for every comparison (and index probe): no allocations.
int ComparaKX(void*, int n1, const void* p1, int n2, const void* p2) {
    const auto* a = static_cast<const unsigned char*>(p1);
    const auto* b = static_cast<const unsigned char*>(p2);
    const int la = sinBlancosFinales(a, n1), lb = sinBlancosFinales(b, n2);
    int i = 0, j = 0;
    while (i < la && j < lb) {
        const char32_t x = pliega(siguiente(a, la, i)), y = pliega(siguiente(b, lb, j));
        if (x != y) {
            return x < y ? -1 : 1;
        }
    }
    if (i < la) {
        return 1;
    }
    return j < lb ? -1 : 0;
}

bool CoincideKX(const unsigned char* texto, int nTexto, const unsigned char* patron, int nPatron,
                char32_t escape) {
    return coincide(texto, nTexto, 0, patron, nPatron, 0, escape);
}

bool CaracterEscapeKX(const unsigned char* texto, int n, char32_t& escape) {
    escape = 0;
    int i = 0;
    if (n > 0) {
        escape = siguiente(texto, n, i);
    }
    return i == n;
}
