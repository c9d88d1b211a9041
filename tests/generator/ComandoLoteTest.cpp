#include "cli/ComandoLote.h"
#include "BaseDePrueba.h"
#include "EsquemaPrueba.h"
#include "cli/ComandoTestigo.h"
#include "cli/ComandosBase.h"
#include "runtime/ValoresGlobales.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <functional>

namespace {

// tarvelo-lote generar / regenerar end to end on the demo database, started
// from the suite's command line as the scheduler would.
class ComandoLoteTest : public PruebaPorMotor {
protected:
    static inline const QDate kHoy = QDate(2026, 3, 10);

    void SetUp() override {
        PruebaPorMotor::SetUp();
        if (IsSkipped() || HasFatalFailure()) {
            return;
        }
        EsquemaPrueba e;
        ASSERT_GT(e.creaConDemo(kHoy).pendientes, 0);
        // A sales list with nothing pending, whose prices were all sent.
        e.lista("9", "LISTA SIN NOVEDADES");
        e.precio({.idLista = "9", .idArticulo = articulo(e, 0), .estado = "1-M", .precios = {10}});
        e.precio({.idLista = "9", .idArticulo = articulo(e, 1), .estado = "1-M", .precios = {20}});
        BaseDePrueba::cierra(DB_Dll::instancia());
        ASSERT_TRUE(salida.isValid());
        linea = base().lineaSuite();
        if (base().plataforma() == Plataforma::Sqlite) {
            linea += "; @Caja=1";
        }
    }

    static QString articulo(EsquemaPrueba& e, int i) {
        return e
            .valor("SELECT IdArticulo FROM V_MA_ARTICULOS ORDER BY IdArticulo LIMIT 1 OFFSET " +
                   QString::number(i))
            .toString()
            .trimmed();
    }

    // Runs a command; keeps its output and messages.
    int corre(int (*comando)(const QStringList&, QTextStream&, QTextStream&), QStringList args) {
        out.clear();
        err.clear();
        QTextStream o(&out), e(&err);
        const int r = comando(args, o, e);
        o.flush();
        e.flush();
        return r;
    }
    int generar(const QStringList& extra) {
        return corre(ComandoGenerar, QStringList{"generar", linea, "--hoy", "2026-03-10"} + extra);
    }
    // Reads the database through the connection the command left open.
    int cuenta(const QString& sql) { return EsquemaPrueba().cuenta(sql); }
    int verificar(const QString& codigo) {
        return corre(ComandoVerificar, {linea, "--codigo", codigo});
    }

