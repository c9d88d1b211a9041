#include "generator/VerificadorLote.h"

#include "generator/ArchivosCambio.h"
#include "generator/EstadoVentana.h"
#include "generator/FilaNovedad.h"
#include "generator/FormatoSalida.h"
#include "generator/HistorialLote.h"
#include "generator/LoteNovedades.h"
#include "generator/RepositorioLote.h"
#include "utility_library/Cp1252.h"
#include "utility_library/ErrorKX.h"
#include "utility_library/Operador.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <iterator>
#include <optional>

namespace {
// Rows whose scale lookups are asked together.
constexpr int kArticulosPorBloque = 2000;

QByteArrayList registros(const QByteArray& contenido) {
    QByteArrayList r = contenido.split('\n');
    if (!r.isEmpty() && r.last().isEmpty()) {
        r.removeLast();
    }
    return r;
}

QString muestra(const QByteArray& registro) {
    QByteArray r = registro;
    if (r.endsWith('\r')) {
        r.chop(1);
    }
    return QLatin1Char('"') + Cp1252::decodifica(r) + QLatin1Char('"');
}

QString sha(const QByteArray& b) {
    return QString::fromLatin1(QCryptographicHash::hash(b, QCryptographicHash::Sha256).toHex());
}

// A path as one spelling, to tell two records of the same folder or copy.
QString comoRuta(const QString& ruta) {
    return QDir::cleanPath(QDir::fromNativeSeparators(ruta));
}

// The output folder a record's copy path names; empty when it names none.
QString carpetaDeCopia(const QString& copia) {
    const std::optional<HistorialLote::CopiaLeida> c = HistorialLote::LeeCopia(copia);
    return c ? comoRuta(c->carpetaSalida) : QString();
}

// A file read whole for a comparison, never through a link: the content,
// or why it could not be read.
struct Leido {
    bool ok = false;
    QByteArray contenido;
    QString motivo;
};

Leido lee(const QString& ruta) {
    Leido r;
    const QFileInfo fi(ruta);
    if (fi.isSymLink()) {
        r.motivo = QStringLiteral("es un enlace; no se lee");
        return r;
    }
    if (!fi.exists()) {
        r.motivo = QStringLiteral("no existe");
        return r;
    }
    QFile f(ruta);
    if (!f.open(QIODevice::ReadOnly)) {
        r.motivo = QStringLiteral("no se pudo leer: ") + f.errorString();
        return r;
    }
    r.contenido = f.readAll();
    r.ok = f.error() == QFileDevice::NoError;
    if (!r.ok) {
        r.motivo = QStringLiteral("no se pudo leer: ") + f.errorString();
    }
    return r;
}

// The file `nombre` in `carpeta` as a publication left it: that name, or the
// same name in another case (the path label keeps the case it was typed in).
QString publicadoEn(const QString& carpeta, const QString& nombre) {
    const QDir d(carpeta);
    if (QFileInfo::exists(d.filePath(nombre)) || QFileInfo(d.filePath(nombre)).isSymLink()) {
        return d.filePath(nombre);
    }
    const QStringList todos = d.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& n : todos) {
        if (n.compare(nombre, Qt::CaseInsensitive) == 0) {
            return d.filePath(n);
        }
    }
    return d.filePath(nombre);
}

} // namespace

VerificadorLote::PrimeraDiferencia VerificadorLote::Compara(const QByteArray& esperado,
                                                            const QByteArray& encontrado) {
    PrimeraDiferencia d;
    if (esperado == encontrado) {
        return d;
    }
    const QByteArrayList a = registros(esperado);
    const QByteArrayList b = registros(encontrado);
    const qsizetype n = std::max(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
        const QByteArray x = a.value(i);
        const QByteArray y = b.value(i);
        if (i >= a.size() || i >= b.size() || x != y) {
            d.registro = int(i + 1);
            d.esperado = x;
            d.encontrado = y;
            return d;
        }
    }
    // Equal records, different bytes: the line ends.
    d.registro = int(n);
    d.esperado = a.value(n - 1);
    d.encontrado = b.value(n - 1);
    return d;
}

