#include "db/Plataforma.h"

bool LeePlataforma(const QString& texto, Plataforma& p) {
    const QString t = texto.trimmed().toUpper();
    if (t == QLatin1String("SQLSERVER")) {
        p = Plataforma::SqlServer;
    } else if (t == QLatin1String("ORACLE")) {
        p = Plataforma::Oracle;
    } else if (t == QLatin1String("POSTGRESQL")) {
        p = Plataforma::PostgreSql;
    } else if (t == QLatin1String("SQLITE")) {
        p = Plataforma::Sqlite;
    } else {
        return false;
    }
    return true;
}

QString NombrePlataforma(Plataforma p) {
    switch (p) {
    case Plataforma::SqlServer:
        return QStringLiteral("SQLSERVER");
    case Plataforma::Oracle:
        return QStringLiteral("ORACLE");
    case Plataforma::PostgreSql:
        return QStringLiteral("POSTGRESQL");
    case Plataforma::Sqlite:
        return QStringLiteral("SQLITE");
    }
    return QString();
}
