#include "BaseDePrueba.h"
#include "EsquemaPrueba.h"
#include "HerramientasPdf.h"
#include "cli/ComandoTestigo.h"
#include "reports/DestinoPdf.h"
#include "reports/ErroresReporte.h"
#include "reports/ImpresionLote.h"
#include "reports/ServicioReportes.h"
#include "utility_library/ErrorKX.h"
#include "utility_library/Programa.h"
#include "utility_library/QlReport.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSqlDatabase>

namespace {

const QString kEmpresa = QString::fromUtf8("Almacén O'Brien S.A.");

// A batch (code 2, list 7) after an earlier batch of the same list (code 1)
// and one of another list (code 5) that must not count as "previous".
class ReportesPdfTest : public PruebaPorMotor {
protected:
    void SetUp() override {
        PruebaPorMotor::SetUp();
        if (IsSkipped() || HasFatalFailure()) {
            return;
        }
        EsquemaPrueba e;
        ASSERT_TRUE(e.creaEsquema());
        e.configuracion("NOMBRE", kEmpresa);
        const QDate ayer(2026, 3, 9), hoy(2026, 3, 10);
        fila(e, 1, "7", ayer, "000001234", "001000000", "4006381333931");
        fila(e, 1, "7", ayer, "000005678", "000200000", "4006381333932");
        fila(e, 1, "7", ayer, "000009999", "000050000", "0000099990000");
        fila(e, 5, "8", ayer, "000001234", "000777000", "4006381333931");
        fila(e, 2, "7", hoy, "000001234", "001100000", "4006381333931");
        fila(e, 2, "7", hoy, "000005678", "000400000", "4006381333932");
        fila(e, 2, "7", hoy, "000009999", "000000000", "0000099990000");
        fila(e, 2, "7", hoy, "000123456", "000012345", "ABC123       ", "I");
        ASSERT_TRUE(HerramientasPdf::copiaReportes(Programa::carpeta()));
        QlReport::RutaReportes(Programa::carpeta());
        ASSERT_TRUE(dir_.isValid());
    }

    void TearDown() override {
        // Every PDF a test left, whichever writer made it, passes qpdf's
        // check (a file the test wrote as a stand-in is no PDF).
        for (const QString& f : QDir(dir_.path()).entryList({"*.pdf"}, QDir::Files)) {
            QFile a(dir_.filePath(f));
            if (a.open(QIODevice::ReadOnly) && a.read(5) == "%PDF-") {
                EXPECT_EQ(HerramientasPdf::revisa(a.fileName()), QString()) << f.toStdString();
            }
        }
        PruebaPorMotor::TearDown();
    }

    static void fila(EsquemaPrueba& e, int codigo, const char* lista, const QDate& fecha,
                     const char* cod, const char* precio, const char* barras,
                     const char* tipo = " ") {
        e.filaLote({.codigo = codigo,
                    .idLista = lista,
                    .nombre = "LISTA " + QString::fromLatin1(lista),
                    .fecha = fecha,
                    .codInterno = cod,
                    .descripcion = QStringLiteral("ARTICULO %1").arg(cod).leftJustified(30),
                    .marca = QStringLiteral("MARCA").leftJustified(15),
                    .precioVenta = precio,
                    .precio = precio,
                    .precioCosto = "000100000",
                    .codBarra = barras,
                    .tipo = tipo,
                    .rutaArchivo = "C:\\NOVEDADES\\CAMBIOS.TXT"});
    }

    QString pdf(const char* nombre) const { return dir_.filePath(QString::fromLatin1(nombre)); }

