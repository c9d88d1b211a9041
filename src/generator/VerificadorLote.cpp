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
#include <QFile>
#include <QFileInfo>
#include <algorithm>

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
    const QString carpeta = ArchivosCambio::RutaLocal(ArchivosCambio::Carpeta(v.textoRuta));
    const QString lista = v.campo(QStringLiteral("IdLista")).trimmed();
    bool iguales = true;
    const auto revisa = [&](const QString& nombre, const QByteArray& rehecho) {
        const auto g = std::find_if(grabados.begin(), grabados.end(), [&](const ArchivoGrabado& a) {
            return a.archivo.compare(nombre, Qt::CaseInsensitive) == 0;
        });
        const QString huella = sha(rehecho);
        if (g == grabados.end()) {
            r.lineas << QStringLiteral("%1: el lote no tiene huella registrada").arg(nombre);
            iguales = false;
        } else if (g->largo != rehecho.size() || g->sha256.compare(huella, Qt::CaseInsensitive)) {
            r.lineas << QStringLiteral("%1: el lote reconstruido da %2 bytes (SHA-256 %3); se "
                                       "registraron %4 bytes (SHA-256 %5)")
                            .arg(nombre)
                            .arg(rehecho.size())
                            .arg(huella)
                            .arg(g->largo)
                            .arg(g->sha256);
            iguales = false;
        }
        const QString copia =
            g != grabados.end() && !g->copia.isEmpty()
                ? ArchivosCambio::RutaLocal(g->copia)
                : ArchivosCambio::RutaLocal(HistorialLote::Copia(carpeta, lista, codigo, nombre));
        const QFileInfo fi(copia);
        QFile f(copia);
        if (fi.isSymLink()) {
            r.lineas
                << QStringLiteral("%1: la copia %2 es un enlace; no se lee").arg(nombre, copia);
            iguales = false;
            return;
        }
        if (!f.open(QIODevice::ReadOnly)) {
            r.lineas << QStringLiteral("%1: no se pudo leer la copia %2: %3")
                            .arg(nombre, copia, f.errorString());
            iguales = false;
            return;
        }
        const QByteArray guardado = f.readAll();
        const PrimeraDiferencia d = Compara(rehecho, guardado);
        if (d.registro > 0) {
            r.lineas << QStringLiteral("%1: la copia %2 difiere en el registro %3: el lote da %4 y "
                                       "la copia tiene %5")
                            .arg(nombre, copia)
                            .arg(d.registro)
                            .arg(muestra(d.esperado), muestra(d.encontrado));
            iguales = false;
            return;
        }
        if (g != grabados.end() && g->largo == rehecho.size() &&
            g->sha256.compare(huella, Qt::CaseInsensitive) == 0) {
            r.lineas << QStringLiteral("%1: igual (%2 bytes, SHA-256 %3)")
                            .arg(nombre)
                            .arg(rehecho.size())
                            .arg(huella);
        }
    };
    for (int i = 0; i < archivos.CantidadFormatos(); ++i) {
        revisa(archivos.Formato(i).Nombre(), rehechos[size_t(i)]);
    }
    r.estado =
        iguales ? ResultadoVerificacion::Estado::Iguales : ResultadoVerificacion::Estado::Difieren;
    return r;
}
