#pragma once

#include <QList>
#include <QString>
#include <QVariant>
#include <QVector>
#include <memory>

class Conexion;

// A client-side result set: the whole result is fetched when it opens.
// Field access by name ignores case; null stays distinct from empty text.
// Failures throw FalloKX with ADO-style numbers.
class Recordset {
public:
    enum class TipoCampo { Texto, Numero, Entero, Fecha, Booleano, Binario, Otro };
    struct InfoCampo {
        QString nombre;
        TipoCampo tipo = TipoCampo::Otro;
        int tamanoDefinido = -1; // characters for text columns, -1 when unknown
    };

    Recordset();
    ~Recordset();
    Recordset(const Recordset&) = delete;
    Recordset& operator=(const Recordset&) = delete;

    bool abierto() const { return abierto_; }
    void Cierra();

    int RecordCount() const { return int(filas_.size()); }
    bool Bof() const;
    bool Eof() const;
    void MoveFirst();
    void MoveNext();
    void MovePrevious();
    void MoveLast();
    int posicion() const { return pos_; }

    int CantidadCampos() const { return int(campos_.size()); }
    const QList<InfoCampo>& Campos() const { return campos_; }
    int IndiceCampo(const QString& nombre) const; // -1 when missing
    // Value of the current row; throws (3265) for an unknown name, (3021) at BOF/EOF.
    QVariant Campo(const QString& nombre) const;
    QVariant Campo(int indice) const;
    // The fetched rows from the current one on, handed over to a reader that
    // keeps them: nothing is copied and the result set is left at its end.
    QVector<QVector<QVariant>> TomaFilas();

    // Rows fetched per round trip (kept for the callers; the fetch is complete anyway).
    void FijaCacheSize(int n) { cacheSize_ = n; }
    int CacheSize() const { return cacheSize_; }

    // Editing (dynamic cursor, optimistic lock): AddNew, FijaCampo..., Update.
    void AddNew();
    void FijaCampo(const QString& nombre, const QVariant& valor);
    void Update();
    void CancelUpdate();
    bool editando() const { return editando_; }

    // Filled by Conexion when the result opens.
    void carga(QList<InfoCampo> campos, QVector<QVector<QVariant>> filas, Conexion* origen,
               const QString& tabla);

private:
    bool abierto_ = false;
    QList<InfoCampo> campos_;
    QVector<QVector<QVariant>> filas_;
    int pos_ = 0;
    int cacheSize_ = 1;
    Conexion* origen_ = nullptr;
    QString tabla_; // the single table named after FROM, for editing
    bool editando_ = false;
    bool nueva_ = false;
    QVector<QVariant> edicion_;
    QVector<bool> tocado_;
};
