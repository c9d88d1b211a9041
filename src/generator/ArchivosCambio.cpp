#include "generator/ArchivosCambio.h"

#include "generator/ArticulosBalanza.h"
#include "generator/FilaNovedad.h"
#include "generator/FormatoNovedad.h"
#include "generator/GrillaLote.h"
#include "utility_library/ArchivoPublicado.h"
#include "utility_library/Cp1252.h"
#include "utility_library/ErrorKX.h"
#include "utility_library/Operador.h"
#include "utility_library/QlUtil.h"

#include <QDir>
#include <QFileInfo>

const QString ArchivosCambio::kCambios = QStringLiteral("CAMBIOS.TXT");
const QString ArchivosCambio::kBalanza = QStringLiteral("BALANZA.TXT");

namespace {

bool esSeparador(QChar c) {
    return c == QLatin1Char('\\') || c == QLatin1Char('/');
}
} // namespace

const QString ArchivosCambio::kMensajeRuta = QStringLiteral(
    "Acceso a Ruta de Archivo no válida!!!\r\nNo se pudo generar el archivo Cambios.txt");

ArchivosCambio::ArchivosCambio(ArticulosBalanza& articulos, const QString& unidadKG)
    : articulos_(articulos), unidadKG_(unidadKG) {}

ArchivosCambio::~ArchivosCambio() = default;

QString ArchivosCambio::Carpeta(const QString& ruta) {
    const qsizetype n = ruta.size() - kCambios.size();
    if (n < 1 || !esSeparador(ruta[n - 1]) ||
        QStringView(ruta).mid(n).compare(kCambios, Qt::CaseInsensitive) != 0) {
        return QString();
    }
    return ruta.left(n - 1);
}

QString ArchivosCambio::RutaBalanza(const QString& ruta) {
    const QString carpeta = Carpeta(ruta);
    if (carpeta.isEmpty()) {
        return QString();
    }
    return ruta.left(carpeta.size() + 1) + kBalanza;
}

QString ArchivosCambio::RutaLocal(const QString& ruta) {
#ifdef Q_OS_WIN
    return ruta;
#else
    // Paths typed or stored the suite's way use "\"; here the folder separator is "/".
    QString r = ruta;
    r.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return r;
#endif
}

bool ArchivosCambio::Abre(const QString& ruta) {
    Descarta();
    const QString carpeta = Carpeta(ruta);
    // A path without a folder would put both files in one: refuse it as a missing folder.
    if (carpeta.isEmpty() || !QFileInfo(RutaLocal(carpeta)).isDir()) {
        operador().MsgBox(kMensajeRuta, Operador::SoloAceptar | Operador::IconoInformacion,
                          QStringLiteral("Aviso al Usuario"));
        return false;
    }
    rutaCambios_ = RutaLocal(ruta);
    rutaBalanza_ = RutaLocal(RutaBalanza(ruta));
    ArchivoPublicado::limpiaRestos(rutaCambios_);
    ArchivoPublicado::limpiaRestos(rutaBalanza_);
    archivoCambios_ = std::make_unique<ArchivoPublicado>(rutaCambios_);
    archivoBalanza_ = std::make_unique<ArchivoPublicado>(rutaBalanza_);
    return true;
}

ArchivosCambio::Registros ArchivosCambio::Prepara(const GrillaLote& grilla, int fila) {
    // The header row does not change during a generation.
    if (!columnasLeidas_) {
        columnas_ = ColumnasCambios(grilla);
        columnasLeidas_ = true;
    }
    Registros r;
    r.cambios.reserve(132);
    for (int c : columnas_) {
        Cp1252::agrega(r.cambios, grilla.Celda(fila, c));
    }
    r.cambios.append("\r\n", 2);
    QString balanza;
    if (RegistroBalanza(grilla, fila, articulos_, unidadKG_, balanza)) {
        r.balanza.reserve(balanza.size() + 2);
        Cp1252::agrega(r.balanza, balanza);
        r.balanza.append("\r\n", 2);
    }
    return r;
}

void ArchivosCambio::Agrega(const Registros& registros) {
    archivoCambios_->agrega(registros.cambios);
    archivoBalanza_->agrega(registros.balanza);
    shaCambios_.addData(registros.cambios);
    shaBalanza_.addData(registros.balanza);
    largoCambios_ += registros.cambios.size();
    largoBalanza_ += registros.balanza.size();
    ++lineasCambios_;
}

