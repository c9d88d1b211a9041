#include "reports/LineaGlifos.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// The report fonts as the PDF resolves them: 600 dots per inch, hinted.
QFont fuenteDe(QPdfWriter& pdf, int puntos, bool negrita) {
    QFont f(QFont(QStringLiteral("DejaVu Sans"), puntos, negrita ? QFont::Bold : QFont::Normal),
            &pdf);
    f.setHintingPreference(QFont::PreferFullHinting);
    return f;
}

// Right-aligned prices and centred titles are placed from this width: it
// must be the width Qt's own layout gives the same text, kerning included.
TEST(LineaGlifos, MideComoElTrazadoCompleto) {
    QTemporaryDir dir;
    QPdfWriter pdf(dir.filePath(QStringLiteral("m.pdf")));
    pdf.setResolution(600);
    for (const bool negrita : {false, true}) {
        const QFont f = fuenteDe(pdf, 7, negrita);
        const QFontMetricsF m(f, &pdf);
        LineaGlifos l(f);
        for (const char* texto : {"AVATAR Te Yo Wa", "$ 1100,00", "Almacén O'Brien S.A.",
                                  "Página 3 de 12 – «lote» € 5 …", "-12,5%"}) {
            const QString t = QString::fromUtf8(texto);
            SCOPED_TRACE(texto);
            ASSERT_TRUE(l.prepara(t));
            EXPECT_NEAR(l.ancho(), m.horizontalAdvance(t), 0.5);
        }
    }
}

// What only the full layout sets right is refused, whole.
TEST(LineaGlifos, RechazaLoQueNecesitaElTrazadoCompleto) {
    QTemporaryDir dir;
    QPdfWriter pdf(dir.filePath(QStringLiteral("m.pdf")));
    pdf.setResolution(600);
    LineaGlifos l(fuenteDe(pdf, 8, false));
    for (const char16_t* texto : {u"CAFE\u0301 MOLIDO", u"ΑΛΦΑ", u"uno\tdos", u"con\u00ADguion",
                                  u"dir\u200Fección", u"fruta \U0001F34E", u"línea\nnueva"}) {
        EXPECT_FALSE(l.prepara(QString::fromUtf16(texto)))
            << QString::fromUtf16(texto).toStdString();
        EXPECT_EQ(l.ancho(), 0);
    }
    EXPECT_TRUE(l.prepara(QStringLiteral("ÑANDÚ ÇÃO")));
}

} // namespace
