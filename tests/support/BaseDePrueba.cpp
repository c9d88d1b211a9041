#include "BaseDePrueba.h"

#include "db/SqliteKX.h"
#include "utility_library/Programa.h"

#include <QAtomicInt>
#include <QCoreApplication>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

namespace {
QAtomicInt gNumero;

QString variable(const char* nombre) {
    return qEnvironmentVariable(nombre).trimmed();
}

// Runs `sql` on a short-lived connection to `base` of the configured server.
bool ejecutaEnBase(const QString& base, const QStringList& sentencias, QString* error) {
    const QString nombre = QStringLiteral("prueba-admin-%1").arg(gNumero.fetchAndAddOrdered(1));
    bool ok = true;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), nombre);
        db.setHostName(variable("TARVELO_PG_HOST"));
        const int puerto = variable("TARVELO_PG_PORT").toInt();
        if (puerto > 0) {
            db.setPort(puerto);
        }
        db.setUserName(variable("TARVELO_PG_USER").isEmpty() ? QStringLiteral("postgres")
                                                             : variable("TARVELO_PG_USER"));
        db.setDatabaseName(base);
        if (!db.open()) {
            ok = false;
            *error = db.lastError().text();
        }
        for (const QString& s : sentencias) {
            if (!ok) {
                break;
            }
            QSqlQuery q(db);
            if (!q.exec(s)) {
                ok = false;
                *error = s + QStringLiteral(": ") + q.lastError().text();
            }
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(nombre);
    return ok;
}
} // namespace

bool hayPostgreSql() {
    return !variable("TARVELO_PG_HOST").isEmpty();
}

std::vector<Plataforma> motoresDePrueba() {
    std::vector<Plataforma> r{Plataforma::Sqlite};
    if (hayPostgreSql()) {
        r.push_back(Plataforma::PostgreSql);
    }
    return r;
}

std::string nombreMotor(const ::testing::TestParamInfo<Plataforma>& info) {
    return info.param == Plataforma::Sqlite ? "SQLite" : "PostgreSQL";
}

BaseDePrueba::BaseDePrueba(Plataforma p) : plataforma_(p) {
    if (p == Plataforma::Sqlite) {
        nombre_ = carpeta_.filePath(QStringLiteral("prueba.db"));
        QFile f(nombre_);
        creada_ = f.open(QIODevice::WriteOnly);
        if (!creada_) {
            ADD_FAILURE() << "cannot create " << nombre_.toStdString();
        }
        return;
    }
    if (!hayPostgreSql()) {
        ADD_FAILURE() << "no PostgreSQL server configured (TARVELO_PG_HOST)";
        return;
    }
    nombre_ = QStringLiteral("tarvelo_prueba_%1_%2")
                  .arg(QCoreApplication::applicationPid())
                  .arg(gNumero.fetchAndAddOrdered(1));
    QString error;
    creada_ = ejecutaEnBase(QStringLiteral("postgres"),
                            {QStringLiteral("CREATE DATABASE ") + nombre_ +
                             QStringLiteral(" ENCODING 'UTF8' TEMPLATE template0")},
                            &error) &&
              ejecutaEnBase(nombre_,
                            {QStringLiteral("CREATE COLLATION IF NOT EXISTS kx (provider = "
                                            "icu, locale = 'und-u-ks-level2', "
                                            "deterministic = false)")},
                            &error);
    if (!creada_) {
        ADD_FAILURE() << error.toStdString();
    }
}

BaseDePrueba::~BaseDePrueba() {
    if (usoInstancia_) {
        cierra(DB_Dll::instancia());
    }
    if (plataforma_ == Plataforma::PostgreSql && !nombre_.isEmpty()) {
        QString error;
        ejecutaEnBase(QStringLiteral("postgres"),
                      {QStringLiteral("DROP DATABASE IF EXISTS ") + nombre_ +
                       QStringLiteral(" WITH (FORCE)")},
                      &error);
    }
}

QString BaseDePrueba::lineaSuite() const {
    if (plataforma_ == Plataforma::Sqlite) {
        return "@Plataforma=SQLITE; @server=.; @dbname=" + nombre_ +
               "; @usuario=DEMO; @Password=; @UsuarioLogeado=DEMO";
    }
    return "@Plataforma=POSTGRESQL; @server=" + servidor() +
           "; @Puerto=" + QString::number(puerto()) + "; @dbname=" + nombre_ +
           "; @usuario=" + usuario() + "; @Password=; @UsuarioLogeado=DEMO";
}

QString BaseDePrueba::servidor() const {
    return plataforma_ == Plataforma::PostgreSql ? variable("TARVELO_PG_HOST") : QString();
}

int BaseDePrueba::puerto() const {
    return plataforma_ == Plataforma::PostgreSql ? variable("TARVELO_PG_PORT").toInt() : 0;
}

QString BaseDePrueba::usuario() const {
    if (plataforma_ != Plataforma::PostgreSql) {
        return QString();
    }
    return variable("TARVELO_PG_USER").isEmpty() ? QStringLiteral("postgres")
                                                 : variable("TARVELO_PG_USER");
}

