#pragma once

#include <QSqlQuery>

class QSqlDriver;
#include <QString>
#include <QStringList>
#include <QVariant>
#include <optional>

class DB_Dll;
class FalloKX;
class Conexion;
struct sqlite3_stmt;

// One statement of the suite's SQL Server text, rewritten for the engine,
// prepared once and run many times with bound values. Failures go through
// the database layer's treatment: a lost link is reconnected and the
// statement run again (twice at most, and never inside a transaction, whose
// work the lost link took with it); any other failure fills the connection's
// error list, is written to the error log and is thrown as FalloKX to the
// caller, whose own error dialog asks the operator once.
class SentenciaPreparada {
public:
    SentenciaPreparada(DB_Dll& db, const QString& sql, const QString& rutina);
    ~SentenciaPreparada();
    SentenciaPreparada(const SentenciaPreparada&) = delete;
    SentenciaPreparada& operator=(const SentenciaPreparada&) = delete;

    // Runs with `valores` bound in order; the result (if any) is then read
    // with siguiente()/valor().
    void ejecuta(const QVariantList& valores);
    bool siguiente();
    QVariant valor(int columna) const;
    int columna(const QString& nombre) const;
    // The result's column names, in order.
    QStringList nombres() const;
    // Rows changed by the last run.
    qint64 afectadas() const;
    // Releases the last result (the statement stays prepared).
    void termina();
    // The result is read while other statements run: see Conexion::abreLectura.
    void abreLectura();
    void cierraLectura();
    // Off (the default): a forward-only result, read before the next
    // statement runs. On: a scrollable result, for a source read while other
    // statements run, where the engine holds it whole in the client.
    void fijaDesplazable(bool desplazable) { desplazable_ = desplazable; }
    // For the statements an engine will not prepare (a server cursor's
    // DECLARE and FETCH on PostgreSQL): each run sends the text itself, with
    // every value written in by the driver's literal formatter, never pasted.
    void fijaSinPreparar(bool sinPreparar) { sinPreparar_ = sinPreparar; }

    // `texto` with each ? outside quotes replaced by its value as the driver
    // writes a literal. Throws FalloKX when the values do not match the marks.
    static QString ConValores(const QString& texto, const QVariantList& valores,
                              const QSqlDriver& driver, const QString& rutina);

private:
    void prepara();
    // Throws when the connection of the last result was replaced.
    void vigente() const;
    [[noreturn]] void falla(const QSqlQuery& q);
    [[noreturn]] void falla(int codigoSqlite);
    // A failure the connection already treated: this statement's routine
    // named, the layer's log line written, thrown to the caller.
    [[noreturn]] void anotaYLanza(const FalloKX& f);

    // SQLite: the statement prepared on the file's handle itself, its values
    // bound by type straight from the list and its columns read into
    // QVariants as the Qt driver reads them, without the driver's work per
    // run and per value. Null on other engines (and before the first run).
    void preparaNativa(Conexion* cn);
    void ejecutaNativa(const QVariantList& valores);
    void sueltaNativa();
    sqlite3_stmt* nativa_ = nullptr;
    Conexion* conexionNativa_ = nullptr;
    QVariantList ligados_;    // kept alive while bound (bound without a copy)
    bool filaPendiente_ = false; // the first row, stepped by the run, not yet read
    bool terminada_ = true;      // no more rows
    qint64 afectadasNativa_ = 0;
    bool nativaPreparada_ = false; // the last preparation was on the handle

    DB_Dll& db_;
    QString texto_;
    QString textoMotor_;
    QString rutina_;
    bool desplazable_ = false;
    bool sinPreparar_ = false;
    std::optional<QSqlQuery> q_;
    const void* conexionPreparada_ = nullptr;
    bool leyendo_ = false;
};