    QTemporaryDir dir_;
};

TEST_P(ReportesPdfTest, ElTestigoMuestraElLoteYElPrecioAnterior) {
    const QString archivo = pdf("testigo.pdf");
    EXPECT_EQ(ImprimeLotePdf("2", false, archivo), 1);
    EXPECT_EQ(HerramientasPdf::paginas(archivo), 1);
    const QString t = HerramientasPdf::texto(archivo);
    for (const QString& esperado :
         {QStringLiteral("Lote: 2"), kEmpresa, QStringLiteral("Lista: 7 - LISTA 7"),
          QStringLiteral("C:\\NOVEDADES\\CAMBIOS.TXT"), QStringLiteral("Usuario: OPERADOR"),
          QStringLiteral("Filas del lote: 4"), QStringLiteral("Registros de balanza: 3"),
          QStringLiteral("Filas con aviso de precio: 2"), QString::fromUtf8("Página 1 de 1")}) {
        EXPECT_TRUE(t.contains(esperado)) << esperado.toStdString() << "\n" << t.toStdString();
    }
    // Row by row, in the batch's order: code, new price, previous price, change, mark.
    const QStringList filas = {
        R"(000001234 .* 1100,00 +1000,00 +1 +\+10,0% .*4006381333931)",
        R"(000005678 .* 400,00 +200,00 +1 +\+100,0% .*CAMBIO > 50%)",
        R"(000009999 .* 0,00 +50,00 +1 +-100,0% .*PRECIO CERO)",
        R"(000123456 .* 12,345 +100,00 +ABC123 +Sí)",
    };
    int desde = 0;
    for (const QString& f : filas) {
        const QRegularExpressionMatch m = QRegularExpression(f).match(t, desde);
        ASSERT_TRUE(m.hasMatch()) << f.toStdString() << "\n" << t.toStdString();
        desde = int(m.capturedEnd());
    }
    // The other list's batch is no previous price of this list.
    EXPECT_FALSE(t.contains("777,00"));
}

TEST_P(ReportesPdfTest, LasEtiquetasSeLeenConUnLectorDeCodigos) {
    const QString archivo = pdf("etiquetas.pdf");
    EXPECT_EQ(ImprimeLotePdf("2", true, archivo), 1);
    EXPECT_EQ(HerramientasPdf::codigos(archivo),
              (QStringList{"CODE-128:0000099990000", "CODE-128:4006381333932", "CODE-128:ABC123",
                           "EAN-13:4006381333931"}));
    const QString t = HerramientasPdf::texto(archivo);
    EXPECT_TRUE(t.contains("$ 1100,00")) << t.toStdString();
    EXPECT_TRUE(t.contains("ARTICULO 000123456"));
}

// With SOURCE_DATE_EPOCH set, the same witness is the same file, its
// creation date that one.
TEST_P(ReportesPdfTest, ConLaFechaFijadaElMismoTestigoEsElMismoArchivo) {
    qputenv("SOURCE_DATE_EPOCH", "1773100800");
    EXPECT_EQ(ImprimeLotePdf("2", false, pdf("fecha-1.pdf")), 1);
    EXPECT_EQ(ImprimeLotePdf("2", false, pdf("fecha-2.pdf")), 1);
    qunsetenv("SOURCE_DATE_EPOCH");
    QFile uno(pdf("fecha-1.pdf")), dos(pdf("fecha-2.pdf"));
    ASSERT_TRUE(uno.open(QIODevice::ReadOnly));
    ASSERT_TRUE(dos.open(QIODevice::ReadOnly));
    const QByteArray a = uno.readAll();
    EXPECT_EQ(a, dos.readAll());
    EXPECT_TRUE(a.contains("/CreationDate (D:20260310000000Z)"));
    EXPECT_TRUE(a.contains("/ID [<"));
}

TEST_P(ReportesPdfTest, SinNombreDeEmpresaIgualSeImprime) {
    EsquemaPrueba e;
    e.ejecuta("DELETE FROM TA_CONFIGURACION WHERE CLAVE = 'NOMBRE'");
    EXPECT_EQ(FormulasLote().first(), "Empresa = ''");
    const QString archivo = pdf("sin-empresa.pdf");
    EXPECT_EQ(ImprimeLotePdf("2", false, archivo), 1);
    const QString t = HerramientasPdf::texto(archivo);
    EXPECT_TRUE(t.contains("Lote: 2"));
    EXPECT_FALSE(t.contains(kEmpresa));
}

TEST_P(ReportesPdfTest, UnaFallaNoEscribeNadaYDejaElArchivoAnterior) {
    const QString archivo = pdf("anterior.pdf");
    {
        QFile f(archivo);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("anterior");
    }
    DestinoPdf destino(archivo);
    ServicioReportes servicio(destino);
    struct Caso {
        QString carpeta, reporte, formula;
        int numero;
        QString mensaje;
    };
    QTemporaryDir vacia;
    const Caso casos[] = {
        {Programa::carpeta(), "RP_Tarvelo", "{mv_tarvelo.codigo} =2 OR 1=1",
         ErroresReporte::kFormulaInvalida, QString::fromUtf8("Fórmula de selección no válida")},
        {Programa::carpeta(), "RP_Tarvelo", "{mv_tarvelo.codigo} =",
         ErroresReporte::kFormulaInvalida, QString::fromUtf8("Fórmula de selección no válida")},
        {Programa::carpeta(), "RP_Tarvelo", "{ma_articulos.codigo} =2",
         ErroresReporte::kFormulaInvalida, "MV_TARVELO"},
        {Programa::carpeta(), "MA_PRE3", "{mv_tarvelo.codigo} =99", ErroresReporte::kSinFilas,
         "No hay filas en MV_TARVELO"},
        {vacia.path(), "RP_Tarvelo", "{mv_tarvelo.codigo} =2", ErroresReporte::kDefinicionFaltante,
         "No se encuentra el reporte " +
             QDir::toNativeSeparators(vacia.filePath("reports/RP_Tarvelo.txt"))},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.formula.toStdString());
        try {
            servicio.Imprime(c.carpeta, c.reporte, {QString()}, c.formula, QString(),
                             FormulasLote());
            ADD_FAILURE() << "impreso";
        } catch (const FalloKX& e) {
            EXPECT_EQ(e.error().numero, c.numero);
            EXPECT_TRUE(e.error().descripcion.contains(c.mensaje)) << e.what();
        }
        QFile f(archivo);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_EQ(f.readAll(), "anterior");
    }
}

