#include "lookups/ArbolConsulta.h"
#include "utility_library/Operador.h"

#include "utility_library/ErrorKX.h"

namespace {
QString pliega(const QString& s) {
    return s.toCaseFolded();
}
quint64 arista(int nodoTrie, QChar c) {
    return (quint64(quint32(nodoTrie)) << 16) | c.unicode();
}
} // namespace

ArbolConsulta::ArbolConsulta() {
    limpia();
}

void ArbolConsulta::limpia() {
    nodos_.clear();
    porClave_.clear();
    nodoDeTrie_.clear();
    aristas_.clear();
    codigosPlegados_.clear();
    descripcionesPlegadas_.clear();
    plegadosHasta_ = 0;
    nodoDeTrie_.append(-1); // the empty prefix
    Nodo raiz;
    raiz.clave = QStringLiteral("A");
    raiz.texto = QStringLiteral("Consulta...");
    nodos_.append(raiz);
    porClave_.insert(pliega(raiz.clave), 0);
    indexa(pliega(raiz.clave), 0);
}

int ArbolConsulta::indice(const QString& clave) const {
    return porClave_.value(pliega(clave), -1);
}

void ArbolConsulta::indexa(const QString& plegada, int nodo) {
    int t = 0;
    for (QChar c : plegada) {
        const auto [it, nueva] = aristas_.try_emplace(arista(t, c), int(nodoDeTrie_.size()));
        if (nueva) {
            nodoDeTrie_.append(-1);
        }
        t = it->second;
    }
    if (nodoDeTrie_[t] < 0) {
        nodoDeTrie_[t] = nodo;
    }
}

int ArbolConsulta::padrePorPrefijo(const QString& clave) const {
    return padrePlegado(pliega(clave));
}

int ArbolConsulta::padrePlegado(const QString& plegada) const {
    int t = 0, mejor = 0;
    for (QChar c : plegada) {
        const auto it = aristas_.find(arista(t, c));
        if (it == aristas_.end()) {
            break;
        }
        t = it->second;
        if (nodoDeTrie_[t] >= 0) {
            mejor = nodoDeTrie_[t];
        }
    }
    return mejor;
}

int ArbolConsulta::agrega(const QString& clave, const QString& texto, const QString& clavePadre) {
    const int padre = indice(clavePadre);
    if (padre < 0) {
        throw FalloKX(35601, QStringLiteral("Element not found"));
    }
    return agregaBajo(clave, pliega(clave), texto, padre);
}

int ArbolConsulta::agregaBajo(const QString& clave, const QString& plegada, const QString& texto,
                              int padre) {
    if (porClave_.contains(plegada)) {
        throw FalloKX(35602, QStringLiteral("Key is not unique in collection"));
    }
    Nodo n;
    n.clave = clave;
    n.texto = texto;
    n.padre = padre;
    n.nivel = nodos_[padre].nivel + 1;
    n.fila = int(nodos_[padre].hijos.size());
    const int i = int(nodos_.size());
    nodos_.append(std::move(n));
    nodos_[padre].hijos.append(i);
    porClave_.insert(plegada, i);
    indexa(plegada, i);
    return i;
}

namespace {
template <typename F>
bool filaAFila(int cantidad, const std::function<int(int, QString)>& falla, F&& agrega) {
    for (int i = 0; i < cantidad; ++i) {
        for (;;) {
            try {
                agrega(i);
                break;
            } catch (const FalloKX& e) {
                const int r =
                    falla ? falla(e.error().numero, e.error().descripcion) : int(Operador::Ignorar);
                if (r == Operador::Reintentar) {
                    continue;
                }
                if (r == Operador::Ignorar) {
                    break;
                }
                return false;
            }
        }
    }
    return true;
}
} // namespace

void ArbolConsulta::reserva(int n) {
    nodos_.reserve(nodos_.size() + n);
    porClave_.reserve(porClave_.size() + n);
    aristas_.reserve(aristas_.size() + size_t(n) * 2);
    nodoDeTrie_.reserve(nodoDeTrie_.size() + n * 2);
}

bool ArbolConsulta::armaAutomatico(const QVector<Fila>& filas,
                                   const std::function<int(int, QString)>& falla) {
    reserva(int(filas.size()));
    return filaAFila(int(filas.size()), falla, [&](int i) {
        const Fila& f = filas[i];
        const QString clave = QStringLiteral("A") + f.codigo;
        const QString plegada = pliega(clave); // once per row
        // A key already in the tree is refused by agregaBajo.
        agregaBajo(clave, plegada, f.codigo + QStringLiteral(" - ") + f.descripcion,
                   padrePlegado(plegada));
    });
}

bool ArbolConsulta::armaFamilias(const QVector<Fila>& filas,
                                 const std::function<int(int, QString)>& falla) {
    reserva(int(filas.size()));
    return filaAFila(int(filas.size()), falla, [&](int i) {
        const Fila& f = filas[i];
        agrega(QStringLiteral("A") + f.codigo, f.codigo + QStringLiteral(" - ") + f.descripcion,
               f.padre ? QStringLiteral("A") + *f.padre : QStringLiteral("A"));
    });
}

void ArbolConsulta::pliegaHasta(int n) const {
    codigosPlegados_.resize(n);
    descripcionesPlegadas_.resize(n);
    for (int i = plegadosHasta_; i < n; ++i) {
        const QString& t = nodos_[i].texto;
        const auto guion = t.indexOf(QLatin1Char('-'));
        if (guion < 0) {
            // Without "-" there is nothing to match on.
            codigosPlegados_[i] = QString();
            descripcionesPlegadas_[i] = QString();
            continue;
        }
        codigosPlegados_[i] = pliega(t.left(guion).trimmed());
        descripcionesPlegadas_[i] = pliega(t.mid(guion + 1).trimmed());
    }
    plegadosHasta_ = n;
}

int ArbolConsulta::busca(const QString& texto) const {
    if (texto.isEmpty()) {
        return 0;
    }
    const int n = int(nodos_.size());
    if (plegadosHasta_ != n) {
        plegadosHasta_ = std::min(plegadosHasta_, n);
        pliegaHasta(n);
    }
    const QString buscado = pliega(texto);
    for (int i = 0; i < n; ++i) {
        // Texts without "-" were folded to nothing and never match.
        if (codigosPlegados_[i].startsWith(buscado) ||
            descripcionesPlegadas_[i].startsWith(buscado)) {
            return i;
        }
    }
    return -1;
}

void ArbolConsulta::marca(int i, bool estado) {
    nodos_[i].marcado = estado;
    QVector<int> nivel{i};
    for (int profundidad = 1; profundidad <= 6 && !nivel.isEmpty(); ++profundidad) {
        QVector<int> siguiente;
        for (int p : nivel) {
            for (int h : nodos_[p].hijos) {
                nodos_[h].marcado = nodos_[p].marcado;
                siguiente.append(h);
            }
        }
        nivel.swap(siguiente);
    }
}

QVector<int> ArbolConsulta::marcados() const {
    QVector<int> r;
    for (int i = 0; i < nodos_.size(); ++i) {
        if (nodos_[i].marcado) {
            r.append(i);
        }
    }
    return r;
}
