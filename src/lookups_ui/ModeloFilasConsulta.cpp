#include "lookups_ui/ModeloFilasConsulta.h"

#include <QColor>

ModeloFilasConsulta::ModeloFilasConsulta(FilasConsulta& filas, QObject* padre)
    : QAbstractTableModel(padre), filas_(filas) {}

void ModeloFilasConsulta::recarga() {
    beginResetModel();
    endResetModel();
}

void ModeloFilasConsulta::filaCambiada(int fila) {
    Q_EMIT dataChanged(index(fila, 0), index(fila, columnCount() - 1));
}

int ModeloFilasConsulta::rowCount(const QModelIndex& padre) const {
    return padre.isValid() ? 0 : filas_.filas();
}

int ModeloFilasConsulta::columnCount(const QModelIndex& padre) const {
    return padre.isValid() ? 0 : filas_.columnas();
}

QVariant ModeloFilasConsulta::data(const QModelIndex& i, int rol) const {
    if (!i.isValid()) {
        return {};
    }
    switch (rol) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        return filas_.celda(i.row(), i.column());
    case Qt::CheckStateRole:
        if (conMarcas_ && i.column() == 0) {
            return filas_.marcada(i.row()) ? Qt::Checked : Qt::Unchecked;
        }
        return {};
    case Qt::ForegroundRole: {
        const qint64 c = filas_.color(i.row());
        if (c == FilasConsulta::SinColor) {
            return {};
        }
        // The suite writes colours as 0x00BBGGRR.
        return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
    }
    default:
        return {};
    }
}

bool ModeloFilasConsulta::setData(const QModelIndex& i, const QVariant& valor, int rol) {
    if (!i.isValid() || rol != Qt::CheckStateRole || !conMarcas_) {
        return false;
    }
    filas_.marca(i.row(), valor.toInt() == Qt::Checked);
    filaCambiada(i.row());
    return true;
}

Qt::ItemFlags ModeloFilasConsulta::flags(const QModelIndex& i) const {
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (conMarcas_ && i.column() == 0) {
        f |= Qt::ItemIsUserCheckable;
    }
    return f;
}

QVariant ModeloFilasConsulta::headerData(int seccion, Qt::Orientation o, int rol) const {
    if (o == Qt::Horizontal && rol == Qt::DisplayRole && seccion < filas_.columnas()) {
        return filas_.columna(seccion).encabezado;
    }
    return QAbstractTableModel::headerData(seccion, o, rol);
}

void ModeloFilasConsulta::sort(int columna, Qt::SortOrder orden) {
    Q_EMIT layoutAboutToBeChanged();
    filas_.ordena(columna, orden == Qt::AscendingOrder);
    Q_EMIT layoutChanged();
}
