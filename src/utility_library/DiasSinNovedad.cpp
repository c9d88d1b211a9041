#include "utility_library/DiasSinNovedad.h"

namespace DiasSinNovedad {

QString aviso(const QDate& desde, const QDate& hasta) {
    if (!desde.isValid() || !hasta.isValid()) {
        return QString();
    }
    const QString dia = QStringLiteral("dd/MM");
    return QStringLiteral("Se incluyen las ofertas de los días sin novedad: del %1 al %2")
        .arg(desde.toString(dia), hasta.toString(dia));
}

} // namespace DiasSinNovedad
