#include "ArchivosPrueba.h"
#include "PruebaLote.h"
#include "generator/CargadorNovedades.h"
#include "generator/GeneradorLote.h"
#include "schema/TablaLote.h"
#include "utility_library/Regional.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <functional>

#ifdef Q_OS_LINUX
#include <sys/mount.h>
#endif

namespace {

// Every line whole: the record's length and its single CR LF.
void lineasEnteras(const QByteArray& contenido, int largo, int cantidad) {
    EXPECT_EQ(contenido.count("\r\n"), cantidad);
    EXPECT_EQ(contenido.count('\n'), cantidad);
    EXPECT_EQ(contenido.count('\r'), cantidad);
    const QList<QByteArray> lineas = contenido.split('\n');
    ASSERT_EQ(lineas.size(), cantidad + 1);
    for (int i = 0; i < cantidad; ++i) {
        EXPECT_EQ(lineas[i].size(), largo + 1) << i;
    }
}

// Four pending prices of list 1, one article each, of type T1.
class FallasLoteTest : public PruebaLote {
protected:
    void SetUp() override {
        PruebaLote::SetUp();
        if (IsSkipped() || HasFatalFailure()) {
            return;
        }
        esquema->lista("1", "LISTA UNO");
        esquema->tipo("T1", "LACTEOS");
        for (const QString cod : {"000101", "000102", "000103", "000104"}) {
            agregaPrecio(cod);
        }
        eligeLista("1", "LISTA UNO");
    }

    qint64 agregaPrecio(const QString& cod) {
        ArticuloPrueba a;
        a.idArticulo = cod;
        a.descripcion = "ARTICULO " + cod;
        a.tipo = "T1";
        a.rubro = "05";
        esquema->articulo(a);
        PrecioPrueba p;
        p.idLista = "1";
        p.idArticulo = cod;
        p.precios = {100, 80, 0};
        p.costo = 60;
        return ids[cod] = esquema->precio(p);
    }

    int cuenta(const QString& sql, const QVariantList& valores = {}) {
        return esquema->cuenta(sql, valores);
    }
    QString estado(const QString& cod) {
        return esquema->valor("SELECT ESTADO FROM V_MA_PRECIOS WHERE IdArticulo = ?", {cod})
            .toString()
            .trimmed();
    }
    // DDL on a connection of its own (PostgreSQL does not prepare it).
    void ddl(const QString& sql) { base().ejecutaDirecto(sql); }
    bool sqlite() const { return esquema->plataforma() == Plataforma::Sqlite; }

    QMap<QString, qint64> ids;
};

} // namespace

// Two workstations load the same list, then generate it under codes 77 and
// 78, each on its own connection: a price goes out in one batch only, and
// the later generation leaves out, and says so, what the other one sent.
namespace {
// Passes every box to `op`, first running `antes` for the error dialogs.
struct OperadorAlPreguntar : Operador {
    OperadorAlPreguntar(OperadorGuion& op, std::function<void()> antes)
        : op_(op), antes_(std::move(antes)) {}
    int MsgBox(const QString& texto, int estilo, const QString& titulo) override {
        if ((estilo & 7) == AbortarReintentarIgnorar) {
            antes_();
        }
        return op_.MsgBox(texto, estilo, titulo);
    }
    bool InputBox(const QString& t, const QString& ti, QString& v) override {
        return op_.InputBox(t, ti, v);
    }
    QString GuardarArchivo(const QString& a, const QString& b, const QString& c,
                           const QString& d) override {
        return op_.GuardarArchivo(a, b, c, d);
    }
    QString EligeCarpeta(const QString& a, const QString& b) override {
        return op_.EligeCarpeta(a, b);
    }
    QDate EligeFecha() override { return op_.EligeFecha(); }

private:
    OperadorGuion& op_;
    std::function<void()> antes_;
};
} // namespace

