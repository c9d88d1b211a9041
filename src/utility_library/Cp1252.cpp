#include "utility_library/Cp1252.h"

#include <array>

namespace {
// 0x80..0x9F; 0 marks the five undefined codes.
constexpr std::array<char16_t, 32> kAltos = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
} // namespace

namespace {
// The byte of a character outside Latin-1's plain ranges; '?' when it has none.
char alto(char16_t u) {
    for (int i = 0; i < 32; ++i) {
        if (kAltos[i] == u && u != 0) {
            return char(0x80 + i);
        }
    }
    return '?';
}
} // namespace

QByteArray Cp1252::codifica(const QString& texto) {
    QByteArray r;
    agrega(r, texto);
    return r;
}

void Cp1252::agrega(QByteArray& destino, QStringView texto) {
    const qsizetype inicio = destino.size();
    destino.resize(inicio + texto.size());
    char* p = destino.data() + inicio;
    for (QChar c : texto) {
        const char16_t u = c.unicode();
        *p++ = u < 0x80 || (u >= 0xA0 && u <= 0xFF) ? char(u) : alto(u);
    }
}

bool Cp1252::representable(QStringView texto) {
    for (QChar c : texto) {
        const char16_t u = c.unicode();
        if (!(u < 0x80 || (u >= 0xA0 && u <= 0xFF)) && alto(u) == '?') {
            return false;
        }
    }
    return true;
}

QString Cp1252::decodifica(const QByteArray& bytes) {
    QString r;
    r.reserve(bytes.size());
    for (char ch : bytes) {
        const unsigned char b = static_cast<unsigned char>(ch);
        if (b >= 0x80 && b <= 0x9F) {
            const char16_t u = kAltos[b - 0x80];
            r.append(u ? QChar(u) : QChar(b));
        } else {
            r.append(QChar(b));
        }
    }
    return r;
}
