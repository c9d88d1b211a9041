#include "utility_library/QlFields.h"

int QlFields::IndiceCampo(const QString& campo, const QStringList& camposDeDatos) {
    for (int i = 0; i < camposDeDatos.size(); ++i) {
        if (camposDeDatos[i].compare(campo.trimmed(), Qt::CaseInsensitive) == 0) {
            return i;
        }
    }
    return -1;
}

QChar QlFields::FiltraTecla(QChar c, bool soloNumeros, bool mayusculas) {
    if (c.unicode() < 32) {
        return c; // editing keys pass
    }
    if (soloNumeros && !c.isDigit()) {
        return QChar();
    }
    return mayusculas ? c.toUpper() : c;
}