TEST_P(FallasLoteTest, DosGeneracionesDeLaMismaListaNoMandanDosVecesUnPrecio) {
    ventana.campo("Codigo") = "77";
    ASSERT_EQ(lote->CargaNovedades().filas, 4);
    ventana.fijaRuta(rutaCambios());

    // A price that turns pending after the first workstation loaded.
    agregaPrecio("000105");
    DB_Dll otraConexion;
    ASSERT_TRUE(base().abre(otraConexion));
    EstadoVentana otra;
    RepositorioLoteSql otroRepositorio(otraConexion);
    LoteNovedades otroLote(otra, otroRepositorio, cartel, &ParametrosConfigurados);
    otroLote.InicializaFormulario();
    otra.campo("Codigo") = "78";
    otra.campo("IdLista") = "1";
    otra.fijaLista(ListaPrecios{"1", "LISTA UNO"});
    otroLote.HabilitaEdicion(true);
    ASSERT_EQ(otroLote.CargaNovedades().filas, 5);
    QTemporaryDir otraCarpeta;
    otra.fijaRuta(otraCarpeta.path() + "/CAMBIOS.TXT");

    op.responde(Operador::No); // no witness
    const ResultadoGeneracion a = lote->Genera();
    ASSERT_EQ(a.estado, ResultadoGeneracion::Estado::Generado);
    EXPECT_EQ(a.filas, 4);
    EXPECT_EQ(a.enviadasPorOtro, 0);
    op.limpia();
    op.responde(Operador::Aceptar).responde(Operador::No); // rows left out; no witness
    const ResultadoGeneracion b = otroLote.Genera();
    ASSERT_EQ(b.estado, ResultadoGeneracion::Estado::Generado);
    EXPECT_EQ(b.codigo, "78");
    EXPECT_EQ(b.filas, 1);
    EXPECT_EQ(b.enviadasPorOtro, 4);
    EXPECT_TRUE(
        preguntas().contains("Se dejaron fuera 4 filas porque otra generación ya las envió."))
        << preguntas().join("|").toStdString();

    // Every pending price in exactly one batch, and in its files only.
    for (auto it = ids.cbegin(); it != ids.cend(); ++it) {
        SCOPED_TRACE(it.key().toStdString());
        EXPECT_EQ(estado(it.key()), "1-M");
        EXPECT_EQ(
            cuenta("SELECT COUNT(*) FROM MV_TARVELO WHERE CodInterno = ?", {"000" + it.key()}), 1);
    }
    EXPECT_EQ(cuenta("SELECT COUNT(*) FROM MV_TARVELO WHERE Codigo = 78 AND CodInterno = "
                     "'000000105'"),
              1);
    lineasEnteras(lee(rutaCambios()), 126, 4);
    lineasEnteras(lee(otraCarpeta.path() + "/CAMBIOS.TXT"), 126, 1);
    EXPECT_TRUE(lee(otraCarpeta.path() + "/CAMBIOS.TXT").startsWith("M000000105"));
}

