#include "generator/FormatoSalida.h"

QByteArray FormatoSalida::Linea(const GrillaLote& grilla, int fila) {
    const std::optional<QString> registro = Registro(grilla, fila);
    if (!registro) {
        return QByteArray();
    }
    QByteArray linea = Codifica(*registro);
    linea.append("\r\n", 2);
    return linea;
}
