#include "utility_library/QlEquipo.h"

#include <QDir>
#include <QSysInfo>

QString QlEquipo::NombrePC() {
    QString n = QSysInfo::machineHostName();
    if (n.isEmpty()) {
        n = qEnvironmentVariable("COMPUTERNAME");
    }
    return n.isEmpty() ? QStringLiteral("PC") : n;
}

QString QlEquipo::NombreUsuario() {
    QString n = qEnvironmentVariable("USER");
    if (n.isEmpty()) {
        n = qEnvironmentVariable("USERNAME");
    }
    return n;
}

QString QlEquipo::CarpetaTemporal() { return QDir::tempPath() + QLatin1Char('/'); }