// A block of rows writes what the same rows write one by one: a price row
// named twice is marked by the first and both rows go in, a price sent
// meanwhile leaves its row out, rows that mark nothing or mark whatever the
// state go in, and the rows keep their order. A block with a row that fails
// writes nothing and leaves the generation usable. An engine that takes no
// blocks refuses them without writing.
TEST_P(FallasLoteTest, UnBloqueGrabaLoMismoQueFilaPorFila) {
    const QString fecha = Regional::fechaCorta(kHoy);
    const auto fila = [&](const QString& cod) {
        FilaAGrabar f;
        f.fecha = fecha;
        f.valores = QStringList(TablaLote::ColumnasGrabadas().size(), QString());
        f.valores[TablaLote::Grabada::IdLista] = "1";
        f.valores[TablaLote::Grabada::Fecha] = fecha;
        f.valores[TablaLote::Grabada::CodInterno] = "000" + cod;
        f.valores[TablaLote::Grabada::Precio] = "000100000";
        return f;
    };
    const auto marca = [&](const QString& cod, const QString& estado) {
        return std::optional<PrecioAMarcar>(PrecioAMarcar{ids[cod], estado});
    };
    const QString cargado = estado("000101");
    ASSERT_FALSE(cargado.isEmpty());
    // Row by row, as the generation sends them: the second row of 000101
    // marks nothing, its price row already marked by the first.
    const std::vector<FilaDeBloque> filas = {
        {fila("000101"), marca("000101", cargado)},
        {fila("000101"), marca("000101", cargado)},
        {fila("000102"), marca("000102", "9-X")}, // sent by another meanwhile
        {fila("000103"), std::nullopt},
        {fila("000104"), marca("000104", QString())},
    };
    const std::vector<bool> esperadas = {true, true, false, true, true};
    const auto tabla = [&] {
        QStringList r;
        for (const QString cod : {"000101", "000102", "000103", "000104"}) {
            r << cod + "=" + estado(cod);
        }
        for (const QVariant& v :
             esquema->valores("SELECT CodInterno FROM MV_TARVELO ORDER BY ID")) {
            r << v.toString().trimmed();
        }
        return r;
    };
    const QStringList antes = tabla();

    repositorio->IniciaGeneracion();
    std::vector<bool> unaPorUna;
    for (size_t i = 0; i < filas.size(); ++i) {
        unaPorUna.push_back(
            repositorio->GrabaFila(9, filas[i].fila, i == 1 ? std::nullopt : filas[i].marca));
    }
    repositorio->ConfirmaGeneracion();
    EXPECT_EQ(unaPorUna, esperadas);
    const QStringList porFila = tabla();
    EXPECT_EQ(porFila.mid(4), QStringList({"000000101", "000000101", "000000103", "000000104"}));

    // Back to the state at load.
    esquema->ejecuta("DELETE FROM MV_TARVELO");
    esquema->ejecuta("UPDATE V_MA_PRECIOS SET ESTADO = ?", {cargado});
    ASSERT_EQ(tabla(), antes);

    repositorio->IniciaGeneracion();
    std::vector<bool> grabadas;
    if (!repositorio->GrabaEnBloques()) {
        EXPECT_FALSE(repositorio->GrabaBloque(9, filas, grabadas));
        EXPECT_TRUE(grabadas.empty());
        repositorio->ConfirmaGeneracion();
        EXPECT_EQ(tabla(), antes);
        return;
    }
    // A row whose date the table cannot take fails the block: nothing of it
    // stays, and the rows then still go one by one in the same generation.
    std::vector<FilaDeBloque> conFalla = filas;
    conFalla[3].fila.fecha = "no es fecha";
    conFalla[3].fila.valores[TablaLote::Grabada::Fecha] = "no es fecha";
    EXPECT_FALSE(repositorio->GrabaBloque(9, conFalla, grabadas));
    EXPECT_TRUE(grabadas.empty());
    ASSERT_TRUE(repositorio->GrabaBloque(9, filas, grabadas));
    repositorio->ConfirmaGeneracion();
    EXPECT_EQ(grabadas, esperadas);
    EXPECT_EQ(tabla(), porFila);
}

// Control characters in a description or a type's name become blanks: every
// record keeps its length and its single CR LF, and the batch table holds
// the blanks too.
TEST_P(FallasLoteTest, CaracteresDeControlSonBlancos) {
    // PostgreSQL text cannot hold a NUL at all.
    const QString descripcion = sqlite() ? QString("QUESO\r\nCREMOSO\tX") + QChar(0) + "Y\x01Z"
                                         : QString("QUESO\r\nCREMOSO\tX\x07Y\x01Z");
    esquema->ejecuta("UPDATE V_MA_ARTICULOS SET Descripcion = ? WHERE IdArticulo = '000102'",
                     {descripcion});
    esquema->ejecuta("UPDATE V_TA_TIPOARTICULO SET DESCRIPCION = ? WHERE IdTipo = 'T1'",
                     {QString("LAC\nTEOS\r")});
    ASSERT_EQ(lote->CargaNovedades().filas, 4);
    ventana.fijaRuta(rutaCambios());
    op.responde(Operador::No); // no witness
    ASSERT_EQ(lote->Genera().estado, ResultadoGeneracion::Estado::Generado);

    lineasEnteras(lee(rutaCambios()), 126, 4);
    lineasEnteras(lee(rutaBalanza()), 81, 4);
    const QString limpia = "QUESO  CREMOSO X Y Z";
    EXPECT_TRUE(lee(rutaCambios()).contains(limpia.toLatin1() + QByteArray(10, ' ') + "LAC TEOS"))
        << lee(rutaCambios()).toStdString();
    EXPECT_EQ(esquema->valor("SELECT Descripcion FROM MV_TARVELO WHERE CodInterno = '000000102'")
                  .toString(),
              limpia + QString(10, ' '));
    EXPECT_EQ(cuenta("SELECT COUNT(*) FROM MV_TARVELO WHERE Marca = 'LAC TEOS'"), 4);
}

