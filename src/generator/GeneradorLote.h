#pragma once

#include "generator/AlertasPrecio.h"
#include "generator/CabeceraLote.h"
#include "generator/LoteNovedades.h"
#include "utility_library/ErrorKX.h"
#include "generator/VentanaCarga.h"

#include <QByteArray>
#include <QSet>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

class ArchivosCambio;
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
// go one by one, so a failure is still told for its own row. No question is
// asked while the transaction is open: a failure rolls the batch back first,
// then the operator chooses to run it again, to run it again without the
// failing row, or to leave with the folder's files as they were. The code is checked under the
// engine's lock of batch codes, taken with the transaction, so two generations never share one
// code.
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
    // How many rows another generation sent meanwhile.
    static QString EnviadasPorOtro(int filas);
    static const QString kCodigoInvalido;
    // "%1" the batch code: nothing was written, recorded or marked.
    static const QString kNoGenerado;
    // How many rows the operator left out after they failed.
    static QString Omitidas(int filas);
    // Followed by one line per finding.
    static const QString kFueraDeFormato;
    // "%1" why the copy could not be kept.
    static const QString kSinHistorial;
    // The question on alerted prices: how many, then one line per row.
    static QString Alertas(int precios, const QStringList& lineas);

private:
    // A grid row whose records are ready to go with it.
    struct FilaLista {
        int fila;
        std::vector<QByteArray> registros;
    };
    // What one run of the writes is asked to do.
    struct Intento {
        bool regeneracion = false;
        qint64 codigo = 0;
        QString marcaTiempo;
        // Rows the operator chose to leave out after they failed.
        QSet<int> excluidas;
        // Whether the rows' articles are asked for a block at a time, and
        // the rows written a block at a time where the engine takes blocks.
        bool anticipar = true;
        bool enBloques = true;
    };
    // A failure inside the transaction, asked about once it is rolled back.
    struct Fallo {
        ErrorKX error;
        int fila = 0;             // the grid row it belongs to; 0: the batch as a whole
        bool anticipando = false; // the question for a block of rows' articles
        bool enBloque = false;    // the write of a block of rows
    };
    // Runs a step of the row `fila` (0: of the whole batch); false, with the
    // failure noted, when it failed.
    using Paso = std::function<bool(int fila, const std::function<void()>&)>;

    // One run of the writes, from taking the generation's lock to the
    // commit. It asks nothing: a failure rolls everything back and is
    // returned. `tomado`: another generation has the code (rolled back too).
    std::optional<Fallo> Corre(const Intento& intento, ArchivosCambio& archivos,
                               ResultadoGeneracion& r, bool& tomado);
    // Writes the rows (in one step where the engine can, otherwise one by
    // one) and adds the records of those written; false after a failure.
    bool Escribe(const std::vector<FilaLista>& listas, const Intento& intento,
                 ArchivosCambio& archivos, ResultadoGeneracion& r, const Paso& paso);
    // The price row the row marks, if any: none when its rules say so or an
    // earlier row of this generation marked it.
    std::optional<PrecioAMarcar> MarcaDe(int fila) const;
    // False when the row was left out (its price sent by another generation).
    bool GrabaFila(int fila, const Intento& intento);
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
    // Writes the files whole under their temporary names, records what they
    // hold and commits the batch (inside the transaction).
    void Confirma(ArchivosCambio& archivos, qint64 codigo);
    // After the commit: keeps the history copies and gives the files their
    // final names; false when that failed (the next run publishes them).
    bool Publica(ArchivosCambio& archivos, qint64 codigo);
    // The batch was not generated: the operator is told, the progress bar
    // starts again.
    ResultadoGeneracion NoGenerado(ResultadoGeneracion& r);

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
