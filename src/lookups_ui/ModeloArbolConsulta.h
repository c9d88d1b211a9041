#pragma once

#include "lookups/ArbolConsulta.h"

#include <QAbstractItemModel>

// The tree lookup's nodes as an item model over ArbolConsulta.
class ModeloArbolConsulta : public QAbstractItemModel {
    Q_OBJECT
public:
    explicit ModeloArbolConsulta(ArbolConsulta& arbol, QObject* padre = nullptr);

    void fijaMarcas(bool conMarcas) { conMarcas_ = conMarcas; }
    void recarga();
    QModelIndex indiceDeNodo(int nodo) const;
    int nodoDe(const QModelIndex& i) const { return i.isValid() ? int(i.internalId()) : -1; }

    QModelIndex index(int fila, int columna,
                      const QModelIndex& padre = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex& i) const override;
    int rowCount(const QModelIndex& padre = QModelIndex()) const override;
    int columnCount(const QModelIndex& padre = QModelIndex()) const override;
    QVariant data(const QModelIndex& i, int rol = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& i, const QVariant& valor, int rol = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& i) const override;

private:
    ArbolConsulta& arbol_;
    bool conMarcas_ = false;
    void avisaDescendientes(int nodo, int niveles);
};
