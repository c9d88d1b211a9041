#include "reports/EscritorPdf.h"

#include "reports/ErroresReporte.h"
#include "reports/Trazador.h"
#include "utility_library/ErrorKX.h"

#include <QDateTime>
#include <QIODevice>
#include <zlib.h>

namespace {
constexpr int kCatalogo = 1, kPaginas = 2, kRecursos = 3, kInfo = 4;

// zlib's level for the pages, measured on the witness and the labels of
// 20,000 rows (bench_reportes) against Qt's writer: level 6 is the lowest
// whose witness is no bigger than Qt's (1.84 MB against 1.84 MB; the labels
// 3.76 against 3.85); level 1 costs a third less time but gives 2.23 and
// 4.72 MB, levels 2 to 5 sit in between.
constexpr int kNivelPaginas = 6;
// Fonts are written once per document: the smallest file costs little.
constexpr int kNivelFuentes = Z_BEST_COMPRESSION;

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

QByteArray comprime(const QByteArray& datos, int nivel) {
    uLongf largo = compressBound(uLong(datos.size()));
    QByteArray r(qsizetype(largo), Qt::Uninitialized);
    if (compress2(reinterpret_cast<Bytef*>(r.data()), &largo,
                  reinterpret_cast<const Bytef*>(datos.constData()), uLong(datos.size()),
                  nivel) != Z_OK) {
        return QByteArray();
    }
    r.resize(qsizetype(largo));
    return r;
}
} // namespace

EscritorPdf::EscritorPdf(QIODevice& salida, const QPageLayout& disposicion, double ppp,
                         const QString& titulo, const QString& creador,
                         const QDateTime& creacion)
    : salida_(salida), titulo_(titulo), creador_(creador),
      creacion_(creacion.isValid() ? creacion.toUTC() : QDateTime::currentDateTimeUtc()) {
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
    huella_.addData(datos);
}

void EscritorPdf::flujo(int objeto, const QByteArray& datos, int nivel,
                        const QByteArray& diccionario) {
    const QByteArray comprimido = comprime(datos, nivel);
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
    flujo(contenido, contenido_, kNivelPaginas);
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
    const auto visto = porFuente_.constFind(f);
    if (visto != porFuente_.constEnd()) {
        return *visto;
    }
    auto cara = std::make_unique<FuentePdf>(f);
    if (cara->clase() == FuentePdf::Clase::SinContorno) {
        porFuente_.insert(f, nullptr);
        return nullptr;
    }
    // The same face file under another name, or at another size, is the
    // face already known.
    auto it = caras_.find(cara->huella());
    if (it == caras_.end()) {
        const QByteArray huella = cara->huella();
        it = caras_.emplace(huella, std::move(cara)).first;
    }
    Tamano*& r = porCaraYTamano_[{it->first, f.pixelSize()}];
    if (!r) {
        auto t = std::make_unique<Tamano>();
        t->recurso = "F" + QByteArray::number(qulonglong(tamanos_.size() + 1));
        t->fuente = f;
        t->cara = it->second.get();
        t->objeto = reserva();
        r = t.get();
        tamanos_.push_back(std::move(t));
    }
    porFuente_.insert(f, r);
    return r;
}

void EscritorPdf::termina() {
    if (terminado_) {
        return;
    }
    terminado_ = true;
    cierraPagina();
    // Each face file once: its program, its text map and its descriptor.
    std::map<FuentePdf*, int> descriptores, mapas;
    bool openType = false;
    for (const auto& [huella, cara] : caras_) {
        (void)huella;
        if (cara->vacia()) {
            continue;
        }
        QByteArray archivoFuente;
        if (cara->clase() != FuentePdf::Clase::Contornos) {
            const QByteArray programa = cara->programa();
            if (programa.isEmpty()) {
                throw Trazador::SinTrazadoCompleto{}; // the subsetter refused the face
            }
            const int archivo = reserva();
            if (cara->clase() == FuentePdf::Clase::TrueType) {
                flujo(archivo, programa, kNivelFuentes,
                      " /Length1 " + QByteArray::number(programa.size()));
                archivoFuente = " /FontFile2 " + ref(archivo);
            } else {
                flujo(archivo, programa, kNivelFuentes, " /Subtype /OpenType");
                archivoFuente = " /FontFile3 " + ref(archivo);
                openType = true;
            }
        }
        const int mapa = reserva();
        flujo(mapa, cara->aUnicode(), kNivelFuentes);
        const int descriptor = reserva();
        abre(descriptor);
        escribe("<< /Type /FontDescriptor /FontName /" + cara->nombre() + ' ' + cara->medidas() +
                archivoFuente + " >>\nendobj\n");
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
        // A CFF program's glyphs are its CIDs already; a TrueType one (or a
        // face not embedded) maps them one to one.
        const bool cff = t->cara->clase() == FuentePdf::Clase::Cff;
        escribe("<< /Type /Font /Subtype " +
                QByteArray(cff ? "/CIDFontType0" : "/CIDFontType2") + " /BaseFont /" +
                t->cara->nombre() +
                " /CIDSystemInfo << /Registry (Adobe) /Ordering (Identity) /Supplement 0 >> "
                "/FontDescriptor " +
                ref(descriptores[t->cara]) + (cff ? "" : " /CIDToGIDMap /Identity") +
                " /DW 0 /W [" + anchos + "] >>\nendobj\n");
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
    // An OpenType font program needs PDF 1.6; the header, written first,
    // says 1.4.
    escribe("<< /Type /Catalog /Pages " + ref(kPaginas) +
            (openType ? " /Version /1.6" : "") + " >>\nendobj\n");
    abre(kInfo);
    escribe("<< /Title " + textoPdf(titulo_) + " /Creator " + textoPdf(creador_) + " /Producer " +
            textoPdf(creador_) + " /CreationDate (D:" +
            creacion_.toString(QStringLiteral("yyyyMMddHHmmss")).toLatin1() +
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
    // The document's identity: a digest of everything before it, so the
    // same report on the same date is the same file.
    const QByteArray id = '<' + huella_.result().toHex().toUpper() + '>';
    escribe("trailer\n<< /Size " + QByteArray::number(qulonglong(objetos_.size())) + " /Root " +
            ref(kCatalogo) + " /Info " + ref(kInfo) + " /ID [" + id + ' ' + id +
            "] >>\nstartxref\n" +
            QByteArray::number(indice) + "\n%%EOF\n");
}
