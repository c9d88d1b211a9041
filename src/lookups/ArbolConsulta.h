#pragma once

#include <QHash>
#include <QString>
#include <QVector>
#include <functional>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <vector>

// The nodes of a tree lookup, derived from codes: the root "A" ("Consulta...")
// and one node per row keyed "A" + code, shown as code + " - " + description. Kept apart from any
// widget so the tree view shows it through a model and tests can read it directly.
class ArbolConsulta {
public:
    struct Nodo {
        // Both as the rows gave them: a node copies no text.
        QString codigo, descripcion;
        int padre = -1;
        int nivel = 0; // root 0
        int fila = 0;  // position among its parent's children
        QVector<int> hijos;
        bool marcado = false;
    };

    ArbolConsulta();

    // Only the root remains.
    void limpia();
    int cantidad() const { return int(nodos_.size()); }
    const Nodo& nodo(int i) const { return nodos_[i]; }
    // The node with this key (any case), -1 when none.
    int indice(const QString& clave) const;
    // The code a node returns: its key without the first character.
    const QString& codigo(int i) const { return nodos_[i].codigo; }
    // What the tree shows: code + " - " + description, "Consulta..." at the root.
    QString texto(int i) const;

    // Adds a node with key "A" + `codigo` under the node "A" + `codigoPadre`,
    // the root when none. Throws FalloKX 35601 when the parent is not in the
    // tree and 35602 when the key already is.
    int agrega(const QString& codigo, const QString& descripcion,
               const std::optional<QString>& codigoPadre);
    // The node whose key is the longest prefix of `clave` (any case), the root
    // at worst. Walks a prefix index of the keys, so the cost is the length
    // of the key, whatever the size of the tree.
    int padrePorPrefijo(const QString& clave) const;

    // Builders over rows already fetched: (code, description) for the
    // automatic one; (code, description, parent code or nothing) for families.
    // A failing row goes to `dialogo`: 4 tries it again, 5 skips it, anything
    // else stops the building. False when it was stopped. `falla` gets the
    // error's number and description. Codes that arrive in order, as the
    // statements ask for them, are placed in one pass without any index.
    struct Fila {
        QString codigo, descripcion;
        std::optional<QString> padre;
    };
    bool armaAutomatico(const QVector<Fila>& filas, const std::function<int(int, QString)>& falla);
    // The same, the rows' texts moved into the nodes.
    bool armaAutomatico(QVector<Fila>&& filas, const std::function<int(int, QString)>& falla);
    bool armaFamilias(const QVector<Fila>& filas, const std::function<int(int, QString)>& falla);

    // The first node, in insertion order from the root, whose code part or
    // description part (the text split at its first "-", each trimmed)
    // begins with `texto` in any case; the root for an empty text; -1 when none.
    int busca(const QString& texto) const;

    // Sets the mark of a node and, level by level, of its descendants down to
    // six levels below it; ancestors are left alone.
    void marca(int i, bool estado);
    // Indices of the marked nodes in insertion order.
    QVector<int> marcados() const;

private:
    QVector<Nodo> nodos_;
    // Key lookups (by key, by longest prefix), built the first time they are
    // needed: a tree built from codes in order never needs them.
    mutable bool indexado_ = false;
    mutable QHash<QString, int> porClave_; // folded key -> node
    // Prefix index over the folded keys: trie nodes, each edge found in one
    // hash table keyed by (trie node, character).
    mutable QVector<int> nodoDeTrie_; // trie node -> tree node ending there, -1 when none
    mutable std::unordered_map<quint64, int> aristas_;

    void indexaTodo() const;
    void indexa(const QString& plegada, int nodo) const;
    int padrePlegado(const QString& plegada) const;
    int agregaBajo(QString codigo, QString descripcion, int padre);
    // Row i of `filas` as a node; its texts moved out of `propias` when given.
    int agregaFila(const QVector<Fila>& filas, Fila* propias, int i, int padre);
    bool armaAutomatico(const QVector<Fila>& filas, Fila* propias,
                        const std::function<int(int, QString)>& falla);
    // The codes of a build folded once, end to end in one buffer.
    struct CodigosPlegados {
        std::vector<char16_t> texto;
        std::vector<quint32> inicio;
        std::u16string_view de(qsizetype i) const {
            return std::u16string_view(texto.data() + inicio[size_t(i)],
                                       size_t(inicio[size_t(i) + 1] - inicio[size_t(i)]));
        }
        // Folds them; false at the first one out of order or beyond ASCII.
        bool ordenados(const QVector<Fila>& filas);
    };
    bool armaEnOrden(const QVector<Fila>& filas, Fila* propias, const CodigosPlegados& plegados,
                     const std::function<int(int, QString)>& falla);
};
