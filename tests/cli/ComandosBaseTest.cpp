// crear-base and resumen of the unattended program.
#include "cli/ComandosBase.h"
#include "BaseDePrueba.h"
#include "EsquemaPrueba.h"
#include "db/SqliteKX.h"
#include "utility_library/Programa.h"
#include "utility_library/Reloj.h"

#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct Salida {
    int codigo = -1;
    QString out;
    QString err;
};

Salida crearBase(const QStringList& args) {
    Salida s;
    QTextStream out(&s.out);
    QTextStream err(&s.err);
    s.codigo = ComandoCrearBase(args, out, err);
    return s;
}

Salida resumen(const QStringList& args) {
    Salida s;
    QTextStream out(&s.out);
    QTextStream err(&s.err);
    s.codigo = ComandoResumen(args, out, err);
    return s;
}

class ComandosDemoTest : public ::testing::Test {
protected:
    void SetUp() override {
        anterior_ = Programa::carpeta();
        Programa::fijaCarpeta(dir_.path());
        Reloj::fijaHoy(QDate(2026, 12, 10));
    }
    void TearDown() override {
        Reloj::fijaHoy(QDate());
        Programa::fijaCarpeta(anterior_);
    }
    QString ruta(const QString& nombre) const { return dir_.filePath(nombre); }

    QTemporaryDir dir_;
    QString anterior_;
};

TEST_F(ComandosDemoTest, CrearBaseArgumentsAndExitCodes) {
    QFile lleno(ruta("llena.db"));
    ASSERT_TRUE(lleno.open(QIODevice::WriteOnly));
    lleno.write("no soy una base");
    lleno.close();
    QFile vacio(ruta("vacia.db"));
    ASSERT_TRUE(vacio.open(QIODevice::WriteOnly));
    vacio.close();

    struct Caso {
        QStringList args;
        int codigo;
        const char* mensaje; // part of stderr
    };
    const Caso casos[] = {
        {{}, 2, "falta el archivo"},
        {{"crear-base"}, 2, "falta el archivo"},
        {{ruta("a.db"), "--hoy"}, 2, "Falta el valor de --hoy"},
        {{ruta("a.db"), "--hoy", "2026-02-30"}, 2, "AAAA-MM-DD"},
        {{ruta("a.db"), "--hoy", "10/12/2026"}, 2, "AAAA-MM-DD"},
        {{ruta("a.db"), "--borrar"}, 2, "Opcion desconocida: --borrar"},
        {{ruta("a.db"), "-demo"}, 2, "Opcion desconocida: -demo"},
        {{ruta("a.db"), "--demo=si"}, 2, "La opcion --demo no lleva valor"},
        {{ruta("a.db"), "--hoy", "2026-12-10", "--hoy", "2026-12-11"}, 2, "dos veces"},
        {{ruta("a.db"), ruta("b.db")}, 2, "Argumento inesperado"},
        {{ruta("llena.db")}, 2, "no se sobrescribe"},
        {{dir_.path()}, 2, "no es un archivo"},
        {{ruta("no/existe/c.db")}, 3, "no existe la carpeta"},
        {{ruta("vacia.db")}, 0, ""},
        {{"crear-base", ruta("d.db"), "--demo", "--hoy=2026-12-10"}, 0, ""},
    };
    for (const Caso& c : casos) {
        const Salida s = crearBase(c.args);
        EXPECT_EQ(s.codigo, c.codigo) << c.args.join(' ').toStdString();
        EXPECT_TRUE(s.err.contains(QString::fromUtf8(c.mensaje))) << s.err.toStdString();
    }
    // The refused file is left as it was.
    ASSERT_TRUE(lleno.open(QIODevice::ReadOnly));
    EXPECT_EQ(lleno.readAll(), QByteArray("no soy una base"));
    EXPECT_FALSE(QFile::exists(ruta("a.db")));
}

