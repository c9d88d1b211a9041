#include "main_window/ModeloGrilla.h"

#include <QColor>

ModeloGrilla::ModeloGrilla(GrillaLote& grilla, QObject* padre)
    : QAbstractTableModel(padre), grilla_(grilla) {
    filas_ = std::max(0, grilla_.Rows() - 1);
    columnas_ = grilla_.Cols();
    temporizador_.setSingleShot(true);
    temporizador_.setInterval(250);
    connect(&temporizador_, &QTimer::timeout, this, &ModeloGrilla::sincroniza);
    grilla_.fijaObservador(this);
}

ModeloGrilla::~ModeloGrilla() {
    grilla_.fijaObservador(nullptr);
}

int ModeloGrilla::rowCount(const QModelIndex& padre) const {
    return padre.isValid() ? 0 : filas_;
}

int ModeloGrilla::columnCount(const QModelIndex& padre) const {
    return padre.isValid() ? 0 : columnas_;
}

QVariant ModeloGrilla::data(const QModelIndex& indice, int rol) const {
    if (!indice.isValid() || (rol != Qt::DisplayRole && rol != Qt::ToolTipRole)) {
        return QVariant();
    }
    const int fila = indice.row() + 1;
    if (fila >= grilla_.Rows() || indice.column() >= grilla_.Cols()) {
        return QVariant();
    }
    return grilla_.Celda(fila, indice.column()).toString();
}

QVariant ModeloGrilla::headerData(int seccion, Qt::Orientation orientacion, int rol) const {
    if (orientacion == Qt::Vertical) {
        // Rows whose records would leave the fixed layout, or whose prices
        // look implausible, stand out; the tooltip says why.
        const bool marcada = seccion + 1 < grilla_.Rows() && grilla_.Marcada(seccion + 1);
        if (rol == Qt::DisplayRole) {
            return marcada ? QStringLiteral("! %1").arg(seccion + 1) : QVariant(seccion + 1);
        }
        if (rol == Qt::ForegroundRole && marcada) {
            return QColor(Qt::red);
        }
        if (rol == Qt::ToolTipRole && marcada) {
            return grilla_.Motivos(seccion + 1);
        }
        return QVariant();
    }
    if (rol != Qt::DisplayRole) {
        return QVariant();
    }
    if (grilla_.Rows() == 0 || seccion >= grilla_.Cols()) {
        return QVariant();
    }
    return grilla_.Celda(0, seccion).toString();
}

void ModeloGrilla::sincroniza() {
    temporizador_.stop();
    const int filas = std::max(0, grilla_.Rows() - 1);
    if (filas > filas_) {
        beginInsertRows(QModelIndex(), filas_, filas - 1);
        filas_ = filas;
        endInsertRows();
    }
}

void ModeloGrilla::antesDeReiniciar() {
    temporizador_.stop();
    if (!reiniciando_) {
        reiniciando_ = true;
        beginResetModel();
    }
}

void ModeloGrilla::despuesDeReiniciar() {
    filas_ = std::max(0, grilla_.Rows() - 1);
    columnas_ = grilla_.Cols();
    if (reiniciando_) {
        reiniciando_ = false;
        endResetModel();
    }
    Q_EMIT columnasCambiadas();
}

void ModeloGrilla::despuesDeAgregarFilas() {
    if (!temporizador_.isActive()) {
        temporizador_.start();
    }
}

void ModeloGrilla::filaMarcada(int fila) {
    if (fila >= 1 && fila - 1 < filas_) {
        Q_EMIT headerDataChanged(Qt::Vertical, fila - 1, fila - 1);
    }
}

void ModeloGrilla::celdaCambiada(int fila, int col) {
    if (fila == 0) {
        Q_EMIT headerDataChanged(Qt::Horizontal, col < 0 ? 0 : col,
                                 col < 0 ? std::max(0, columnas_ - 1) : col);
        Q_EMIT columnasCambiadas();
        return;
    }
    // Rows the view does not know yet arrive with the next batch.
    if (fila - 1 >= filas_ || columnas_ == 0) {
        return;
    }
    Q_EMIT dataChanged(index(fila - 1, col < 0 ? 0 : col),
                       index(fila - 1, col < 0 ? columnas_ - 1 : col));
}