// A link at either file name is replaced, never followed; a generation that
// cannot write its files (a full disk) records nothing, leaves the previous
// files as they were and no half file, and says why in the system's words.
TEST_P(FallasLoteTest, EnlacesYDiscoLleno) {
#ifndef Q_OS_LINUX
    GTEST_SKIP() << "links and a small file system are Linux-only here";
#else
    ASSERT_EQ(lote->CargaNovedades().filas, 4);
    QTemporaryDir afuera;
    escribe(afuera.path() + "/importante.txt", "no tocar");
    ASSERT_TRUE(QFile::link(afuera.path() + "/importante.txt", rutaCambios()));
    ASSERT_TRUE(QFile::link(afuera.path() + "/nuevo.txt", rutaBalanza()));
    ventana.fijaRuta(rutaCambios());
    op.responde(Operador::No); // no witness
    ASSERT_EQ(lote->Genera().estado, ResultadoGeneracion::Estado::Generado);
    EXPECT_EQ(lee(afuera.path() + "/importante.txt"), "no tocar");
    EXPECT_FALSE(QFile::exists(afuera.path() + "/nuevo.txt"));
    EXPECT_FALSE(QFileInfo(rutaCambios()).isSymLink());
    EXPECT_FALSE(QFileInfo(rutaBalanza()).isSymLink());
    lineasEnteras(lee(rutaCambios()), 126, 4);
    lineasEnteras(lee(rutaBalanza()), 81, 4);

    // A folder on a small file system that is full.
    const QString lleno = carpeta.path() + "/lleno";
    ASSERT_TRUE(QDir().mkpath(lleno));
    if (::mount("tarvelo", lleno.toLocal8Bit().constData(), "tmpfs", 0, "size=64k") != 0) {
        GTEST_SKIP() << "cannot mount a small file system here (needs root)";
    }
    struct Desmonta {
        QString ruta;
        ~Desmonta() { ::umount2(ruta.toLocal8Bit().constData(), MNT_DETACH); }
    } desmonta{lleno};
    escribe(lleno + "/CAMBIOS.TXT", "anterior\r\n");
    escribe(lleno + "/BALANZA.TXT", "balanza anterior\r\n");
    {
        QFile relleno(lleno + "/relleno");
        ASSERT_TRUE(relleno.open(QIODevice::WriteOnly));
        const QByteArray bloque(4096, 'x');
        while (relleno.write(bloque) == bloque.size() && relleno.flush()) {
        }
    }
    esquema->ejecuta("UPDATE V_MA_PRECIOS SET ESTADO = '0-M'");
    esquema->ejecuta("DELETE FROM MV_TARVELO");
    eligeLista("1", "LISTA UNO");
    ASSERT_EQ(lote->CargaNovedades().filas, 4);
    ventana.fijaRuta(lleno + "/CAMBIOS.TXT");
    op.limpia();
    // Asked once the transaction is rolled back: nobody waits on it meanwhile.
    int nivelAlPreguntar = -1;
    OperadorAlPreguntar mira(op, [&] { nivelAlPreguntar = db().gCnn->nivelTransaccion(); });
    fijaOperador(&mira);
    op.responde(Operador::Abortar);
    EXPECT_EQ(lote->Genera().estado, ResultadoGeneracion::Estado::Abandonado);
    fijaOperador(&op);
    EXPECT_EQ(nivelAlPreguntar, 0);
    ASSERT_EQ(op.preguntas().size(), 2);
    const QString mensaje = op.preguntas()[0].texto;
    EXPECT_TRUE(mensaje.contains("no queda espacio en el disco")) << mensaje.toStdString();
    EXPECT_TRUE(mensaje.contains(QDir::toNativeSeparators(lleno + "/CAMBIOS.TXT")))
        << mensaje.toStdString();
    EXPECT_EQ(op.preguntas()[1].texto, GeneradorLote::kNoGenerado.arg(ventana.campo("Codigo")));
    EXPECT_EQ(lee(lleno + "/CAMBIOS.TXT"), "anterior\r\n");
    EXPECT_EQ(lee(lleno + "/BALANZA.TXT"), "balanza anterior\r\n");
    EXPECT_EQ(QDir(lleno).entryList(QDir::Files).size(), 3);
    EXPECT_EQ(cuenta("SELECT COUNT(*) FROM MV_TARVELO"), 0);
    EXPECT_EQ(cuenta("SELECT COUNT(*) FROM V_MA_PRECIOS WHERE ESTADO = '1-M'"), 0);
    EXPECT_EQ(db().gCnn->nivelTransaccion(), 0);

    // Room again: the same grid generates whole.
    ASSERT_TRUE(QFile::remove(lleno + "/relleno"));
    op.limpia();
    op.responde(Operador::No); // no witness
    ASSERT_EQ(lote->Genera().estado, ResultadoGeneracion::Estado::Generado);
    lineasEnteras(lee(lleno + "/CAMBIOS.TXT"), 126, 4);
    EXPECT_EQ(cuenta("SELECT COUNT(*) FROM MV_TARVELO"), 4);

    // A read-only folder is found before anything is recorded, and said in
    // Spanish with the file the operator chose (not a temporary name).
    const QString soloLectura = carpeta.path() + "/solo-lectura";
    ASSERT_TRUE(QDir().mkpath(soloLectura));
    ASSERT_EQ(
        ::mount("tarvelo", soloLectura.toLocal8Bit().constData(), "tmpfs", MS_RDONLY, "size=64k"),
        0);
    Desmonta desmontaSoloLectura{soloLectura};
    esquema->ejecuta("UPDATE V_MA_PRECIOS SET ESTADO = '0-M'");
    eligeLista("1", "LISTA UNO");
    ventana.campo("Codigo") = "90";
    ASSERT_EQ(lote->CargaNovedades().filas, 4);
    ventana.fijaRuta(soloLectura + "/CAMBIOS.TXT");
    op.limpia();
    nivelAlPreguntar = -1;
    fijaOperador(&mira);
    op.responde(Operador::Abortar);
    EXPECT_EQ(lote->Genera().estado, ResultadoGeneracion::Estado::Abandonado);
    fijaOperador(&op);
    EXPECT_EQ(nivelAlPreguntar, 0);
    ASSERT_GE(op.preguntas().size(), 1);
    EXPECT_TRUE(op.preguntas()[0].texto.endsWith(
        "No se pudo crear el archivo " + QDir::toNativeSeparators(soloLectura + "/CAMBIOS.TXT") +
        ": la unidad es de sólo lectura"))
        << op.preguntas()[0].texto.toStdString();
    EXPECT_EQ(cuenta("SELECT COUNT(*) FROM MV_TARVELO WHERE Codigo = 90"), 0);
    EXPECT_EQ(cuenta("SELECT COUNT(*) FROM V_MA_PRECIOS WHERE ESTADO = '1-M'"), 0);
#endif
}

