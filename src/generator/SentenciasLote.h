#pragma once

#include <QSqlQuery>
#include <QString>
#include <QVariant>
#include <optional>

class Conexion;

// The generation's per-row statements, prepared once and run with bound
// values on the engines whose Qt drivers prepare them (SQLite, PostgreSQL):
// parsing the same statement tens of thousands of times is most of the cost
// of a large batch there. Other engines take the statement texts, as built
// by the generation.
class SentenciasLote {
public:
    explicit SentenciasLote(Conexion& cn);

    bool preparadas() const { return insercion_.has_value(); }

    // UPDATE V_MA_PRECIOS SET ESTADO = '1-M', CAMBIOCODBARRA = 0 WHERE ID = id
    void Marca(qint64 id);
    // INSERT INTO MV_TARVELO with the 22 values in the statement's column
    // order; `fecha` is the batch date as the window holds it.
    void Inserta(qint64 codigo, const QStringList& textos, const QString& fecha);
    // UPDATE MV_TARVELO SET RETRANSMITIDO = marca WHERE ID = id
    void Estampa(const QString& marca, qint64 id);

    // The prepared form of a statement on `cn`, when the engine takes one.
    static std::optional<QSqlQuery> Prepara(Conexion& cn, const QString& sql);
    // True when `cn`'s engine takes prepared and streamed statements.
    static bool Disponible(Conexion& cn);
    // Off: every engine takes the statement texts (tests of that path).
    static void fijaPreparar(bool preparar);

private:
    void corre(QSqlQuery& q);

    Conexion& cn_;
    bool sqlite_ = false;
    std::optional<QSqlQuery> marca_, insercion_, estampa_;
};