// Plain texts and texts that only the full text layout sets (a combining
// accent, another script, a description wrapped on the label) side by side:
// every one of them is in the PDF, with its row.
TEST_P(ReportesPdfTest, TextosQueNecesitanElTrazadoCompletoJuntoALosSimples) {
    EsquemaPrueba e;
    const struct {
        const char16_t* descripcion;
        const char* cod;
        const char* barras;
    } filas[] = {
        {u"CAFE\u0301 MOLIDO", "000000101", "4006381333931"},
        {u"ΑΛΦΑ ΒΗΤΑ", "000000102", "5901234123457"},
        {u"JAMÓN CRUDO ESTACIONADO FETEADO EXTRA", "000000103", "9780201379624"},
        {u"ARROZ LARGO FINO", "000000104", "ABC-77"},
        // Outside ASCII a Code 128 would scan as other letters: no code.
        {u"YERBA SUAVE", "000000105", "ÑANDÚ-7"},
    };
    for (const auto& f : filas) {
        e.filaLote({.codigo = 11,
                    .idLista = "7",
                    .nombre = "LISTA 7",
                    .fecha = QDate(2026, 3, 12),
                    .codInterno = f.cod,
                    .descripcion = QString::fromUtf16(f.descripcion),
                    .precioVenta = "000250000",
                    .precio = "000250000",
                    .codBarra = QString::fromUtf8(f.barras)});
    }
    const QString testigo = pdf("mezcla-testigo.pdf");
    const QString etiquetas = pdf("mezcla-etiquetas.pdf");
    ASSERT_EQ(ImprimeLotePdf("11", false, testigo), 1);
    ASSERT_EQ(ImprimeLotePdf("11", true, etiquetas), 1);
    const QString t = HerramientasPdf::texto(testigo).normalized(QString::NormalizationForm_C);
    const QString et = HerramientasPdf::texto(etiquetas).normalized(QString::NormalizationForm_C);
    for (const char* esperado : {"CAFÉ MOLIDO", "ΑΛΦΑ ΒΗΤΑ", "ARROZ LARGO FINO", "000000101",
                                 "000000102", "000000103", "000000104", "250,00"}) {
        EXPECT_TRUE(t.contains(QString::fromUtf8(esperado))) << esperado << "\n" << t.toStdString();
    }
    for (const char* esperado :
         {"CAFÉ MOLIDO", "ΑΛΦΑ ΒΗΤΑ", "JAMÓN CRUDO", "FETEADO EXTRA", "ARROZ LARGO FINO",
          "Cód. 000000101", "Cód. 000000104", "$ 250,00", "CÓDIGO NO IMPRIMIBLE: ÑANDÚ-7"}) {
        EXPECT_TRUE(et.contains(QString::fromUtf8(esperado))) << esperado << "\n"
                                                              << et.toStdString();
    }
    EXPECT_EQ(HerramientasPdf::codigos(etiquetas),
              (QStringList{"CODE-128:ABC-77", "EAN-13:4006381333931", "EAN-13:5901234123457",
                           "EAN-13:9780201379624"}));
}

