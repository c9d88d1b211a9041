#include "BaseDePrueba.h"
#include "lookups/AnchosConsultas.h"
#include "lookups/ArchivoConsultas.h"
#include "lookups/ArchivoOpciones.h"
#include "lookups/InicioConsultas.h"
#include "lookups/Lib_ClsCons3.h"
#include "utility_library/LogKX.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

namespace {

QByteArray lee(const QString& ruta) {
    QFile f(ruta);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void escribe(const QString& ruta, const QByteArray& b) {
    QFile f(ruta);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(b);
}

// Every test writes its files and its error log in a folder of its own.
class Archivos : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        viejoTemp_ = qgetenv("temp");
        qputenv("temp", dir_.path().toLocal8Bit());
    }
    void TearDown() override { qputenv("temp", viejoTemp_); }
    QString ruta(const char* nombre) const { return dir_.filePath(QString::fromLatin1(nombre)); }
    QByteArray log() const { return lee(ruta("KXERR.LOG")); }
    QTemporaryDir dir_;
    QByteArray viejoTemp_;
};

TEST_F(Archivos, DefaultDefinitionsAreElevenRecordsByteForByte) {
    const QString r = ruta("consultas.kvx");
    ASSERT_TRUE(ArchivoConsultas::CreaArchivoConsultas(r));
    const QByteArray b = lee(r);
    ASSERT_EQ(b.size(), 11 * 1202);
    // Record 1: title, table, columns, blank condition, CR LF, all at fixed offsets.
    EXPECT_EQ(b.mid(0, 100), QByteArray("ARTICULOS").leftJustified(100, ' '));
    EXPECT_EQ(b.mid(100, 100), QByteArray("V_MA_ARTICULOS").leftJustified(100, ' '));
    EXPECT_EQ(b.mid(200, 500), QByteArray("|DESCRIPCION|IDARTICULO|").leftJustified(500, ' '));
    EXPECT_EQ(b.mid(700, 500), QByteArray(500, ' '));
    EXPECT_EQ(b.mid(1200, 2), QByteArray("\r\n"));
    // Record 9 keeps its table's two trailing blanks and still matches.
    EXPECT_EQ(b.mid(8 * 1202 + 100, 13), QByteArray("V_TA_Tareas  "));
    const auto tareas = ArchivoConsultas::BuscaDefinicion(r, QStringLiteral("v_ta_tareas"));
    ASSERT_TRUE(tareas);
    EXPECT_EQ(tareas->tabla, QStringLiteral("V_TA_Tareas"));
    EXPECT_EQ(tareas->columnas, QStringLiteral("Descripcion,IdTarea"));
    // Each record reads back as the default it was written from.
    const auto defecto = ArchivoConsultas::mascarasPorDefecto();
    for (int i = 0; i < 11; ++i) {
        const auto m = MascaraConsulta::decodifica(b.mid(i * 1202, 1202));
        ASSERT_TRUE(m) << i;
        EXPECT_EQ(m->TablaMascara, defecto[i].TablaMascara.trimmed());
        EXPECT_EQ(m->CamposMascara, defecto[i].CamposMascara);
    }
}

TEST_F(Archivos, WrittenRecordReadsBackAndNulOr255PaddingMatchesTheSame) {
    const MascaraConsulta m{QStringLiteral("PAÑOS"), QStringLiteral("v_ma_articulos"),
                            QStringLiteral("|DESCRIPCION|IDARTICULO|"),
                            QStringLiteral("IDFAMILIA = '01'")};
    const QByteArray blancos = m.codifica();
    ASSERT_EQ(blancos.size(), 1202);
    EXPECT_EQ(blancos.mid(0, 5), QByteArray("PA\xD1OS")); // Windows-1252
    // The same record padded with NUL in one field and code 255 in another.
    QByteArray nul = blancos;
    for (int i = 114; i < 200; ++i) {
        nul[i] = '\0';
    }
    for (int i = 716; i < 1200; ++i) {
        nul[i] = '\xff';
    }
    for (const QByteArray& registro : {blancos, nul}) {
        const auto l = MascaraConsulta::decodifica(registro);
        ASSERT_TRUE(l);
        EXPECT_EQ(l->TituloMascara, QStringLiteral("PAÑOS"));
        const QString r = ruta("una.kvx");
        escribe(r, registro);
        const auto d = ArchivoConsultas::BuscaDefinicion(r, QStringLiteral(" V_MA_ARTICULOS "));
        ASSERT_TRUE(d);
        EXPECT_EQ(d->tabla, QStringLiteral("v_ma_articulos"));
        EXPECT_EQ(d->columnas, QStringLiteral("DESCRIPCION,IDARTICULO"));
        EXPECT_EQ(d->campoBusqueda, QStringLiteral("DESCRIPCION"));
        EXPECT_EQ(d->condicion, QStringLiteral("IDFAMILIA = '01'"));
    }
}

