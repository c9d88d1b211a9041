#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

// Small routines several parts of the program share: display formats, the
// file test, the INSERT builder and the script runner.
namespace LBM_Common {
// Display patterns, written the suite's way ("mm" after "hh" are minutes).
QString FormatoFechaHora(); // "dd/mm/yy hh:mm"
QString FormatoFecha();     // "dd/mm/yy"
QString FormatoHora();      // "hh:mm"
// Applies one of those patterns (dd, mm, yy, yyyy, hh, nn, ss) to an instant.
QString AplicaFormato(const QDateTime& cuando, const QString& patron);

// True when the file can be opened for reading (double quotes in the path are ignored).
bool ExisteArchivo(const QString& ruta);

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

// Appends one registered connection to "BASES.TXT" of the program folder.
// False when the file could not be written.
bool RegistraBase(const QString& nombre, const QString& baseDatos, const QString& usuario,
                  const QString& password, const QString& servidor);
// Path of "BASES.TXT" the module uses (program folder when not set).
QString RutaBases();
void FijaRutaBases(const QString& ruta);
} // namespace LBM_Common