// An amount that is no number leaves its row pending, and a price row the
// source gives twice is loaded once; one warning at the end names both.
TEST_P(FallasLoteTest, ImporteIlegibleYFilaRepetidaQuedanFuera) {
    const QString columnas =
        "p.ID, p.IDLISTA, c.TIPOLISTA, c.NOMBRE, p.ESTADO, p.CAMBIOCODBARRA, p.FHOFERTADESDE, "
        "p.FHOFERTAHASTA, p.SUSPENDIDO, CASE WHEN p.IdArticulo = '000102' THEN '1.2.3' ELSE "
        "CAST(p.precio1 AS VARCHAR(30)) END AS precio1, p.precio2, p.precio3, p.precio4, "
        "p.precio5, p.precio6, p.precio7, p.precio8, p.COSTO, p.IdArticulo, a.Descripcion AS "
        "Descripcionarticulo, a.Tipo, a.Rubro, a.IdFamilia AS IDFAMILIA FROM V_MA_PRECIOS p "
        "INNER JOIN V_MA_PRECIOSCAB c ON c.IDLISTA = p.IDLISTA LEFT JOIN V_MA_ARTICULOS a ON "
        "a.IdArticulo = p.IdArticulo";
    ddl("DROP VIEW VT_MA_PRECIOS_ARTICULOS");
    ddl("CREATE VIEW VT_MA_PRECIOS_ARTICULOS AS SELECT " + columnas + " UNION ALL SELECT " +
        columnas + " WHERE p.IdArticulo = '000103'");

    const ResultadoCarga r = lote->CargaNovedades();
    EXPECT_EQ(r.estado, ResultadoCarga::Estado::Cargado);
    QStringList codigos;
    for (const QStringList& f : filas()) {
        codigos << f[FilaNovedad::CodInterno];
    }
    EXPECT_EQ(codigos, QStringList({"000000101", "000000103", "000000104"}));
    EXPECT_EQ(
        preguntas(),
        QStringList({CargadorNovedades::kFilasNoCargadas + "\r\n" +
                     QString("Id %1, artículo 000102: el importe \"1.2.3\" no es un número")
                         .arg(ids["000102"]) +
                     "\r\n" +
                     QString("Id %1, artículo 000103: repetida en el origen").arg(ids["000103"])}));

    ventana.fijaRuta(rutaCambios());
    op.limpia();
    op.responde(Operador::No); // no witness
    ASSERT_EQ(lote->Genera().estado, ResultadoGeneracion::Estado::Generado);
    EXPECT_EQ(cuenta("SELECT COUNT(*) FROM MV_TARVELO"), 3);
    EXPECT_EQ(cuenta("SELECT COUNT(*) FROM MV_TARVELO WHERE CodInterno = '000000103'"), 1);
    EXPECT_EQ(estado("000102"), "0-M");
    EXPECT_FALSE(lee(rutaCambios()).contains("000123000"));
    lineasEnteras(lee(rutaCambios()), 126, 3);
}

