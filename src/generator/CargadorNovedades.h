#pragma once

#include "generator/LoteNovedades.h"

#include <QDate>
#include <QSqlQuery>
#include <QString>
#include <optional>

class FilaOrigen;
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
    void LeeFila(const FilaOrigen& rs, ValoresFila& v, bool manual);
    // False when the row is dropped; otherwise sets the no-mark flag.
    bool DecisionOferta(const FilaOrigen& rs, ValoresFila& v);
    // True when the latest batch of this list and article already sent this price.
    bool YaTransmitido(const QString& codInterno, const QString& precioVenta);
    // Pending loader: fills the next row (the first goes into the blank row 1).
    void AgregaFila(ValoresFila& v);
    // Manual loader: fills the blank last row or a new row at the bottom.
    int AgregaFilaManual(ValoresFila& v);
    // The manual run's query from FROM to the end of its conditions.
    QString ConsultaManual() const;
    // The source query of a run: streamed where the engine takes prepared
    // statements, a result set otherwise. `desde` is the text from FROM to the
    // end of the conditions, `orden` the ORDER BY.
    struct Cursor;
    void AbreCursor(Cursor& c, const QString& desde, const QString& orden);
    // The per-row lookups, prepared once per run where the engine takes them.
    void PreparaConsultas();
    // What a run reads before its query: price classes, list code, today.
    void IniciaCarga();
    // Ends a run: closes the banner (when open) and the source, tells the window.
    ResultadoCarga TerminaCarga(Cursor& c, bool cartelAbierto, ResultadoCarga::Estado estado);
    QString DescripcionTipo(const QString& tipo);
    // Reads the article's VAT rate, bar code, weighable value and descriptions.
    void LeeArticulo(const QString& idArticulo, ValoresFila& v, bool manual);

    LoteNovedades& lote_;
    Clases clases_;
    QString lista_;
    QDate hoy_, manana_;
    int filas_ = 0; // grid rows filled by this run
    std::optional<QSqlQuery> articulo_, tipo_;
};
