#include "reports/TrazadorPdf.h"

#include "reports/LineaGlifos.h"

#include <QFontMetricsF>
#include <QPainterPath>
#include <QTextLayout>
#include <QVarLengthArray>
#include <charconv>
#include <cmath>
#include <initializer_list>

namespace {

// A coordinate as short as it can be written: whole dots without decimals.
void numero(QByteArray& b, double v) {
    const double r = std::round(v * 100) / 100;
    char texto[32];
    std::to_chars_result f;
    if (r == std::floor(r) && std::abs(r) < 1e15) {
        f = std::to_chars(texto, texto + sizeof texto, static_cast<long long>(r));
    } else {
        f = std::to_chars(texto, texto + sizeof texto, r, std::chars_format::fixed, 2);
    }
    b.append(texto, f.ptr - texto);
}

// Numbers separated by blanks.
void numeros(QByteArray& b, std::initializer_list<double> valores) {
    bool primero = true;
    for (const double v : valores) {
        if (!primero) {
            b += ' ';
        }
        numero(b, v);
        primero = false;
    }
}

void caja(QByteArray& b, const QRectF& r) {
    numeros(b, {r.x(), r.y(), r.width(), r.height()});
    b += " re";
}

void hex(QByteArray& b, quint32 glifo) {
    static const char digitos[] = "0123456789ABCDEF";
    const char d[4] = {digitos[(glifo >> 12) & 15], digitos[(glifo >> 8) & 15],
                       digitos[(glifo >> 4) & 15], digitos[glifo & 15]};
    b.append(d, 4);
}

void color(QByteArray& b, const QColor& c, const char* operador) {
    if (c.red() == c.green() && c.green() == c.blue()) {
        numero(b, c.redF());
        b += ' ';
        b += operador[0] == 'r' ? "g" : "G";
    } else {
        numeros(b, {c.redF(), c.greenF(), c.blueF()});
        b += ' ';
        b += operador;
    }
    b += '\n';
}

} // namespace

QByteArray& TrazadorPdf::c() {
    return pdf_.contenido();
}

void TrazadorPdf::cierraTexto() {
    if (enTexto_) {
        c() += "ET\n";
        enTexto_ = false;
    }
}

void TrazadorPdf::olvidaEstado() {
    enTexto_ = false;
    fuente_ = nullptr;
    hayRelleno_ = false;
    ancho_ = -1;
}

void TrazadorPdf::colorRelleno(const QColor& col) {
    if (!hayRelleno_ || relleno_ != col.rgb()) {
        color(c(), col, "rg");
        relleno_ = col.rgb();
        hayRelleno_ = true;
    }
}

void TrazadorPdf::colorTrazo(const QColor& col, double ancho) {
    if (ancho_ < 0 || trazo_ != col.rgb()) {
        color(c(), col, "RG");
        trazo_ = col.rgb();
    }
    if (ancho_ != ancho) {
        numero(c(), ancho);
        c() += " w\n";
        ancho_ = ancho;
    }
}

void TrazadorPdf::glifos(LineaGlifos& linea, const QString& texto, const QPointF& base,
                         const QColor& col) {
    auto visto = tamanos_.constFind(&linea);
    if (visto == tamanos_.constEnd()) {
        visto = tamanos_.insert(&linea, pdf_.fuente(linea.fuente()));
    }
    EscritorPdf::Tamano* t = *visto;
    const int n = linea.cantidad();
    if (!t || texto.size() != n) {
        throw SinTrazadoCompleto{};
    }
    if (n == 0) {
        return;
    }
    const quint32* g = linea.glifos();
    const QPointF* p = linea.posiciones();
    const double tamano = linea.fuente().pixelSize();
    // Each glyph's own advance is its width in the font's table; a kerned
    // pair moves the next glyph by the difference.
    QVarLengthArray<double, 64> avances(n);
    for (int i = 0; i < n; ++i) {
        auto it = t->anchos.find(g[i]);
        if (it == t->anchos.end()) {
            QPointF a;
            linea.fuente().advancesForGlyphIndexes(&g[i], &a, 1);
            it = t->anchos.emplace(g[i], a.x() / tamano * 1000).first;
        }
        avances[i] = it->second * tamano / 1000;
        t->cara->usa(g[i], texto[i].unicode());
    }
    if (t->cara->clase() == FuentePdf::Clase::Contornos) {
        // A face that may not be embedded: its glyphs as filled outlines,
        // and the text unseen (mode 3) in the same place for search and copy.
        cierraTexto();
        colorRelleno(col);
        QByteArray& b = c();
        for (int i = 0; i < n; ++i) {
            auto it = t->contornos.find(g[i]);
            if (it == t->contornos.end()) {
                it = t->contornos.emplace(g[i], linea.fuente().pathForGlyph(g[i])).first;
            }
            contorno(it->second, base + p[i]);
        }
        b += "f\n";
        b += "BT\n3 Tr\n";
        enTexto_ = true;
        textoGlifos(t, g, p, n, avances.constData(), base, tamano);
        b += "0 Tr\n";
        cierraTexto();
        return;
    }
    if (!enTexto_) {
        c() += "BT\n";
        enTexto_ = true;
    }
    colorRelleno(col);
    textoGlifos(t, g, p, n, avances.constData(), base, tamano);
}