// Every lookup of the batch compares codes as SQL Server does: without
// regard to case or trailing blanks.
TEST_P(FallasLoteTest, LasBusquedasIgnoranMayusculasYBlancosFinales) {
    esquema->lista("A3", "LISTA A3");
    esquema->tipo("A", "TIPO A");
    esquema->articulo({.idArticulo = "AB12",
                       .descripcion = "ARTICULO AB12",
                       .codigoBarra = "7790000000012",
                       .idUnidad = "KG",
                       .pesable = true});
    esquema->precio({.idLista = "A3", .idArticulo = "AB12", .precios = {10}});
    esquema->filaLote({.codigo = 5,
                       .idLista = "A3",
                       .fecha = kHoy.addDays(-1),
                       .codInterno = "000000777",
                       .precio = "001250500"});
    struct Caso {
        QString tipo, articulo, lista, codInterno;
    };
    const Caso casos[] = {
        {"A", "AB12", "A3", "000000777"},
        {"a", "ab12", "a3", "000000777"},
        {"a   ", "Ab12     ", "a3  ", "000000777   "},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.articulo.toStdString());
        EXPECT_EQ(repositorio->DescripcionTipo(c.tipo), "TIPO A");
        const std::optional<ArticuloLote> a = repositorio->DatosArticulo(c.articulo);
        ASSERT_TRUE(a.has_value());
        EXPECT_EQ(a->codigoBarra.trimmed(), "7790000000012");
        ArticulosBalanza::Articulo balanza;
        EXPECT_TRUE(repositorio->Busca(c.articulo, balanza));
        EXPECT_TRUE(balanza.pesable);
        // Asked together, the same answers, and a key that is no article
        // still is none.
        repositorio->Anticipa({c.articulo, "NOEXISTE", c.articulo});
        balanza = {};
        EXPECT_TRUE(repositorio->Busca(c.articulo, balanza));
        EXPECT_TRUE(balanza.pesable);
        EXPECT_FALSE(repositorio->Busca("NOEXISTE", balanza));
        EXPECT_EQ(repositorio->UltimoPrecioTransmitido(c.lista, c.codInterno),
                  std::optional<QString>("001250500"));
        EXPECT_EQ(repositorio->Pendientes(c.lista, kHoy, kHoy.addDays(1))->total(), 1);
    }
    // The type is compared trimmed on both sides: a code stored with a
    // leading blank is found, in any letter case.
    esquema->tipo(" 7", "TIPO SIETE");
    esquema->tipo("  b ", "TIPO BE");
    for (const auto& [tipo, descripcion] : {std::pair<QString, QString>{"7", "TIPO SIETE"},
                                            {" 7  ", "TIPO SIETE"},
                                            {"B", "TIPO BE"},
                                            {"b", "TIPO BE"},
                                            {"8", ""}}) {
        SCOPED_TRACE(tipo.toStdString());
        EXPECT_EQ(repositorio->DescripcionTipo(tipo).trimmed(), descripcion);
    }
    // And through the loader: a type written in lower case finds its name.
    esquema->ejecuta("UPDATE V_MA_ARTICULOS SET Tipo = 't1  ' WHERE IdArticulo = '000101'");
    lote->CargaNovedades();
    EXPECT_EQ(celda(1, FilaNovedad::Marca).trimmed(), "LACTEOS");
}