void BaseDePrueba::configura(DB_Dll& db) const {
    db.gPlataforma = plataforma_;
    db.gServidor = plataforma_ == Plataforma::Sqlite ? QStringLiteral("local") : servidor();
    db.gPuerto = puerto();
    db.gDBName = nombre_;
    db.gUsuario = plataforma_ == Plataforma::Sqlite ? QStringLiteral("OPERADOR") : usuario();
    db.gUserPassWord.clear();
}

bool BaseDePrueba::abre(DB_Dll& db) {
    configura(db);
    if (&db == &DB_Dll::instancia()) {
        usoInstancia_ = true;
    }
    db.OpenServerADODB(false, 3, QString(), true, false);
    return db.gOpenFlag && db.gCnn && db.gCnn->abierta();
}

void BaseDePrueba::cierra(DB_Dll& db) {
    db.reinicia();
}

void BaseDePrueba::fallaAlInsertar(const QString& nombre, const QString& tabla,
                                   const QString& condicion) const {
    const QString activa = nombre + QStringLiteral("_activa");
    ejecutaDirecto(QStringLiteral("CREATE TABLE %1 (x int)").arg(activa));
    ejecutaDirecto(QStringLiteral("INSERT INTO %1 VALUES (1)").arg(activa));
    if (plataforma_ == Plataforma::PostgreSql) {
        ejecutaDirecto(QStringLiteral("CREATE OR REPLACE FUNCTION %1() RETURNS trigger AS $$ BEGIN "
                                      "IF (%2) AND EXISTS (SELECT 1 FROM %3) THEN RAISE EXCEPTION "
                                      "'falla inyectada'; END IF; RETURN NEW; END $$ LANGUAGE "
                                      "plpgsql")
                           .arg(nombre, condicion, activa));
        ejecutaDirecto(QStringLiteral("CREATE TRIGGER %1 BEFORE INSERT ON %2 FOR EACH ROW EXECUTE "
                                      "FUNCTION %1()")
                           .arg(nombre, tabla));
        return;
    }
    ejecutaDirecto(QStringLiteral("CREATE TRIGGER %1 BEFORE INSERT ON %2 WHEN (%3) AND EXISTS "
                                  "(SELECT 1 FROM %4) BEGIN SELECT RAISE(ABORT, 'falla "
                                  "inyectada'); END")
                       .arg(nombre, tabla, condicion, activa));
}

void BaseDePrueba::reparaFalla(const QString& nombre) const {
    ejecutaDirecto(QStringLiteral("DELETE FROM %1_activa").arg(nombre));
}

void BaseDePrueba::quitaFalla(const QString& nombre, const QString& tabla) const {
    if (plataforma_ == Plataforma::PostgreSql) {
        ejecutaDirecto(QStringLiteral("DROP TRIGGER IF EXISTS %1 ON %2").arg(nombre, tabla));
        ejecutaDirecto(QStringLiteral("DROP FUNCTION IF EXISTS %1()").arg(nombre));
    } else {
        ejecutaDirecto(QStringLiteral("DROP TRIGGER IF EXISTS %1").arg(nombre));
    }
    ejecutaDirecto(QStringLiteral("DROP TABLE IF EXISTS %1_activa").arg(nombre));
}

void BaseDePrueba::ejecutaDirecto(const QString& sql) const {
    if (plataforma_ == Plataforma::PostgreSql) {
        QString error;
        if (!ejecutaEnBase(nombre_, {sql}, &error)) {
            ADD_FAILURE() << error.toStdString();
        }
        return;
    }
    const QString nombre = QStringLiteral("prueba-directa-%1").arg(gNumero.fetchAndAddOrdered(1));
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), nombre);
        db.setDatabaseName(nombre_);
        if (!db.open()) {
            ADD_FAILURE() << db.lastError().text().toStdString();
        } else {
            RegistraKXSqlite(db);
            QSqlQuery q(db);
            if (!q.exec(sql)) {
                ADD_FAILURE() << q.lastError().text().toStdString();
            }
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(nombre);
}

void PruebaPorMotor::SetUp() {
    if (GetParam() == Plataforma::PostgreSql && !hayPostgreSql()) {
        GTEST_SKIP() << "no PostgreSQL server configured (TARVELO_PG_HOST unset)";
    }
    base_ = std::make_unique<BaseDePrueba>(GetParam());
    ASSERT_TRUE(base_->creada());
    carpetaAnterior_ = Programa::carpeta();
    Programa::fijaCarpeta(base_->carpeta());
    ASSERT_TRUE(base_->abre(DB_Dll::instancia())) << "cannot open the test database";
}

void PruebaPorMotor::TearDown() {
    BaseDePrueba::cierra(DB_Dll::instancia());
    base_.reset();
    if (!carpetaAnterior_.isEmpty()) {
        Programa::fijaCarpeta(carpetaAnterior_);
    }
}

QString BaseDePrueba::tipoTexto(int largo) const {
    if (plataforma_ == Plataforma::PostgreSql) {
        return QStringLiteral("bpchar COLLATE kx");
    }
    return QStringLiteral("varchar(%1) COLLATE KX").arg(largo);
}

void BaseDePrueba::ejecutaEnServidor(const QString& sql) const {
    QString error;
    if (!::ejecutaEnBase(QStringLiteral("postgres"), {sql}, &error)) {
        ADD_FAILURE() << error.toStdString();
    }
}
