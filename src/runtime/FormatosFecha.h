#pragma once

#include <QDateTime>
#include <QString>

// The suite's display patterns for dates and times (LBM_Common).
namespace LBM_Common {
// Written the suite's way ("mm" after "hh" are minutes).
QString FormatoFechaHora(); // "dd/mm/yy hh:mm"
QString FormatoFecha();     // "dd/mm/yy"
QString FormatoHora();      // "hh:mm"
// Applies one of those patterns (dd, mm, yy, yyyy, hh, nn, ss) to an instant.
QString AplicaFormato(const QDateTime& cuando, const QString& patron);
} // namespace LBM_Common
