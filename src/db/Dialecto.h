#pragma once

#include "db/Plataforma.h"

#include <QString>
#include <QStringList>

// Turns the program's SQL Server text into text with the same meaning for
// SQLite and PostgreSQL. SQL Server and Oracle texts pass unchanged.
namespace Dialecto {
// One statement or a script; for scripts, the statements to run one by one.
QStringList sentencias(const QString& sqlServer, Plataforma p, const QString& ordenFecha);
QString reescribe(const QString& sqlServer, Plataforma p, const QString& ordenFecha);

// Transaction statements of a script ("BEGIN TRANSACTION", "COMMIT TRAN",
// "ROLLBACK TRANSACTION", ...), which the connection turns into its own calls.
enum class Transaccion { Ninguna, Inicio, Confirma, Deshace };
Transaccion transaccion(const QString& sentencia);
} // namespace Dialecto
