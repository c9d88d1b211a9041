#pragma once

#include <QList>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

#include "generator/CabeceraLote.h"
#include "generator/ParametrosLote.h"

class ArticulosBalanza;
class RepositorioLote;
class Dll_Display;
class EstadoVentana;
class ImpresorTestigo;
struct ErrorKX;
struct AlertaFila;

// What a load left in the grid.
struct ResultadoCarga {
    enum class Estado {
        Cargado,      // ran to its end (it may have kept no row)
        SinNovedades, // the query found nothing: "No se encontraron novedades!!!"
        Rechazado,    // refused before any SQL (invalid code)
        Cancelado,    // the operator pressed cancel on the banner
        Abandonado,   // a failure, and the operator chose to leave
    };
    Estado estado = Estado::Cargado;
    int filas = 0; // grid rows written by this run
    // Refused: the data field name of the header field that was refused.
    QString campo;
    // The load ended on a failure before reading its whole source: `leidas`
    // of `total` source rows were read.
    bool incompleta = false;
    int leidas = 0, total = 0;
};

// What a generation did.
struct ResultadoGeneracion {
    enum class Estado {
        Generado,       // a new batch: files written, rows inserted, prices marked
        Regenerado,     // a reloaded batch: files written again, rows stamped
        SinLista,       // no list, or one longer than four characters
        CodigoInvalido, // the batch code is no whole number the engines store
        NadaQueGenerar, // no loaded row in the grid
        Declinado,      // the operator answered No (regeneration, code taken meanwhile)
        FueraDeFormato, // records would leave the fixed layout and the operator declined
        ConAlertas,     // prices alerted and the operator declined
        SinCarpeta,     // the output folder is missing
        Abandonado,     // a failure, and the operator chose to leave
    };
    Estado estado = Estado::Abandonado;
    QString codigo;
    int filas = 0; // rows written to the point-of-sale file and recorded
    QString rutaCambios;
    QString rutaBalanza;
    // Rows left out because another generation sent their price meanwhile.
    int enviadasPorOtro = 0;
    // Rows the operator left out after they failed (their prices stay pending).
    int omitidas = 0;
    // One line per row whose price alerted (a new batch), whether the
    // operator went on or not.
    QStringList alertas;
};

// The batch logic of the main window, on the window's state: the grid and its
// progress display, the window's initial state, the pending and manual
// loaders, the reload of a stored batch and the generation. Every modal
// question goes through the operator seam; failures go to the error dialog
// (retry the step, go on with the next one, or leave the operation).
class LoteNovedades {
public:
    // The parameters are read afresh by `fuente` when each load or generation
    // starts (the configuration may change while the window is open).
    using FuenteParametros = std::function<ParametrosLote()>;
    LoteNovedades(EstadoVentana& ventana, RepositorioLote& repositorio, Dll_Display& cartel,
                  FuenteParametros fuente);
    LoteNovedades(EstadoVentana& ventana, RepositorioLote& repositorio, Dll_Display& cartel,
                  const ParametrosLote& parametros);
    ~LoteNovedades();

    EstadoVentana& ventana() { return ventana_; }
    RepositorioLote& repositorio() { return repositorio_; }
    Dll_Display& cartel() { return cartel_; }
    const ParametrosLote& parametros() const { return parametros_; }
    // Reads the parameters again from their source.
    void RefrescaParametros();

    // The witness printer (not owned; none: printing fails with a message).
    void fijaImpresor(ImpresorTestigo* impresor);
    // The scale lookup (not owned; none: the repository's article master).
    void fijaArticulosBalanza(ArticulosBalanza* articulos);
    ArticulosBalanza& articulosBalanza();

    // --- grid and progress
    void ArmaGrilla();
    // Starts a load's progress cycle at 0.
    void IniciaAvance() { ciclo_ = 0; }
    // Shows "Cargando Datos", "fila de total" and the cycling bar; true when
    // the operator pressed cancel.
    bool MuestraAvance(int fila, int total);

