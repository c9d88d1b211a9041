#pragma once

#include <QString>

// Database engines the program talks to. The order is the connection
// dialog's platform list: the suite's two first, then ours.
enum class Plataforma { SqlServer = 0, Oracle = 1, PostgreSql = 2, Sqlite = 3 };

// "SQLSERVER", "ORACLE", "POSTGRESQL", "SQLITE" (any case) -> platform; false when unknown.
bool LeePlataforma(const QString& texto, Plataforma& p);
QString NombrePlataforma(Plataforma p);
