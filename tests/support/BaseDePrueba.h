#pragma once

// Fresh, empty test databases on every engine this run has, and a way to
// point the program-wide DB_Dll at one.
//
//   SQLite:      always; a new temporary file per database.
//   PostgreSQL:  when TARVELO_PG_HOST is set (TARVELO_PG_PORT, TARVELO_PG_USER
//                optional; trust authentication); a new database with a unique
//                name per test (collation "kx" already created), dropped afterwards.
//                With TARVELO_PG_HOST set these tests must run, never skip.
//
// Typical use, a test run on every engine:
//
//   class MiPrueba : public PruebaPorMotor {};
//   TEST_P(MiPrueba, Algo) {
//       DB_Dll& db = DB_Dll::instancia();      // already open on base()
//       db.EjecutaConsultaSQL(QStringLiteral("CREATE TABLE ..."));
//   }
//   INSTANTIATE_TEST_SUITE_P(Motores, MiPrueba, valoresMotores(), nombreMotor);
//
// or by hand: BaseDePrueba base(Plataforma::Sqlite); base.abre(DB_Dll::instancia());
// ... base.cierra(DB_Dll::instancia()) (also done by the destructor for instancia()).

#include "db/DB_Dll.h"
#include "db/Plataforma.h"

#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

// Readable QString values in test failures.
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

// True when a PostgreSQL server is configured for this run.
bool hayPostgreSql();
// SQLite and, when configured, PostgreSQL.
std::vector<Plataforma> motoresDePrueba();
// For INSTANTIATE_TEST_SUITE_P: both engines always (PostgreSQL cases skip
// themselves only when no server is configured).
inline auto valoresMotores() {
    return ::testing::Values(Plataforma::Sqlite, Plataforma::PostgreSql);
}
std::string nombreMotor(const ::testing::TestParamInfo<Plataforma>& info);

class BaseDePrueba {
public:
    // Creates the empty database. Fails the test (ADD_FAILURE) when it cannot.
    explicit BaseDePrueba(Plataforma p);
    ~BaseDePrueba();
    BaseDePrueba(const BaseDePrueba&) = delete;
    BaseDePrueba& operator=(const BaseDePrueba&) = delete;

    Plataforma plataforma() const { return plataforma_; }
    bool creada() const { return creada_; }
    // SQLite: the file's full path; PostgreSQL: the database name.
    QString nombre() const { return nombre_; }
    // Server, port, user of the run (empty for SQLite).
    QString servidor() const;
    int puerto() const;
    QString usuario() const;
    // The suite's command line that opens this database, logged in as DEMO.
    QString lineaSuite() const;
    // A temporary folder that lives as long as this database (program folder of tests).
    QString carpeta() const { return carpeta_.path(); }

    // Sets the connection values of `db` for this database (no open).
    void configura(DB_Dll& db) const;
    // configura() + OpenServerADODB(false, 3, "", true, false); true when open.
    bool abre(DB_Dll& db);
    // Closes `db` and puts it back to its initial state.
    static void cierra(DB_Dll& db);
    // Runs statements on a separate connection of its own (engine's own SQL,
    // no rewriting); fails the test on an error.
    void ejecutaDirecto(const QString& sql) const;
    // Makes every insert into `tabla` of a row that meets `condicion` (SQL on
    // NEW) fail with "falla inyectada" while the switch table `nombre`_activa
    // holds a row; trigger (and on PostgreSQL function) named `nombre`.
    void fallaAlInsertar(const QString& nombre, const QString& tabla,
                         const QString& condicion) const;
    // Mends that fault from another connection, leaving the trigger in place.
    void reparaFalla(const QString& nombre) const;
    // Removes the trigger, its function and its switch table.
    void quitaFalla(const QString& nombre, const QString& tabla) const;
    // PostgreSQL: runs a statement on the server's "postgres" database (for
    // statements about this database itself, like ALTER DATABASE).
    void ejecutaEnServidor(const QString& sql) const;
    // Column type for text in this engine's test tables, compared the way the
    // program expects (case-insensitive, trailing blanks ignored in "=").
    QString tipoTexto(int largo) const;

private:
    Plataforma plataforma_;
    QTemporaryDir carpeta_;
    QString nombre_;
    bool creada_ = false;
    bool usoInstancia_ = false;
};

// Parameterised fixture: a fresh database per test, DB_Dll::instancia() open on
// it, the program folder pointed at a temporary folder, the operator left as
// it was. PostgreSQL cases skip only when no server is configured.
class PruebaPorMotor : public ::testing::TestWithParam<Plataforma> {
protected:
    void SetUp() override;
    void TearDown() override;
    BaseDePrueba& base() { return *base_; }
    DB_Dll& db() { return DB_Dll::instancia(); }

private:
    std::unique_ptr<BaseDePrueba> base_;
    QString carpetaAnterior_;
};