    // What a run killed right after committing batch `codigo` into `carpeta`
    // leaves: its files whole under their temporary names (of a process that
    // is gone), the batch noted as not published, no copy kept yet.
    void muereTrasConfirmar(const QString& carpeta, int codigo) {
        QStringList rutas;
        for (const QString nombre : {"CAMBIOS.TXT", "BALANZA.TXT"}) {
            const QString destino = carpeta + "/" + nombre;
            const QString temporal = destino + ".2147480000.tmp";
            ASSERT_TRUE(QFile::rename(destino, temporal)) << destino.toStdString();
            rutas << destino << temporal;
        }
        ASSERT_TRUE(QDir(carpeta + "/historial").removeRecursively());
        base().ejecutaDirecto(QStringLiteral("INSERT INTO MV_TARVELO_PENDIENTE (Codigo, Destino, "
                                             "Temporal, DestinoBalanza, TemporalBalanza) VALUES "
                                             "(%1, '%2', '%3', '%4', '%5')")
                                  .arg(codigo)
                                  .arg(rutas[0], rutas[1], rutas[2], rutas[3]));
    }
    static QByteArray lee(const QString& ruta) {
        QFile f(ruta);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    static void escribe(const QString& ruta, const QByteArray& contenido) {
        QFile f(ruta);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << ruta.toStdString();
        f.write(contenido);
    }

    QString linea;
    QString out, err;
    QTemporaryDir salida;
};

} // namespace

TEST_P(ComandoLoteTest, GenerarYRegenerar) {
    ASSERT_EQ(generar({"--lista", "1", "--carpeta", salida.path()}), CodigoLote::Generado)
        << err.toStdString();
    static const QRegularExpression resumen(
        R"re(^generada codigo=(\d+) filas=(\d+) cambios="([^"]+)" balanza="([^"]+)"\n$)re");
    const auto m = resumen.match(out);
    ASSERT_TRUE(m.hasMatch()) << out.toStdString();
    const QString codigo = m.captured(1);
    const int filas = m.captured(2).toInt();
    EXPECT_EQ(codigo, "2"); // the demo holds batch 1
    EXPECT_GT(filas, 0);
    EXPECT_EQ(m.captured(3), QDir::toNativeSeparators(salida.path() + "/CAMBIOS.TXT"));
    EXPECT_EQ(m.captured(4), QDir::toNativeSeparators(salida.path() + "/BALANZA.TXT"));
    QFile cambios(m.captured(3));
    ASSERT_TRUE(cambios.open(QIODevice::ReadOnly));
    const QByteArray original = cambios.readAll();
    EXPECT_EQ(original.count("\r\n"), filas);
    QFile balanza(m.captured(4));
    ASSERT_TRUE(balanza.open(QIODevice::ReadOnly));
    const QByteArray originalBalanza = balanza.readAll();
    EXPECT_TRUE(QFile::exists(m.captured(4)));
    EXPECT_EQ(cuenta("SELECT COUNT(*) FROM MV_TARVELO WHERE Codigo = 2"), filas);
    // Every row names the user that start-up took from the command line.
    EXPECT_EQ(cuenta("SELECT COUNT(*) FROM MV_TARVELO WHERE Codigo = 2 AND Usuario = '" +
                     ModGlobal::gUsuarioLogeado + "'"),
              filas);
    // The witness question got its safe answer, on the error stream.
    EXPECT_TRUE(err.contains("¿Desea Imprimir un Testigo?")) << err.toStdString();

    // Regenerated into another folder, rows stamped, nothing inserted.
    QTemporaryDir otra;
    ASSERT_EQ(corre(ComandoRegenerar, {linea, "--codigo", codigo, "--carpeta", otra.path()}),
              CodigoLote::Generado)
        << err.toStdString();
    EXPECT_TRUE(out.startsWith("regenerada codigo=2 filas=" + QString::number(filas) + " "))
        << out.toStdString();
    // The branches get the same bytes again (TipoIva "0" included).
    QFile otro(otra.path() + "/CAMBIOS.TXT");
    ASSERT_TRUE(otro.open(QIODevice::ReadOnly));
    EXPECT_EQ(otro.readAll(), original);
    QFile otraBalanza(otra.path() + "/BALANZA.TXT");
    ASSERT_TRUE(otraBalanza.open(QIODevice::ReadOnly));
    EXPECT_EQ(otraBalanza.readAll(), originalBalanza);
    EXPECT_EQ(cuenta("SELECT COUNT(*) FROM MV_TARVELO WHERE Codigo = 2 AND RETRANSMITIDO IS NOT "
                     "NULL"),
              filas);
    EXPECT_EQ(cuenta("SELECT COUNT(*) FROM MV_TARVELO WHERE Codigo = 2"), filas);

    // The stored path again (the first folder).
    ASSERT_EQ(corre(ComandoRegenerar, {"regenerar", linea, "--codigo", codigo}),
              CodigoLote::Generado);
    EXPECT_TRUE(out.contains(QDir::toNativeSeparators(salida.path() + "/CAMBIOS.TXT")));
}

TEST_P(ComandoLoteTest, NadaQueEnviarYRangosManuales) {
    EXPECT_EQ(generar({"--lista", "9", "--carpeta", salida.path()}), CodigoLote::SinNovedades);
    EXPECT_TRUE(out.isEmpty());
    EXPECT_TRUE(err.contains("No se encontraron novedades!!!")) << err.toStdString();
    EXPECT_FALSE(QFile::exists(salida.path() + "/CAMBIOS.TXT"));

    // The same list with a manual range of every article: marked as sent.
    ASSERT_EQ(generar({"--lista", "9", "--carpeta", salida.path(), "--articulos", ":", "--letra",
                       "x", "--marcar", "--codigo", "40", "--fecha", "11/03/2026"}),
              CodigoLote::Generado)
        << err.toStdString();
    EXPECT_TRUE(out.startsWith("generada codigo=40 filas=2 ")) << out.toStdString();
    EXPECT_EQ(cuenta("SELECT COUNT(*) FROM MV_TARVELO WHERE Codigo = 40 AND TipoMov = 'X'"), 2);
    EXPECT_EQ(cuenta("SELECT COUNT(*) FROM V_MA_PRECIOS WHERE IDLISTA = '9' AND ESTADO = '1-M'"),
              2);
}

TEST_P(ComandoLoteTest, ArgumentosODatosInvalidos) {
    const QString carpeta = salida.path();
    const QList<QStringList> casos = {
        {"--lista", "1"},
        {"--lista", "1", "--carpeta", carpeta + "/no-existe"},
        {"--lista", "77", "--carpeta", carpeta},
        {"--lista", "C1", "--carpeta", carpeta},
        {"--lista", "1", "--carpeta", carpeta, "--codigo", "1"},
        {"--lista", "1", "--carpeta", carpeta, "--codigo", "1x"},
        {"--lista", "1", "--carpeta", carpeta, "--fecha", "31/02/2026"},
        {"--lista", "1", "--carpeta", carpeta, "--hoy", "mañana"},
        {"--lista", "1", "--carpeta", carpeta, "--desconocida", "x"},
        {"--lista", "1", "--carpeta", carpeta, "--articulos", "sin-dos-puntos"},
    };
    for (const QStringList& c : casos) {
        EXPECT_EQ(generar(c), CodigoLote::Invalido) << c.join(" ").toStdString();
        EXPECT_TRUE(out.isEmpty());
        EXPECT_FALSE(err.isEmpty());
    }
    EXPECT_EQ(corre(ComandoGenerar, {"--lista", "1", "--carpeta", carpeta}), CodigoLote::Invalido);
    EXPECT_EQ(corre(ComandoRegenerar, {linea, "--codigo", "99"}), CodigoLote::Invalido);
    EXPECT_EQ(corre(ComandoRegenerar, {linea}), CodigoLote::Invalido);
    EXPECT_EQ(corre(ComandoGenerar, {"@Plataforma=SQLITE", "--lista", "1", "--carpeta", carpeta}),
              CodigoLote::Invalido);
    EXPECT_EQ(cuenta("SELECT COUNT(*) FROM MV_TARVELO WHERE Codigo <> 1"), 0);
    EXPECT_FALSE(QFile::exists(carpeta + "/CAMBIOS.TXT"));
}

TEST_P(ComandoLoteTest, UnaFallaAbandonaConCodigoTres) {
    if (base().plataforma() == Plataforma::Sqlite) {
        base().ejecutaDirecto("CREATE TRIGGER falla BEFORE INSERT ON MV_TARVELO BEGIN SELECT "
                              "RAISE(ABORT, 'disco lleno'); END");
    } else {
        base().ejecutaDirecto("CREATE FUNCTION falla() RETURNS trigger AS $$ BEGIN RAISE "
                              "EXCEPTION 'disco lleno'; END $$ LANGUAGE plpgsql");
        base().ejecutaDirecto("CREATE TRIGGER falla BEFORE INSERT ON MV_TARVELO FOR EACH ROW "
                              "EXECUTE FUNCTION falla()");
    }
    EXPECT_EQ(generar({"--lista", "1", "--carpeta", salida.path()}), CodigoLote::Abandonado);
    EXPECT_TRUE(out.isEmpty());
    EXPECT_TRUE(err.contains("disco lleno")) << err.toStdString();
    EXPECT_EQ(cuenta("SELECT COUNT(*) FROM MV_TARVELO WHERE Codigo <> 1"), 0);
    // Nothing marked without its batch row.
    EXPECT_EQ(cuenta("SELECT COUNT(*) FROM V_MA_PRECIOS p WHERE ESTADO = '1-M' AND IDLISTA = '1' "
                     "AND FHOFERTAHASTA IS NULL AND FHOFERTADESDE IS NULL AND NOT EXISTS (SELECT 1 "
                     "FROM MV_TARVELO t WHERE t.Codigo = 1 AND t.IdLista = p.IDLISTA)"),
              0);
}

// Another connection holds what a generation must wait for: the batch codes'
// lock of another generation (SQLite: its write lock), or price rows of the
// list. With --espera 1 the wait ends on the server after a second: exit 3, a
// message naming what it waited for, nothing written, marked or published.
TEST_P(ComandoLoteTest, EsperaAOtraGeneracionTerminaConTres) {
    const bool sqlite = base().plataforma() == Plataforma::Sqlite;
    struct Caso {
        const char* nombre;
        QString retiene;  // run after BEGIN on the other connection
        const char* dice; // in the message
    };
    QList<Caso> casos;
    if (sqlite) {
        casos << Caso{"escritura", "SELECT 1", "otra generación de lotes"};
    } else {
        // The key of the batch codes' lock ("MV_TARV").
        casos << Caso{"numeracion",
                      "SELECT pg_advisory_xact_lock(" + QString::number(0x4D565F54415256LL) + ")",
                      "otra generación de lotes"}
              << Caso{"precios", "SELECT ID FROM V_MA_PRECIOS WHERE IDLISTA = '1' FOR UPDATE",
                      "tiene tomados precios"};
    }
    ASSERT_TRUE(base().abre(DB_Dll::instancia()));
    const int marcadasAntes = cuenta("SELECT COUNT(*) FROM V_MA_PRECIOS WHERE ESTADO = '1-M'");
    const int filasAntes = cuenta("SELECT COUNT(*) FROM MV_TARVELO");
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nombre);
        {
            QSqlDatabase otra = QSqlDatabase::addDatabase(sqlite ? "QSQLITE" : "QPSQL", "retiene");
            otra.setDatabaseName(base().nombre());
            if (!sqlite) {
                otra.setHostName(base().servidor());
                otra.setPort(base().puerto());
                otra.setUserName(base().usuario());
            }
            ASSERT_TRUE(otra.open()) << otra.lastError().text().toStdString();
            QSqlQuery q(otra);
            // SQLite: readers beside the writer, as the program sets its files.
            ASSERT_TRUE(!sqlite || q.exec("PRAGMA journal_mode=WAL"));
            ASSERT_TRUE(q.exec(sqlite ? "BEGIN IMMEDIATE" : "BEGIN"));
            ASSERT_TRUE(q.exec(c.retiene)) << q.lastError().text().toStdString();
            QElapsedTimer reloj;
            reloj.start();
            EXPECT_EQ(generar({"--lista", "1", "--carpeta", salida.path(), "--espera", "1"}),
                      CodigoLote::Abandonado)
                << err.toStdString();
            EXPECT_LT(reloj.elapsed(), 20000) << err.toStdString();
            EXPECT_TRUE(err.contains(c.dice)) << err.toStdString();
            EXPECT_TRUE(out.isEmpty()) << out.toStdString();
            if (!sqlite) {
                // The server holds no wait of the generation's connection.
                ASSERT_TRUE(q.exec("SELECT COUNT(*) FROM pg_locks WHERE NOT granted AND database = "
                                   "(SELECT oid FROM pg_database WHERE datname = "
                                   "current_database())"));
                ASSERT_TRUE(q.next());
                EXPECT_EQ(q.value(0).toInt(), 0);
            }
            q.exec("ROLLBACK");
            q = QSqlQuery();
            otra.close();
        }
        QSqlDatabase::removeDatabase("retiene");
        EXPECT_EQ(cuenta("SELECT COUNT(*) FROM MV_TARVELO"), filasAntes);
        EXPECT_EQ(cuenta("SELECT COUNT(*) FROM V_MA_PRECIOS WHERE ESTADO = '1-M'"), marcadasAntes);
        EXPECT_EQ(QDir(salida.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
    }
    // Unheld, the same run goes through.
    EXPECT_EQ(generar({"--lista", "1", "--carpeta", salida.path(), "--espera", "1"}),
              CodigoLote::Generado)
        << err.toStdString();
}

// A list code that would be cut, and batch codes outside what the engines
// store, are refused at once: nothing loaded, written or marked.
TEST_P(ComandoLoteTest, ListaLargaYCodigosFueraDeRango) {
    const QString carpeta = salida.path();
    const struct {
        QStringList args;
        const char* mensaje;
    } casos[] = {
        {{"--lista", "1   ; DROP TABLE X", "--carpeta", carpeta}, "hasta 4 caracteres"},
        {{"--lista", "12345", "--carpeta", carpeta}, "hasta 4 caracteres"},
        {{"--lista", "1", "--carpeta", carpeta, "--codigo", "1x"}, "numero entero"},
        {{"--lista", "1", "--carpeta", carpeta, "--codigo", "9223372036854775807"},
         "entre 0 y 9223372036854775806"},
        {{"--lista", "1", "--carpeta", carpeta, "--codigo", "9223372036854775808"},
         "entre 0 y 9223372036854775806"},
        {{"--lista", "1", "--carpeta", carpeta, "--codigo", "99999999999999999999"},
         "entre 0 y 9223372036854775806"},
        // The demo holds batch 1, whatever zeros the code is written with.
        {{"--lista", "1", "--carpeta", carpeta, "--codigo", "01"}, "ya existe"},
        {{"--lista", "1", "--carpeta", carpeta, "--codigo", "0001"}, "ya existe"},
    };
    ASSERT_TRUE(base().abre(DB_Dll::instancia()));
    const int antes = cuenta("SELECT COUNT(*) FROM MV_TARVELO");
    const QString marcadas = "SELECT COUNT(*) FROM V_MA_PRECIOS WHERE ESTADO = '1-M'";
    const int marcadasAntes = cuenta(marcadas);
    BaseDePrueba::cierra(DB_Dll::instancia());
    for (const auto& c : casos) {
        SCOPED_TRACE(c.args.join(" ").toStdString());
        EXPECT_EQ(generar(c.args), CodigoLote::Invalido);
        EXPECT_TRUE(out.isEmpty());
        EXPECT_TRUE(err.contains(c.mensaje)) << err.toStdString();
    }
    EXPECT_EQ(cuenta("SELECT COUNT(*) FROM MV_TARVELO"), antes);
    EXPECT_EQ(cuenta(marcadas), marcadasAntes);
    EXPECT_FALSE(QFile::exists(carpeta + "/CAMBIOS.TXT"));
}

// 64-bit codes are kept exactly, and the next code follows them exactly; a
// code written with leading zeros names the same batch everywhere.
TEST_P(ComandoLoteTest, CodigosDe64BitsYConCeros) {
    ASSERT_EQ(generar({"--lista", "1", "--carpeta", salida.path(), "--codigo", "9007199254740993"}),
              CodigoLote::Generado)
        << err.toStdString();
    EXPECT_TRUE(out.startsWith("generada codigo=9007199254740993 ")) << out.toStdString();
    ASSERT_EQ(generar({"--lista", "9", "--carpeta", salida.path(), "--articulos", ":"}),
              CodigoLote::Generado)
        << err.toStdString();
    EXPECT_TRUE(out.startsWith("generada codigo=9007199254740994 filas=2 ")) << out.toStdString();

    ASSERT_EQ(
        generar({"--lista", "9", "--carpeta", salida.path(), "--articulos", ":", "--codigo", "49"}),
        CodigoLote::Generado)
        << err.toStdString();
    ASSERT_EQ(corre(ComandoRegenerar, {linea, "--codigo", "049"}), CodigoLote::Generado)
        << err.toStdString();
    EXPECT_TRUE(out.startsWith("regenerada codigo=49 filas=2 ")) << out.toStdString();
    EXPECT_EQ(cuenta("SELECT COUNT(*) FROM MV_TARVELO WHERE Codigo = 49"), 2);
    EXPECT_EQ(cuenta("SELECT COUNT(*) FROM MV_TARVELO WHERE Codigo = 49 AND RETRANSMITIDO IS NOT "
                     "NULL"),
              2);
}

// A statement that cannot be prepared abandons the generation (exit 3): no
// batch with blank brands.
TEST_P(ComandoLoteTest, SinTablaDeTiposNoSeGenera) {
    base().ejecutaDirecto(base().plataforma() == Plataforma::Sqlite
                              ? "DROP TABLE V_TA_TIPOARTICULO"
                              : "DROP TABLE V_TA_TIPOARTICULO CASCADE");
    ASSERT_TRUE(base().abre(DB_Dll::instancia()));
    const int antes = cuenta("SELECT COUNT(*) FROM MV_TARVELO");
    BaseDePrueba::cierra(DB_Dll::instancia());
    EXPECT_EQ(generar({"--lista", "1", "--carpeta", salida.path()}), CodigoLote::Abandonado);
    EXPECT_TRUE(out.isEmpty()) << out.toStdString();
    EXPECT_TRUE(err.contains("V_TA_TIPOARTICULO", Qt::CaseInsensitive)) << err.toStdString();
    EXPECT_EQ(cuenta("SELECT COUNT(*) FROM MV_TARVELO"), antes);
    EXPECT_FALSE(QFile::exists(salida.path() + "/CAMBIOS.TXT"));
}

TEST(ComandoLoteAyuda, DocumentaAmbosComandos) {
    QString out, err;
    QTextStream o(&out), e(&err);
    EXPECT_EQ(ComandoGenerar({"generar", "--help"}, o, e), 0);
    o.flush();
    for (const char* t : {"generar", "regenerar", "verificar", "--lista", "--carpeta", "--codigo",
                          "--fecha", "--hoy", "--articulos", "--familias", "--letra", "--marcar",
                          "--acepta-alertas", "4 precios con alerta", "Codigos de salida"}) {
        EXPECT_TRUE(out.contains(t)) << t;
    }
    EXPECT_EQ(out, AyudaComandoLote() + CodigosDeSalidaLote());
    EXPECT_EQ(out.count("Codigos de salida"), 1);
}

// The demo list holds a record one character short (a one-letter category):
// said on the error stream and generated as the suite does, or, with
// --estricto, refused before anything is written or marked.
TEST_P(ComandoLoteTest, FueraDeFormatoSeDiceYEstrictoRechaza) {
    ASSERT_EQ(generar({"--lista", "1", "--carpeta", salida.path(), "--estricto"}),
              CodigoLote::Invalido)
        << err.toStdString();
    EXPECT_TRUE(err.contains("tendría 125 caracteres en lugar de 126")) << err.toStdString();
    EXPECT_EQ(cuenta("SELECT COUNT(*) FROM MV_TARVELO WHERE Codigo > 1"), 0);
    const int pendientes = cuenta("SELECT COUNT(*) FROM V_MA_PRECIOS WHERE ESTADO <> '1-M'");
    EXPECT_TRUE(QDir(salida.path()).entryList(QDir::Files).isEmpty());

    ASSERT_EQ(generar({"--lista", "1", "--carpeta", salida.path()}), CodigoLote::Generado)
        << err.toStdString();
    EXPECT_TRUE(err.contains("formato fijo")) << err.toStdString();
    EXPECT_TRUE(QFile::exists(salida.filePath("CAMBIOS.TXT")));
    // The refused run had marked nothing: this one marks the pending prices.
    EXPECT_LT(cuenta("SELECT COUNT(*) FROM V_MA_PRECIOS WHERE ESTADO <> '1-M'"), pendientes);
}

INSTANTIATE_TEST_SUITE_P(Motores, ComandoLoteTest, valoresMotores(), nombreMotor);

// A price below cost stops the unattended run with exit code 4 and the alert
// on the error stream, nothing written; --acepta-alertas generates it. The
// batch can then be proved: verificar exits 0, and 1 once its kept copy was
// changed.
TEST_P(ComandoLoteTest, AlertasSalenConCuatroYVerificarPruebaElLote) {
    base().ejecutaDirecto("UPDATE V_MA_PRECIOS SET COSTO = 999999 WHERE ID = (SELECT MIN(ID) FROM "
                          "V_MA_PRECIOS WHERE IDLISTA = '1' AND ESTADO = '0-M' AND SUSPENDIDO = 0 "
                          "AND precio1 > 0 AND FHOFERTADESDE IS NULL)");
    const QStringList args = {"--lista", "1", "--carpeta", salida.path()};
    EXPECT_EQ(generar(args), CodigoLote::ConAlertas) << err.toStdString();
    EXPECT_TRUE(out.isEmpty());
    EXPECT_TRUE(err.contains("1 precio con alerta: no se genero el lote")) << err.toStdString();
    EXPECT_TRUE(err.contains("bajo costo 999999,00")) << err.toStdString();
    EXPECT_EQ(cuenta("SELECT COUNT(*) FROM MV_TARVELO WHERE Codigo = 2"), 0);
    EXPECT_FALSE(QFile::exists(salida.path() + "/CAMBIOS.TXT"));

    ASSERT_EQ(generar(args + QStringList{"--acepta-alertas"}), CodigoLote::Generado)
        << err.toStdString();
    EXPECT_TRUE(err.contains("1 precio con alerta\n")) << err.toStdString();
    EXPECT_GT(cuenta("SELECT COUNT(*) FROM MV_TARVELO WHERE Codigo = 2"), 0);

    EXPECT_EQ(corre(ComandoVerificar, {linea, "--codigo", "2"}), CodigoLote::Generado)
        << out.toStdString() << err.toStdString();
    EXPECT_TRUE(out.contains("CAMBIOS.TXT: igual (")) << out.toStdString();
    EXPECT_TRUE(out.endsWith("verificada codigo=2 iguales\n")) << out.toStdString();

    const QString copia = salida.path() + "/historial/1/2/CAMBIOS.TXT";
    QFile f(copia);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    f.seek(0);
    f.write("X");
    f.close();
    EXPECT_EQ(corre(ComandoVerificar, {"verificar", linea, "--codigo", "2"}), CodigoLote::Difiere);
    EXPECT_TRUE(out.contains("difiere: en el registro 1")) << out.toStdString();
    EXPECT_TRUE(out.endsWith("verificada codigo=2 difieren\n")) << out.toStdString();

    EXPECT_EQ(corre(ComandoVerificar, {linea, "--codigo", "99"}), CodigoLote::Invalido);
    EXPECT_EQ(corre(ComandoVerificar, {linea}), CodigoLote::Invalido);
    EXPECT_EQ(corre(ComandoVerificar, {linea, "--codigo", "dos"}), CodigoLote::Invalido);
}

// verificar checks every publication of a batch (a regeneration elsewhere
// keeps a second copy: the first one, what the branches got first, is
// checked too) and the file each folder the batch went to holds now.
TEST_P(ComandoLoteTest, VerificarMiraCadaCopiaYCadaCarpeta) {
    const QString a = salida.path();
    QTemporaryDir otra;
    const QString b = otra.path();
    ASSERT_EQ(generar({"--lista", "1", "--carpeta", a}), CodigoLote::Generado) << err.toStdString();
    // Every run on the same day, as the records of their publications say.
    const auto regenerar = [&](const QString& carpeta) {
        return corre(ComandoRegenerar,
                     {linea, "--codigo", "2", "--carpeta", carpeta, "--hoy", "2026-03-10"});
    };
    ASSERT_EQ(regenerar(b), CodigoLote::Generado) << err.toStdString();
    const auto en = [](const QString& carpeta, const char* nombre) {
        return QDir::toNativeSeparators(carpeta + "/" + nombre);
    };
    ASSERT_EQ(verificar("2"), CodigoLote::Generado) << out.toStdString();
    EXPECT_TRUE(out.contains("CAMBIOS.TXT: igual (")) << out.toStdString();
    EXPECT_TRUE(out.contains("copias de sus 2 publicaciones")) << out.toStdString();
    for (const QString& carpeta : {a, b}) {
        for (const char* nombre : {"CAMBIOS.TXT", "BALANZA.TXT"}) {
            EXPECT_TRUE(out.contains(en(carpeta, nombre) + ": igual al lote")) << out.toStdString();
        }
    }

    // Each case spoils one file, is caught, and puts the file back.
    struct Caso {
        QString archivo;
        std::function<QByteArray(QByteArray)> cambio;
        QString dice;
    };
    const QString primeraCopia = a + "/historial/1/2/CAMBIOS.TXT";
    const QList<Caso> casos = {
        {primeraCopia, [](QByteArray x) { return x.replace(0, 1, "X"); },
         "la copia " + QDir::toNativeSeparators(primeraCopia) + " difiere: en el registro 1"},
        {b + "/historial/1/2/BALANZA.TXT", [](QByteArray x) { return x.left(x.size() - 2); },
         "BALANZA.TXT: la copia"},
        {a + "/CAMBIOS.TXT", [](QByteArray x) { return x + "X"; },
         en(a, "CAMBIOS.TXT") + ": difiere de todo lote publicado"},
        {b + "/BALANZA.TXT", [](QByteArray) { return QByteArray(); },
         en(b, "BALANZA.TXT") + ": difiere de todo lote publicado"},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.archivo.toStdString());
        const QByteArray original = lee(c.archivo);
        ASSERT_FALSE(original.isEmpty());
        escribe(c.archivo, c.cambio(original));
        EXPECT_EQ(verificar("2"), CodigoLote::Difiere);
        EXPECT_TRUE(out.contains(c.dice)) << out.toStdString();
        EXPECT_TRUE(out.endsWith("verificada codigo=2 difieren\n")) << out.toStdString();
        escribe(c.archivo, original);
    }
    const QString publicado = a + "/CAMBIOS.TXT";
    QFile::remove(publicado);
    EXPECT_EQ(verificar("2"), CodigoLote::Difiere);
    EXPECT_TRUE(out.contains(en(a, "CAMBIOS.TXT") + " no existe")) << out.toStdString();
    ASSERT_EQ(regenerar(a), CodigoLote::Generado);
    const QByteArray deDos = lee(publicado);

