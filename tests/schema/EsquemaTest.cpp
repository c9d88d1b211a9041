// The suite's schema on each engine: every object takes rows by the names the
// program uses, text compares as SQL Server compares it, the batch table gives
// its texts back exactly, and the program's own statements run on it.
#include "BaseDePrueba.h"
#include "EsquemaPrueba.h"
#include "db/Conexion.h"
#include "db/Recordset.h"
#include "schema/EsquemaSql.h"
#include "utility_library/Regional.h"

#include <QRegularExpression>
#include <QSqlQuery>
#include <QSqlRecord>
#include <gtest/gtest.h>

namespace {

class EsquemaTest : public PruebaPorMotor {
protected:
    void SetUp() override {
        PruebaPorMotor::SetUp();
        if (IsSkipped() || HasFatalFailure()) {
            return;
        }
        e_ = std::make_unique<EsquemaPrueba>();
        ASSERT_TRUE(e_->creaEsquema());
    }
    void TearDown() override {
        e_.reset();
        PruebaPorMotor::TearDown();
    }
    EsquemaPrueba& e() { return *e_; }

    // A SQL Server text of the program, through the connection's dialect layer.
    int filasPrograma(const QString& sql) {
        Recordset rs;
        try {
            db().gCnn->Abre(sql, rs);
        } catch (const FalloKX& f) {
            ADD_FAILURE() << sql.toStdString() << "\n" << f.error().descripcion.toStdString();
            return -1;
        }
        return rs.RecordCount();
    }