// The last price sent is the one of the latest batch date, the last row of
// that date; rows without a date never count.
TEST_P(FallasLoteTest, UltimoPrecioTransmitido) {
    const struct {
        const char* codInterno;
        int diasAtras; // -1: no date
        const char* precio;
    } filasLote[] = {
        {"000000001", 3, "000000100"},  {"000000001", 1, "000000200"},
        {"000000001", 1, "000000300"},  {"000000001", -1, "000000400"},
        {"000000002", -1, "000000500"}, {"000000003", 2, "000000600"},
    };
    for (const auto& f : filasLote) {
        esquema->filaLote({.codigo = 5,
                           .idLista = "1",
                           .fecha = f.diasAtras < 0 ? QDate() : kHoy.addDays(-f.diasAtras),
                           .codInterno = f.codInterno,
                           .precio = f.precio});
    }
    EXPECT_EQ(repositorio->UltimoPrecioTransmitido("1", "000000001"),
              std::optional<QString>("000000300"));
    EXPECT_EQ(repositorio->UltimoPrecioTransmitido("1", "000000002"), std::nullopt);
    EXPECT_EQ(repositorio->UltimoPrecioTransmitido("1", "000000003"),
              std::optional<QString>("000000600"));
    EXPECT_EQ(repositorio->UltimoPrecioTransmitido("2", "000000003"), std::nullopt);
}

// Offer dates stored with a (midnight) time part are days like any other.
TEST_P(FallasLoteTest, FechasDeOfertaConHora) {
    const QString manana = kHoy.addDays(1).toString(Qt::ISODate);
    const QString hoy = kHoy.toString(Qt::ISODate);
    const QString luego = kHoy.addDays(9).toString(Qt::ISODate);
    const QString antes = kHoy.addDays(-9).toString(Qt::ISODate);
    // Already sent: only their offer dates can bring them back.
    esquema->ejecuta("UPDATE V_MA_PRECIOS SET ESTADO = '1-M'");
    const auto oferta = [&](const QString& cod, const QString& desde, const QString& hasta) {
        esquema->ejecuta(
            "UPDATE V_MA_PRECIOS SET FHOFERTADESDE = ?, FHOFERTAHASTA = ? WHERE IdArticulo = ?",
            {desde, hasta, cod});
    };
    oferta("000101", manana + " 00:00:00", luego + " 00:00:00"); // starts tomorrow
    oferta("000102", antes + " 00:00:00", hoy + " 00:00:00");    // ends today
    oferta("000103", manana + "T00:00:00", luego + "T00:00:00");
    oferta("000104", antes, luego); // running: not due in this batch
    ASSERT_EQ(lote->CargaNovedades().estado, ResultadoCarga::Estado::Cargado);
    const auto f = filas();
    ASSERT_EQ(f.size(), 3);
    EXPECT_EQ(f[0][FilaNovedad::CodInterno], "000000101");
    EXPECT_EQ(f[0][FilaNovedad::PrecioVenta], "000080000"); // the offer price
    EXPECT_EQ(f[0][FilaNovedad::NoMarcar], "1");
    EXPECT_EQ(f[1][FilaNovedad::CodInterno], "000000102");
    EXPECT_EQ(f[1][FilaNovedad::NoMarcar], "0"); // its last change: marked
    EXPECT_EQ(f[2][FilaNovedad::CodInterno], "000000103");
}