    // A later batch into the first folder: its files replaced this batch's
    // there, which is no difference; the second folder still holds batch 2.
    ASSERT_EQ(generar({"--lista", "9", "--carpeta", a, "--articulos", ":"}), CodigoLote::Generado)
        << err.toStdString();
    ASSERT_TRUE(out.startsWith("generada codigo=3 ")) << out.toStdString();
    ASSERT_EQ(verificar("2"), CodigoLote::Generado) << out.toStdString();
    EXPECT_TRUE(out.contains(en(a, "CAMBIOS.TXT") + ": reemplazado por el lote 3"))
        << out.toStdString();
    EXPECT_TRUE(out.contains(en(b, "CAMBIOS.TXT") + ": igual al lote")) << out.toStdString();
    EXPECT_TRUE(out.endsWith("verificada codigo=2 iguales\n")) << out.toStdString();
    ASSERT_EQ(verificar("3"), CodigoLote::Generado) << out.toStdString();

    // The earlier batch's file put back over the later one's: the folder no
    // longer holds batch 3 nor anything published after it.
    escribe(publicado, deDos);
    EXPECT_EQ(verificar("3"), CodigoLote::Difiere);
    EXPECT_TRUE(out.contains(en(a, "CAMBIOS.TXT") + ": tiene el archivo del lote 2"))
        << out.toStdString();
}