TEST_F(Archivos, ColumnListsDerivedFromTheRecord) {
    struct Caso {
        const char *campos, *lista, *busqueda;
    } casos[] = {
        {"|DESCRIPCION|IDARTICULO|", "DESCRIPCION,IDARTICULO", "DESCRIPCION"},
        {"|DESCRIPCION|", "DESCRIPCION", ""}, // one column supplies no search column
        {"", "*", ""},
        {"NOMBRE|CODIGO", "NOMBRE,CODIGO", "NOMBRE"},
    };
    for (const Caso& c : casos) {
        const auto d = ArchivoConsultas::deriva(
            {QString(), QStringLiteral("T"), QString::fromLatin1(c.campos), QString()});
        EXPECT_EQ(d.columnas, QString::fromLatin1(c.lista)) << c.campos;
        EXPECT_EQ(d.campoBusqueda, QString::fromLatin1(c.busqueda)) << c.campos;
    }
}

TEST_F(Archivos, FirstMatchingRecordWinsAndMissingFileHasNone) {
    const QString r = ruta("consultas.kvx");
    EXPECT_FALSE(ArchivoConsultas::BuscaDefinicion(r, QStringLiteral("VT_CLIENTES")));
    QByteArray b =
        MascaraConsulta{{}, QStringLiteral("VT_CLIENTES"), QStringLiteral("|A|B|"), {}}.codifica();
    b += MascaraConsulta{{}, QStringLiteral("VT_CLIENTES"), QStringLiteral("|C|D|"), {}}.codifica();
    escribe(r, b);
    EXPECT_EQ(ArchivoConsultas::BuscaDefinicion(r, QStringLiteral("vt_clientes"))->columnas,
              QStringLiteral("A,B"));
    EXPECT_FALSE(ArchivoConsultas::BuscaDefinicion(r, QStringLiteral("MA_CUENTAS")));
    EXPECT_TRUE(log().isEmpty());
}

TEST_F(Archivos, DamagedDefinitionsFallBackToDefaultsWithALogLine) {
    const QString r = ruta("consultas.kvx");
    ASSERT_TRUE(ArchivoConsultas::CreaArchivoConsultas(r));
    const QByteArray sano = lee(r);
    struct Caso {
        const char* nombre;
        QByteArray bytes;
    } casos[] = {
        {"cut inside record 1", sano.left(700)},
        {"record 1 without CR LF", QByteArray(sano).replace(1200, 2, "xx")},
        {"garbage", QByteArray(5000, '\x07')},
    };
    for (const Caso& c : casos) {
        escribe(r, c.bytes);
        QFile::remove(ruta("KXERR.LOG"));
        const auto d = ArchivoConsultas::BuscaDefinicion(r, QStringLiteral("VT_PROVEEDORES"));
        ASSERT_TRUE(d) << c.nombre;
        EXPECT_EQ(d->columnas, QStringLiteral("RAZON_SOCIAL,CODIGO")) << c.nombre;
        EXPECT_TRUE(log().contains("consultas.kvx")) << c.nombre;
        EXPECT_TRUE(log().endsWith("\r\n")) << c.nombre;
        // Nothing is lost: the damaged file is left for whoever repairs it.
        EXPECT_EQ(lee(r), c.bytes) << c.nombre;
    }
    // A whole record before the damage still wins.
    escribe(r, sano.left(1202) + "short");
    EXPECT_EQ(ArchivoConsultas::BuscaDefinicion(r, QStringLiteral("V_MA_ARTICULOS"))->tabla,
              QStringLiteral("V_MA_ARTICULOS"));
}

