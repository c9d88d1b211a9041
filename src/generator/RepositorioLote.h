#pragma once

#include "generator/ArticulosBalanza.h"
#include "generator/VentanaCarga.h"

#include <QDate>
#include <QHash>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>
#include <vector>

class FilaOrigen;

// The rows of a source query, one at a time.
class CursorOrigen {
public:
    virtual ~CursorOrigen() = default;
    // How many rows the query returns (for the progress banner).
    virtual int total() const = 0;
    // False once every row was read.
    virtual bool hay() const = 0;
    virtual void siguiente() = 0;
    // The current row; valid while hay().
    virtual const FilaOrigen& fila() const = 0;
};

// What the batch reads of an article when it loads a price row.
struct ArticuloLote {
    QString tasaIva;
    QString codigoBarra;
    QString pesable;
    QString descripAbrev;
    QString descripcion;
};

// The range of the manual loader: article codes (already fitted to their
// stored width) or family codes; an empty bound leaves that side open.
struct RangoManual {
    bool porFamilia = false;
    QString desde;
    QString hasta;
};

// One batch row as MV_TARVELO stores it: the values after the code, in the
// order of TablaLote::kGrabadas.
struct FilaAGrabar {
    QStringList valores;
    // The batch date as the window holds it (the short date form).
    QString fecha;
};

// A committed batch whose files may not have taken their final names yet:
// where they go and the temporary files that hold them, whole.
struct PublicacionPendiente {
    struct Archivo {
        QString destino, temporal;
    };
    qint64 codigo = 0;
    // In the order they are published: the point-of-sale file first.
    std::vector<Archivo> archivos;
};

// One file of a published batch as recorded: its name, byte length and
// SHA-256 (lowercase hex), where its copy was kept and when it was written,
// and the batch it belongs to.
struct ArchivoGrabado {
    QString archivo; // "CAMBIOS.TXT" or "BALANZA.TXT"
    qint64 largo = 0;
    QString sha256;
    QString copia;
    QString generado; // ISO date and time, to the millisecond
    qint64 codigo = 0;
};

// A price alert the operator accepted, recorded with its batch.
struct AlertaGrabada {
    QString codInterno; // the CodInterno cell
    QString motivo;
};

// The price row a batch row marks as sent, and the state it had when it was
// loaded: the mark only succeeds on that state, so a row that another
// generation sent since is never sent twice.
struct PrecioAMarcar {
    qint64 id = 0;
    QString estadoAlCargar; // empty: mark whatever its state
};

// One row of a block written in one step.
struct FilaDeBloque {
    FilaAGrabar fila;
    std::optional<PrecioAMarcar> marca;
};

// Everything the loaders, the reload and the generation ask of the database.
// One SQL implementation lives in the generator_sql library; tests may give
// their own. Failures throw FalloKX (after the database layer's own
// reconnect-and-retry and error treatment).
class RepositorioLote : public ArticulosBalanza {
public:
    ~RepositorioLote() override = default;

    // --- lists
    // The name of the sales list with this code (as the batch stores it,
    // fitted to four characters); none when there is no such sales list.
    virtual std::optional<QString> ListaDeVenta(const QString& codigo) {
        (void)codigo;
        return std::nullopt;
    }
    // The lookup queries of the window: every sales list, and the sales
    // lists with changes pending on `hoy`.
    virtual QString ConsultaListasDeVenta() const { return {}; }
    // The families, for the tree lookup of a range of families.
    virtual QString ConsultaFamilias() const { return {}; }
    virtual QString ConsultaListasConNovedades(const QDate& hoy) const {
        (void)hoy;
        return {};
    }

    // --- loaders
    // Pending rows of a sales list: states '0-C'/'0-M', offers starting
    // tomorrow or ending today; not suspended; by article.
    virtual std::unique_ptr<CursorOrigen> Pendientes(const QString& lista, const QDate& hoy,
                                                     const QDate& manana) = 0;
    // The same with the offers of the days a load catches up on: pending
    // rows, and offers whose start or end falls within the window's days.
    virtual std::unique_ptr<CursorOrigen> PendientesRecuperando(const QString& lista,
                                                                const VentanaCarga& ventana) {
        return Pendientes(lista, ventana.hoy, ventana.hoy.addDays(1));
    }
    // The day of this list's latest pending load that became a batch; none
    // when none was recorded.
    virtual std::optional<QDate> UltimaCargaPendiente(const QString& lista) {
        (void)lista;
        return std::nullopt;
    }
    // Current prices of a sales list within a hand-picked range, by article.
    virtual std::unique_ptr<CursorOrigen> Manual(const QString& lista,
                                                 const RangoManual& rango) = 0;
    // After a failure: whether it lost the link to the database (a server
    // restarted, a session ended), so that nothing more can be read on it.
    virtual bool EnlacePerdido() const { return false; }
    // Opens the session's connection again; false when it could not.
    virtual bool Reconecta() { return false; }
    virtual std::optional<ArticuloLote> DatosArticulo(const QString& idArticulo) = 0;
    // The description of an article type; empty when there is none.
    virtual QString DescripcionTipo(const QString& tipo) = 0;
    // The price the latest batch of this list sent for this article (the
    // latest row of its latest date); none when it was never sent.
    virtual std::optional<QString> UltimoPrecioTransmitido(const QString& lista,
                                                           const QString& codInterno) = 0;
    // The same for many articles at once (CodInterno cells as the batch
    // stores them): the Precio cell last sent for each one that was ever sent,
    // by the code trimmed.
    virtual QHash<QString, QString> UltimosPreciosTransmitidos(const QString& lista,
                                                               const QStringList& codInternos) {
        QHash<QString, QString> r;
        for (const QString& c : codInternos) {
            if (const std::optional<QString> p = UltimoPrecioTransmitido(lista, c)) {
                r.insert(c.trimmed(), *p);
            }
        }
        return r;
    }

