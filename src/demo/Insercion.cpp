#include "demo/Insercion.h"

#include "utility_library/ErrorKX.h"

#include <QSqlError>

namespace {
[[noreturn]] void falla(const QString& tabla, const QSqlError& e) {
    bool esNumero = false;
    const int nativo = e.nativeErrorCode().toInt(&esNumero);
    throw FalloKX(esNumero ? nativo : -1,
                  QStringLiteral("No se pudo insertar en %1: %2").arg(tabla, e.text()),
                  QStringLiteral("BaseDemo"));
}
} // namespace

Insercion::Insercion(QSqlDatabase& db, const QString& tabla, const QStringList& columnas,
                     int filasPorSentencia)
    : db_(db), tabla_(tabla), columnas_(columnas), filasPorSentencia_(qMax(1, filasPorSentencia)),
      completa_(db) {}

QString Insercion::textoInsert(int filas) const {
    QStringList marcas;
    marcas.fill(QStringLiteral("?"), int(columnas_.size()));
    const QString fila = QLatin1Char('(') + marcas.join(QLatin1Char(',')) + QLatin1Char(')');
    QStringList todas;
    todas.fill(fila, filas);
    return QStringLiteral("INSERT INTO %1 (%2) VALUES %3")
        .arg(tabla_, columnas_.join(QLatin1Char(',')), todas.join(QLatin1Char(',')));
}

void Insercion::envia(QSqlQuery& q, int filas) {
    const int n = int(columnas_.size()) * filas;
    for (int i = 0; i < n; ++i) {
        q.addBindValue(pendientes_.at(i));
    }
    if (!q.exec()) {
        falla(tabla_, q.lastError());
    }
    pendientes_.remove(0, n);
}

void Insercion::agrega(const QVariantList& valores) {
    if (valores.size() != columnas_.size()) {
        throw FalloKX(-1,
                      QStringLiteral("%1: %2 valores para %3 columnas")
                          .arg(tabla_)
                          .arg(valores.size())
                          .arg(columnas_.size()),
                      QStringLiteral("BaseDemo"));
    }
    pendientes_ << valores;
    if (pendientes_.size() < columnas_.size() * filasPorSentencia_) {
        return;
    }
    if (!preparada_) {
        if (!completa_.prepare(textoInsert(filasPorSentencia_))) {
            falla(tabla_, completa_.lastError());
        }
        preparada_ = true;
    }
    envia(completa_, filasPorSentencia_);
}

void Insercion::termina() {
    const int filas = int(pendientes_.size() / columnas_.size());
    if (filas == 0) {
        return;
    }
    QSqlQuery resto(db_);
    if (!resto.prepare(textoInsert(filas))) {
        falla(tabla_, resto.lastError());
    }
    envia(resto, filas);
}
