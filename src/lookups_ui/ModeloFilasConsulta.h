#pragma once

#include "lookups/FilasConsulta.h"

#include <QAbstractTableModel>

// The list window's rows as a table model: no widget and no item per row.
class ModeloFilasConsulta : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit ModeloFilasConsulta(FilasConsulta& filas, QObject* padre = nullptr);

    void fijaMarcas(bool conMarcas) { conMarcas_ = conMarcas; }
    bool conMarcas() const { return conMarcas_; }
    // After the rows or columns changed underneath.
    void recarga();
    void filaCambiada(int fila);
    // The cell's text, without going through a QVariant.
    const QString& texto(const QModelIndex& i) const { return filas_.celda(i.row(), i.column()); }

    int rowCount(const QModelIndex& padre = QModelIndex()) const override;
    int columnCount(const QModelIndex& padre = QModelIndex()) const override;
    QVariant data(const QModelIndex& i, int rol = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& i, const QVariant& valor, int rol = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& i) const override;
    QVariant headerData(int seccion, Qt::Orientation o, int rol = Qt::DisplayRole) const override;
    void sort(int columna, Qt::SortOrder orden = Qt::AscendingOrder) override;

private:
    FilasConsulta& filas_;
    bool conMarcas_ = false;
};
