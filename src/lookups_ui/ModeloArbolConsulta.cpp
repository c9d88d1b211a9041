#include "lookups_ui/ModeloArbolConsulta.h"

ModeloArbolConsulta::ModeloArbolConsulta(ArbolConsulta& arbol, QObject* padre)
    : QAbstractItemModel(padre), arbol_(arbol) {}

void ModeloArbolConsulta::recarga() {
    beginResetModel();
    endResetModel();
}

QModelIndex ModeloArbolConsulta::indiceDeNodo(int nodo) const {
    if (nodo < 0 || nodo >= arbol_.cantidad()) {
        return {};
    }
    return createIndex(arbol_.nodo(nodo).fila, 0, quintptr(nodo));
}

QModelIndex ModeloArbolConsulta::index(int fila, int columna, const QModelIndex& padre) const {
    if (columna != 0 || fila < 0) {
        return {};
    }
    if (!padre.isValid()) {
        return fila == 0 ? createIndex(0, 0, quintptr(0)) : QModelIndex();
    }
    const auto& hijos = arbol_.nodo(nodoDe(padre)).hijos;
    return fila < hijos.size() ? createIndex(fila, 0, quintptr(hijos[fila])) : QModelIndex();
}

QModelIndex ModeloArbolConsulta::parent(const QModelIndex& i) const {
    if (!i.isValid()) {
        return {};
    }
    return indiceDeNodo(arbol_.nodo(nodoDe(i)).padre);
}

int ModeloArbolConsulta::rowCount(const QModelIndex& padre) const {
    if (!padre.isValid()) {
        return 1; // the root "Consulta..."
    }
    return padre.column() == 0 ? int(arbol_.nodo(nodoDe(padre)).hijos.size()) : 0;
}

int ModeloArbolConsulta::columnCount(const QModelIndex&) const {
    return 1;
}

QVariant ModeloArbolConsulta::data(const QModelIndex& i, int rol) const {
    if (!i.isValid()) {
        return {};
    }
    const int nodo = nodoDe(i);
    const auto& n = arbol_.nodo(nodo);
    if (rol == Qt::DisplayRole) {
        return arbol_.texto(nodo);
    }
    if (rol == Qt::CheckStateRole && conMarcas_) {
        return n.marcado ? Qt::Checked : Qt::Unchecked;
    }
    return {};
}

void ModeloArbolConsulta::avisaDescendientes(int nodo, int niveles) {
    const auto& hijos = arbol_.nodo(nodo).hijos;
    if (hijos.isEmpty() || niveles == 0) {
        return;
    }
    Q_EMIT dataChanged(indiceDeNodo(hijos.first()), indiceDeNodo(hijos.last()),
                       {Qt::CheckStateRole});
    for (int h : hijos) {
        avisaDescendientes(h, niveles - 1);
    }
}

bool ModeloArbolConsulta::setData(const QModelIndex& i, const QVariant& valor, int rol) {
    if (!i.isValid() || rol != Qt::CheckStateRole || !conMarcas_) {
        return false;
    }
    const int nodo = nodoDe(i);
    arbol_.marca(nodo, valor.toInt() == Qt::Checked);
    Q_EMIT dataChanged(i, i, {Qt::CheckStateRole});
    avisaDescendientes(nodo, 6);
    return true;
}

Qt::ItemFlags ModeloArbolConsulta::flags(const QModelIndex& i) const {
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (conMarcas_ && i.isValid()) {
        f |= Qt::ItemIsUserCheckable;
    }
    return f;
}
