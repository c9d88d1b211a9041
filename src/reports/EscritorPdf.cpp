#include "reports/EscritorPdf.h"

#include "reports/ErroresReporte.h"
#include "utility_library/ErrorKX.h"

#include <QDateTime>
#include <QIODevice>
#include <zlib.h>

namespace {
constexpr int kCatalogo = 1, kPaginas = 2, kRecursos = 3, kInfo = 4;

QByteArray num(double v) {
    return QByteArray::number(v, 'f', 4);
}

QByteArray ref(int objeto) {
    return QByteArray::number(objeto) + " 0 R";
}

// A text in the document's information: UTF-16 with its mark, in hex.
QByteArray textoPdf(const QString& t) {
    QByteArray r = "<FEFF";
    for (const QChar c : t) {
        r += QByteArray::number(c.unicode(), 16).toUpper().rightJustified(4, '0');
    }
    return r + '>';
}

QByteArray comprime(const QByteArray& datos) {
    uLongf largo = compressBound(uLong(datos.size()));
    QByteArray r(qsizetype(largo), Qt::Uninitialized);
    // The fastest level: a page of text compresses almost as well, in a
    // fraction of the time.
    if (compress2(reinterpret_cast<Bytef*>(r.data()), &largo,
                  reinterpret_cast<const Bytef*>(datos.constData()), uLong(datos.size()),
                  Z_BEST_SPEED) != Z_OK) {
        return QByteArray();
    }
    r.resize(qsizetype(largo));
    return r;
}
} // namespace

EscritorPdf::EscritorPdf(QIODevice& salida, const QPageLayout& disposicion, double ppp,
                         const QString& titulo, const QString& creador)
    : salida_(salida), titulo_(titulo), creador_(creador) {
    for (int i = 0; i < 4; ++i) {
        reserva();
    }
    const QRectF total = disposicion.fullRectPoints();
    const QRectF util = disposicion.paintRectPoints();
    caja_ = "[0 0 " + num(total.width()) + ' ' + num(total.height()) + ']';
    // Dots from the printable area's top-left corner, downwards.
    const double escala = 72.0 / ppp;
    encabezadoPagina_ = num(escala) + " 0 0 " + num(-escala) + ' ' + num(util.left()) + ' ' +
                        num(total.height() - util.top()) + " cm\n2 J 2 j\n";
    escribe("%PDF-1.4\n%\xE2\xE3\xCF\xD3\n");
    contenido_ = encabezadoPagina_;
}

EscritorPdf::~EscritorPdf() = default;

int EscritorPdf::reserva() {
    objetos_.push_back(-1);
    return int(objetos_.size()) - 1;
}

void EscritorPdf::abre(int objeto) {
    objetos_[size_t(objeto)] = posicion_;
    escribe(QByteArray::number(objeto) + " 0 obj\n");
}

void EscritorPdf::escribe(const QByteArray& datos) {
    if (salida_.write(datos) != datos.size()) {
        const QString motivo = salida_.errorString();
        throw FalloKX(ErroresReporte::kSalida,
                      motivo.isEmpty() ? QStringLiteral("el archivo no aceptó lo escrito") : motivo,
                      QStringLiteral("QlReport"));
    }
    posicion_ += datos.size();
}

void EscritorPdf::flujo(int objeto, const QByteArray& datos, const QByteArray& diccionario) {
    const QByteArray comprimido = comprime(datos);
    abre(objeto);
    if (comprimido.isNull()) {
        escribe("<< /Length " + QByteArray::number(datos.size()) + diccionario + " >>\nstream\n");
        escribe(datos);
    } else {
        escribe("<< /Length " + QByteArray::number(comprimido.size()) + " /Filter /FlateDecode" +
                diccionario + " >>\nstream\n");
        escribe(comprimido);
    }
    escribe("\nendstream\nendobj\n");
}

void EscritorPdf::cierraPagina() {
    const int contenido = reserva();
    const int pagina = reserva();
    flujo(contenido, contenido_);
    abre(pagina);
    escribe("<< /Type /Page /Parent " + ref(kPaginas) + " /MediaBox " + caja_ + " /Resources " +
            ref(kRecursos) + " /Contents " + ref(contenido) + " >>\nendobj\n");
    paginas_.push_back(pagina);
    contenido_.clear();
}

void EscritorPdf::nuevaPagina() {
    cierraPagina();
    contenido_ = encabezadoPagina_;
}

