#pragma once

#include "generator/GrillaLote.h"

#include <QAbstractTableModel>
#include <QTimer>

// The batch grid as a Qt table model: the cells are read from the grid itself,
// never copied. Row 0 of the grid is the header; data rows start at 1.
//
// Rows that a loader adds reach the view in batches (at most every
// quarter of a second, and at sincroniza()), so that a load of many rows does not
// pay for one view update per row.
class ModeloGrilla : public QAbstractTableModel, private GrillaLote::Observador {
    Q_OBJECT
public:
    explicit ModeloGrilla(GrillaLote& grilla, QObject* padre = nullptr);
    ~ModeloGrilla() override;

    int rowCount(const QModelIndex& padre = QModelIndex()) const override;
    int columnCount(const QModelIndex& padre = QModelIndex()) const override;
    QVariant data(const QModelIndex& indice, int rol = Qt::DisplayRole) const override;
    QVariant headerData(int seccion, Qt::Orientation orientacion,
                        int rol = Qt::DisplayRole) const override;

    // Tells the view about every row added so far.
    void sincroniza();
    void fijaIntervalo(int ms) { temporizador_.setInterval(ms); }

Q_SIGNALS:
    // Columns or their widths may have changed (after a reset or a new header).
    void columnasCambiadas();

private:
    void antesDeReiniciar() override;
    void despuesDeReiniciar() override;
    void despuesDeAgregarFilas() override;
    void celdaCambiada(int fila, int col) override;
    void filaMarcada(int fila) override;

    GrillaLote& grilla_;
    int filas_ = 0;    // data rows the view knows
    int columnas_ = 0; // columns the view knows
    bool reiniciando_ = false;
    QTimer temporizador_;
};
