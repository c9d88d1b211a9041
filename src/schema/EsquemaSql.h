#pragma once

#include "db/Plataforma.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

// The suite's tables and views for each engine (the files of schema/, built
// into the program so that it needs nothing beside it).
class EsquemaSql {
public:
    // The whole file for the engine; empty for Oracle, which has none.
    static QString texto(Plataforma p);
    // A schema file cut into statements: a statement ends at a line ending
    // with ";" or at a line reading GO; a trigger whose body is a BEGIN ... END
    // block ends at its "END;"; nothing between $$ marks is cut. Comment lines
    // and blank lines between statements are dropped.
    static QStringList sentencias(const QString& texto);
    // Creates every object on the open connection, in one transaction where the
    // engine allows it. On SQLite it registers the collation KX first. Throws
    // FalloKX naming the statement that failed; nothing is left half made on
    // SQLite and PostgreSQL. Without a platform, the connection's engine decides.
    static void crea(QSqlDatabase db);
    static void crea(QSqlDatabase db, Plataforma p);
};