// A batch whose run was killed right after its commit is published by the
// next run, which keeps its copies as any publication does (its history
// folders did not exist yet): verificar then finds everything equal. The
// next run is a generation, or verificar itself.
TEST_P(ComandoLoteTest, UnLotePublicadoPorLaSiguienteEjecucionGuardaSusCopias) {
    ASSERT_EQ(generar({"--lista", "1", "--carpeta", salida.path()}), CodigoLote::Generado)
        << err.toStdString();
    const QByteArray cambios = lee(salida.path() + "/CAMBIOS.TXT");
    muereTrasConfirmar(salida.path(), 2);
    if (HasFatalFailure()) {
        return;
    }
    // The next run has nothing of its own to send (list 9 has nothing pending).
    EXPECT_EQ(generar({"--lista", "9", "--carpeta", salida.path()}), CodigoLote::SinNovedades)
        << err.toStdString();
    EXPECT_TRUE(err.contains("Se publicaron los archivos del lote 2")) << err.toStdString();
    EXPECT_FALSE(err.contains("historial")) << err.toStdString();
    EXPECT_EQ(lee(salida.path() + "/CAMBIOS.TXT"), cambios);
    EXPECT_EQ(lee(salida.path() + "/historial/1/2/CAMBIOS.TXT"), cambios);
    EXPECT_EQ(verificar("2"), CodigoLote::Generado) << out.toStdString() << err.toStdString();

    QTemporaryDir otra;
    ASSERT_EQ(generar({"--lista", "9", "--carpeta", otra.path(), "--articulos", ":"}),
              CodigoLote::Generado)
        << err.toStdString();
    muereTrasConfirmar(otra.path(), 3);
    if (HasFatalFailure()) {
        return;
    }
    EXPECT_EQ(verificar("3"), CodigoLote::Generado) << out.toStdString() << err.toStdString();
    EXPECT_TRUE(err.contains("Se publicaron los archivos del lote 3")) << err.toStdString();
    EXPECT_TRUE(QFile::exists(otra.path() + "/historial/9/3/BALANZA.TXT"));
    EXPECT_EQ(cuenta("SELECT COUNT(*) FROM MV_TARVELO_PENDIENTE"), 0);
}

