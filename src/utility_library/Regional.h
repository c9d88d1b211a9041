#pragma once

#include <QDate>
#include <QString>

// The workstation's regional settings as the suite uses them: dates are
// shown, typed and sent to the database in the short date form. The suite's
// locale writes day/month/year.
class Regional {
public:
    // Qt pattern of the short date form (default "dd/MM/yyyy").
    static QString patronFechaCorta();
    static void fijaPatronFechaCorta(const QString& patron);
    // "dmy", "mdy" or "ymd": the order of the short date form.
    static QString ordenFecha();
    static QString fechaCorta(const QDate& d);
    // Reads a date typed in the short date form; also accepts two-digit years,
    // "-" or "." separators and ISO text. Null when it is no date.
    static QDate leeFecha(const QString& texto);
    // The system's general date format for a date and time ("dd/MM/yyyy HH:mm:ss").
    static QString fechaHoraGeneral(const QDateTime& dt);
};
