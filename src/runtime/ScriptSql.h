#pragma once

#include <QString>
#include <QStringList>

// LBM_Common's INSERT builder and the runner that sends a script of
// statements to the main connection as one transaction.
namespace LBM_Common {
// Adds one (column, literal) pair to the pending column list. Apostrophes are
// removed from `valor` (the caller's variable too); "NULL" in any case gives Null.
void CargaCampoSQL(const QString& campo, QString& valor, const QString& marca, bool primero);
// Turns the pending column list into an INSERT appended to `sentencias`,
// followed by one empty entry, and empties the list.
void ArmaSentenciaSQL(QStringList& sentencias, const QString& tabla);
// Columns currently pending (for the builder's callers and tests).
int CamposPendientes();

// Sends the non-blank statements to the main connection as one transaction:
// commits it, or rolls it back, records the failure in AUX_ERR and optionally
// tells the operator. Outputs as named.
void GActualizarDatoScript(const QStringList& sentencias, bool& fallo, qint32& numeroError,
                           QString& script, QString& textoError, bool muestraMensaje);
} // namespace LBM_Common
