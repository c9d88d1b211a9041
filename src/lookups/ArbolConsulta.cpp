#include "lookups/ArbolConsulta.h"
#include "utility_library/Operador.h"

#include "lookups/TextoPlegado.h"
#include "utility_library/ErrorKX.h"

#include <string_view>
#include <vector>

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
    indexado_ = false;
    nodos_.append(Nodo()); // the root: key "A", an empty code
}

QString ArbolConsulta::texto(int i) const {
    if (i == 0) {
        return QStringLiteral("Consulta...");
    }
    return nodos_[i].codigo + QStringLiteral(" - ") + nodos_[i].descripcion;
}

void ArbolConsulta::indexaTodo() const {
    if (indexado_) {
        return;
    }
    porClave_.clear();
    nodoDeTrie_.clear();
    aristas_.clear();
    porClave_.reserve(nodos_.size());
    aristas_.reserve(size_t(nodos_.size()) * 2);
    nodoDeTrie_.reserve(nodos_.size() * 2);
    nodoDeTrie_.append(-1); // the empty prefix
    for (int i = 0; i < nodos_.size(); ++i) {
        const QString plegada = pliega(QStringLiteral("A") + nodos_[i].codigo);
        porClave_.insert(plegada, i);
        indexa(plegada, i);
    }
    indexado_ = true;
}

int ArbolConsulta::indice(const QString& clave) const {
    indexaTodo();
    return porClave_.value(pliega(clave), -1);
}