    std::unique_ptr<EsquemaPrueba> e_;
};

TEST(EsquemaSqlTest, CutsStatementsWithBlocksAndDollarQuotes) {
    const QString texto = QStringLiteral(
        "-- comment\n"
        "CREATE TABLE A (X INTEGER);\n"
        "\n"
        "CREATE TRIGGER T AFTER INSERT ON A\n"
        "    BEGIN\n"
        "        UPDATE A SET X = 1;\n"
        "        UPDATE A SET X = 2;\n"
        "    END;\n"
        "CREATE FUNCTION f() RETURNS trigger LANGUAGE plpgsql AS $$\n"
        "BEGIN\n"
        "    RETURN NEW;\n"
        "END\n"
        "$$;\n"
        "CREATE FUNCTION g(bigint) RETURNS text LANGUAGE sql AS $$ SELECT $1::text $$;\n"
        "-- trailing comment\n");
    const QStringList s = EsquemaSql::sentencias(texto);
    ASSERT_EQ(s.size(), 4);
    EXPECT_TRUE(s[0].startsWith(QLatin1String("CREATE TABLE A")));
    EXPECT_TRUE(s[1].endsWith(QLatin1String("END;")));
    EXPECT_TRUE(s[1].contains(QLatin1String("X = 2")));
    EXPECT_TRUE(s[2].endsWith(QLatin1String("$$;")));
    EXPECT_TRUE(s[3].startsWith(QLatin1String("CREATE FUNCTION g")));

    const QStringList go = EsquemaSql::sentencias(
        QStringLiteral("CREATE TRIGGER T ON A AFTER INSERT AS\nBEGIN\n SET NOCOUNT ON;\nEND\nGO\n"
                       "CREATE VIEW V AS SELECT 1 AS X;\ngo\n"));
    ASSERT_EQ(go.size(), 2);
    EXPECT_TRUE(go[0].contains(QLatin1String("SET NOCOUNT ON;")));
}

// The three files define the same tables and views, so that no engine lacks one.
TEST(EsquemaSqlTest, EveryEngineFileIsBuiltInWithTheSameObjects) {
    const QRegularExpression crea(QStringLiteral("CREATE\\s+(TABLE|VIEW)\\s+(\\w+)"),
                                  QRegularExpression::CaseInsensitiveOption);
    auto objetos = [&](Plataforma p) {
        QStringList nombres;
        for (const QString& s : EsquemaSql::sentencias(EsquemaSql::texto(p))) {
            const QRegularExpressionMatch m = crea.match(s);
            if (m.hasMatch()) {
                nombres << m.captured(1).toUpper() + QLatin1Char(' ') + m.captured(2).toUpper();
            }
        }
        nombres.sort();
        return nombres;
    };
    const QStringList sqlite = objetos(Plataforma::Sqlite);
    EXPECT_TRUE(sqlite.contains(QStringLiteral("VIEW VT_MA_PRECIOS_ARTICULOS")));
    EXPECT_TRUE(sqlite.contains(QStringLiteral("TABLE MV_TARVELO")));
    EXPECT_GE(sqlite.size(), 30);
    EXPECT_EQ(objetos(Plataforma::PostgreSql), sqlite);
    EXPECT_EQ(objetos(Plataforma::SqlServer), sqlite);
    EXPECT_TRUE(EsquemaSql::texto(Plataforma::Oracle).isEmpty());
}

TEST_P(EsquemaTest, EveryObjectTakesRowsByTheProgramsNames) {
    const QStringList inserciones = {
        "INSERT INTO TA_CONFIGURACION (CLAVE, VALOR, valoraux, Grupo, PoliticaNegocio) "
        "VALUES ('PRUEBA', 'x', 'y', 'GRUPO', 0)",
        "INSERT INTO AUX_ERR (Proceso, fecha, Error, Descripcion, SQL, pc, Usuario) "
        "VALUES ('tarvelo', '10/12/26 14:30', 13, 'Type mismatch', 'SELECT 1', 'PC01', 'DEMO')",
        "INSERT INTO Control_Acceso (Maquina,Usuario,Formulario,Tarea,Ingreso,NombreUsuario) "
        "VALUES ('PC01','DEMO','TARVELO','','10/12/26 14:30','demo')",
        "INSERT INTO TA_MENU (Clave, Nombre, Proceso) VALUES ('0101', 'NOVEDADES', 'tarvelo.exe')",
        "INSERT INTO TA_TAREAS (USUARIO, TAREA) VALUES ('DEMO', '0101')",
        "INSERT INTO ta_usuarios (nombre, Administrador) VALUES ('DEMO', 1)",
        "INSERT INTO V_MV_FALTANTES (FechaHora,IdArticulo,Descripcion,Usuario) "
        "values('10/12/2026 14:30:05','001234                   ','QUESO D''ANGELO','DEMO')",
        "INSERT INTO V_TA_TIPOARTICULO (IdTipo, DESCRIPCION) VALUES ('1', 'D''ANGELO')",
        "INSERT INTO V_TA_FAMILIAS (IdFamilia, Descripcion) VALUES ('01', 'ALMACÉN')",
        "INSERT INTO V_TA_FAMILIAS (IdFamilia, Descripcion) VALUES ('0101', 'ACEITES')",
        "INSERT INTO V_TA_RUBROS (IdRubro, Descripcion) VALUES ('01', 'ALMACÉN')",
        "INSERT INTO V_TA_UNIDAD (IdUnidad, Descripcion) VALUES ('KG', 'KILOGRAMO')",
        "INSERT INTO V_MA_ARTICULOS (IdArticulo, Descripcion, DescripAbrev, CodigoBarra, Tipo, "
        "Rubro, IdFamilia, IdUnidad, Pesable, TASAIVA, SUSPENDIDO) VALUES ('001234', "
        "'QUESO CREMOSO', 'QUESO CREM.', '7791234567898', '1', '02', '0101', 'KG', 1, '21', 0)",
        "INSERT INTO V_MA_PRECIOSCAB (IDLISTA, NOMBRE, TIPOLISTA) VALUES ('1', 'VENTAS', 'V')",
        "INSERT INTO V_MA_PRECIOS (IDLISTA, IdArticulo, ESTADO, CAMBIOCODBARRA, FHOFERTADESDE, "
        "FHOFERTAHASTA, SUSPENDIDO, precio1, precio2, precio3, precio4, precio5, precio6, "
        "precio7, precio8, COSTO) VALUES ('1', '001234', '0-M', 1, '2026-12-11', '2026-12-17', "
        "0, 1250.5, 1100, 0, 0, 0, 0, 0, 0, 800)",
        "INSERT INTO MV_TARVELO (Codigo,IdLista,Nombre,Fecha,TipoMov,CodInterno,Descripcion,"
        "Marca,PrecioVenta,Precio,Internos,PrecioCosto,CondIva,TipoIva,Fijo,CodBarra,Rubro,Tipo,"
        "Aux1,Aux2,RutaArchivo,Usuario) VALUES(1,'1   ','VENTAS','2026-12-10','M','000001234',"
        "'QUESO CREMOSO','LACTEOS','001250500','001250500','000000000','000800000','S','0','SS',"
        "'0000012340000','02','I','000000000','000000','C:\\NOV\\CAMBIOS.TXT','DEMO')",
        "INSERT INTO VT_CLIENTES (CODIGO, RAZON_SOCIAL, CONTACTO, Dada_De_Baja) "
        "VALUES ('1', 'CLIENTE', 'CONTACTO', 0)",
        "INSERT INTO VT_PROVEEDORES (CODIGO, RAZON_SOCIAL, Dada_De_Baja) VALUES ('1', 'PROV', 0)",
        "INSERT INTO MA_CONTACTOS (Nombre_y_Apellido, Domicilio, Localidad, Telefono) "
        "VALUES ('JUAN', 'CALLE 1', 'ROSARIO', '123')",
        "INSERT INTO V_TA_VENDEDORES (IDVENDEDOR, NOMBRE) VALUES ('1', 'VENDEDOR')",
        "INSERT INTO V_TA_TECNICOS (IDTECNICO, NOMBRE) VALUES ('1', 'TÉCNICO')",
        "INSERT INTO V_MA_MANTENIMIENTOS (CODIGO, DESCRIPCION) VALUES ('1', 'MANTENIMIENTO')",
        "INSERT INTO MA_CUENTAS (CODIGO, DESCRIPCION) VALUES ('1', 'ACTIVO')",
        "INSERT INTO TA_CCOSTO (CODIGO, Descripcion) VALUES ('01', 'ADMINISTRACIÓN')",
        "INSERT INTO MA_POSICIONES (IDPOSICION, Descripcion) VALUES ('A', 'DEPÓSITO')",
        "INSERT INTO V_TA_Tareas (IdTarea, Descripcion) VALUES ('0101', 'NOVEDADES')",
        "INSERT INTO V_TA_UnidadNegocio (Codigo, Descripcion) VALUES ('01', 'CENTRAL')",
        "INSERT INTO V_TA_DEPOSITO (IdDeposito, Descripcion, UnidadNegocio) "
        "VALUES ('01', 'CENTRAL', '01')",
    };
    for (const QString& sql : inserciones) {
        EXPECT_TRUE(e().ejecuta(sql));
    }
    for (const char* objeto : {"TA_CONFIGURACION",
                               "AUX_ERR",
                               "Control_Acceso",
                               "TA_MENU",
                               "TA_TAREAS",
                               "ta_usuarios",
                               "V_MV_FALTANTES",
                               "V_TA_TIPOARTICULO",
                               "V_TA_FAMILIAS",
                               "SS_V_TA_FAMILIAS",
                               "V_TA_RUBROS",
                               "V_TA_UNIDAD",
                               "V_MA_ARTICULOS",
                               "VT_MA_ARTICULOS",
                               "V_MA_PRECIOSCAB",
                               "V_MA_PRECIOS",
                               "VT_MA_PRECIOS_ARTICULOS",
                               "MV_TARVELO",
                               "VT_CLIENTES",
                               "VT_PROVEEDORES",
                               "MA_CONTACTOS",
                               "V_TA_VENDEDORES",
                               "V_TA_TECNICOS",
                               "V_MA_MANTENIMIENTOS",
                               "MA_CUENTAS",
                               "SS_MA_CUENTAS",
                               "TA_CCOSTO",
                               "MA_POSICIONES",
                               "V_TA_Tareas",
                               "V_TA_UnidadNegocio",
                               "V_TA_DEPOSITO",
                               "SS_V_TA_DEPOSITO"}) {
        EXPECT_GE(e().cuenta(QStringLiteral("SELECT COUNT(*) FROM %1").arg(QLatin1String(objeto))),
                  1)
            << objeto;
    }
    // The price row repeats its list's kind and name (the suite's searches read them there).
    EXPECT_EQ(e().valor("SELECT TIPOLISTA FROM V_MA_PRECIOS").toString().trimmed(), "V");
    EXPECT_EQ(e().valor("SELECT NOMBRE FROM V_MA_PRECIOS").toString().trimmed(), "VENTAS");
    EXPECT_TRUE(e().ejecuta("UPDATE V_MA_PRECIOSCAB SET NOMBRE = 'VENTAS SUCURSALES'"));
    EXPECT_EQ(e().valor("SELECT NOMBRE FROM V_MA_PRECIOS").toString().trimmed(),
              "VENTAS SUCURSALES");
}

TEST_P(EsquemaTest, PriceRowsOfAListAddedLaterGetItsKindAndName) {
    e().articulo({.idArticulo = "1", .descripcion = "A"});
    e().precio({.idLista = "9", .idArticulo = "1", .precios = {10}});
    EXPECT_TRUE(e().valor("SELECT TIPOLISTA FROM V_MA_PRECIOS").isNull());
    e().lista("9", "LISTA NUEVE", "C");
    EXPECT_EQ(e().valor("SELECT TIPOLISTA FROM V_MA_PRECIOS").toString().trimmed(), "C");
    EXPECT_EQ(e().valor("SELECT NOMBRE FROM V_MA_PRECIOS").toString().trimmed(), "LISTA NUEVE");
}

// SQL Server's default collation: case ignored, trailing blanks ignored in "=",
// accents significant.
TEST_P(EsquemaTest, TextComparesAsOnSqlServer) {
    e().lista("A3", "VENTAS");
    e().usuario("ventas", false);
    e().articulo({.idArticulo = "001234", .descripcion = "ÁRBOL D'ANGELO"});
    struct Caso {
        const char* consulta;
        int filas;
    };
    const Caso casos[] = {
        {"SELECT COUNT(*) FROM V_MA_PRECIOSCAB WHERE IDLISTA = 'A3  '", 1},
        {"SELECT COUNT(*) FROM V_MA_PRECIOSCAB WHERE IDLISTA = 'a3'", 1},
        {"SELECT COUNT(*) FROM V_MA_PRECIOSCAB WHERE IDLISTA = ' A3'", 0},
        {"SELECT COUNT(*) FROM V_MA_PRECIOSCAB WHERE NOMBRE = 'VENTAS '", 1},
        {"SELECT COUNT(*) FROM ta_usuarios WHERE nombre = 'VENTAS '", 1},
        {"SELECT COUNT(*) FROM V_MA_ARTICULOS WHERE IdArticulo = '001234                   '", 1},
        {"SELECT COUNT(*) FROM V_MA_ARTICULOS WHERE IdArticulo = '1234'", 0},
        {"SELECT COUNT(*) FROM V_MA_ARTICULOS WHERE Descripcion = 'árbol d''angelo'", 1},
        {"SELECT COUNT(*) FROM V_MA_ARTICULOS WHERE Descripcion = 'ARBOL D''ANGELO'", 0},
    };
    for (const Caso& c : casos) {
        EXPECT_EQ(e().cuenta(QString::fromUtf8(c.consulta)), c.filas) << c.consulta;
    }
    // Keys are unique the same way: a code differing only in case or blanks is the same code.
    QSqlQuery q(e().conexion());
    EXPECT_FALSE(q.exec("INSERT INTO V_MA_PRECIOSCAB (IDLISTA, NOMBRE, TIPOLISTA) VALUES "
                        "('a3  ', 'OTRA', 'V')"));
}

TEST_P(EsquemaTest, BatchTableGivesBackTheTextsWrittenAndGrowsItsId) {
    FilaLotePrueba f;
    f.idLista = "1   ";
    f.fecha = QDate(2026, 12, 10);
    f.codInterno = "000001234";
    f.descripcion = "QUESO CREMOSO                 ";
    f.marca = "LACTEOS        ";
    f.precioVenta = "001250500";
    f.precio = "001250500";
    f.tipoIva = "0";
    f.codBarra = "0000012340000";
    f.rubro = "5";
    f.tipo = " ";
    const qint64 id1 = e().filaLote(f);
    f.codigo = 2;
    const qint64 id2 = e().filaLote(f);
    EXPECT_GT(id2, id1);
    // Removing the newest row does not give its number again.
    EXPECT_TRUE(e().ejecuta("DELETE FROM MV_TARVELO WHERE ID = ?", {id2}));
    const qint64 id3 = e().filaLote(f);
    EXPECT_GT(id3, id2);

    QSqlQuery q(e().conexion());
    ASSERT_TRUE(q.exec(QStringLiteral("SELECT IdLista, CodInterno, Descripcion, Marca, Precio, "
                                      "TipoIva, CodBarra, Rubro, Tipo, Aux1, Aux2 FROM MV_TARVELO "
                                      "WHERE ID = %1")
                           .arg(id1)));
    ASSERT_TRUE(q.next());
    const QStringList esperado = {"1   ",
                                  "000001234",
                                  "QUESO CREMOSO                 ",
                                  "LACTEOS        ",
                                  "001250500",
                                  "0",
                                  "0000012340000",
                                  "5",
                                  " ",
                                  "000000000",
                                  "000000"};
    for (int i = 0; i < esperado.size(); ++i) {
        EXPECT_EQ(q.value(i).toString(), esperado[i]) << "column " << i;
    }
    // Codigo is a number: the highest code is the numeric maximum.
    f.codigo = 10;
    e().filaLote(f);
    EXPECT_EQ(e().valor("SELECT MAX(Codigo) FROM MV_TARVELO").toInt(), 10);
}

// The statements of the loaders, the generation and the lookups, as the
// program writes them, through the connection's dialect layer.
TEST_P(EsquemaTest, TheProgramsStatementsRunOnTheSchema) {
    const QDate hoy(2026, 12, 10);
    const QString tHoy = Regional::fechaCorta(hoy);
    const QString tManana = Regional::fechaCorta(hoy.addDays(1));
    e().lista("1", "VENTAS");
    e().lista("C1", "COMPRAS", "C");
    e().tipo("1", "D'ANGELO");
    e().articulo({.idArticulo = "001234",
                  .descripcion = "QUESO",
                  .tipo = "1",
                  .rubro = "02",
                  .idFamilia = "0202",
                  .idUnidad = "KG",
                  .pesable = true});
    e().articulo({.idArticulo = "010001", .descripcion = "ACEITE", .tipo = "1", .rubro = "01"});
    const qint64 pendiente =
        e().precio({.idLista = "1", .idArticulo = "001234", .estado = "0-M", .precios = {1250.5}});
    e().precio({.idLista = "1",
                .idArticulo = "010001",
                .estado = "1-M",
                .fhOfertaDesde = hoy.addDays(1),
                .fhOfertaHasta = hoy.addDays(7),
                .precios = {900, 800}});
    e().precio({.idLista = "C1", .idArticulo = "001234", .estado = "0-M", .precios = {700}});

    const QString carga =
        QStringLiteral("SELECT * FROM VT_MA_PRECIOS_ARTICULOS WHERE TIPOLISTA = 'V' AND IDLISTA = '"
                       "1   '  AND ( ESTADO = '0-C' OR ESTADO = '0-M' OR FHOFERTADESDE='%1' OR "
                       "FHOFERTAHASTA='%2') AND SUSPENDIDO = 0 ORDER BY IDARTICULO")
            .arg(tManana, tHoy);
    EXPECT_EQ(filasPrograma(carga), 2);
    Recordset rs;
    db().gCnn->Abre(carga, rs);
    for (const char* columna : {"ID",
                                "IDLISTA",
                                "TIPOLISTA",
                                "ESTADO",
                                "CAMBIOCODBARRA",
                                "FHOFERTADESDE",
                                "FHOFERTAHASTA",
                                "SUSPENDIDO",
                                "precio1",
                                "precio2",
                                "precio3",
                                "precio4",
                                "precio5",
                                "precio6",
                                "COSTO",
                                "IdArticulo",
                                "Descripcionarticulo",
                                "Tipo",
                                "Rubro",
                                "IDFAMILIA"}) {
        EXPECT_GE(rs.IndiceCampo(QLatin1String(columna)), 0) << columna;
    }
    EXPECT_EQ(filasPrograma(QStringLiteral(
                  "SELECT * FROM VT_MA_PRECIOS_ARTICULOS WHERE IDLISTA = '1   ' AND TIPOLISTA = "
                  "'V'  AND IDARTICULO>='000000                   '  order by idarticulo")),
              2);
    EXPECT_EQ(
        filasPrograma(
            QStringLiteral(
                "SELECT IDLISTA,NOMBRE FROM V_MA_PRECIOS WHERE TIPOLISTA = 'V' AND (ESTADO = "
                "'0-C' OR ESTADO = '0-M' OR FHOFERTADESDE = '%1' OR  FHOFERTAHASTA ='%2') GROUP "
                "BY IDLISTA,NOMBRE")
                .arg(tManana, Regional::fechaCorta(hoy.addDays(-1)))),
        1);
    EXPECT_EQ(filasPrograma(QStringLiteral(
                  "SELECT TOP 1 * FROM V_MA_PRECIOSCAB with(nolock)  WHERE IDLISTA='1   ' AND "
                  "TIPOLISTA = 'V'")),
              1);
    EXPECT_EQ(filasPrograma(QStringLiteral(
                  "SELECT * FROM V_MA_ARTICULOS WHERE IDARTICULO = '001234                   '")),
              1);
    EXPECT_EQ(
        filasPrograma(QStringLiteral(
            "SELECT TOP 1000 DESCRIPCION,IDARTICULO FROM VT_MA_ARTICULOS  with(nolock)  WHERE "
            "SUSPENDIDO = 0 ORDER BY DESCRIPCION")),
        2);

    // The generation: mark the price row as sent, then record the batch row.
    qint64 afectadas = 0;
    db().gCnn->Execute(
        QStringLiteral("UPDATE V_MA_PRECIOS SET ESTADO = '1-M' , CAMBIOCODBARRA=0  WHERE ID = %1")
            .arg(pendiente),
        &afectadas);
    EXPECT_EQ(afectadas, 1);
    db().gCnn->Execute(
        QStringLiteral(
            "INSERT INTO MV_TARVELO "
            "(Codigo,IdLista,Nombre,Fecha,TipoMov,CodInterno,Descripcion,Marca,"
            "PrecioVenta,Precio,Internos,PrecioCosto,CondIva,TipoIva,Fijo,CodBarra,Rubro,Tipo,Aux1,"
            "Aux2,RutaArchivo,Usuario) VALUES(5,'1   "
            "','VENTAS','%1','M','000001234','QUESO','D''ANGELO',"
            "'001250500','001250500','000000000','000000000','S','0','SS','0000012340000','02','I',"
            "'000000000','000000','/tmp/CAMBIOS.TXT','DEMO')")
            .arg(tHoy));
    EXPECT_EQ(filasPrograma(carga), 1);
    EXPECT_EQ(filasPrograma(QStringLiteral("SELECT TOP 1 CODIGO FROM MV_TARVELO ORDER BY CODIGO "
                                           "DESC")),
              1);
    EXPECT_EQ(filasPrograma(QStringLiteral("SELECT TOP 1  * FROM MV_TARVELO with(nolock)  WHERE "
                                           "LTRIM(RTRIM(CODIGO)) ='5'")),
              1);
    EXPECT_EQ(filasPrograma(QStringLiteral("SELECT * FROM MV_TARVELO WHERE CODIGO =5")), 1);
    EXPECT_EQ(filasPrograma(QStringLiteral("SELECT max(fecha) as FhTrans FROM MV_TARVELO WHERE  "
                                           "IDLISTA = '1   ' AND CodInterno = '000001234'")),
              1);
}

// The tree lookup computes each family's parent in the database.
TEST_P(EsquemaTest, FamilyTreeStatementFindsEachParent) {
    for (const char* codigo : {"01", "0101", "010101", "010102", "02", "0201"}) {
        e().familia(QLatin1String(codigo), QStringLiteral("FAMILIA ") + QLatin1String(codigo));
    }
    Recordset rs;
    try {
        db().gCnn->Abre(
            QStringLiteral(
                "SELECT     TOP 100 PERCENT IdFamilia, Descripcion, (SELECT     TOP 1 idfamilia "
                "FROM v_ta_familias a   Where a.IdFamilia < b.IdFamilia And "
                "(Len(LTrim(RTrim(a.IdFamilia))) < Len(LTrim(RTrim(b.IdFamilia))))  ORDER BY "
                "idfamilia DESC) AS [relative] FROM dbo.V_TA_FAMILIAS b Where IdFamilia<>'' "
                "ORDER BY IdFamilia"),
            rs);
    } catch (const FalloKX& f) {
        FAIL() << f.error().descripcion.toStdString();
    }
    QStringList arbol;
    for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext()) {
        arbol << rs.Campo(0).toString().trimmed() + QLatin1Char('<') +
                     rs.Campo(QStringLiteral("relative")).toString().trimmed();
    }
    EXPECT_EQ(arbol,
              QStringList({"01<", "0101<01", "010101<0101", "010102<0101", "02<", "0201<02"}));
}

// The access log's rights query matches the user with a trailing blank and the
// program inside a longer process text.
TEST_P(EsquemaTest, AccessRightsQueryFindsTheTask) {
    e().tarea("DEMO", "0101", "NOVEDADES DE PRECIOS", "menu\\TARVELO.EXE /x");
    e().tarea("OTRO", "0102", "STOCK", "stock.exe");
    EXPECT_EQ(filasPrograma(QStringLiteral(
                  "SELECT TA_TAREAS.USUARIO, TA_MENU.Proceso, TA_MENU.Clave , TA_MENU.Nombre "
                  "  FROM TA_TAREAS  with(nolock) INNER JOIN TA_MENU ON TA_TAREAS.TAREA = "
                  "TA_MENU.Clave  WHERE (TA_TAREAS.USUARIO = 'demo ') AND (TA_MENU.Proceso LIKE "
                  "'%tarvelo%')")),
              1);
}

INSTANTIATE_TEST_SUITE_P(Motores, EsquemaTest, valoresMotores(), nombreMotor);

} // namespace