EscritorPdf::Tamano* EscritorPdf::fuente(const QRawFont& f) {
    const QString cara = FuentePdf::clave(f);
    const QString clave = cara + QLatin1Char('|') + QString::number(f.pixelSize(), 'g', 10);
    if (Tamano* t = porClave_.value(clave)) {
        return t;
    }
    if (noEmbebibles_.contains(cara)) {
        return nullptr;
    }
    auto it = caras_.find(cara);
    if (it == caras_.end()) {
        if (!FuentePdf::embebible(f)) {
            noEmbebibles_.insert(cara);
            return nullptr;
        }
        it = caras_.emplace(cara, std::make_unique<FuentePdf>(f)).first;
    }
    auto t = std::make_unique<Tamano>();
    t->recurso = "F" + QByteArray::number(qulonglong(tamanos_.size() + 1));
    t->fuente = f;
    t->cara = it->second.get();
    t->objeto = reserva();
    Tamano* r = t.get();
    tamanos_.push_back(std::move(t));
    porClave_.insert(clave, r);
    return r;
}

void EscritorPdf::termina() {
    if (terminado_) {
        return;
    }
    terminado_ = true;
    cierraPagina();
    // Each face once: its program, its text map and its descriptor.
    std::map<FuentePdf*, int> descriptores, mapas;
    for (const auto& [clave, cara] : caras_) {
        (void)clave;
        if (cara->vacia()) {
            continue;
        }
        const QByteArray programa = cara->programa();
        const int archivo = reserva();
        flujo(archivo, programa, " /Length1 " + QByteArray::number(programa.size()));
        const int mapa = reserva();
        flujo(mapa, cara->aUnicode());
        const int descriptor = reserva();
        abre(descriptor);
        escribe("<< /Type /FontDescriptor /FontName /" + cara->nombre() + ' ' + cara->medidas() +
                " /FontFile2 " + ref(archivo) + " >>\nendobj\n");
        descriptores[cara.get()] = descriptor;
        mapas[cara.get()] = mapa;
    }
    QByteArray fuentes;
    for (const std::unique_ptr<Tamano>& t : tamanos_) {
        if (!descriptores.count(t->cara)) {
            continue;
        }
        QByteArray anchos;
        for (const auto& [glifo, ancho] : t->anchos) {
            anchos += QByteArray::number(glifo) + " [" + QByteArray::number(ancho, 'f', 3) + "] ";
        }
        const int cid = reserva();
        abre(cid);
        escribe("<< /Type /Font /Subtype /CIDFontType2 /BaseFont /" + t->cara->nombre() +
                " /CIDSystemInfo << /Registry (Adobe) /Ordering (Identity) /Supplement 0 >> "
                "/FontDescriptor " +
                ref(descriptores[t->cara]) + " /CIDToGIDMap /Identity /DW 0 /W [" + anchos +
                "] >>\nendobj\n");
        abre(t->objeto);
        escribe("<< /Type /Font /Subtype /Type0 /BaseFont /" + t->cara->nombre() +
                " /Encoding /Identity-H /DescendantFonts [" + ref(cid) + "] /ToUnicode " +
                ref(mapas[t->cara]) + " >>\nendobj\n");
        fuentes += '/' + t->recurso + ' ' + ref(t->objeto) + ' ';
    }
    abre(kRecursos);
    escribe("<< /ProcSet [/PDF /Text] /Font << " + fuentes + ">> >>\nendobj\n");
    QByteArray hijas;
    for (const int p : paginas_) {
        hijas += ref(p) + ' ';
    }
    abre(kPaginas);
    escribe("<< /Type /Pages /Kids [" + hijas + "] /Count " +
            QByteArray::number(qulonglong(paginas_.size())) + " >>\nendobj\n");
    abre(kCatalogo);
    escribe("<< /Type /Catalog /Pages " + ref(kPaginas) + " >>\nendobj\n");
    abre(kInfo);
    escribe("<< /Title " + textoPdf(titulo_) + " /Creator " + textoPdf(creador_) + " /Producer " +
            textoPdf(creador_) + " /CreationDate (D:" +
            QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMddHHmmss")).toLatin1() +
            "Z) >>\nendobj\n");
    const qint64 indice = posicion_;
    QByteArray xref =
        "xref\n0 " + QByteArray::number(qulonglong(objetos_.size())) + "\n0000000000 65535 f \n";
    for (size_t i = 1; i < objetos_.size(); ++i) {
        if (objetos_[i] < 0) {
            xref += "0000000000 65535 f \n"; // reserved and never needed
        } else {
            xref += QByteArray::number(objetos_[i]).rightJustified(10, '0') + " 00000 n \n";
        }
    }
    escribe(xref);
    escribe("trailer\n<< /Size " + QByteArray::number(qulonglong(objetos_.size())) + " /Root " +
            ref(kCatalogo) + " /Info " + ref(kInfo) + " >>\nstartxref\n" +
            QByteArray::number(indice) + "\n%%EOF\n");
}