    // --- window state
    void InicializaFormulario();
    // Rows a new batch loaded and nobody generated yet (a reloaded batch's
    // rows are stored: dropping them loses nothing).
    int FilasSinGenerar() const;
    // Before anything drops the loaded rows: true when there is nothing to
    // lose or the operator agrees to lose it (Descartar(), default No).
    bool ConfirmaDescartar();
    // The fields show the header again (after an edit that was not taken).
    void MuestraCabecera(const CabeceraLote& cabecera);
    void HabilitaEdicion(bool edicion);
    // The list typed in the IdLista field (or `texto` when given): a sales
    // list shows its name and opens the batch's fields. The window and the
    // unattended command both choose a list through here.
    enum class EleccionLista { Elegida, Vacia, Inexistente };
    EleccionLista EligeLista(const QString& texto);
    // The message that refuses a list (empty for a chosen one).
    static QString MotivoLista(EleccionLista eleccion);
    // The Fecha field as Enter accepts it: empty, it becomes today's date.
    // False when it holds no date.
    bool AceptaFecha();
    // A header field a load cannot take, with the message that refuses it.
    struct Rechazo {
        QString campo; // its data field name
        QString mensaje;
    };
    // Before a load uses the header: each header field is accepted as Enter
    // accepts it, whether or not the operator pressed Enter there, so a load
    // never takes a list code without the name the database gives it.
    std::optional<Rechazo> ConfirmaCabecera();
    // The highest batch code plus one, as text ("1" for an empty table).
    QString ProximoCodigo();
    // A typed batch code, read as every command reads it: no whole number the
    // batch table stores, a code no batch has, or a stored batch's. The window,
    // the unattended command and the generation all check a code through
    // here. The existence check may throw FalloKX.
    enum class EstadoCodigo { Invalido, Nuevo, Existente };
    struct CodigoRevisado {
        EstadoCodigo estado = EstadoCodigo::Invalido;
        qint64 codigo = 0;
    };
    CodigoRevisado RevisaCodigo(const QString& texto) const;
    // Only whether `texto` reads as a code the table stores (no query for
    // the batch).
    std::optional<qint64> LeeCodigo(const QString& texto) const;
    // The largest code the batch table stores.
    qint64 MaximoCodigo() const;
    // The path label's text for a file chosen with "Examinar": its folder
    // followed by CAMBIOS.TXT, whatever name was typed.
    static QString RutaExaminada(const QString& archivoElegido);
    // The same for a chosen folder: CAMBIOS.TXT in it.
    static QString RutaDeCarpeta(const QString& carpeta);

    // --- loaders
    // Whether the pending load catches up on the days without a batch
    // (on by default; tarvelo-lote --sin-recuperar turns it off for a run).
    void fijaRecupera(bool recupera) { recupera_ = recupera; }
    bool recupera() const { return recupera_; }
    ResultadoCarga Carga();
    ResultadoCarga CargaNovedades();
    void AbreRangoManual();
    ResultadoCarga AceptaRangoManual();
    void CierraRangoManual();
    ResultadoCarga CargaManual();
    ResultadoCarga CargaLote();

    // --- price alerts
    // The alerts of the loaded rows from `desde` on, for one block of
    // articles (their last prices in one question); `hasta` the first row
    // after the block. Throws FalloKX.
    QList<AlertaFila> AlertasDesde(const QString& lista, int desde, int& hasta);
    // Flags each alerted row in the grid with its reasons.
    void MarcaAlertas(const QList<AlertaFila>& alertas);
    // After a load, where set (a window): the rows whose prices alert are
    // flagged at once, so the operator sees them before "&Generar" asks.
    void MarcaAlertasDeCarga();
    void fijaAlertasAlCargar(bool si) { alertasAlCargar_ = si; }

    // --- generation and reports
    ResultadoGeneracion Genera();
    // Publishes the files of batches an earlier run committed but was stopped
    // before renaming (a kill, a failed rename); one notice per batch, also
    // written to the error log. A failure is reported the same way and the
    // batch stays noted for the next run.
    QStringList PublicaPendientes();
    void ImprimeTestigo(bool etiquetas);

    // The error dialog of an operation named `rutina`: 4 retry, 5 go on, else leave.
    static int ReportaError(const ErrorKX& e, const QString& rutina);
    static const QString kSinNovedades;
    static const QString kFechaInvalida;
    static const QString kFaltaLista;
    static const QString kListaInexistente;
    // The question before dropping `filas` loaded rows.
    static QString Descartar(int filas);

private:
    EstadoVentana& ventana_;
    RepositorioLote& repositorio_;
    Dll_Display& cartel_;
    FuenteParametros fuente_;
    ParametrosLote parametros_;
    ImpresorTestigo* impresor_ = nullptr;
    ArticulosBalanza* articulos_ = nullptr;
    int ciclo_ = 0;
    bool alertasAlCargar_ = false;
    bool recupera_ = true;
};
