#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <vector>

// The batch grid as a model of its own: rows and columns of text addressed by
// index, row 0 holding the headers. Each row keeps its cells in one string
// with the end offset of every cell, so a batch of 100,000 rows costs one
// allocation per row instead of eighteen.
class GrillaLote {
public:
    // Told about changes, for a view that shows the grid.
    class Observador {
    public:
        virtual ~Observador() = default;
        // Rows or columns were replaced wholesale (Clear, FijaRows, FijaCols).
        virtual void antesDeReiniciar() {}
        virtual void despuesDeReiniciar() {}
        // Rows [desde, hasta] are being added at the bottom.
        virtual void antesDeAgregarFilas(int desde, int hasta) { (void)desde, (void)hasta; }
        virtual void despuesDeAgregarFilas() {}
        // Cell (fila, col) changed; col -1: the whole row.
        virtual void celdaCambiada(int fila, int col) { (void)fila, (void)col; }
        // Row `fila` was flagged or unflagged.
        virtual void filaMarcada(int fila) { (void)fila; }
    };

    static constexpr int AnchoPorDefecto = -1;

    GrillaLote();

    int Rows() const { return int(textos_.size()); }
    int Cols() const { return cols_; }
    // Rows added at the bottom are blank; rows cut at the bottom are dropped.
    void FijaRows(int filas);
    // Existing cells of the kept columns stay.
    void FijaCols(int columnas);

    QString Texto(int fila, int col) const;
    // The cell's text without a copy; valid until the row changes.
    QStringView Celda(int fila, int col) const;
    void FijaTexto(int fila, int col, const QString& texto);
    // Writes cells 0 .. celdas.size()-1 of the row at once.
    void FijaFila(int fila, const QString* celdas, int cantidad);
    QStringList Fila(int fila) const;
    // Adds a blank row at the bottom.
    void AgregaFila();
    // Room for `filas` rows in all, so that a load of known size grows its
    // storage once instead of doubling it (and holding both copies) again and again.
    void Reserva(int filas);

    // Empties every cell; rows and columns stay.
    void Clear();

    int ColWidth(int col) const;
    void FijaColWidth(int col, int ancho);

    // Rows flagged for the operator's attention (a record that leaves the
    // fixed layout, an implausible price), each with the reasons why, one
    // line each; dropped with the rows.
    void FijaMarcada(int fila, bool marcada);
    // Flags the row and adds a reason.
    void AgregaMotivo(int fila, const QString& motivo);
    bool Marcada(int fila) const { return marcadas_.contains(fila); }
    QString Motivos(int fila) const { return marcadas_.value(fila); }
    void QuitaMarcas();
    static const QString kFueraDeFormato;

    void fijaObservador(Observador* o) { observador_ = o; }

private:
    quint32 inicio(int fila, int col) const {
        return col == 0 ? 0 : finEn(size_t(fila) * size_t(cols_) + size_t(col) - 1);
    }
    quint32 fin(int fila, int col) const {
        return finEn(size_t(fila) * size_t(cols_) + size_t(col));
    }
    quint32 finEn(size_t i) const { return anchos32_ ? fines32_[i] : fines16_[i]; }
    void fijaFin(size_t i, quint32 valor);
    void redimensionaFines(size_t n);
    void asignaFines(std::vector<quint32>&& fines);
    void verifica(int fila, int col) const;

    int cols_ = 0;
    std::vector<QString> textos_;
    // Rows() * Cols(): end of every cell within its row; 16 bits each while
    // every row is shorter than 65,536 characters (a batch row is ~130), 32
    // once one is not.
    std::vector<quint16> fines16_;
    std::vector<quint32> fines32_;
    bool anchos32_ = false;
    std::vector<int> anchos_;
    QHash<int, QString> marcadas_;
    Observador* observador_ = nullptr;
};
