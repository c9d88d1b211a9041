#include "utility_library/SalidaPublicada.h"

SalidaPublicada::SalidaPublicada(const QString& destino, QObject* padre)
    : QIODevice(padre), archivo_(destino) {
    open(QIODevice::WriteOnly);
}

void SalidaPublicada::publica() {
    archivo_.termina();
    archivo_.publica();
}

qint64 SalidaPublicada::readData(char*, qint64) {
    return -1;
}

qint64 SalidaPublicada::writeData(const char* data, qint64 largo) {
    // A failed write is kept and reported by publica().
    archivo_.agrega(QByteArray(data, qsizetype(largo)));
    return largo;
}
