// SQLite while another connection writes: connecting must wait for a lock
// (busy timeout) instead of failing at once, leave the journal mode alone when
// it is already WAL, and a lock that outlasts the wait must read as what it
// is ("database is locked"), not as a login problem.
#include "db/Conexion.h"
#include "db/DB_Dll.h"
#include "db/Recordset.h"
#include "OperadorGuion.h"

#include <QElapsedTimer>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

enum class Diario { Rollback, Wal };

// A plain SQLite file (no KX collation: the writer is not one of ours).
void creaBase(const QString& ruta, Diario diario) {
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "prepara-bloqueo");
        db.setDatabaseName(ruta);
        ASSERT_TRUE(db.open());
        QSqlQuery q(db);
        ASSERT_TRUE(q.exec(QStringLiteral("CREATE TABLE T (A INTEGER)")));
        ASSERT_TRUE(q.exec(QStringLiteral("INSERT INTO T VALUES (1)")));
        if (diario == Diario::Wal) {
            ASSERT_TRUE(q.exec(QStringLiteral("PRAGMA journal_mode=WAL")));
        }
    }
    QSqlDatabase::removeDatabase("prepara-bloqueo");
}

// Another writer on the same file: holds its transaction until destroyed.
class Escritor {
public:
    Escritor(const QString& ruta, const QString& inicio) {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "escritor");
        db.setDatabaseName(ruta);
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=0"));
        abierto_ = db.open();
        QSqlQuery q(db);
        enTransaccion_ =
            abierto_ && q.exec(inicio) && q.exec(QStringLiteral("INSERT INTO T VALUES (2)"));
    }
    ~Escritor() {
        {
            QSqlDatabase db = QSqlDatabase::database("escritor", false);
            QSqlQuery(db).exec(QStringLiteral("COMMIT"));
            db.close();
        }
        QSqlDatabase::removeDatabase("escritor");
    }
    bool escribiendo() const { return enTransaccion_; }

private:
    bool abierto_ = false;
    bool enTransaccion_ = false;
};

int cuenta(Conexion& c) {
    Recordset rs;
    c.Abre(QStringLiteral("SELECT COUNT(*) AS N FROM T"), rs);
    return rs.Campo(QStringLiteral("N")).toInt();
}

QString modoDiario(Conexion& c) {
    Recordset rs;
    c.Abre(QStringLiteral("PRAGMA journal_mode"), rs);
    return rs.Campo(0).toString().toLower();
}

DatosConexion datosSqlite(const QString& ruta) {
    DatosConexion d;
    d.plataforma = Plataforma::Sqlite;
    d.baseDatos = ruta;
    return d;
}

struct CasoEscritor {
    const char* nombre;
    Diario diario;
    const char* inicio; // how the other connection starts writing
};

void PrintTo(const CasoEscritor& c, std::ostream* os) {
    *os << c.nombre;
}

class ConectaMientrasOtroEscribe : public ::testing::TestWithParam<CasoEscritor> {};

// The reader connects at once and sees the committed rows; the writer's row
// is not visible until it commits.
TEST_P(ConectaMientrasOtroEscribe, ConectaYLeeSinEsperar) {
    const CasoEscritor caso = GetParam();
    QTemporaryDir dir;
    const QString ruta = dir.filePath(QStringLiteral("bloqueo.db"));
    creaBase(ruta, caso.diario);
    {
        Escritor otro(ruta, QString::fromLatin1(caso.inicio));
        ASSERT_TRUE(otro.escribiendo());
        Conexion c;
        QElapsedTimer reloj;
        reloj.start();
        try {
            c.Open(datosSqlite(ruta));
        } catch (const FalloKX& f) {
            FAIL() << "connecting while another writes: " << f.error().descripcion.toStdString();
        }
        EXPECT_EQ(cuenta(c), 1);
        EXPECT_LT(reloj.elapsed(), 2000) << "the reader waited for the writer";
    }
    // Once nobody writes, the next connection leaves the file in WAL.
    Conexion c;
    c.Open(datosSqlite(ruta));
    EXPECT_EQ(modoDiario(c), QStringLiteral("wal"));
    EXPECT_EQ(cuenta(c), 2);
}

INSTANTIATE_TEST_SUITE_P(
    Sqlite, ConectaMientrasOtroEscribe,
    ::testing::Values(CasoEscritor{"DiarioClasico", Diario::Rollback, "BEGIN IMMEDIATE"},
                      CasoEscritor{"Wal", Diario::Wal, "BEGIN IMMEDIATE"},
                      CasoEscritor{"WalExclusivo", Diario::Wal, "BEGIN EXCLUSIVE"}),
    [](const auto& i) { return std::string(i.param.nombre); });

// A rollback-journal writer holding its exclusive lock past the busy timeout:
// the operator reads "database is locked" (no advice on user, password or
// server), "Si" tries the same connection again without the connection
// dialog, "No" gives up.
TEST(BloqueoSqlite, BloqueoMasLargoQueLaEsperaSeDiceEnPalabras) {
    QTemporaryDir dir;
    const QString ruta = dir.filePath(QStringLiteral("bloqueo.db"));
    creaBase(ruta, Diario::Rollback);
    Escritor otro(ruta, QStringLiteral("BEGIN EXCLUSIVE"));
    ASSERT_TRUE(otro.escribiendo());

    OperadorGuion op;
    fijaOperador(&op);
    int dialogos = 0;
    DB_Dll::fijaDialogoConexion([&](DialogoConexion& d) {
        ++dialogos;
        d.aceptar = false;
    });
    DB_Dll& db = DB_Dll::instancia();
    db.reinicia();
    db.gPlataforma = Plataforma::Sqlite;
    db.gServidor = QStringLiteral("local");
    db.gDBName = ruta;
    db.gUsuario = QStringLiteral("OPERADOR");
    db.gCnn = std::make_shared<Conexion>();
    db.gCnn->CommandTimeout = 1; // the shortest wait the connection allows
    op.responde(Operador::Si).responde(Operador::No);
    db.OpenServerADODB(false, 3, QString(), false, true);

    EXPECT_FALSE(db.gOpenFlag);
    EXPECT_EQ(dialogos, 0);
    ASSERT_EQ(op.preguntas().size(), 2);
    for (const auto& p : op.preguntas()) {
        EXPECT_EQ(p.titulo, QStringLiteral(" Error de Conexion a Base de Datos"));
        EXPECT_TRUE(p.texto.contains(QStringLiteral("database is locked")))
            << p.texto.toStdString();
        EXPECT_FALSE(p.texto.contains(QStringLiteral("contraseña"))) << p.texto.toStdString();
        EXPECT_FALSE(p.texto.contains(QStringLiteral("servidor"))) << p.texto.toStdString();
    }
    ASSERT_TRUE(db.gCnn);
    EXPECT_TRUE(db.gCnn->bloqueada());
    DB_Dll::fijaDialogoConexion(nullptr);
    fijaOperador(nullptr);
    db.reinicia();
}

} // namespace
