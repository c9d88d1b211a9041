#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <functional>
#include <string_view>
#include <vector>

class Recordset;

// The rows of a list lookup as text, with their check marks and stock
// colours: what the list window shows through its model. One flat vector of
// cells, so 100,000 rows cost no widget and no per-row object.
class FilasConsulta {
public:
    struct Columna {
        QString campo;      // field name (the search box's tag)
        QString encabezado; // header shown
        int caracteres = 0; // width in letters "X"
        // No size was declared: leer() sets the width from the longest value.
        bool anchoPorDatos = false;
    };
    // Colour of a row: 0x00BBGGRR, or none.
    static constexpr qint64 SinColor = -1;

    struct Lectura {
        bool esArticulos = false; // the statement holds "articulos"
        bool muestraStock = false;
        QVariant niveles[4]; // StkNivel1..4
        bool checkBoxes = false;
        QString campoDevuelto;
        QString valoresDefault;
    };

    void limpia();
    void limpiaFilas();

    // Columns from the fields: defined size (12 for money and numbers, 60 at
    // most; a text without one takes the width of its longest value when
    // read), price headers of article statements from `nombrePrecio(n)`, ten
    // more letters with ValoresDefault "@10" on other statements. Headers are
    // the names as the statement writes them: an engine that folds unquoted
    // names (PostgreSQL) gives them back in lower case.
    void encolumnar(const Recordset& rs, const QString& sql, const QString& valoresDefault,
                    const std::function<QString(int)>& nombrePrecio);
    // Every row of the result set from its current position. The values are
    // taken out of it: the result set is only good for closing afterwards.
    void leer(Recordset& rs, const Lectura& l);

    // For the pickers: one column and rows given by hand.
    void fijaColumnas(const QList<Columna>& c);
    void agregaFila(const QStringList& celdas, bool marcada = false);

    int columnas() const { return int(columnas_.size()); }
    int filas() const { return filas_; }
    const Columna& columna(int c) const { return columnas_[c]; }
    const QString& celda(int fila, int col) const {
        return *static_cast<const QString*>(valores_[fila][col].constData());
    }
    void fijaCelda(int fila, int col, const QString& v);
    bool marcada(int fila) const { return marcas_[fila] != 0; }
    void marca(int fila, bool m) { marcas_[fila] = m ? 1 : 0; }
    qint64 color(int fila) const { return colores_[fila]; }

    // Position (from 1) of the first row, from row `desde` (from 0) on, whose
    // column `clave` (0 the first) starts with `valor`, both trimmed, any
    // case; 0 when none. An empty value matches the first row.
    int Busqueda(int clave, const QString& valor, int desde = 0) const;
    // Position (from 1) of the first column whose header is `columna`
    // (trimmed, any case); 0 when none.
    int IndiceColumna(const QString& columna) const;
    // The names of the statement's select list as written (an alias, or the
    // name after its table's prefix); empty when it selects "*" or cannot be read.
    static QStringList NombresDeSentencia(const QString& sql);
    // Sorts the rows by one column as text, any case; stable.
    void ordena(int col, bool ascendente);

    // Stock colour rule: level 1 no reorder point and stock; 2 above the
    // point; 3 below it; 4 otherwise.
    static int nivelStock(double puntoPedido, double stock);
    // A colour value (number, or text holding one) as 0x00BBGGRR; none when blank.
    static qint64 colorDe(const QVariant& v);

private:
    static constexpr int kAnchoMaximo = 60;
    void anchosPorDatos();
    QList<Columna> columnas_;
    // The rows as the result set gave them, kept rather than copied: one
    // value per column, each turned into its text (and the first column
    // trimmed) as the rows are read, so every value holds a QString.
    QVector<QVector<QVariant>> valores_;
    QVector<char> marcas_;
    QVector<qint64> colores_;
    int filas_ = 0;
    // Per column: 1 while its cells, trimmed and folded, never go down from
    // one row to the next. Such a column (the one the statement orders by,
    // usually) is searched by halving; any other by one pass over the cells.
    std::vector<char> ordenadas_;

    void revisaOrden();
    void revisaUltimaFila();
    bool enOrden(int col, int fila) const; // rows fila-1 and fila
    int buscaOrdenada(int col, std::u16string_view buscado, int desde) const;
};