TEST_F(ComandosDemoTest, CrearBaseWithDemoThenSummary) {
    const Salida c = crearBase({ruta("demo.db"), "--demo", "--hoy", "2026-12-10"});
    ASSERT_EQ(c.codigo, 0) << c.err.toStdString();
    EXPECT_TRUE(c.out.contains("10/12/2026")) << c.out.toStdString();
    EXPECT_TRUE(c.out.contains("3 listas de precios")) << c.out.toStdString();

    // A second run on the same file refuses and keeps the data.
    EXPECT_EQ(crearBase({ruta("demo.db"), "--demo"}).codigo, 2);

    const Salida r =
        resumen({"@Plataforma=SQLITE; @server=local; @dbname=demo.db; @usuario=DEMO; @Password=; "
                 "@UsuarioLogeado = DEMO; @Caja=1"});
    ASSERT_EQ(r.codigo, 0) << r.err.toStdString();
    for (const char* texto :
         {"LISTA GENERAL SUCURSALES", "LISTA MAYORISTA", "COMPRAS A PROVEEDORES", "Artículos: 303",
          "10/12/2026", "Novedades a cargar en las listas de venta: 42"}) {
        EXPECT_TRUE(r.out.contains(QString::fromUtf8(texto))) << texto << "\n"
                                                              << r.out.toStdString();
    }
    // List 1: 6 new, 22 changed, 4 offers from tomorrow, 3 ending today, 35 to load.
    const QStringList lineas = r.out.split('\n');
    const QStringList lista1 = lineas.filter("LISTA GENERAL SUCURSALES");
    ASSERT_EQ(lista1.size(), 1);
    EXPECT_EQ(lista1[0].simplified(), "1 LISTA GENERAL SUCURSALES venta 6 22 4 3 35");
    const QStringList compra = lineas.filter("COMPRAS A PROVEEDORES");
    ASSERT_EQ(compra.size(), 1);
    EXPECT_TRUE(compra[0].simplified().endsWith("compra 0 3 0 0 -")) << compra[0].toStdString();
}

TEST_F(ComandosDemoTest, ResumenErrors) {
    struct Caso {
        QStringList args;
        int codigo;
        const char* mensaje;
    };
    const Caso casos[] = {
        {{}, 2, "falta la línea de comando"},
        {{"@Plataforma=DB2; @dbname=x"}, 2, "plataforma desconocida"},
        {{"@Plataforma=SQLITE; @server=local"}, 2, "@dbname"},
        {{"@Plataforma=SQLITE; @dbname=PostgreSQL; @Puerto=abc"}, 2, "puerto"},
        {{"@Plataforma=SQLITE; @dbname=noexiste.db"}, 3, "no existe la base de datos"},
        {{"@Plataforma=ORACLE; @server=#ORA; @dbname=X"}, 3, "ORACLE"},
    };
    for (const Caso& c : casos) {
        const Salida s = resumen(c.args);
        EXPECT_EQ(s.codigo, c.codigo) << c.args.join(' ').toStdString();
        EXPECT_TRUE(s.err.contains(QString::fromUtf8(c.mensaje))) << s.err.toStdString();
    }
    // Summarising never creates the file it was pointed at.
    EXPECT_FALSE(QFile::exists(ruta("noexiste.db")));
}

TEST(ComandosDemoPostgreSql, SummaryOfAServerDatabase) {
    if (!hayPostgreSql()) {
        GTEST_SKIP() << "no PostgreSQL server configured (TARVELO_PG_HOST unset)";
    }
    BaseDePrueba base(Plataforma::PostgreSql);
    ASSERT_TRUE(base.creada());
    ASSERT_TRUE(base.abre(DB_Dll::instancia()));
    {
        EsquemaPrueba e;
        e.creaConDemo(QDate(2026, 12, 10));
    }
    Reloj::fijaHoy(QDate(2026, 12, 10));
    const Salida r = resumen({QStringLiteral("@Plataforma=POSTGRESQL; @server=%1; @Puerto=%2; "
                                             "@dbname=%3; @usuario=%4; @Password=")
                                  .arg(base.servidor())
                                  .arg(base.puerto())
                                  .arg(base.nombre(), base.usuario())});
    Reloj::fijaHoy(QDate());
    BaseDePrueba::cierra(DB_Dll::instancia());
    ASSERT_EQ(r.codigo, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("Artículos: 303")) << r.out.toStdString();
    const QStringList lista1 = r.out.split('\n').filter("LISTA GENERAL SUCURSALES");
    ASSERT_EQ(lista1.size(), 1);
    EXPECT_EQ(lista1[0].simplified(), "1 LISTA GENERAL SUCURSALES venta 6 22 4 3 35");
}

} // namespace
