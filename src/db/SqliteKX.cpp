#include "SqliteKX.h"

#include <QSqlDriver>
#include <QString>
#include <QVariant>
#include <sqlite3.h>

namespace {

// Case folding for the Latin-1 range, as SQL Server's default collation does
// for the characters of the suite's data.
inline char16_t pliega(char16_t c) {
    if ((c >= u'a' && c <= u'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7)) {
        return char16_t(c - 0x20);
    }
    return c;
}

int comparaKX(void*, int n1, const void* p1, int n2, const void* p2) {
    // Texts arrive as UTF-8; decode, drop trailing blanks, compare folded.
    QString a = QString::fromUtf8(static_cast<const char*>(p1), n1);
    QString b = QString::fromUtf8(static_cast<const char*>(p2), n2);
    auto fin = [](const QString& s) {
        qsizetype n = s.size();
        while (n > 0 && s[n - 1] == QLatin1Char(' ')) {
            --n;
        }
        return n;
    };
    const qsizetype la = fin(a), lb = fin(b);
    const qsizetype n = qMin(la, lb);
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t x = pliega(a[i].unicode()), y = pliega(b[i].unicode());
        if (x != y) {
            return x < y ? -1 : 1;
        }
    }
    return la == lb ? 0 : (la < lb ? -1 : 1);
}

} // namespace

bool RegistraKXSqlite(QSqlDatabase& db) {
    QVariant v = db.driver()->handle();
    if (!v.isValid() || qstrcmp(v.typeName(), "sqlite3*") != 0) {
        return false;
    }
    sqlite3* h = *static_cast<sqlite3* const*>(v.data());
    if (!h) {
        return false;
    }
    return sqlite3_create_collation_v2(h, "KX", SQLITE_UTF8, nullptr, comparaKX, nullptr) ==
           SQLITE_OK;
}
