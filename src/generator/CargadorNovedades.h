#pragma once

#include "LoteNovedades.h"

#include <QDate>
#include <QString>

class Recordset;
struct ValoresFila;

// The pending-change loader ("&Cargar") and its twin, the manual range loader
// ("Aceptar" of the range frame): one source row read by LeeFila, shaped by
// FormateaFila, written by AgregaFila.
class CargadorNovedades {
public:
    explicit CargadorNovedades(LoteNovedades& lote);

    ResultadoCarga CargaNovedades();
    ResultadoCarga CargaManual();

private:
    struct Clases {
        QString venta, sugerido, oferta, iva;
    };
    Clases LeeClases() const;
    QString CodigoLista() const;
    void LeeFila(const Recordset& rs, ValoresFila& v, bool manual);
    // False when the row is dropped; otherwise sets the no-mark flag.
    bool DecisionOferta(const Recordset& rs, ValoresFila& v);
    // True when the latest batch of this list and article already sent this price.
    bool YaTransmitido(const QString& codInterno, const QString& precioVenta);
    // Pending loader: fills the next row (the first goes into the blank row 1).
    void AgregaFila(ValoresFila& v);
    // Manual loader: fills the blank last row or a new row at the bottom.
    int AgregaFilaManual(ValoresFila& v);
    QString ConsultaManual() const;

    LoteNovedades& lote_;
    Clases clases_;
    QString lista_;
    QDate hoy_, manana_;
    int filas_ = 0; // grid rows filled by this run
};
