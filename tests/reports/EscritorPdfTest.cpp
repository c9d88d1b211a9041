#include "reports/EscritorPdf.h"
#include "reports/FuentePdf.h"
#include "reports/LineaGlifos.h"
#include "reports/ResolucionPdf.h"
#include "reports/TrazadorPdf.h"

#include <QBuffer>
#include <QFile>
#include <QFont>
#include <QPageLayout>
#include <QPageSize>
#include <QPainterPath>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

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

// The cut-down program draws every glyph used, those built of other glyphs
// included, exactly as the whole face does, and keeps the face's numbering;
// a glyph not used is left empty.
TEST(FuentePdf, ElProgramaRecortadoDibujaLosGlifosUsados) {
    const QRawFont entera = QRawFont::fromFont(fuente(20, false));
    ASSERT_TRUE(FuentePdf::embebible(entera));
    FuentePdf f(entera);
    const QString usados = QString::fromUtf8("ÁÉñÑ$1,0Ç");
    for (const QChar c : usados) {
        f.usa(glifo(entera, c), c.unicode());
    }
    const QRawFont recortada(f.programa(), entera.pixelSize());
    ASSERT_TRUE(recortada.isValid());
    for (const QChar c : usados) {
        SCOPED_TRACE(QString(c).toStdString());
        const quint32 g = glifo(entera, c);
        EXPECT_EQ(recortada.pathForGlyph(g), entera.pathForGlyph(g));
        EXPECT_FALSE(recortada.pathForGlyph(g).isEmpty());
    }
    EXPECT_TRUE(recortada.pathForGlyph(glifo(entera, QLatin1Char('Z'))).isEmpty());
    EXPECT_FALSE(entera.pathForGlyph(glifo(entera, QLatin1Char('Z'))).isEmpty());
    // Each used glyph stands for its character when the text is copied.
    const QByteArray mapa = f.aUnicode();
    EXPECT_TRUE(mapa.contains("<00D1>")) << mapa.constData();
    EXPECT_TRUE(mapa.contains("beginbfchar"));
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
