#include "utility_library/QlCifrado.h"

#include <QByteArray>

QString QlUtil::Encripta(const QString& texto) {
    const QByteArray b = texto.toUtf8();
    QByteArray r;
    r.reserve(b.size());
    quint8 k = 0x5A;
    for (char c : b) {
        const quint8 x = quint8(c) ^ k;
        r.append(char(x));
        k = quint8(k * 13 + 7 + x);
    }
    return QString::fromLatin1(r.toHex()).toUpper();
}

QString QlUtil::Desencripta(const QString& texto) {
    const QByteArray b = QByteArray::fromHex(texto.toLatin1());
    QByteArray r;
    r.reserve(b.size());
    quint8 k = 0x5A;
    for (char c : b) {
        const quint8 x = quint8(c);
        r.append(char(x ^ k));
        k = quint8(k * 13 + 7 + x);
    }
    return QString::fromUtf8(r);
}