void TrazadorPdf::textoGlifos(EscritorPdf::Tamano* t, const quint32* g, const QPointF* p, int n,
                              const double* avances, const QPointF& base, double tamano) {
    QByteArray& b = c();
    if (fuente_ != t) {
        b += '/';
        b += t->recurso;
        b += ' ';
        numero(b, tamano);
        b += " Tf\n";
        fuente_ = t;
    }
    b += "1 0 0 -1 ";
    numeros(b, {base.x() + p[0].x(), base.y()});
    b += " Tm [<";
    for (int i = 0; i < n; ++i) {
        hex(b, g[i]);
        if (i + 1 < n) {
            const double diferencia = (p[i + 1].x() - p[i].x()) - avances[i];
            if (std::abs(diferencia) > 0.005) {
                b += "> ";
                numero(b, -diferencia / tamano * 1000);
                b += " <";
            }
        }
    }
    b += ">] TJ\n";
}

void TrazadorPdf::contorno(const QPainterPath& camino, const QPointF& origen) {
    QByteArray& b = c();
    for (int i = 0; i < camino.elementCount(); ++i) {
        const QPainterPath::Element e = camino.elementAt(i);
        if (e.type == QPainterPath::CurveToElement && i + 2 < camino.elementCount()) {
            const QPainterPath::Element e2 = camino.elementAt(i + 1);
            const QPainterPath::Element e3 = camino.elementAt(i + 2);
            numeros(b, {origen.x() + e.x, origen.y() + e.y, origen.x() + e2.x, origen.y() + e2.y,
                        origen.x() + e3.x, origen.y() + e3.y});
            b += " c\n";
            i += 2;
        } else {
            numeros(b, {origen.x() + e.x, origen.y() + e.y});
            b += e.type == QPainterPath::MoveToElement ? " m\n" : " l\n";
        }
    }
}

void TrazadorPdf::texto(const QPointF&, const QString&, const QFont&, const QColor&) {
    throw SinTrazadoCompleto{};
}

void TrazadorPdf::parrafo(const QRectF& r, Qt::Alignment alineacion, const QString& texto,
                          const QFont& fuente, LineaGlifos& linea, const QColor& col) {
    // Broken into lines as the full layout breaks them, and placed as a
    // painter places a wrapped text: the leading between lines, the block
    // aligned in its box and cut to it.
    QTextLayout disposicion(texto, fuente);
    QTextOption opcion(alineacion & Qt::AlignHorizontal_Mask);
    opcion.setWrapMode(QTextOption::WordWrap);
    disposicion.setTextOption(opcion);
    const double interlinea = QFontMetricsF(fuente).leading();
    double alto = -interlinea;
    disposicion.beginLayout();
    for (;;) {
        QTextLine l = disposicion.createLine();
        if (!l.isValid()) {
            break;
        }
        l.setLineWidth(r.width());
        alto += interlinea;
        l.setPosition(QPointF(0, alto));
        alto += l.height();
    }
    disposicion.endLayout();
    double arriba = r.top();
    if (alineacion & Qt::AlignBottom) {
        arriba = r.bottom() - alto;
    } else if (alineacion & Qt::AlignVCenter) {
        arriba = r.top() + (r.height() - alto) / 2;
    }
    cierraTexto();
    QByteArray& b = c();
    b += "q ";
    caja(b, r);
    b += " W n\n";
    olvidaEstado();
    for (int i = 0; i < disposicion.lineCount(); ++i) {
        const QTextLine l = disposicion.lineAt(i);
        if (arriba + l.y() > r.bottom()) {
            break;
        }
        QString s = texto.mid(l.textStart(), l.textLength());
        while (!s.isEmpty() && s.back().isSpace()) {
            s.chop(1);
        }
        if (s.isEmpty()) {
            continue;
        }
        if (!linea.prepara(s)) {
            throw SinTrazadoCompleto{};
        }
        double x = r.left();
        if (alineacion & Qt::AlignRight) {
            x = r.right() - linea.ancho();
        } else if (alineacion & Qt::AlignHCenter) {
            x = r.left() + (r.width() - linea.ancho()) / 2;
        }
        glifos(linea, s, QPointF(std::round(x), std::round(arriba + l.y() + l.ascent())), col);
    }
    cierraTexto();
    c() += "Q\n";
    olvidaEstado();
}

void TrazadorPdf::linea(const QPointF& desde, const QPointF& hasta, double ancho,
                        const QColor& col) {
    cierraTexto();
    colorTrazo(col, ancho);
    QByteArray& b = c();
    numeros(b, {desde.x(), desde.y()});
    b += " m ";
    numeros(b, {hasta.x(), hasta.y()});
    b += " l S\n";
}

void TrazadorPdf::marco(const QRectF& r, double ancho, const QColor& col) {
    cierraTexto();
    colorTrazo(col, ancho);
    caja(c(), r);
    c() += " S\n";
}

void TrazadorPdf::relleno(const QRectF& r, const QColor& col) {
    cierraTexto();
    colorRelleno(col);
    caja(c(), r);
    c() += " f\n";
}

void TrazadorPdf::rellenos(const QRectF* cajas, int cantidad, const QColor& col) {
    if (cantidad <= 0) {
        return;
    }
    cierraTexto();
    colorRelleno(col);
    QByteArray& b = c();
    for (int i = 0; i < cantidad; ++i) {
        caja(b, cajas[i]);
        b += '\n';
    }
    b += "f\n";
}

void TrazadorPdf::nuevaPagina() {
    cierraTexto();
    pdf_.nuevaPagina();
    olvidaEstado();
}

void TrazadorPdf::termina() {
    cierraTexto();
}