TEST_F(Archivos, TableKeyOfAStatement) {
    struct Caso {
        const char *sql, *clave;
    } casos[] = {
        {"SELECT DESCRIPCION,IDARTICULO FROM V_MA_ARTICULOS", "V_MA_ARTICULOS"},
        {"select a from  VT_CLIENTES  with(nolock) where x=1", "VT_CLIENTES"},
        {"SELECT * FROM Stk_ma_articulos WHERE Stock > 0", "Stk_ma_articulos"},
        {"SELECT 1", ""},
    };
    for (const Caso& c : casos) {
        EXPECT_EQ(AnchosConsultas::ClaveTabla(QString::fromLatin1(c.sql)),
                  QString::fromLatin1(c.clave))
            << c.sql;
    }
    EXPECT_EQ(AnchosConsultas::ClaveAnchos(QStringLiteral("STK_MA_ARTICULOS")),
              QStringLiteral("VT_MA_ARTICULOS"));
}

TEST_F(Archivos, WidthsSavedForTwoTablesKeepBothTheLastOneLast) {
    const QString carpeta = dir_.path();
    ASSERT_TRUE(AnchosConsultas::GrabaAnchos(carpeta, QStringLiteral("A"), {2400, 1200, 900}));
    ASSERT_TRUE(AnchosConsultas::GrabaAnchos(carpeta, QStringLiteral("B"), {300}));
    ASSERT_TRUE(AnchosConsultas::GrabaAnchos(carpeta, QStringLiteral("a"), {100, 200}));
    EXPECT_EQ(lee(ruta("CONSULTASLEN.KVX")),
              QByteArray("\"B\",\"300|\"\r\n\"a\",\"100|200|\"\r\n"));
    EXPECT_FALSE(QFile::exists(ruta("CONSULTASLEN.AUX")));
    EXPECT_EQ(AnchosConsultas::CargaAnchos(carpeta, QStringLiteral("A")), (QList<int>{100, 200}));
    // The article view and the stock view share their widths.
    ASSERT_TRUE(
        AnchosConsultas::GrabaAnchos(carpeta, QStringLiteral("Stk_ma_articulos"), {1500, 700}));
    EXPECT_EQ(AnchosConsultas::CargaAnchos(carpeta, QStringLiteral("VT_MA_ARTICULOS")),
              (QList<int>{1500, 700}));
}

TEST_F(Archivos, WidthLinesShortBadOrUnreadable) {
    const QString carpeta = dir_.path();
    escribe(ruta("CONSULTASLEN.KVX"), "\"T\",\"2400|1200|\"\r\n"
                                      "basura sin comillas\r\n"
                                      "\"T\",\"500|abc|900|\"\r\n"
                                      "\"OTRA\",\"1|2|\"\r\n");
    // The later line overrides the first column and stops at the bad entry.
    EXPECT_EQ(AnchosConsultas::CargaAnchos(carpeta, QStringLiteral("t")), (QList<int>{500, 1200}));
    EXPECT_TRUE(log().contains("CONSULTASLEN.KVX"));
    EXPECT_TRUE(AnchosConsultas::CargaAnchos(carpeta, QStringLiteral("NADA")).isEmpty());
    // Saving keeps the other tables' lines, the unreadable one included.
    ASSERT_TRUE(AnchosConsultas::GrabaAnchos(carpeta, QStringLiteral("T"), {10}));
    EXPECT_EQ(lee(ruta("CONSULTASLEN.KVX")),
              QByteArray("basura sin comillas\r\n\"OTRA\",\"1|2|\"\r\n\"T\",\"10|\"\r\n"));
}

TEST_F(Archivos, AScratchFileLeftByACrashDoesNotDisturbTheWidths) {
    const QString carpeta = dir_.path();
    ASSERT_TRUE(AnchosConsultas::GrabaAnchos(carpeta, QStringLiteral("T"), {800}));
    escribe(ruta("CONSULTASLEN.AUX"), "\"T\",\"1"); // a write cut short
    EXPECT_EQ(AnchosConsultas::CargaAnchos(carpeta, QStringLiteral("T")), (QList<int>{800}));
    ASSERT_TRUE(AnchosConsultas::GrabaAnchos(carpeta, QStringLiteral("U"), {5}));
    EXPECT_EQ(lee(ruta("CONSULTASLEN.KVX")), QByteArray("\"T\",\"800|\"\r\n\"U\",\"5|\"\r\n"));
}

