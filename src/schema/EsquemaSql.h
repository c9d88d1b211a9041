#pragma once

#include "db/Plataforma.h"

#include <QHash>
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
    // A column of the suite's own definition (its SQL Server schema): its
    // name as written and its declared length (-1: none, or not text).
    struct ColumnaSuite {
        QString nombre;
        int largo = -1;
    };
    // The columns of the suite's table or view `tabla`, by lower-case name;
    // a view's column takes the length of the column it shows. Empty when
    // the suite does not define it. An engine that folds unquoted names (and
    // a schema that declares no lengths) is read back with these.
    static QHash<QString, ColumnaSuite> columnasDeLaSuite(const QString& tabla);
    // Creates every object on the open connection, in one transaction where the
    // engine allows it. On SQLite it registers the collation KX first. Throws
    // FalloKX naming the statement that failed; nothing is left half made on
    // SQLite and PostgreSQL. Without a platform, the connection's engine decides.
    static void crea(QSqlDatabase db);
    static void crea(QSqlDatabase db, Plataforma p);
};