// A thousand rows: the page count follows the page's room, with the totals
// on a page of their own when the last page is full.
// Prices and codes from the widest the record layout sends to the widest the
// batch table keeps: every label and the witness show each one whole, in a
// smaller size where it must be, never with an ellipsis. A box too small for
// any readable size refuses the report and names the row.
TEST_P(ReportesPdfTest, NingunPrecioNiCodigoSeCorta) {
    const struct {
        const char* precio;  // thousandths, as the batch keeps it
        const char* importe; // as printed
        const char* barras;
    } casos[] = {
        {"999999999", "999999,999", "4006381333931"},
        {"20043691000", "20043691,00", "20043691200436912004"},
        {"123456789012", "123456789,012", "ABCDEFGHIJ1234567890"},
        // Beyond what reads as thousandths: printed as it is kept.
        {"99999999999999999999", "99999999999999999999", "999999999999999999999999999999"},
    };
    {
        EsquemaPrueba e;
        int n = 0;
        for (const auto& c : casos) {
            fila(e, 30, "7", QDate(2026, 3, 11),
                 QStringLiteral("%1").arg(900000 + n++, 9, 10, QChar('0')).toLatin1().constData(),
                 c.precio, c.barras);
        }
    }
    for (const bool etiquetas : {true, false}) {
        SCOPED_TRACE(etiquetas ? "etiquetas" : "testigo");
        const QString archivo = pdf(etiquetas ? "anchos-etiquetas.pdf" : "anchos-testigo.pdf");
        ASSERT_EQ(ImprimeLotePdf("30", etiquetas, archivo), 1);
        const QString t = HerramientasPdf::texto(archivo);
        // No row's value ends cut (a heading may).
        for (const QString& linea : t.split('\n')) {
            if (linea.contains("ARTICULO") || linea.contains("$")) {
                EXPECT_FALSE(linea.contains(QChar(0x2026)) || linea.contains("..."))
                    << linea.toStdString();
            }
        }
        for (const auto& c : casos) {
            const QString importe = QString::fromLatin1(c.importe);
            EXPECT_TRUE(t.contains(etiquetas ? "$ " + importe : importe)) << c.importe << "\n"
                                                                          << t.toStdString();
            if (!etiquetas) {
                // The witness prints the bar code's text in its own column.
                EXPECT_TRUE(t.contains(QString::fromLatin1(c.barras))) << c.barras << "\n"
                                                                       << t.toStdString();
            }
        }
    }

    // A price box of 15 mm: the first price fits at 6 points (the smallest
    // for a 20-point font), the second does not; nothing is written.
    QFile def(Programa::carpeta() + "/reports/ESTRECHA.txt");
    ASSERT_TRUE(def.open(QIODevice::WriteOnly));
    def.write("[reporte]\ntipo = etiquetas\n[pagina]\ntamano = A4\nmargenes = 10 10 10 10\n"
              "[fuentes]\nprecio = DejaVu Sans; 20\n[etiqueta]\nancho = 40\nalto = 20\n"
              "columnas = 1\nfilas = 8\ntexto = 1 1 15 8 precio derecha | $ {Precio}\n");
    def.close();
    const QString archivo = pdf("estrecha.pdf");
    DestinoPdf destino(archivo);
    ServicioReportes servicio(destino);
    try {
        servicio.Imprime(Programa::carpeta(), "ESTRECHA", {QString()}, "{mv_tarvelo.codigo} =30",
                         QString(), FormulasLote());
        ADD_FAILURE() << "impreso";
    } catch (const FalloKX& e) {
        EXPECT_EQ(e.error().numero, ErroresReporte::kNoCabe);
        EXPECT_TRUE(e.error().descripcion.contains("$ 20043691,00")) << e.what();
        EXPECT_TRUE(e.error().descripcion.contains("fila 2 del lote")) << e.what();
    }
    EXPECT_FALSE(QFile::exists(archivo));
}

