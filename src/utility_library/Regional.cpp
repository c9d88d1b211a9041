#include "utility_library/Regional.h"

#include <QRegularExpression>

namespace {
QString gPatron = QStringLiteral("dd/MM/yyyy");
}

QString Regional::patronFechaCorta() { return gPatron; }

void Regional::fijaPatronFechaCorta(const QString& patron) { gPatron = patron; }

QString Regional::ordenFecha() {
    const QString p = gPatron.toLower();
    const auto d = p.indexOf('d'), m = p.indexOf('m'), y = p.indexOf('y');
    if (y < m && y < d) {
        return QStringLiteral("ymd");
    }
    if (m < d) {
        return QStringLiteral("mdy");
    }
    return QStringLiteral("dmy");
}

QString Regional::fechaCorta(const QDate& d) { return d.toString(gPatron); }

QDate Regional::leeFecha(const QString& texto) {
    const QString t = texto.trimmed();
    static const QRegularExpression iso(QStringLiteral(
        R"(^(\d{4})-(\d{1,2})-(\d{1,2})(?:[ T](\d{1,2}):(\d{2})(?::(\d{2})(?:\.\d+)?)?)?$)"));
    auto mi = iso.match(t);
    if (mi.hasMatch()) {
        return QDate(mi.captured(1).toInt(), mi.captured(2).toInt(), mi.captured(3).toInt());
    }
    static const QRegularExpression partes(
        QStringLiteral(R"(^(\d{1,4})[/.\-](\d{1,2})[/.\-](\d{1,4})(?:\s+\d{1,2}:\d{2}(?::\d{2})?)?$)"));
    auto m = partes.match(t);
    if (!m.hasMatch()) {
        return {};
    }
    int a = m.captured(1).toInt(), b = m.captured(2).toInt(), c = m.captured(3).toInt();
    int dia, mes, anio;
    const QString orden = m.captured(1).size() == 4 ? QStringLiteral("ymd") : ordenFecha();
    if (orden == "ymd") {
        anio = a, mes = b, dia = c;
    } else if (orden == "mdy") {
        mes = a, dia = b, anio = c;
    } else {
        dia = a, mes = b, anio = c;
    }
    const QString textoAnio = orden == "ymd" ? m.captured(1) : m.captured(3);
    if (textoAnio.size() <= 2) {
        anio += anio < 30 ? 2000 : 1900; // the usual two-digit year window
    }
    return QDate(anio, mes, dia);
}

QString Regional::fechaHoraGeneral(const QDateTime& dt) {
    return dt.toString(gPatron + QStringLiteral(" HH:mm:ss"));
}
