#include "runtime/FormatosFecha.h"

namespace LBM_Common {

QString FormatoFechaHora() {
    return QStringLiteral("dd/mm/yy hh:mm");
}
QString FormatoFecha() {
    return QStringLiteral("dd/mm/yy");
}
QString FormatoHora() {
    return QStringLiteral("hh:mm");
}

QString AplicaFormato(const QDateTime& cuando, const QString& patron) {
    // The suite's patterns read "mm" as minutes right after an hour; Qt needs
    // them spelled apart.
    QString qt;
    bool trasHora = false;
    for (int i = 0; i < patron.size();) {
        auto empieza = [&](const char* t) {
            return patron.mid(i, int(qstrlen(t))).compare(QLatin1String(t), Qt::CaseInsensitive) ==
                   0;
        };
        if (empieza("yyyy")) {
            qt += QStringLiteral("yyyy");
            i += 4;
            trasHora = false;
        } else if (empieza("yy")) {
            qt += QStringLiteral("yy");
            i += 2;
            trasHora = false;
        } else if (empieza("dd")) {
            qt += QStringLiteral("dd");
            i += 2;
            trasHora = false;
        } else if (empieza("hh")) {
            qt += QStringLiteral("HH");
            i += 2;
            trasHora = true;
        } else if (empieza("nn")) {
            qt += QStringLiteral("mm");
            i += 2;
            trasHora = false;
        } else if (empieza("mm")) {
            qt += trasHora ? QStringLiteral("mm") : QStringLiteral("MM");
            i += 2;
            trasHora = false;
        } else if (empieza("ss")) {
            qt += QStringLiteral("ss");
            i += 2;
            trasHora = false;
        } else {
            const QChar c = patron.at(i);
            if (c.isLetter()) {
                qt += QLatin1Char('\'') + c + QLatin1Char('\'');
            } else {
                qt += c;
            }
            ++i;
        }
    }
    return cuando.toString(qt);
}

} // namespace LBM_Common