void ArbolConsulta::indexa(const QString& plegada, int nodo) const {
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
    indexaTodo();
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

int ArbolConsulta::agrega(const QString& codigo, const QString& descripcion,
                          const std::optional<QString>& codigoPadre) {
    const int padre =
        indice(codigoPadre ? QStringLiteral("A") + *codigoPadre : QStringLiteral("A"));
    if (padre < 0) {
        throw FalloKX(35601, QStringLiteral("Element not found"));
    }
    if (porClave_.contains(pliega(QStringLiteral("A") + codigo))) {
        throw FalloKX(35602, QStringLiteral("Key is not unique in collection"));
    }
    return agregaBajo(codigo, descripcion, padre);
}

// The key is known to be new; the lookups, when built, learn it.
int ArbolConsulta::agregaBajo(QString codigo, QString descripcion, int padre) {
    Nodo n;
    n.codigo = std::move(codigo);
    n.descripcion = std::move(descripcion);
    n.padre = padre;
    n.nivel = nodos_[padre].nivel + 1;
    n.fila = int(nodos_[padre].hijos.size());
    const int i = int(nodos_.size());
    nodos_.append(std::move(n));
    nodos_[padre].hijos.append(i);
    if (indexado_) {
        const QString plegada = pliega(QStringLiteral("A") + nodos_[i].codigo);
        porClave_.insert(plegada, i);
        indexa(plegada, i);
    }
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

int ArbolConsulta::agregaFila(const QVector<Fila>& filas, Fila* propias, int i, int padre) {
    if (propias) {
        return agregaBajo(std::move(propias[i].codigo), std::move(propias[i].descripcion), padre);
    }
    return agregaBajo(filas[i].codigo, filas[i].descripcion, padre);
}

bool ArbolConsulta::armaAutomatico(const QVector<Fila>& filas,
                                   const std::function<int(int, QString)>& falla) {
    return armaAutomatico(filas, nullptr, falla);
}

bool ArbolConsulta::armaAutomatico(QVector<Fila>&& filas,
                                   const std::function<int(int, QString)>& falla) {
    QVector<Fila> propias = std::move(filas);
    return armaAutomatico(propias, propias.data(), falla);
}

bool ArbolConsulta::armaAutomatico(const QVector<Fila>& filas, Fila* propias,
                                   const std::function<int(int, QString)>& falla) {
    nodos_.reserve(nodos_.size() + filas.size());
    if (nodos_.size() == 1) {
        CodigosPlegados c;
        if (c.ordenados(filas)) {
            return armaEnOrden(filas, propias, c, falla);
        }
    }
    // Codes out of order, or a tree already grown: each code looks its parent
    // up in the prefix index.
    indexaTodo();
    return filaAFila(int(filas.size()), falla, [&](int i) {
        const Fila& f = filas[i];
        const QString plegada = pliega(QStringLiteral("A") + f.codigo);
        const int padre = padrePlegado(plegada);
        if (porClave_.contains(plegada)) {
            throw FalloKX(35602, QStringLiteral("Key is not unique in collection"));
        }
        agregaFila(filas, propias, i, padre);
    });
}

bool ArbolConsulta::CodigosPlegados::ordenados(const QVector<Fila>& filas) {
    texto.clear();
    inicio.assign(size_t(filas.size()) + 1, 0);
    texto.reserve(size_t(filas.size()) * 8);
    for (qsizetype i = 0; i < filas.size(); ++i) {
        for (QChar c : filas[i].codigo) {
            if (c.unicode() >= 0x80) {
                return false; // beyond ASCII the index folds whole texts
            }
            texto.push_back(TextoPlegado::pliega(c.unicode()));
        }
        inicio[size_t(i) + 1] = quint32(texto.size());
        if (i > 0 && de(i) < de(i - 1)) {
            return false;
        }
    }
    return true;
}

bool ArbolConsulta::armaEnOrden(const QVector<Fila>& filas, Fila* propias,
                                const CodigosPlegados& plegados,
                                const std::function<int(int, QString)>& falla) {
    // In order, the codes a code begins with are the ones still open above
    // it: a stack of nested codes, the root at the bottom. Whatever does not
    // begin the next code is closed for good, since all that follows sorts
    // after it too. A code equal to the open one is already in the tree.
    struct Abierto {
        int nodo;
        std::u16string_view codigo;
    };
    std::vector<Abierto> abiertos{{0, std::u16string_view()}};
    return filaAFila(int(filas.size()), falla, [&](int i) {
        const std::u16string_view c = plegados.de(i);
        while (!c.starts_with(abiertos.back().codigo)) {
            abiertos.pop_back();
        }
        if (c.size() == abiertos.back().codigo.size()) {
            throw FalloKX(35602, QStringLiteral("Key is not unique in collection"));
        }
        const int n = agregaFila(filas, propias, i, abiertos.back().nodo);
        abiertos.push_back({n, c});
    });
}

bool ArbolConsulta::armaFamilias(const QVector<Fila>& filas,
                                 const std::function<int(int, QString)>& falla) {
    nodos_.reserve(nodos_.size() + filas.size());
    indexaTodo();
    return filaAFila(int(filas.size()), falla, [&](int i) {
        const Fila& f = filas[i];
        agrega(f.codigo, f.descripcion, f.padre);
    });
}

int ArbolConsulta::busca(const QString& texto) const {
    if (texto.isEmpty()) {
        return 0;
    }
    const std::u16string buscado = TextoPlegado::plegado(std::u16string_view(
        reinterpret_cast<const char16_t*>(texto.constData()), size_t(texto.size())));
    auto empieza = [&](std::u16string_view parte) {
        return TextoPlegado::empiezaCon(TextoPlegado::recortado(parte.data(), parte.size()),
                                        buscado);
    };
    auto vista = [](const QString& s) {
        return std::u16string_view(reinterpret_cast<const char16_t*>(s.constData()),
                                   size_t(s.size()));
    };
    // The shown text splits at its first "-": the code and the description
    // when the code has none. The root ("Consulta...") has none at all.
    for (int i = 1; i < nodos_.size(); ++i) {
        const Nodo& n = nodos_[i];
        const std::u16string_view codigo = vista(n.codigo);
        const size_t g = codigo.find(u'-');
        if (g == std::u16string_view::npos) {
            if (empieza(codigo) || empieza(vista(n.descripcion))) {
                return i;
            }
            continue;
        }
        const QString t = this->texto(i);
        const std::u16string_view v = vista(t);
        if (empieza(v.substr(0, g)) || empieza(v.substr(g + 1))) {
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