TEST_P(ReportesPdfTest, MilFilasDanLasPaginasJustas) {
    {
        EsquemaPrueba e;
        QSqlDatabase db = e.conexion();
        ASSERT_TRUE(db.transaction());
        for (int i = 0; i < 1000; ++i) {
            e.filaLote({.codigo = 10,
                        .idLista = "7",
                        .nombre = "LISTA 7",
                        .fecha = QDate(2026, 3, 11),
                        .codInterno = QStringLiteral("%1").arg(200000 + i, 9, 10, QChar('0')),
                        .descripcion = "ARTICULO",
                        .precioVenta = "000001000",
                        .precio = "000001000",
                        .codBarra = QStringLiteral("%1").arg(200000 + i)});
        }
        ASSERT_TRUE(db.commit());
    }
    QFile prueba(Programa::carpeta() + "/reports/PRUEBA.txt");
    ASSERT_TRUE(prueba.open(QIODevice::WriteOnly));
    prueba.write("[reporte]\ntipo = listado\n[pagina]\ntamano = 100x100\nmargenes = 0 0 0 0\n"
                 "[fuentes]\nf = DejaVu Sans; 6\n[encabezado]\nalto = 10\n"
                 "texto = 0 0 100 10 f izquierda | Lote {Codigo}\n[detalle]\nalto = 10\n"
                 "columna = 0 50 f izquierda | C | {CodInterno}\n[totales]\nalto = 10\n"
                 "texto = 0 0 100 10 f izquierda | Total {Filas}\n[pie]\nalto = 10\n"
                 "texto = 0 0 100 10 f derecha | Pagina {Pagina} de {Paginas}\n");
    prueba.close();
    const QString archivo = pdf("prueba.pdf");
    DestinoPdf destino(archivo);
    ServicioReportes servicio(destino);
    servicio.Imprime(Programa::carpeta(), "PRUEBA", {QString()}, "{mv_tarvelo.codigo} =10",
                     QString(), FormulasLote());
    // 8 rows a page: 125 full pages, the totals on page 126.
    EXPECT_EQ(destino.paginas(), 126);
    EXPECT_EQ(HerramientasPdf::paginas(archivo), 126);
    EXPECT_TRUE(HerramientasPdf::texto(archivo).contains("Pagina 126 de 126"));

    const QString testigo = pdf("testigo-mil.pdf");
    const int paginas = ImprimeLotePdf("10", false, testigo);
    EXPECT_EQ(HerramientasPdf::paginas(testigo), paginas);
    const QString t = HerramientasPdf::texto(testigo);
    EXPECT_TRUE(t.contains(QString::fromUtf8("Página %1 de %1").arg(paginas)));
    EXPECT_EQ(t.count(QRegularExpression("\\b000200\\d\\d\\d\\b")), 1000);
    // Every page carries its own texts: its number, and its rows in order.
    for (const int p : {1, 2, paginas}) {
        const QString pagina = HerramientasPdf::texto(testigo, p);
        EXPECT_EQ(pagina.count(QString::fromUtf8("Página ")), 1) << p;
        EXPECT_TRUE(pagina.contains(QString::fromUtf8("Página %1 de %2").arg(p).arg(paginas)));
    }
    EXPECT_TRUE(HerramientasPdf::texto(testigo, 1).contains("000200000"));
    EXPECT_FALSE(HerramientasPdf::texto(testigo, 2).contains("000200000"));
    // 24 labels a page.
    EXPECT_EQ(ImprimeLotePdf("10", true, pdf("etiquetas-mil.pdf")), 42);
    EXPECT_EQ(HerramientasPdf::paginas(pdf("etiquetas-mil.pdf")), 42);
    EXPECT_TRUE(HerramientasPdf::texto(pdf("etiquetas-mil.pdf"), 1).contains("000200023"));
    EXPECT_FALSE(HerramientasPdf::texto(pdf("etiquetas-mil.pdf"), 1).contains("000200024"));
    EXPECT_TRUE(HerramientasPdf::texto(pdf("etiquetas-mil.pdf"), 42).contains("000200999"));
}