    // --- batches
    // The largest batch code the batch table stores.
    virtual qint64 MaximoCodigo() const = 0;
    // The highest batch code plus one (1 for an empty table).
    virtual qint64 ProximoCodigo() = 0;
    virtual bool ExisteLote(qint64 codigo) = 0;
    // The stored rows of a batch, in the order they were generated.
    virtual std::unique_ptr<CursorOrigen> Lote(qint64 codigo) = 0;

    // --- generation: one transaction for the batch, one savepoint per row.
    // It holds the engine's lock of batch codes until it ends: a code found
    // free inside it stays this generation's.
    virtual void IniciaGeneracion() = 0;
    // Marks the price row (when given) and inserts the batch row, both or
    // neither. False, with nothing written, when the price row is no longer
    // in the state it was loaded in (another generation sent it meanwhile).
    virtual bool GrabaFila(qint64 codigo, const FilaAGrabar& fila,
                           const std::optional<PrecioAMarcar>& marca) = 0;
    // Whether the open generation's rows can be written a block at a time.
    virtual bool GrabaEnBloques() const { return false; }
    // Writes the rows in one step, as GrabaFila would one after another in
    // their order, where a price row given twice is marked by the first:
    // true, with each row's answer in `grabadas`. False, with nothing
    // written, when they cannot go together (one of them fails, say): the
    // caller then writes them one by one. Throws FalloKX only when what it
    // wrote could not be undone.
    virtual bool GrabaBloque(qint64 codigo, const std::vector<FilaDeBloque>& filas,
                             std::vector<bool>& grabadas) {
        (void)codigo, (void)filas, (void)grabadas;
        return false;
    }
    // Stamps a regenerated batch row with the time of its retransmission.
    virtual void EstampaFila(qint64 id, const QString& marcaTiempo) = 0;
    virtual void ConfirmaGeneracion() = 0;
    // Undoes what the open generation wrote (nothing when none is open).
    virtual void DescartaGeneracion() = 0;

    // --- publication: a batch's files are renamed after its commit. The
    // batch notes them inside its transaction and clears the note once they
    // carry their final names, so a run killed in between is told apart
    // from one that never committed, and the next run publishes its files.
    virtual void AnotaPublicacion(const PublicacionPendiente& p) { (void)p; }
    virtual void PublicacionHecha(qint64 codigo) { (void)codigo; }
    virtual std::vector<PublicacionPendiente> PublicacionesPendientes() { return {}; }
    // Records, inside the open generation, what the batch's files hold.
    virtual void AnotaArchivos(qint64 codigo, const std::vector<ArchivoGrabado>& archivos) {
        (void)codigo, (void)archivos;
    }
    // Every record of the files of a batch, one per file and publication
    // (a regeneration records its files again), oldest publication first;
    // none when it was never recorded.
    virtual std::vector<ArchivoGrabado> ArchivosGrabados(qint64 codigo) {
        (void)codigo;
        return {};
    }
    // The records, of any batch, of a file named `archivo` with this length
    // and SHA-256 (lowercase hex), oldest first: which publications wrote
    // those very bytes.
    virtual std::vector<ArchivoGrabado> ArchivosConHuella(const QString& archivo, qint64 largo,
                                                          const QString& sha256) {
        (void)archivo, (void)largo, (void)sha256;
        return {};
    }
    // Records, inside the open generation, the pending load the batch's rows
    // came from: its day and the days it caught up on.
    virtual void AnotaCargaPendiente(qint64 codigo, const QString& lista,
                                     const VentanaCarga& ventana) {
        (void)codigo, (void)lista, (void)ventana;
    }
    // Records, inside the open generation, the alerts the operator accepted.
    virtual void AnotaAlertas(qint64 codigo, const std::vector<AlertaGrabada>& alertas) {
        (void)codigo, (void)alertas;
    }
};