// A batch code is one whole number wherever it is compared or written:
// "049" is batch 49, "01" is the existing batch 1, and 64-bit codes are kept
// exactly.
TEST_P(FallasLoteTest, CodigosComoNumeros) {
    ventana.campo("Codigo") = "9007199254740993";
    ASSERT_EQ(lote->CargaNovedades().filas, 4);
    ventana.fijaRuta(rutaCambios());
    op.responde(Operador::No); // no witness
    const ResultadoGeneracion r = lote->Genera();
    ASSERT_EQ(r.estado, ResultadoGeneracion::Estado::Generado);
    EXPECT_EQ(r.codigo, "9007199254740993");
    EXPECT_EQ(cuenta("SELECT COUNT(*) FROM MV_TARVELO WHERE Codigo = 9007199254740993"), 4);
    EXPECT_EQ(ventana.campo("Codigo"), "9007199254740994");

    // Reloaded as "049": stamped, nothing inserted.
    esquema->filaLote({.codigo = 49, .idLista = "1", .codInterno = "000000101"});
    esquema->filaLote({.codigo = 49, .idLista = "1", .codInterno = "000000102"});
    ventana.campo("Codigo") = "049";
    ASSERT_EQ(lote->CargaLote().filas, 2);
    ventana.fijaRuta(rutaCambios());
    op.limpia();
    // Regenerate; the fixture's short rows leave the fixed layout: go on; no witness.
    op.responde(Operador::Si).responde(Operador::Si).responde(Operador::No);
    EXPECT_EQ(lote->Genera().estado, ResultadoGeneracion::Estado::Regenerado);
    EXPECT_EQ(cuenta("SELECT COUNT(*) FROM MV_TARVELO WHERE Codigo = 49"), 2);
    EXPECT_EQ(cuenta("SELECT COUNT(*) FROM MV_TARVELO WHERE Codigo = 49 AND RETRANSMITIDO IS "
                     "NOT NULL"),
              2);

    // A fresh batch typed "0049": the code is taken, and said so as 49.
    esquema->ejecuta("UPDATE V_MA_PRECIOS SET ESTADO = '0-M'");
    eligeLista("1", "LISTA UNO");
    ventana.campo("Codigo") = "0049";
    ASSERT_EQ(lote->CargaNovedades().filas, 4);
    ventana.fijaRuta(rutaCambios());
    op.limpia();
    op.responde(Operador::No);
    EXPECT_EQ(lote->Genera().estado, ResultadoGeneracion::Estado::Declinado);
    ASSERT_FALSE(op.preguntas().isEmpty());
    EXPECT_TRUE(op.preguntas()[0].texto.startsWith("El código 49 fue utilizado"));
    EXPECT_EQ(cuenta("SELECT COUNT(*) FROM MV_TARVELO WHERE Codigo = 49"), 2);

    // Beyond what the engines store: refused before anything is written.
    for (const QString codigo :
         {"9223372036854775807", "9223372036854775808", "99999999999999999999", "-1", "4 9"}) {
        SCOPED_TRACE(codigo.toStdString());
        ventana.campo("Codigo") = codigo;
        // As if the rows had been loaded under that code.
        ventana.cabecera = CabeceraLote::DeVentana(ventana);
        op.limpia();
        EXPECT_EQ(lote->Genera().estado, ResultadoGeneracion::Estado::CodigoInvalido);
        EXPECT_EQ(preguntas(), QStringList({GeneradorLote::kCodigoInvalido}));
    }
    EXPECT_EQ(cuenta("SELECT COUNT(*) FROM MV_TARVELO"), 6);
}

// A list code longer than four characters would be cut and name another
// list: the loader and the generation refuse it.
TEST_P(FallasLoteTest, ListaDeMasDeCuatroCaracteres) {
    ASSERT_EQ(lote->CargaNovedades().filas, 4);
    ventana.fijaRuta(rutaCambios());
    ventana.campo("IdLista") = "1   ; DROP TABLE X";
    op.limpia();
    EXPECT_EQ(lote->CargaNovedades().estado, ResultadoCarga::Estado::Rechazado);
    // A header that came with such a list is refused by the generation too.
    const CabeceraLote cargada = *ventana.cabecera;
    ventana.cabecera = CabeceraLote::DeVentana(ventana);
    EXPECT_EQ(lote->Genera().estado, ResultadoGeneracion::Estado::SinLista);
    ventana.cabecera = cargada;
    EXPECT_EQ(preguntas(), QStringList({GeneradorLote::kListaLarga, GeneradorLote::kListaLarga}));
    EXPECT_EQ(filas().size(), 4); // the grid as it was
    EXPECT_EQ(cuenta("SELECT COUNT(*) FROM MV_TARVELO"), 0);
    EXPECT_FALSE(QFile::exists(rutaCambios()));
    // Blanks around a short code are no part of it.
    ventana.campo("IdLista") = "  1   ";
    op.limpia();
    EXPECT_EQ(lote->CargaNovedades().filas, 4);
}

// The list code reaches the source query as a value, whichever way the
// engine runs it (on PostgreSQL a server cursor, whose text holds the value
// as a literal): an apostrophe is part of the code and nothing more.
TEST_P(FallasLoteTest, ListaConApostrofe) {
    esquema->lista("O'1", "LISTA O");
    PrecioPrueba p;
    p.idLista = "O'1";
    p.idArticulo = "000101";
    p.precios = {100, 80, 0};
    esquema->precio(p);
    ventana.campo("IdLista") = "O'1";
    EXPECT_EQ(lote->CargaNovedades().filas, 1);
    ventana.campo("IdLista") = "1'--";
    EXPECT_EQ(lote->CargaNovedades().filas, 0);
    ventana.campo("IdLista") = "1";
    EXPECT_EQ(lote->CargaNovedades().filas, 4);
}

INSTANTIATE_TEST_SUITE_P(Motores, FallasLoteTest, valoresMotores(), nombreMotor);
