#pragma once

#include <QDate>
#include <QDateTime>

// "Today" and "now" come from here, so tests and the unattended command
// (--hoy) can move the program to another day.
class Reloj {
public:
    static QDate hoy();
    static QDateTime ahora();
    // Fixes today (the time of day keeps running from the real clock). Null: real clock.
    static void fijaHoy(const QDate& dia);
    // Fixes the whole instant. Null: real clock.
    static void fijaAhora(const QDateTime& instante);
};
