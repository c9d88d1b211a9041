#include "HerramientasPdf.h"
#include "reports/EscritorPdf.h"
#include "reports/FuentePdf.h"
#include "reports/LineaGlifos.h"
#include "reports/ResolucionPdf.h"
#include "reports/TrazadorPdf.h"

#include <QBuffer>
#include <QFile>
#include <QDateTime>
#include <QFont>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainterPath>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimeZone>
#include <QtEndian>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace {

QFont fuente(int puntos, bool negrita) {
    static const ResolucionPdf medidas(600);
    QFont f(QFont(QStringLiteral("DejaVu Sans"), puntos, negrita ? QFont::Bold : QFont::Normal),
            &medidas);
    f.setHintingPreference(QFont::PreferFullHinting);
    return f;
}

quint32 glifo(const QRawFont& f, QChar c) {
    quint32 g = 0;
    int n = 1;
    f.glyphIndexesForChars(&c, 1, &g, &n);
    return g;
}

const QString kTrueType = QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf");
const QString kCff = QStringLiteral("/usr/share/fonts/opentype/urw-base35/NimbusSans-Regular.otf");
const QDateTime kFecha(QDate(2026, 3, 10), QTime(12, 0), QTimeZone::utc());

// A copy of a TrueType face whose licence bits (OS/2 fsType) are `permisos`.
QString conPermisos(const QString& origen, const QString& destino, quint16 permisos) {
    QFile f(origen);
    if (!f.open(QIODevice::ReadOnly)) {
        return QString();
    }
    QByteArray b = f.readAll();
    const int tablas = qFromBigEndian<quint16>(b.constData() + 4);
    for (int i = 0; i < tablas; ++i) {
        const char* registro = b.constData() + 12 + 16 * i;
        if (QByteArray(registro, 4) == "OS/2") {
            const quint32 donde = qFromBigEndian<quint32>(registro + 8);
            qToBigEndian<quint16>(permisos, b.data() + donde + 8);
            QFile g(destino);
            if (!g.open(QIODevice::WriteOnly) || g.write(b) != b.size()) {
                return QString();
            }
            return destino;
        }
    }
    return QString();
}

