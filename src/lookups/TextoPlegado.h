#pragma once

#include <QChar>
#include <QString>
#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>

// Case-insensitive, blank-trimmed comparisons made in place over a text's
// UTF-16 units, so searching and ordering large lists copy nothing. Folding is
// one unit at a time, the way the windows have always compared (a search for
// "ab" finds "ABROJO"); plain ASCII takes a short path, the rest goes to Qt.
namespace TextoPlegado {

inline char16_t pliega(char16_t c) {
    if (c < 0x80) {
        return c >= u'A' && c <= u'Z' ? char16_t(c + 0x20) : c;
    }
    return char16_t(QChar::toCaseFolded(char32_t(c)));
}

inline bool esBlanco(char16_t c) {
    if (c < 0x80) {
        return c == u' ' || (c >= 0x09 && c <= 0x0D);
    }
    return QChar::isSpace(char32_t(c));
}

// The text without blanks at either end, as a view into it.
inline std::u16string_view recortado(const char16_t* p, qsizetype n) {
    qsizetype a = 0;
    while (a < n && esBlanco(p[a])) {
        ++a;
    }
    while (n > a && esBlanco(p[n - 1])) {
        --n;
    }
    return std::u16string_view(p + a, size_t(n - a));
}

inline std::u16string_view recortado(const QString& s) {
    return recortado(reinterpret_cast<const char16_t*>(s.constData()), s.size());
}

// The folded text, for a search value folded once.
inline std::u16string plegado(std::u16string_view s) {
    std::u16string r(s);
    for (char16_t& c : r) {
        c = pliega(c);
    }
    return r;
}

// Folded `a` against folded `b`, unit by unit: <0, 0 or >0.
inline int compara(std::u16string_view a, std::u16string_view b) {
    const size_t n = std::min(a.size(), b.size());
    size_t i = 0;
    // Neighbouring rows of a sorted list share long beginnings: skip them
    // four units at a time.
    for (; i + 4 <= n; i += 4) {
        quint64 x, y;
        std::memcpy(&x, a.data() + i, sizeof x);
        std::memcpy(&y, b.data() + i, sizeof y);
        if (x != y) {
            break;
        }
    }
    for (; i < n; ++i) {
        if (a[i] != b[i]) {
            const char16_t x = pliega(a[i]), y = pliega(b[i]);
            if (x != y) {
                return x < y ? -1 : 1;
            }
        }
    }
    return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

// Folded `a` against `buscado` (already folded) on the first buscado.size()
// units only: 0 when `a` begins with it.
inline int comparaPrefijo(std::u16string_view a, std::u16string_view buscado) {
    const size_t n = std::min(a.size(), buscado.size());
    for (size_t i = 0; i < n; ++i) {
        const char16_t x = pliega(a[i]);
        if (x != buscado[i]) {
            return x < buscado[i] ? -1 : 1;
        }
    }
    return a.size() < buscado.size() ? -1 : 0;
}

inline bool empiezaCon(std::u16string_view a, std::u16string_view buscado) {
    return a.size() >= buscado.size() && comparaPrefijo(a, buscado) == 0;
}

} // namespace TextoPlegado