TEST_F(Archivos, OptionFileLinesReadWhole) {
    escribe(ruta("op.txt"), "UNO, con coma\r\n\r\nTR\xC9S\r\nsin fin");
    EXPECT_EQ(ArchivoOpciones::Lee(ruta("op.txt")),
              (QStringList{QStringLiteral("UNO, con coma"), QString(), QStringLiteral("TRÉS"),
                           QStringLiteral("sin fin")}));
    escribe(ruta("op2.txt"), "A\r\nB\r\n");
    EXPECT_EQ(ArchivoOpciones::Lee(ruta("op2.txt")), (QStringList{"A", "B"}));
}

// A file cut in the middle of a later record is damage as well: the search
// that reaches the cut says so in the log.
TEST_F(Archivos, ARecordCutShortIsDamage) {
    const QString r = ruta("consultas.kvx");
    ASSERT_TRUE(ArchivoConsultas::CreaArchivoConsultas(r));
    escribe(r, lee(r).left(MascaraConsulta::Largo * 3 + 500));
    QFile::remove(ruta("KXERR.LOG"));
    EXPECT_FALSE(ArchivoConsultas::BuscaDefinicion(r, QStringLiteral("NO_EXISTE")));
    EXPECT_TRUE(log().contains("consultas.kvx"));
}

// The lookup files and the log are written without following a link: the
// file a link points to stays as it was, a dangling link's target is never
// created, and a folder in the way is a failure.
TEST_F(Archivos, WritersNeverFollowALink) {
    QTemporaryDir afuera;
    const QString ajeno = afuera.filePath("ajeno.txt");
    escribe(ajeno, "NO TOCAR");
    struct Escritor {
        const char* nombre;
        const char* archivo;
        std::function<bool(const QString&)> escribe;
    };
    const Escritor escritores[] = {
        {"definiciones", "consultas.kvx",
         [](const QString& r) { return ArchivoConsultas::CreaArchivoConsultas(r); }},
        {"anchos", "CONSULTASLEN.KVX",
         [&](const QString&) {
             return AnchosConsultas::GrabaAnchos(dir_.path(), QStringLiteral("T"), {5});
         }},
        {"registro", "KXERR.LOG",
         [](const QString& r) { return LogKX::agrega(r, QStringLiteral("linea")); }},
    };
    for (const Escritor& e : escritores) {
        SCOPED_TRACE(e.nombre);
        const QString r = ruta(e.archivo);
        // A link to a file elsewhere: replaced (or refused by the log), never written through.
        QFile::remove(r);
        ASSERT_TRUE(QFile::link(ajeno, r));
        e.escribe(r);
        EXPECT_EQ(lee(ajeno), QByteArray("NO TOCAR"));
        // A dangling link: its target never appears.
        QFile::remove(r);
        ASSERT_TRUE(QFile::link(afuera.filePath("nuevo.txt"), r));
        e.escribe(r);
        EXPECT_FALSE(QFile::exists(afuera.filePath("nuevo.txt")));
        // A folder in the way: the write fails.
        QFile::remove(r);
        ASSERT_TRUE(QDir().mkpath(r + "/x"));
        EXPECT_FALSE(e.escribe(r));
        QDir(r).removeRecursively();
    }
}

TEST_F(Archivos, StartUpStepWritesTheDefinitionsOnlyWhenMissing) {
    Lib_ClsCons3::reinicia();
    PreparaConsultasInicio(dir_.path(), QStringLiteral("Provider=SQLOLEDB"));
    const QString r = ruta("consultas.kvx");
    EXPECT_EQ(lee(r).size(), 11 * 1202);
    EXPECT_EQ(Lib_ClsCons3::instancia().gRutaMascaraConsultas, r);
    EXPECT_TRUE(Lib_ClsCons3::instancia().gUsarMascarasConsultas);
    EXPECT_EQ(Lib_ClsCons3::instancia().gConnString, QStringLiteral("Provider=SQLOLEDB"));
    escribe(r, MascaraConsulta{{}, QStringLiteral("X"), QStringLiteral("|A|B|"), {}}.codifica());
    PreparaConsultasInicio(dir_.path(), QString());
    EXPECT_EQ(lee(r).size(), 1202);
    Lib_ClsCons3::reinicia();
}

} // namespace
