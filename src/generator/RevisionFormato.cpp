#include "generator/RevisionFormato.h"

#include "generator/ArchivosCambio.h"
#include "generator/ArticulosBalanza.h"
#include "generator/FilaNovedad.h"
#include "generator/FormatoSalida.h"
#include "generator/GrillaLote.h"
#include "utility_library/Cp1252.h"

#include <QSet>
#include <algorithm>

namespace {
// The scale lookup only chooses a one-character sale mode: the record's
// length does not depend on its answer.
struct SinArticulos : ArticulosBalanza {
    bool Busca(const QString&, Articulo&) override { return false; }
};

// The characters of `texto` that Windows-1252 writes as "?".
QString perdidos(const QString& texto) {
    const QByteArray bytes = Cp1252::codifica(texto);
    QString r;
    for (qsizetype i = 0; i < texto.size(); ++i) {
        if (bytes[i] == '?' && texto[i] != QLatin1Char('?')) {
            r += texto[i];
        }
    }
    return r;
}
} // namespace

QString HallazgoFormato::Describe() const {
    const QString quien = QStringLiteral("Fila %1 (%2)").arg(fila).arg(codigo.trimmed());
    switch (tipo) {
    case Tipo::LargoCambios:
    case Tipo::LargoBalanza:
        return QStringLiteral("%1: el registro de %2 tendría %3 caracteres en lugar de %4")
            .arg(quien, archivo)
            .arg(largo)
            .arg(esperado);
    case Tipo::CaracteresPerdidos: {
        const QStringList& encabezados = FilaNovedad::Encabezados();
        const QString celda = columna >= 0 && columna < encabezados.size()
                                  ? encabezados[columna]
                                  : QString::number(columna);
        return QStringLiteral("%1, %2: \"%3\" no existe en Windows-1252 y se escribiría como \"?\"")
            .arg(quien, celda, perdidos);
    }
    }
    return quien;
}

int RevisionFormato::filasCambios() const {
    return int(std::count_if(hallazgos.begin(), hallazgos.end(), [](const HallazgoFormato& h) {
        return h.tipo == HallazgoFormato::Tipo::LargoCambios;
    }));
}

int RevisionFormato::filasBalanza() const {
    return int(std::count_if(hallazgos.begin(), hallazgos.end(), [](const HallazgoFormato& h) {
        return h.tipo == HallazgoFormato::Tipo::LargoBalanza;
    }));
}

int RevisionFormato::celdasConPerdidas() const {
    return int(std::count_if(hallazgos.begin(), hallazgos.end(), [](const HallazgoFormato& h) {
        return h.tipo == HallazgoFormato::Tipo::CaracteresPerdidos;
    }));
}

QList<int> RevisionFormato::filas() const {
    QList<int> r;
    for (const HallazgoFormato& h : hallazgos) {
        if (r.isEmpty() || r.last() != h.fila) {
            r << h.fila;
        }
    }
    return r;
}

QStringList RevisionFormato::Describe() const {
    QStringList r;
    for (const HallazgoFormato& h : hallazgos) {
        r << h.Describe();
    }
    return r;
}

RevisionFormato RevisaFormato(const GrillaLote& grilla) {
    RevisionFormato r;
    SinArticulos sinArticulos;
    const std::vector<std::unique_ptr<FormatoSalida>> formatos =
        ArchivosCambio::Formatos(sinArticulos, QString());
    for (int fila = 1; fila < grilla.Rows(); ++fila) {
        if (FilaNovedad::EnBlanco(grilla, fila)) {
            continue;
        }
        HallazgoFormato base;
        base.fila = fila;
        base.codigo = grilla.Texto(fila, FilaNovedad::CodInterno);

        for (const std::unique_ptr<FormatoSalida>& formato : formatos) {
            if (std::optional<HallazgoFormato> h = formato->Revisa(grilla, fila)) {
                h->fila = base.fila;
                h->codigo = base.codigo;
                r.hallazgos << *h;
            }
        }
        // The cells the files are made of.
        for (int c : ColumnasGrilla::kRegistro) {
            if (Cp1252::representable(grilla.Celda(fila, c))) {
                continue;
            }
            const QString p = perdidos(grilla.Texto(fila, c));
            if (!p.isEmpty()) {
                HallazgoFormato h = base;
                h.tipo = HallazgoFormato::Tipo::CaracteresPerdidos;
                h.columna = c;
                h.largo = int(p.size());
                h.perdidos = p;
                r.hallazgos << h;
            }
        }
    }
    return r;
}