void ArchivosCambio::Escribe() {
    archivoCambios_->termina();
    archivoBalanza_->termina();
}

void ArchivosCambio::Publica() {
    // Both are whole on disk before either takes its final name.
    Escribe();
    archivoCambios_->publica();
    archivoBalanza_->publica();
    Descarta();
}

PublicacionPendiente ArchivosCambio::Pendiente(qint64 codigo) const {
    PublicacionPendiente p;
    p.codigo = codigo;
    p.destino = rutaCambios_;
    p.temporal = archivoCambios_ ? archivoCambios_->temporal() : QString();
    p.destinoBalanza = rutaBalanza_;
    p.temporalBalanza = archivoBalanza_ ? archivoBalanza_->temporal() : QString();
    return p;
}

void ArchivosCambio::Conserva() {
    for (auto* a : {archivoCambios_.get(), archivoBalanza_.get()}) {
        if (a && !a->temporal().isEmpty()) {
            a->conserva();
        }
    }
    Descarta();
}

void ArchivosCambio::PublicaPendiente(const PublicacionPendiente& p) {
    // The point-of-sale file first, as a generation publishes them.
    ArchivoPublicado::publicaTemporal(p.temporal, p.destino);
    ArchivoPublicado::publicaTemporal(p.temporalBalanza, p.destinoBalanza);
}

void ArchivosCambio::Descarta() {
    columnasLeidas_ = false;
    archivoCambios_.reset();
    archivoBalanza_.reset();
    lineasCambios_ = 0;
    shaCambios_.reset();
    shaBalanza_.reset();
    largoCambios_ = largoBalanza_ = 0;
}

ArchivoGrabado ArchivosCambio::HuellaCambios() const {
    return {kCambios, largoCambios_, QString::fromLatin1(shaCambios_.result().toHex()), {}, {}};
}

ArchivoGrabado ArchivosCambio::HuellaBalanza() const {
    return {kBalanza, largoBalanza_, QString::fromLatin1(shaBalanza_.result().toHex()), {}, {}};
}

std::vector<int> ArchivosCambio::ColumnasCambios(const GrillaLote& grilla) {
    std::vector<int> r;
    for (int c = 0; c < grilla.Cols() - 1; ++c) {
        const QStringView encabezado = grilla.Celda(0, c);
        if (encabezado.compare(QLatin1String("ID"), Qt::CaseInsensitive) == 0 ||
            encabezado.compare(QLatin1String("NoMarcar"), Qt::CaseInsensitive) == 0) {
            continue;
        }
        r.push_back(c);
    }
    return r;
}

QString ArchivosCambio::RegistroCambios(const GrillaLote& grilla, int fila) {
    QString r;
    r.reserve(130);
    for (int c : ColumnasCambios(grilla)) {
        r += grilla.Celda(fila, c);
    }
    return r;
}

bool ArchivosCambio::RegistroBalanza(const GrillaLote& grilla, int fila,
                                     ArticulosBalanza& articulos, const QString& unidadKG,
                                     QString& registro) {
    const QString codInterno = grilla.Texto(fila, FilaNovedad::CodInterno);
    const double codigo = QlUtil::TextoAMoneda(codInterno);
    if (!(codigo < 10000)) {
        return false;
    }
    QString modoVenta = QStringLiteral("1");
    ArticulosBalanza::Articulo art;
    const QString clave = QlUtil::FormateaCodigo(FormatoNovedad::Patron(codigo, 6), 25);
    if (articulos.Busca(clave, art) && art.pesable) {
        modoVenta = art.idUnidad.trimmed().compare(unidadKG.trimmed(), Qt::CaseInsensitive) == 0
                        ? QStringLiteral("0")
                        : QStringLiteral("1");
    }
    const QString plu = FormatoNovedad::Patron(codInterno.right(5).trimmed(), 5);
    registro = FormatoNovedad::Patron(grilla.Texto(fila, FilaNovedad::Rubro).trimmed(), 2);
    registro += plu;
    registro += plu;
    registro +=
        FormatoNovedad::Patron(grilla.Texto(fila, FilaNovedad::Precio).left(8).trimmed(), 8);
    registro += modoVenta;
    registro += QlUtil::AjustaTexto(
        grilla.Texto(fila, FilaNovedad::Descripcion).left(60).trimmed(), 60);
    return true;
}
