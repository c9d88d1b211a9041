#pragma once

#include <QList>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVariant>

// Inserts rows into one table by its column names through prepared
// statements, several rows per statement when asked (far fewer round trips
// to a server). Null values are QVariant(). Throws FalloKX naming the table.
class Insercion {
public:
    Insercion(QSqlDatabase& db, const QString& tabla, const QStringList& columnas,
              int filasPorSentencia = 1);
    Insercion(const Insercion&) = delete;
    Insercion& operator=(const Insercion&) = delete;

    void agrega(const QVariantList& valores);
    // Sends the rows still waiting; call it before reading the table.
    void termina();

private:
    QString textoInsert(int filas) const;
    void envia(QSqlQuery& q, int filas);

    QSqlDatabase db_;
    QString tabla_;
    QStringList columnas_;
    int filasPorSentencia_;
    QSqlQuery completa_;
    bool preparada_ = false;
    QVariantList pendientes_;
};
