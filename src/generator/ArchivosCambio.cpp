#include "generator/ArchivosCambio.h"

#include "generator/FormatoBalanza.h"
#include "generator/FormatoCambios.h"
#include "utility_library/ArchivoPublicado.h"
#include "utility_library/Operador.h"

#include <QCryptographicHash>
#include <QFileInfo>

// One output: its format, and while a generation writes, its file and what
// went into it so far.
struct ArchivosCambio::Salida {
    explicit Salida(std::unique_ptr<FormatoSalida> f) : formato(std::move(f)) {}
    std::unique_ptr<FormatoSalida> formato;
    QString ruta;
    std::unique_ptr<ArchivoPublicado> archivo;
    QCryptographicHash sha{QCryptographicHash::Sha256};
    qint64 largo = 0;
    int lineas = 0;
};

namespace {

bool esSeparador(QChar c) {
    return c == QLatin1Char('\\') || c == QLatin1Char('/');
}
} // namespace

const QString ArchivosCambio::kMensajeRuta = QStringLiteral(
    "Acceso a Ruta de Archivo no válida!!!\r\nNo se pudo generar el archivo Cambios.txt");

std::vector<std::unique_ptr<FormatoSalida>> ArchivosCambio::Formatos(ArticulosBalanza& articulos,
                                                                     const QString& unidadKG) {
    std::vector<std::unique_ptr<FormatoSalida>> f;
    f.push_back(std::make_unique<FormatoCambios>());
    f.push_back(std::make_unique<FormatoBalanza>(articulos, unidadKG));
    return f;
}

ArchivosCambio::ArchivosCambio(ArticulosBalanza& articulos, const QString& unidadKG) {
    for (std::unique_ptr<FormatoSalida>& f : Formatos(articulos, unidadKG)) {
        salidas_.push_back(std::make_unique<Salida>(std::move(f)));
    }
}

ArchivosCambio::~ArchivosCambio() = default;

const FormatoSalida& ArchivosCambio::Formato(int i) const {
    return *salidas_.at(size_t(i))->formato;
}

QString ArchivosCambio::Carpeta(const QString& ruta) {
    const QString& cambios = FormatoCambios::kNombre;
    const qsizetype n = ruta.size() - cambios.size();
    if (n < 1 || !esSeparador(ruta[n - 1]) ||
        QStringView(ruta).mid(n).compare(cambios, Qt::CaseInsensitive) != 0) {
        return QString();
    }
    return ruta.left(n - 1);
}

QString ArchivosCambio::RutaDe(const QString& ruta, const QString& nombre) {
    const QString carpeta = Carpeta(ruta);
    if (carpeta.isEmpty()) {
        return QString();
    }
    // The label's own spelling of the point-of-sale file is kept.
    if (QStringView(ruta).mid(carpeta.size() + 1).compare(nombre, Qt::CaseInsensitive) == 0) {
        return ruta;
    }
    return ruta.left(carpeta.size() + 1) + nombre;
}

QString ArchivosCambio::RutaBalanza(const QString& ruta) {
    return RutaDe(ruta, FormatoBalanza::kNombre);
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
    // A path without a folder would put every file in one: refuse it as a missing folder.
    if (carpeta.isEmpty() || !QFileInfo(RutaLocal(carpeta)).isDir()) {
        operador().MsgBox(kMensajeRuta, Operador::SoloAceptar | Operador::IconoInformacion,
                          QStringLiteral("Aviso al Usuario"));
        return false;
    }
    for (const std::unique_ptr<Salida>& s : salidas_) {
        s->ruta = RutaLocal(RutaDe(ruta, s->formato->Nombre()));
        ArchivoPublicado::limpiaRestos(s->ruta);
    }
    for (const std::unique_ptr<Salida>& s : salidas_) {
        s->archivo = std::make_unique<ArchivoPublicado>(s->ruta);
    }
    // Every file is created here, before the batch is recorded: a folder that
    // cannot take them (read-only, no permission) is told while nothing waits.
    try {
        for (const std::unique_ptr<Salida>& s : salidas_) {
            s->archivo->crea();
        }
    } catch (...) {
        Descarta();
        throw;
    }
    return true;
}

ArchivosCambio::Registros ArchivosCambio::Prepara(const GrillaLote& grilla, int fila) {
    Registros r;
    r.reserve(salidas_.size());
    for (const std::unique_ptr<Salida>& s : salidas_) {
        r.push_back(s->formato->Linea(grilla, fila));
    }
    return r;
}

void ArchivosCambio::Anticipa(const GrillaLote& grilla, int desde, int hasta) {
    for (const std::unique_ptr<Salida>& s : salidas_) {
        s->formato->Anticipa(grilla, desde, hasta);
    }
}

void ArchivosCambio::Agrega(const Registros& registros) {
    for (size_t i = 0; i < salidas_.size(); ++i) {
        Salida& s = *salidas_[i];
        const QByteArray& linea = registros.at(i);
        s.archivo->agrega(linea);
        s.sha.addData(linea);
        s.largo += linea.size();
        s.lineas += linea.isEmpty() ? 0 : 1;
    }
}

void ArchivosCambio::Escribe() {
    for (const std::unique_ptr<Salida>& s : salidas_) {
        s->archivo->termina();
    }
}

void ArchivosCambio::Publica() {
    // Every file is whole on disk before any takes its final name.
    Escribe();
    for (const std::unique_ptr<Salida>& s : salidas_) {
        s->archivo->publica();
    }
    Descarta();
}

PublicacionPendiente ArchivosCambio::Pendiente(qint64 codigo) const {
    PublicacionPendiente p;
    p.codigo = codigo;
    for (const std::unique_ptr<Salida>& s : salidas_) {
        p.archivos.push_back({s->ruta, s->archivo ? s->archivo->temporal() : QString()});
    }
    return p;
}

void ArchivosCambio::Conserva() {
    for (const std::unique_ptr<Salida>& s : salidas_) {
        if (s->archivo && !s->archivo->temporal().isEmpty()) {
            s->archivo->conserva();
        }
    }
    Descarta();
}

void ArchivosCambio::PublicaPendiente(const PublicacionPendiente& p) {
    // In the order a generation publishes them: the point-of-sale file first.
    for (const PublicacionPendiente::Archivo& a : p.archivos) {
        ArchivoPublicado::publicaTemporal(a.temporal, a.destino);
    }
}

void ArchivosCambio::Descarta() {
    for (const std::unique_ptr<Salida>& s : salidas_) {
        s->archivo.reset();
        s->sha.reset();
        s->largo = 0;
        s->lineas = 0;
    }
}

std::vector<ArchivoGrabado> ArchivosCambio::Huellas() const {
    std::vector<ArchivoGrabado> r;
    for (const std::unique_ptr<Salida>& s : salidas_) {
        r.push_back({s->formato->Nombre(),
                     s->largo,
                     QString::fromLatin1(s->sha.result().toHex()),
                     {},
                     {},
                     0});
    }
    return r;
}

int ArchivosCambio::Lineas(int i) const {
    return salidas_.at(size_t(i))->lineas;
}