INSTANTIATE_TEST_SUITE_P(Motores, ReportesPdfTest, valoresMotores(), nombreMotor);

// tarvelo-lote testigo, started from the suite's command line.
class ComandoTestigoTest : public ReportesPdfTest {
protected:
    int corre(QStringList args) {
        out.clear();
        err.clear();
        QTextStream o(&out), e(&err);
        const int r = ComandoTestigo(args, o, e);
        o.flush();
        e.flush();
        return r;
    }
    QString linea() {
        if (base().plataforma() == Plataforma::Sqlite) {
            return "@Plataforma=SQLITE; @server=.; @dbname=" + base().nombre() +
                   "; @usuario=DEMO; @Password=; @UsuarioLogeado=DEMO";
        }
        return "@Plataforma=POSTGRESQL; @server=" + base().servidor() +
               "; @Puerto=" + QString::number(base().puerto()) + "; @dbname=" + base().nombre() +
               "; @usuario=" + base().usuario() + "; @Password=; @UsuarioLogeado=DEMO";
    }
    QString out, err;
};

TEST_P(ComandoTestigoTest, EscribeElPdfOExplicaPorQueNo) {
    EsquemaPrueba().usuario("DEMO", true);
    BaseDePrueba::cierra(DB_Dll::instancia());
    const QString archivo = pdf("lote2.pdf");
    EXPECT_EQ(corre({"testigo", linea(), "--codigo", "2", "--pdf", archivo, "--etiquetas"}), 0)
        << err.toStdString();
    EXPECT_TRUE(out.contains("reporte=MA_PRE3 paginas=1")) << out.toStdString();
    EXPECT_EQ(HerramientasPdf::codigos(archivo).size(), 4);

    struct Caso {
        QStringList args;
        int codigo;
        const char* mensaje;
    };
    const Caso casos[] = {
        {{linea(), "--codigo", "2"}, 2, "necesita --codigo y --pdf"},
        {{linea(), "--codigo", "2 OR 1=1", "--pdf", archivo}, 2, "numero entero"},
        {{linea(), "--codigo", "2", "--pdf", "/no/existe/x.pdf"}, 2, "no existe"},
        {{linea(), "--codigo", "2", "--pdf", archivo, "--color"}, 2, "Opcion desconocida"},
        {{linea(), "--codigo", "99", "--pdf", pdf("x.pdf")}, 2, "No hay filas"},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.mensaje);
        EXPECT_EQ(corre(c.args), c.codigo);
        EXPECT_TRUE(err.contains(QString::fromUtf8(c.mensaje))) << err.toStdString();
    }
    EXPECT_FALSE(QFile::exists(pdf("x.pdf")));
    EXPECT_EQ(HerramientasPdf::codigos(archivo).size(), 4); // left as it was
}

INSTANTIATE_TEST_SUITE_P(Motores, ComandoTestigoTest, valoresMotores(), nombreMotor);

} // namespace
