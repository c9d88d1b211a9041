#pragma once

#include "utility_library/ErrorKX.h"

#include <QDateTime>
#include <QString>

// The suite's error log "KXERR.LOG": one line per reported failure, appended,
// Windows-1252, CR LF. Shared by the runtime's and the database layer's dialogs.
namespace LogKX {
// "Ha ocurrido el Siguiente Error (13) Type mismatch"
QString mensaje(const ErrorKX& e);
// "Rutina - " when a routine is named, empty otherwise.
QString textoRutina(const QString& rutina);
// "Reintentar", "Ignorar", "Abortar"; empty for other answers.
QString textoRespuesta(int respuesta);
// One line without its CR LF.
QString linea(const QDateTime& cuando, const QString& rutinaTexto, const QString& mensaje,
              int respuesta);
// Appends the line (creating the file); false when it could not be written.
bool agrega(const QString& ruta, const QString& linea);
} // namespace LogKX
