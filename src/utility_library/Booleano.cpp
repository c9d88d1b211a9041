#include "utility_library/Booleano.h"

bool TextoABooleano(const QString& texto, bool porDefectoVerdadero) {
    const QString t = texto.toUpper();
    if (t == QLatin1String("FALSE") || t == QLatin1String("FALSO") || t == QLatin1String("0") ||
        t == QLatin1String("NO") || t == QLatin1String("N")) {
        return false;
    }
    if (t == QLatin1String("TRUE") || t == QLatin1String("VERDADERO") || t == QLatin1String("1") ||
        t == QLatin1String("SI") || t == QLatin1String("S")) {
        return true;
    }
    return porDefectoVerdadero;
}
