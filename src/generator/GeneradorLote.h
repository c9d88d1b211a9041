#pragma once

#include "generator/AlertasPrecio.h"
#include "generator/CabeceraLote.h"
#include "generator/LoteNovedades.h"
#include "generator/VentanaCarga.h"

#include <QByteArray>
#include <QSet>
#include <QString>
#include <optional>
#include <vector>

class ArchivosCambio;
class Pasos;
struct FilaAGrabar;
struct PrecioAMarcar;

// "&Generar": records the grid as a batch and writes the change files. A new
// batch inserts one MV_TARVELO row per grid row and marks its price rows as
// sent; a reloaded batch is written again and its rows stamped.
//
// The whole batch is one transaction, each row's mark and insert one
// savepoint in it: a price row is never marked as sent without its batch row,
// and a row whose price another generation sent since it was loaded is left
// out. The files take their final names only once the batch is committed, and
// hold exactly the recorded rows. Where the engine takes them, rows go a
// block at a time in one statement; a block that fails is undone and its rows
// go one by one, so a failure is still told for its own row and the
// operator's answers (retry the row, go on without it, leave) keep their
// meaning; leaving rolls the batch back and leaves the folder's files as they
// were. The code is checked under the engine's lock of batch codes, taken
// with the transaction, so two generations never share one code.
class GeneradorLote {
public:
    explicit GeneradorLote(LoteNovedades& lote) : lote_(lote) {}
    ResultadoGeneracion Genera();

    static const QString kDebeIngresarLista;
    // A list code longer than four characters.
    static const QString kListaLarga;
    static const QString kNadaQueGenerar;
    static const QString kRegenerar;
    static const QString kTestigo;
    // "%1" the code taken, "%2" the next free one.
    static const QString kCodigoUsado;
    // "%1" how many rows another generation sent meanwhile.
    static const QString kEnviadasPorOtro;
    static const QString kCodigoInvalido;
    // Followed by one line per finding.
    static const QString kFueraDeFormato;
    // "%1" why the copy could not be kept.
    static const QString kSinHistorial;
    // "%1" how many rows alerted, "%2" one line per row.
    static const QString kAlertas;

private:
    // A grid row whose records are ready to go with it.
    struct FilaLista {
        int fila;
        std::vector<QByteArray> registros;
    };
    // Writes the rows (in one step where the engine can, otherwise one by
    // one) and adds the records of those written; false when the operator
    // chose to leave after a failure.
    bool Escribe(const std::vector<FilaLista>& listas, bool regeneracion, qint64 codigo,
                 const QString& marcaTiempo, ArchivosCambio& archivos, ResultadoGeneracion& r,
                 const Pasos& pasos);
    // The price row the row marks, if any: none when its rules say so or an
    // earlier row of this generation marked it.
    std::optional<PrecioAMarcar> MarcaDe(int fila) const;
    // False when the row was left out (its price sent by another generation).
    bool GrabaFila(int fila, bool regeneracion, qint64 codigo, const QString& marcaTiempo);
    FilaAGrabar ValoresDeFila(int fila) const;
    // The price rules over a new batch: alerted rows are flagged in the grid
    // and the operator decides. False when the generation must stop (declined
    // or failed; the result says which).
    bool RevisaPrecios(ResultadoGeneracion& r);
    // The list as the history folder names it.
    QString listaHistorial() const;
    // The folder the files go to, as this platform's file functions take it.
    QString carpetaSalida() const;
    // Keeps a copy of the written files under the output folder's history.
    void GuardaHistorial(const ArchivosCambio& archivos, qint64 codigo);
    // Commits the batch and publishes the files; false when that failed.
    bool Termina(ArchivosCambio& archivos, ResultadoGeneracion& r, qint64 codigo);

    LoteNovedades& lote_;
    // Price rows this generation marked: a changed bar code sends one price
    // row twice, and only its first row marks it.
    QSet<qint64> marcadas_;
    // The rows whose prices alerted, accepted by the operator.
    QList<AlertaFila> alertas_;
    // The header of the load being generated.
    CabeceraLote cabecera_;
    // The pending load a new batch's rows came from, recorded with it.
    std::optional<VentanaCarga> cargaPendiente_;
};
