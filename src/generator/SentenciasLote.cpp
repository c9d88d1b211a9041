#include "generator/SentenciasLote.h"

#include "db/Conexion.h"
#include "db/ErrorADO.h"
#include "utility_library/ErrorKX.h"
#include "utility_library/Regional.h"

#include <QSqlError>

namespace {
bool gPreparar = true;
}

void SentenciasLote::fijaPreparar(bool preparar) {
    gPreparar = preparar;
}

bool SentenciasLote::Disponible(Conexion& cn) {
    if (!gPreparar || !cn.abierta()) {
        return false;
    }
    const QString driver = cn.baseQt().driverName();
    return driver == QLatin1String("QSQLITE") || driver == QLatin1String("QPSQL");
}

std::optional<QSqlQuery> SentenciasLote::Prepara(Conexion& cn, const QString& sql) {
    if (!Disponible(cn)) {
        return std::nullopt;
    }
    QSqlQuery q(cn.baseQt());
    q.setForwardOnly(true);
    if (!q.prepare(sql)) {
        return std::nullopt; // the statement texts still work
    }
    return q;
}

SentenciasLote::SentenciasLote(Conexion& cn) : cn_(cn) {
    sqlite_ = cn.baseQt().driverName() == QLatin1String("QSQLITE");
    marca_ = Prepara(
        cn,
        QStringLiteral("UPDATE V_MA_PRECIOS SET ESTADO = '1-M', CAMBIOCODBARRA = 0 WHERE ID = ?"));
    estampa_ = Prepara(cn, QStringLiteral("UPDATE MV_TARVELO SET RETRANSMITIDO = ? WHERE ID = ?"));
    insercion_ = Prepara(
        cn, QStringLiteral("INSERT INTO MV_TARVELO (Codigo,IdLista,Nombre,Fecha,TipoMov,CodInterno,"
                           "Descripcion,Marca,PrecioVenta,Precio,Internos,PrecioCosto,CondIva,"
                           "TipoIva,Fijo,CodBarra,Rubro,Tipo,Aux1,Aux2,RutaArchivo,Usuario) "
                           "VALUES(?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)"));
    if (!marca_ || !estampa_ || !insercion_) {
        marca_.reset();
        estampa_.reset();
        insercion_.reset();
    }
}

void SentenciasLote::corre(QSqlQuery& q) {
    if (!q.exec()) {
        const QSqlError e = q.lastError();
        const QString texto = e.databaseText().isEmpty() ? e.text() : e.databaseText();
        cn_.Errors = {
            ErrorADO{QString(), NumerosADO::ErrorSql, texto, e.nativeErrorCode().toInt()}};
        throw FalloKX(NumerosADO::ErrorSql, texto, QStringLiteral("cmdExportar"));
    }
}

void SentenciasLote::Marca(qint64 id) {
    marca_->bindValue(0, id);
    corre(*marca_);
}

void SentenciasLote::Estampa(const QString& marca, qint64 id) {
    estampa_->bindValue(0, marca);
    estampa_->bindValue(1, id);
    corre(*estampa_);
}

void SentenciasLote::Inserta(qint64 codigo, const QStringList& textos, const QString& fecha) {
    QSqlQuery& q = *insercion_;
    q.bindValue(0, codigo);
    // textos: IdLista, Nombre, Fecha, the sixteen cells, RutaArchivo, Usuario.
    for (int i = 0; i < textos.size(); ++i) {
        q.bindValue(i + 1, textos[i]);
    }
    // The date as a date: the schemas store it as one (ISO text on SQLite).
    const QDate d = Regional::leeFecha(fecha);
    if (d.isValid()) {
        q.bindValue(3, sqlite_ ? QVariant(d.toString(Qt::ISODate)) : QVariant(d));
    }
    corre(q);
}