ResultadoVerificacion VerificadorLote::Verifica(qint64 codigo) {
    ResultadoVerificacion r;
    EstadoVentana& v = lote_.ventana();
    // The kilogram unit decides the scale records' sale mode.
    try {
        lote_.RefrescaParametros();
    } catch (const FalloKX& f) {
        LoteNovedades::ReportaError(f.error(), QStringLiteral("Verificar"));
        return r;
    }
    v.campo(QStringLiteral("Codigo")) = QString::number(codigo);
    switch (lote_.CargaLote().estado) {
    case ResultadoCarga::Estado::Cargado:
        break;
    case ResultadoCarga::Estado::SinNovedades:
    case ResultadoCarga::Estado::Rechazado:
        r.estado = ResultadoVerificacion::Estado::NoExiste;
        return r;
    case ResultadoCarga::Estado::Cancelado:
    case ResultadoCarga::Estado::Abandonado:
        return r;
    }
    // The files as a regeneration writes them, in memory, by name.
    ArchivosCambio archivos(lote_.articulosBalanza(), lote_.parametros().unidadKG);
    std::vector<QByteArray> rehechos(size_t(archivos.CantidadFormatos()));
    std::vector<ArchivoGrabado> grabados;
    try {
        const GrillaLote& g = v.grilla;
        for (int f = 1; f < g.Rows(); ++f) {
            if (FilaNovedad::EnBlanco(g, f)) {
                continue;
            }
            if ((f - 1) % kArticulosPorBloque == 0) {
                archivos.Anticipa(g, f, std::min(g.Rows(), f + kArticulosPorBloque));
            }
            const ArchivosCambio::Registros reg = archivos.Prepara(g, f);
            for (size_t i = 0; i < rehechos.size(); ++i) {
                rehechos[i] += reg[i];
            }
        }
        grabados = lote_.repositorio().ArchivosGrabados(codigo);
    } catch (const FalloKX& f) {
        LoteNovedades::ReportaError(f.error(), QStringLiteral("Verificar"));
        return r;
    }
    // The folder of the batch's stored path: where a record without a copy
    // path published.
    const QString carpetaLote = comoRuta(ArchivosCambio::Carpeta(v.textoRuta));
    const QString lista = v.campo(QStringLiteral("IdLista")).trimmed();
    bool iguales = true;
    const auto difiere = [&](const QString& linea) {
        r.lineas << linea;
        iguales = false;
    };
    const auto diferencia = [&](const QByteArray& rehecho, const QByteArray& encontrado) {
        const PrimeraDiferencia d = Compara(rehecho, encontrado);
        return QStringLiteral("en el registro %1 el lote da %2 y el archivo tiene %3")
            .arg(d.registro)
            .arg(muestra(d.esperado), muestra(d.encontrado));
    };

    // Each publication of the file: its recorded length and digest, and the
    // copy it kept (a regeneration into the same folder keeps it again, in
    // the same place: one copy for both).
    const auto revisaPublicaciones = [&](const QString& nombre, const QByteArray& rehecho,
                                         const std::vector<ArchivoGrabado>& propios) {
        const QString huella = sha(rehecho);
        if (propios.empty()) {
            difiere(QStringLiteral("%1: el lote no tiene huella registrada").arg(nombre));
            return;
        }
        bool bien = true;
        QStringList copiasVistas;
        for (const ArchivoGrabado& g : propios) {
            if (g.largo != rehecho.size() || g.sha256.compare(huella, Qt::CaseInsensitive) != 0) {
                difiere(QStringLiteral("%1, publicación del %2: se registraron %3 bytes (SHA-256 "
                                       "%4); el lote reconstruido da %5 bytes (SHA-256 %6)")
                            .arg(nombre, g.generado)
                            .arg(g.largo)
                            .arg(g.sha256)
                            .arg(rehecho.size())
                            .arg(huella));
                bien = false;
            }
            const QString copia = ArchivosCambio::RutaLocal(
                !g.copia.isEmpty() ? g.copia
                                   : HistorialLote::Copia(carpetaLote, lista, codigo, nombre));
            if (copiasVistas.contains(comoRuta(copia))) {
                continue;
            }
            copiasVistas << comoRuta(copia);
            const Leido leido = lee(copia);
            if (!leido.ok) {
                difiere(QStringLiteral("%1: la copia %2 %3").arg(nombre, copia, leido.motivo));
                bien = false;
            } else if (leido.contenido != rehecho) {
                difiere(QStringLiteral("%1: la copia %2 difiere: %3")
                            .arg(nombre, copia, diferencia(rehecho, leido.contenido)));
                bien = false;
            }
        }
        if (bien) {
            r.lineas << (propios.size() == 1
                             ? QStringLiteral("%1: igual (%2 bytes, SHA-256 %3) a su huella y "
                                              "a su copia")
                                   .arg(nombre)
                                   .arg(rehecho.size())
                                   .arg(huella)
                             : QStringLiteral("%1: igual (%2 bytes, SHA-256 %3) a las huellas y "
                                              "copias de sus %4 publicaciones")
                                   .arg(nombre)
                                   .arg(rehecho.size())
                                   .arg(huella)
                                   .arg(propios.size()));
        }
    };

    // The file each folder the batch went to holds now: this batch's, or a
    // batch published there later (no difference: the branches moved on),
    // or anything else.
    const auto revisaCarpetas = [&](const QString& nombre, const QByteArray& rehecho,
                                    const std::vector<ArchivoGrabado>& propios) {
        // Each folder with this batch's latest publication there.
        QList<QPair<QString, QString>> carpetas;
        for (const ArchivoGrabado& g : propios) {
            QString c = carpetaDeCopia(g.copia);
            if (c.isEmpty()) {
                c = carpetaLote; // recorded with no copy path: the stored path's folder
            }
            if (c.isEmpty()) {
                continue;
            }
            const auto it = std::find_if(carpetas.begin(), carpetas.end(),
                                         [&](const auto& x) { return x.first == c; });
            if (it == carpetas.end()) {
                carpetas << qMakePair(c, g.generado);
            } else {
                it->second = std::max(it->second, g.generado);
            }
        }
        for (const auto& [carpeta, ultima] : std::as_const(carpetas)) {
            const QString ruta = ArchivosCambio::RutaLocal(publicadoEn(carpeta, nombre));
            const QString donde = QDir::toNativeSeparators(ruta);
            const Leido leido = lee(ruta);
            if (!leido.ok) {
                difiere(QStringLiteral("%1 %2").arg(donde, leido.motivo));
                continue;
            }
            if (leido.contenido == rehecho) {
                r.lineas << QStringLiteral("%1: igual al lote").arg(donde);
                continue;
            }
            const std::vector<ArchivoGrabado> conEsaHuella = lote_.repositorio().ArchivosConHuella(
                nombre, leido.contenido.size(), sha(leido.contenido));
            // The latest publication of those bytes into this folder by another
            // batch, after this batch's latest there.
            const ArchivoGrabado* despues = nullptr;
            const ArchivoGrabado* otro = nullptr;
            for (const ArchivoGrabado& g : conEsaHuella) {
                if (g.codigo == codigo) {
                    continue;
                }
                otro = &g;
                if (carpetaDeCopia(g.copia) == carpeta && g.generado >= ultima) {
                    despues = &g;
                }
            }
            if (despues) {
                r.lineas << QStringLiteral("%1: reemplazado por el lote %2, publicado después "
                                           "(%3)")
                                .arg(donde)
                                .arg(despues->codigo)
                                .arg(despues->generado);
            } else if (otro) {
                difiere(QStringLiteral("%1: tiene el archivo del lote %2 (publicado el %3 en %4), "
                                       "no el de este lote ni el de uno publicado después allí")
                            .arg(donde)
                            .arg(otro->codigo)
                            .arg(otro->generado,
                                 QDir::toNativeSeparators(carpetaDeCopia(otro->copia))));
            } else {
                difiere(QStringLiteral("%1: difiere de todo lote publicado; %2")
                            .arg(donde, diferencia(rehecho, leido.contenido)));
            }
        }
    };

    const auto revisa = [&](const QString& nombre, const QByteArray& rehecho) {
        std::vector<ArchivoGrabado> propios;
        std::copy_if(grabados.begin(), grabados.end(), std::back_inserter(propios),
                     [&](const ArchivoGrabado& a) {
                         return a.archivo.compare(nombre, Qt::CaseInsensitive) == 0;
                     });
        revisaPublicaciones(nombre, rehecho, propios);
        revisaCarpetas(nombre, rehecho, propios);
    };
    try {
        for (int i = 0; i < archivos.CantidadFormatos(); ++i) {
            revisa(archivos.Formato(i).Nombre(), rehechos[size_t(i)]);
        }
    } catch (const FalloKX& f) {
        LoteNovedades::ReportaError(f.error(), QStringLiteral("Verificar"));
        r.lineas.clear();
        return r;
    }
    r.estado =
        iguales ? ResultadoVerificacion::Estado::Iguales : ResultadoVerificacion::Estado::Difieren;
    return r;
}
