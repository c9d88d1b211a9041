#include "generator/ArchivosCambio.h"

#include "generator/ArticulosBalanza.h"
#include "utility_library/Cp1252.h"
#include "utility_library/ErrorKX.h"
#include "generator/FilaNovedad.h"
#include "generator/FormatoNovedad.h"
#include "generator/GrillaLote.h"
#include "utility_library/Operador.h"
#include "utility_library/QlUtil.h"

#include <QDir>
#include <QFileInfo>

namespace {
const QString kCambios = QStringLiteral("CAMBIOS.TXT");
const QString kBalanza = QStringLiteral("BALANZA.TXT");

bool esSeparador(QChar c) {
    return c == QLatin1Char('\\') || c == QLatin1Char('/');
}

// Error numbers of the file functions, as the suite reports them.
constexpr qint32 kErrorAcceso = 75;    // path/file access error
constexpr qint32 kErrorEscritura = 57; // device I/O error
} // namespace

const QString ArchivosCambio::kMensajeRuta = QStringLiteral(
    "Acceso a Ruta de Archivo no válida!!!\r\nNo se pudo generar el archivo Cambios.txt");

ArchivosCambio::ArchivosCambio(ArticulosBalanza& articulos, const QString& unidadKG)
    : articulos_(articulos), unidadKG_(unidadKG) {}

ArchivosCambio::~ArchivosCambio() {
    Cierra();
}

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
    Cierra();
    const QString carpeta = Carpeta(ruta);
    // A path without a folder would put both files in one: refuse it as a missing folder.
    if (carpeta.isEmpty() || !QFileInfo::exists(RutaLocal(carpeta))) {
        operador().MsgBox(kMensajeRuta, Operador::SoloAceptar | Operador::IconoInformacion,
                          QStringLiteral("Aviso al Usuario"));
        return false;
    }
    const QString rutas[2] = {RutaLocal(ruta), RutaLocal(RutaBalanza(ruta))};
    QFile* archivos[2] = {&cambios_, &balanza_};
    for (int i = 0; i < 2; ++i) {
        archivos[i]->setFileName(rutas[i]);
        if (!archivos[i]->open(QIODevice::WriteOnly | QIODevice::Truncate |
                               QIODevice::Unbuffered)) {
            const QString motivo = archivos[i]->errorString();
            Cierra();
            throw FalloKX(kErrorAcceso,
                          QStringLiteral("No se pudo crear el archivo %1: %2")
                              .arg(QDir::toNativeSeparators(rutas[i]), motivo),
                          QStringLiteral("cmdExportar"));
        }
    }
    return true;
}

void ArchivosCambio::escribe(QFile& archivo, const QString& registro) {
    if (!archivo.isOpen()) {
        throw FalloKX(kErrorAcceso,
                      QStringLiteral("El archivo %1 no está abierto")
                          .arg(QDir::toNativeSeparators(archivo.fileName())),
                      QStringLiteral("cmdExportar"));
    }
    const QByteArray linea = Cp1252::codifica(registro) + QByteArrayLiteral("\r\n");
    const qint64 antes = archivo.pos();
    const qint64 escritos = archivo.write(linea);
    if (escritos != linea.size()) {
        const QString motivo = archivo.errorString();
        // Never leave part of a record behind.
        if (!archivo.isSequential()) {
            archivo.resize(antes);
            archivo.seek(antes);
        }
        throw FalloKX(kErrorEscritura,
                      QStringLiteral("No se pudo escribir en el archivo %1: %2")
                          .arg(QDir::toNativeSeparators(archivo.fileName()), motivo),
                      QStringLiteral("cmdExportar"));
    }
}

void ArchivosCambio::EscribeCambios(const GrillaLote& grilla, int fila) {
    escribe(cambios_, RegistroCambios(grilla, fila));
}

void ArchivosCambio::EscribeBalanza(const GrillaLote& grilla, int fila) {
    QString registro;
    if (RegistroBalanza(grilla, fila, articulos_, unidadKG_, registro)) {
        escribe(balanza_, registro);
    }
}

void ArchivosCambio::Cierra() {
    if (cambios_.isOpen()) {
        cambios_.close();
    }
    if (balanza_.isOpen()) {
        balanza_.close();
    }
}

QString ArchivosCambio::RegistroCambios(const GrillaLote& grilla, int fila) {
    QString r;
    r.reserve(130);
    for (int c = 0; c < grilla.Cols() - 1; ++c) {
        const QStringView encabezado = grilla.Celda(0, c);
        if (encabezado.compare(QLatin1String("ID"), Qt::CaseInsensitive) == 0 ||
            encabezado.compare(QLatin1String("NoMarcar"), Qt::CaseInsensitive) == 0) {
            continue;
        }
        r += grilla.Celda(fila, c);
    }
    return r;
}

bool ArchivosCambio::RegistroBalanza(const GrillaLote& grilla, int fila,
                                     ArticulosBalanza& articulos, const QString& unidadKG,
                                     QString& registro) {
    const QString codInterno = grilla.TextMatrix(fila, FilaNovedad::CodInterno);
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
    registro = FormatoNovedad::Patron(grilla.TextMatrix(fila, FilaNovedad::Rubro).trimmed(), 2);
    registro += plu;
    registro += plu;
    registro +=
        FormatoNovedad::Patron(grilla.TextMatrix(fila, FilaNovedad::Precio).left(8).trimmed(), 8);
    registro += modoVenta;
    registro += QlUtil::AjustaTexto(
        grilla.TextMatrix(fila, FilaNovedad::Descripcion).left(60).trimmed(), 60);
    return true;
}