// Every command reads its words once, in order: an option that is not
// written as the command's form writes it is refused with exit 2 and named,
// never skipped, and nothing runs.
TEST_P(ComandoLoteTest, OpcionesMalEscritasSeRechazan) {
    using Comando = int (*)(const QStringList&, QTextStream&, QTextStream&);
    const QString c = salida.path();
    // Counted on a connection of the test's own: no command below opens one.
    const auto marcados = [&] {
        EXPECT_TRUE(base().abre(DB_Dll::instancia()));
        const int n = cuenta("SELECT COUNT(*) FROM V_MA_PRECIOS WHERE ESTADO = '1-M'") * 1000 +
                      cuenta("SELECT COUNT(*) FROM MV_TARVELO");
        BaseDePrueba::cierra(DB_Dll::instancia());
        return n;
    };
    const int antes = marcados();
    struct Caso {
        Comando comando;
        QStringList args;
        const char* dice;
    };
    const QList<Caso> casos = {
        // List 9 has nothing pending: the range is all there is to send.
        {ComandoGenerar,
         {linea, "--lista", "9", "--carpeta", c, "-articulos", ":"},
         "Opcion desconocida: -articulos"},
        {ComandoGenerar,
         {linea, "--lista", "9", "--carpeta", c, "-familias=:"},
         "Opcion desconocida: -familias=:"},
        {ComandoGenerar,
         {linea, "--lista", "9", "--carpeta", c, "--Articulos", ":"},
         "Opcion desconocida: --Articulos"},
        {ComandoGenerar,
         {linea, "--lista", "9", "--carpeta", c, "--articulos"},
         "Falta el valor de --articulos"},
        {ComandoGenerar, {linea, "--lista", "--carpeta", c}, "Falta el valor de --lista"},
        {ComandoGenerar,
         {linea, "--lista", "1", "--carpeta", c, "--lista", "9"},
         "La opcion --lista se dio dos veces"},
        {ComandoGenerar,
         {linea, "--lista", "1", "--carpeta", c, "--marcar=no"},
         "La opcion --marcar no lleva valor"},
        {ComandoGenerar,
         {linea, "--lista", "1", "--carpeta", c, "--estricto", "--estricto"},
         "La opcion --estricto se dio dos veces"},
        {ComandoGenerar, {linea, "--lista", "1", "--carpeta", c, "-h1"}, "Opcion desconocida: -h1"},
        {ComandoRegenerar, {linea, "-codigo", "1"}, "Opcion desconocida: -codigo"},
        {ComandoVerificar, {linea, "--codigo", "1", "-v"}, "Opcion desconocida: -v"},
        {ComandoTestigo,
         {linea, "--codigo", "1", "--pdf", c + "/t.pdf", "-etiquetas"},
         "Opcion desconocida: -etiquetas"},
        {ComandoResumen, {linea, "-x"}, "Opcion desconocida: -x"},
        {ComandoInicioLote, {linea, "--demo"}, "Opcion desconocida: --demo"},
    };
    for (const Caso& k : casos) {
        SCOPED_TRACE(k.args.join(' ').toStdString());
        EXPECT_EQ(corre(k.comando, k.args), CodigoLote::Invalido);
        EXPECT_TRUE(out.isEmpty()) << out.toStdString();
        EXPECT_TRUE(err.contains(k.dice)) << err.toStdString();
        EXPECT_TRUE(err.contains("--help")) << err.toStdString();
    }
    EXPECT_TRUE(QDir(c).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty());
    EXPECT_EQ(marcados(), antes); // no batch row, no price marked

    // Written as the form writes it, the range is taken.
    ASSERT_EQ(generar({"--lista", "9", "--carpeta", c, "--articulos", ":"}), CodigoLote::Generado)
        << err.toStdString();
    EXPECT_TRUE(out.startsWith("generada codigo=2 filas=2 ")) << out.toStdString();
}
