#pragma once

#include "generator/LoteNovedades.h"
#include "generator/ParametrosLote.h"
#include "generator/RepositorioLote.h"

#include <QDate>
#include <QSet>
#include <QString>
#include <vector>

class CursorOrigen;
class FilaOrigen;
struct ValoresFila;

// The pending-change loader ("&Cargar") and its twin, the manual range loader
// ("Aceptar" of the range frame): one source row read by LeeFila, shaped by
// FormateaFila, written by AgregaFila.
class CargadorNovedades {
public:
    explicit CargadorNovedades(LoteNovedades& lote);

    ResultadoCarga CargaNovedades();
    ResultadoCarga CargaManual();

    // The warning at the end of a load that passed over source rows (an
    // amount that is no number, a price row the source gave twice), followed
    // by one line per row.
    static const QString kFilasNoCargadas;
    // A pending load whose candidates were all not due; "%1" the list,
    // followed by one line per reason.
    static const QString kNadaPendiente;
    // A list without a batch for longer than the days the load catches up
    // on: "%1" the list, "%2" its last recorded day, "%3" the bound, "%4" the
    // days left out.
    static const QString kFueraDeLimite;

private:
    enum class Modo { Pendientes, Manual };
    // The shared run: opens the source, shows the banner, loops over the rows;
    // again from the start when the link was lost and came back.
    ResultadoCarga Corre(Modo modo);
    // One pass; sets `recarga` when it must run again after a reconnection.
    ResultadoCarga Carga(Modo modo, bool& recarga);
    // Empty when every amount of the row reads as one number; otherwise the
    // text that does not (the row is then left pending, never sent).
    QString LeeFila(const FilaOrigen& rs, ValoresFila& v, bool manual);
    // The warning's line for a row passed over.
    static QString FilaNoCargada(const ValoresFila& v, const QString& motivo);
    // False when the row is dropped; otherwise sets the no-mark flag.
    bool DecisionOferta(const FilaOrigen& rs, ValoresFila& v);
    // True when the latest batch of this list and article already sent this price.
    bool YaTransmitido(const QString& codInterno, const QString& precioVenta);
    // Pending loader: fills the next row (the first goes into the blank row 1).
    void AgregaFila(ValoresFila& v);
    // Manual loader: fills the blank last row or a new row at the bottom.
    int AgregaFilaManual(ValoresFila& v);
    RangoManual Rango() const;
    // Reads the article's VAT rate, bar code, weighable value and descriptions.
    void LeeArticulo(const QString& idArticulo, ValoresFila& v, bool manual);
    // Remembers the state the row's price had, for the mark at generation.
    void RecuerdaEstado(const FilaOrigen& rs, const ValoresFila& v);

    LoteNovedades& lote_;
    const ParametrosLote& parametros_;
    QString lista_;
    QDate hoy_, manana_;
    // The days the pending load takes offers for.
    VentanaCarga ventanaCarga_;
    int filas_ = 0; // grid rows filled by this run
    // Price rows this run read, by ID: the source may give one twice.
    // Canonical whole numbers (nearly every ID) by value: small ones as bits
    // of a table indexed by the number, larger ones in a set; any other text
    // as text.
    std::vector<quint64> leidasBits_;
    QSet<qint64> leidasNumero_;
    QSet<QString> leidas_;
    // True when `id` was read before by this run; notes it otherwise.
    bool YaLeida(const QString& id);
    // Rows passed over by this run, one line each, for the final warning.
    QStringList noCargadas_;
    // Candidates of the pending load that were not due: offers whose price
    // was already sent, offers that have not started.
    int yaEnviadas_ = 0;
    int noEmpiezan_ = 0;
};