// One PDF page with each text set in its face, at a fixed creation date.
struct Texto {
    QRawFont fuente;
    QString texto;
};
QByteArray escribe(const std::vector<Texto>& textos, const QString& archivo = {}) {
    QByteArray bytes;
    QBuffer b(&bytes);
    b.open(QIODevice::WriteOnly);
    const QPageLayout a4(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                         QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
    EscritorPdf pdf(b, a4, 600, QStringLiteral("Caras"), QStringLiteral("tarvelo"), kFecha);
    TrazadorPdf t(pdf);
    std::vector<std::unique_ptr<LineaGlifos>> lineas;
    double y = 300;
    for (const Texto& x : textos) {
        lineas.push_back(std::make_unique<LineaGlifos>(x.fuente));
        if (!lineas.back()->prepara(x.texto)) {
            ADD_FAILURE() << "no se prepara " << x.texto.toStdString();
            return {};
        }
        t.glifos(*lineas.back(), x.texto, QPointF(100, y), Qt::black);
        y += 300;
    }
    t.termina();
    pdf.termina();
    if (!archivo.isEmpty()) {
        QFile f(archivo);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    return bytes;
}

// Dark pixels of the first page rendered in grey (pdftoppm).
int tinta(const QString& pdf) {
    QTemporaryDir dir;
    QProcess p;
    p.start(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("50"),
                                         QStringLiteral("-gray"), QStringLiteral("-png"),
                                         QStringLiteral("-singlefile"), pdf,
                                         dir.filePath(QStringLiteral("p"))});
    p.waitForFinished(60000);
    const QImage img(dir.filePath(QStringLiteral("p.png")));
    int oscuros = 0;
    for (int y = 0; y < img.height(); ++y) {
        for (int x = 0; x < img.width(); ++x) {
            oscuros += qGray(img.pixel(x, y)) < 128;
        }
    }
    return oscuros;
}

// The cut-down program draws every glyph used, those built of other glyphs
// included, exactly as the whole face does, and keeps the face's numbering;
// a glyph not used is left empty. TrueType and CFF alike.
TEST(FuentePdf, ElProgramaRecortadoDibujaLosGlifosUsados) {
    for (const QString& archivo : {kTrueType, kCff}) {
        SCOPED_TRACE(archivo.toStdString());
        const QRawFont entera(archivo, 80);
        ASSERT_TRUE(entera.isValid());
        FuentePdf f(entera);
        EXPECT_EQ(f.clase(), archivo == kCff ? FuentePdf::Clase::Cff : FuentePdf::Clase::TrueType);
        const QString usados = QString::fromUtf8("ÁÉñÑ$1,0Ç");
        for (const QChar c : usados) {
            f.usa(glifo(entera, c), c.unicode());
        }
        const QByteArray programa = f.programa();
        const QRawFont recortada(programa, entera.pixelSize());
        ASSERT_TRUE(recortada.isValid());
        for (const QChar c : usados) {
            SCOPED_TRACE(QString(c).toStdString());
            const quint32 g = glifo(entera, c);
            EXPECT_EQ(recortada.pathForGlyph(g), entera.pathForGlyph(g));
            EXPECT_FALSE(recortada.pathForGlyph(g).isEmpty());
        }
        EXPECT_TRUE(recortada.pathForGlyph(glifo(entera, QLatin1Char('Z'))).isEmpty());
        EXPECT_FALSE(entera.pathForGlyph(glifo(entera, QLatin1Char('Z'))).isEmpty());
        // A fraction of the face.
        QFile whole(archivo);
        ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
        EXPECT_LT(programa.size(), whole.size() / 4);
        // Each used glyph stands for its character when the text is copied.
        const QByteArray mapa = f.aUnicode();
        EXPECT_TRUE(mapa.contains("<00D1>")) << mapa.constData();
        EXPECT_TRUE(mapa.contains("beginbfchar"));
    }
}

// The descriptor's measures come from the face: its italic angle (post),
// its capitals' height (OS/2), its box (head).
TEST(FuentePdf, LasMedidasSonLasDeLaCara) {
    struct Caso {
        QString archivo;
        const char* esperado;
    } casos[] = {
        {kTrueType, "/ItalicAngle 0 "},
        {QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSans-Oblique.ttf"),
         "/ItalicAngle -11 "},
        {QStringLiteral("/usr/share/fonts/opentype/urw-base35/NimbusSans-Italic.otf"),
         "/ItalicAngle -12 "},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.archivo.toStdString());
        const QRawFont cara(c.archivo, 80);
        const QByteArray m = FuentePdf(cara).medidas();
        EXPECT_TRUE(m.contains(c.esperado)) << m.constData();
        EXPECT_TRUE(m.startsWith("/Flags " + QByteArray(c.archivo == kTrueType ? "32 " : "96 ")))
            << m.constData();
    }
    // DejaVu Sans: capitals 729/2048 of the em, ascent 928/1000, box from head.
    const QByteArray m = FuentePdf(QRawFont(kTrueType, 80)).medidas();
    EXPECT_TRUE(m.contains("/CapHeight 729 ")) << m.constData();
    EXPECT_TRUE(m.contains("/FontBBox [-1021 -463 1793 1232]")) << m.constData();
}

// A table of faces, each written by the program's writer: the file passes
// qpdf's check, its text reads back, and the font is embedded (TrueType as
// CID TrueType, CFF as its own OpenType program) unless the licence forbids
// it, in which case the glyphs are still drawn (as outlines) and the text
// is still there, unseen, for search and copy.
TEST(EscritorPdf, CadaCaraSeEmbebeOSeDibujaSegunSuClaseYSuLicencia) {
    QTemporaryDir dir;
    struct Caso {
        const char* nombre;
        QString archivo;
        const char* tipo;      // as pdffonts names it
        const char* embebida;  // "yes" / "no"
        const char* programa;  // the font program's key, or none
    } casos[] = {
        {"truetype", kTrueType, "CID TrueType", "yes", "/FontFile2"},
        {"cff", kCff, "CID Type 0C (OT)", "yes", "/FontFile3"},
        {"restringida",
         conPermisos(kTrueType, dir.filePath(QStringLiteral("restringida.ttf")), 0x0002),
         "CID TrueType", "no", nullptr},
        {"solo-mapas-de-bits",
         conPermisos(kTrueType, dir.filePath(QStringLiteral("mapas.ttf")), 0x0208),
         "CID TrueType", "no", nullptr},
        {"instalable", conPermisos(kTrueType, dir.filePath(QStringLiteral("libre.ttf")), 0x0008),
         "CID TrueType", "yes", "/FontFile2"},
    };
    const QString texto = QString::fromUtf8("Almacén O'Brien $ 1100,00 ÑANDÚ");
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nombre);
        ASSERT_FALSE(c.archivo.isEmpty());
        const QString archivo = dir.filePath(QString::fromLatin1(c.nombre) + ".pdf");
        const QByteArray bytes = escribe({{QRawFont(c.archivo, 100), texto}}, archivo);
        EXPECT_EQ(HerramientasPdf::revisa(archivo), QString());
        EXPECT_TRUE(HerramientasPdf::texto(archivo).contains(texto))
            << HerramientasPdf::texto(archivo).toStdString();
        const QStringList fuentes = HerramientasPdf::fuentes(archivo);
        ASSERT_EQ(fuentes.size(), 1) << fuentes.join(QLatin1Char(' ')).toStdString();
        EXPECT_TRUE(fuentes[0].endsWith(QString::fromLatin1(c.tipo) + ' ' + c.embebida))
            << fuentes[0].toStdString();
        for (const char* clave : {"/FontFile2", "/FontFile3"}) {
            EXPECT_EQ(bytes.count(clave), c.programa && qstrcmp(clave, c.programa) == 0 ? 1 : 0)
                << clave;
        }
        EXPECT_GT(tinta(archivo), 200); // the glyphs are on the page either way
    }
}

