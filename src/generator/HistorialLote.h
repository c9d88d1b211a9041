#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <optional>

// Every published batch keeps a copy of its files in the output folder, under
// historial/<list>/<code>/, so that what a batch sent can be shown later
// however often the folder's files were replaced since.
namespace HistorialLote {
// The folder names below the output folder: "historial", the list code (any
// character a file name cannot hold written as "_") and the batch code.
QStringList Nombres(const QString& lista, qint64 codigo);
// The copy of `nombre` as the operator reads its path.
QString Copia(const QString& carpetaSalida, const QString& lista, qint64 codigo,
              const QString& nombre);
// Copies the file `origen` (whole on disk) to the history as `nombre`: the
// folders are created on demand and never followed through a link, and the
// copy takes its name only once it is whole. Throws FalloKX.
void Guarda(const QString& carpetaSalida, const QString& lista, qint64 codigo,
            const QString& origen, const QString& nombre);
// A copy path as Copia() writes it, read back into its parts: the output
// folder (with '/' separators), the list's folder name, the batch code and
// the file's name. None when the path is not a history copy's. Read from the
// text alone: none of its folders needs to exist.
struct CopiaLeida {
    QString carpetaSalida;
    QString lista;
    qint64 codigo = 0;
    QString nombre;
};
std::optional<CopiaLeida> LeeCopia(const QString& copia);
// Copies `origen` to the copy path a batch recorded (Copia above): for a
// batch committed by a run that stopped before it kept its copies (the
// folders are created as Guarda creates them). False when the path is not a
// history copy's. Throws FalloKX.
bool GuardaEn(const QString& copia, const QString& origen);
} // namespace HistorialLote
