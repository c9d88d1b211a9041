#include "db/CapacidadesMotor.h"
#include "db/Plataforma.h"
#include "db/motores/Motor.h"

#include <QSqlDatabase>
#include <gtest/gtest.h>

// Every platform has its engine, reached by its name in any case, and the
// engine behind a bare Qt connection is found by its driver.
TEST(Motores, CadaPlataformaTieneSuMotorYSuNombre) {
    const struct {
        Plataforma plataforma;
        const char* nombre;
    } casos[] = {{Plataforma::SqlServer, "SqlServer"},
                 {Plataforma::Oracle, "oracle"},
                 {Plataforma::PostgreSql, " POSTGRESQL "},
                 {Plataforma::Sqlite, "sqlite"}};
    for (const auto& c : casos) {
        EXPECT_EQ(MotorDe(c.plataforma).plataforma(), c.plataforma) << c.nombre;
        Plataforma leida = Plataforma::SqlServer;
        ASSERT_TRUE(LeePlataforma(QString::fromLatin1(c.nombre), leida)) << c.nombre;
        EXPECT_EQ(leida, c.plataforma) << c.nombre;
        EXPECT_EQ(NombrePlataforma(c.plataforma), QString::fromLatin1(c.nombre).trimmed().toUpper());
    }
    Plataforma p = Plataforma::Sqlite;
    EXPECT_FALSE(LeePlataforma(QStringLiteral("MYSQL"), p));
    EXPECT_EQ(p, Plataforma::Sqlite);
    EXPECT_EQ(Motores().size(), size_t(4));
}

TEST(Motores, LaConexionQtDiceSuMotor) {
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "motor-sqlite");
        const CapacidadesMotor c = CapacidadesMotor::de(db);
        EXPECT_EQ(c.plataforma, Plataforma::Sqlite);
        EXPECT_TRUE(c.leeMientrasEjecuta);
        EXPECT_EQ(c.diaDe("F"), "date(F)");
    }
    QSqlDatabase::removeDatabase("motor-sqlite");
    {
        // Any other driver is ODBC to SQL Server: no native cursor or chained
        // statements, its own savepoint words.
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), "motor-odbc");
        const CapacidadesMotor c = CapacidadesMotor::de(db);
        EXPECT_EQ(c.plataforma, Plataforma::SqlServer);
        EXPECT_FALSE(c.cursorDeclarado);
        EXPECT_EQ(c.puntoGuardado("p"), "SAVE TRANSACTION p");
        EXPECT_TRUE(c.liberaPunto("p").isEmpty());
    }
    QSqlDatabase::removeDatabase("motor-odbc");
    const CapacidadesMotor pg = CapacidadesMotor::de(Plataforma::PostgreSql, false);
    EXPECT_TRUE(pg.cursorDeclarado && pg.sentenciasEncadenadas && pg.insercionCondicionada);
    EXPECT_FALSE(CapacidadesMotor::de(Plataforma::PostgreSql, true).cursorDeclarado);
    EXPECT_FALSE(CapacidadesMotor::de(Plataforma::Oracle, false).puntosDeGuardado);
}