// The same face file reached under two names (a link and a copy) is one
// face: one program, one font at one size.
TEST(EscritorPdf, UnaCaraConDosNombresSeEmbebeUnaVez) {
    QTemporaryDir dir;
    const QString enlace = dir.filePath(QStringLiteral("enlace.ttf"));
    const QString copia = dir.filePath(QStringLiteral("copia.ttf"));
    ASSERT_TRUE(QFile::link(kTrueType, enlace));
    ASSERT_TRUE(QFile::copy(kTrueType, copia));
    const QString archivo = dir.filePath(QStringLiteral("dos.pdf"));
    const QByteArray bytes = escribe({{QRawFont(kTrueType, 100), QStringLiteral("PRIMERA")},
                                      {QRawFont(enlace, 100), QStringLiteral("SEGUNDA")},
                                      {QRawFont(copia, 100), QStringLiteral("TERCERA")},
                                      {QRawFont(copia, 60), QStringLiteral("CUARTA")}},
                                     archivo);
    EXPECT_EQ(HerramientasPdf::revisa(archivo), QString());
    EXPECT_EQ(bytes.count("/FontFile2"), 1);
    EXPECT_EQ(bytes.count("/Type /FontDescriptor"), 1);
    EXPECT_EQ(bytes.count("/Subtype /Type0"), 2); // one per size
    const QString t = HerramientasPdf::texto(archivo);
    for (const char* e : {"PRIMERA", "SEGUNDA", "TERCERA", "CUARTA"}) {
        EXPECT_TRUE(t.contains(QLatin1String(e))) << e;
    }
}

// Two witnesses merged into one file keep a font name per subset: the tag
// follows the face and its glyphs, so different subsets are named apart and
// the same subset alike, and the merged file reads back both texts.
TEST(EscritorPdf, DosTestigosUnidosConservanNombresDistintosPorSubconjunto) {
    QTemporaryDir dir;
    const QRawFont cara(kTrueType, 100);
    const QString a = dir.filePath(QStringLiteral("a.pdf")), b = dir.filePath(QStringLiteral("b.pdf")),
                  otraVezA = dir.filePath(QStringLiteral("a2.pdf")),
                  unidos = dir.filePath(QStringLiteral("unidos.pdf"));
    escribe({{cara, QStringLiteral("LISTA MAYORISTA 1100,00")}}, a);
    escribe({{cara, QStringLiteral("QUESO FRESCO 7,25")}}, b);
    escribe({{cara, QStringLiteral("LISTA MAYORISTA 1100,00")}}, otraVezA);
    const QStringList fa = HerramientasPdf::fuentes(a), fb = HerramientasPdf::fuentes(b);
    ASSERT_EQ(fa.size(), 1);
    ASSERT_EQ(fb.size(), 1);
    EXPECT_NE(fa[0].section(' ', 0, 0), fb[0].section(' ', 0, 0));
    EXPECT_EQ(HerramientasPdf::fuentes(otraVezA), fa);
    EXPECT_TRUE(fa[0].section(' ', 0, 0).endsWith(QLatin1String("+DejaVuSans")))
        << fa[0].toStdString();

    QProcess q;
    q.start(QStringLiteral("qpdf"), {QStringLiteral("--empty"), QStringLiteral("--pages"), a, b,
                                     QStringLiteral("--"), unidos});
    ASSERT_TRUE(q.waitForFinished(60000));
    ASSERT_EQ(q.exitCode(), 0) << q.readAllStandardError().toStdString();
    EXPECT_EQ(HerramientasPdf::revisa(unidos), QString());
    QStringList nombres;
    for (const QString& f : HerramientasPdf::fuentes(unidos)) {
        nombres << f.section(' ', 0, 0);
    }
    nombres.removeDuplicates();
    EXPECT_EQ(nombres.size(), 2) << nombres.join(' ').toStdString();
    EXPECT_EQ(HerramientasPdf::texto(unidos, 1), HerramientasPdf::texto(a));
    EXPECT_EQ(HerramientasPdf::texto(unidos, 2), HerramientasPdf::texto(b));
}

// With the creation date fixed, the same report is the same file, /ID
// included; the ID changes with the content.
TEST(EscritorPdf, LaMismaFechaDaElMismoArchivo) {
    const QRawFont cara(kTrueType, 100);
    const QByteArray uno = escribe({{cara, QStringLiteral("TESTIGO")}});
    const QByteArray dos = escribe({{cara, QStringLiteral("TESTIGO")}});
    const QByteArray otro = escribe({{cara, QStringLiteral("TESTIGOS")}});
    EXPECT_EQ(uno, dos);
    EXPECT_TRUE(uno.contains("/CreationDate (D:20260310120000Z)"));
    const QRegularExpression id(QStringLiteral("/ID \\[<([0-9A-F]{32})> <\\1>\\]"));
    const auto m1 = id.match(QString::fromLatin1(uno)), m2 = id.match(QString::fromLatin1(otro));
    ASSERT_TRUE(m1.hasMatch());
    ASSERT_TRUE(m2.hasMatch());
    EXPECT_NE(m1.captured(1), m2.captured(1));
}

// Every object the index names is where the index says, and the document
// reads back with its pages and its text (kerned pairs, accents, a wrapped
// paragraph cut to its box).
TEST(EscritorPdf, ElIndiceApuntaACadaObjetoYElTextoSeLee) {
    QTemporaryDir dir;
    const QString archivo = dir.filePath(QStringLiteral("e.pdf"));
    QByteArray bytes;
    {
        QBuffer b(&bytes);
        ASSERT_TRUE(b.open(QIODevice::WriteOnly));
        const QPageLayout a4(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                             QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
        EscritorPdf pdf(b, a4, 600, QStringLiteral("Prueba ñ"), QStringLiteral("tarvelo"));
        TrazadorPdf t(pdf);
        const QFont normal = fuente(10, false), negrita = fuente(14, true);
        LineaGlifos ln(normal), lb(negrita);
        for (int pagina = 1; pagina <= 2; ++pagina) {
            if (pagina > 1) {
                t.nuevaPagina();
            }
            const QString titulo = QStringLiteral("AVATAR Página %1").arg(pagina);
            ASSERT_TRUE(lb.prepara(titulo));
            t.glifos(lb, titulo, QPointF(100, 200), Qt::black);
            const QString precio = QString::fromUtf8("Almacén O'Brien $ 1100,00");
            ASSERT_TRUE(ln.prepara(precio));
            t.glifos(ln, precio, QPointF(100, 400), Qt::black);
            t.relleno(QRectF(100, 500, 300, 100), QColor(230, 230, 230));
            t.linea(QPointF(100, 700), QPointF(2000, 700), 4, Qt::black);
            t.parrafo(QRectF(100, 800, 700, 400), Qt::AlignLeft | Qt::AlignTop,
                      QStringLiteral("JAMON CRUDO ESTACIONADO FETEADO EXTRA"), normal, ln,
                      Qt::black);
        }
        t.termina();
        pdf.termina();
        EXPECT_EQ(pdf.paginas(), 2);
    }
    // The index: "startxref" names it, and each entry in use points at its object.
    const qsizetype inicio = bytes.lastIndexOf("startxref");
    ASSERT_GT(inicio, 0);
    const qint64 indice = bytes.mid(inicio + 10).split('\n').first().toLongLong();
    ASSERT_TRUE(bytes.mid(indice).startsWith("xref\n0 "));
    const QList<QByteArray> lineas = bytes.mid(indice).split('\n');
    const int objetos = lineas[1].split(' ')[1].toInt();
    int enUso = 0;
    for (int i = 1; i < objetos; ++i) {
        const QByteArray& e = lineas[2 + i];
        if (!e.endsWith(" n ")) {
            continue;
        }
        ++enUso;
        const qint64 donde = e.left(10).toLongLong();
        EXPECT_TRUE(bytes.mid(donde).startsWith(QByteArray::number(i) + " 0 obj\n")) << i;
    }
    EXPECT_GT(enUso, 10);

    QFile f(archivo);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    f.close();
    EXPECT_EQ(HerramientasPdf::revisa(archivo), QString());
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), archivo, QStringLiteral("-")});
    ASSERT_TRUE(p.waitForFinished(30000));
    const QString texto = QString::fromUtf8(p.readAllStandardOutput());
    EXPECT_EQ(p.readAllStandardError(), QByteArray());
    for (const char* esperado : {"AVATAR Página 1", "AVATAR Página 2", "Almacén O'Brien $ 1100,00",
                                 "JAMON CRUDO", "FETEADO EXTRA"}) {
        EXPECT_TRUE(texto.contains(QString::fromUtf8(esperado))) << esperado << "\n"
                                                                 << texto.toStdString();
    }
}

} // namespace
