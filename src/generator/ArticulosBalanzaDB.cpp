#include "generator/ArticulosBalanzaDB.h"

#include "db/DB_Dll.h"
#include "utility_library/ErrorKX.h"
#include "runtime/ModGlobal.h"
#include "utility_library/QlUtil.h"
#include "generator/SentenciasLote.h"
#include "db/TextoSql.h"

#include <QSqlError>

namespace {
void leeArticulo(const QVariant& pesable, const QVariant& unidad,
                 ArticulosBalanza::Articulo& articulo) {
    const QString p = QlUtil::NoNulo(pesable).trimmed();
    articulo.pesable = !p.isEmpty() && ModGlobal::TextoABooleano(p, true);
    articulo.idUnidad = QlUtil::NoNulo(unidad);
}
} // namespace

bool ArticulosBalanzaDB::Busca(const QString& clave, Articulo& articulo) {
    // The existence test compares LTRIM(RTRIM(IdArticulo)), which no index can
    // serve: one lookup per row would read the whole article master each time.
    // The key is a code of digits, and the engines compare "=" without trailing
    // blanks, so a plain comparison finds the same row through the key's index.
    articulo = Articulo{};
    if (!preparada_ && db_.gCnn && db_.gCnn->abierta()) {
        preparada_ = true;
        consulta_ = SentenciasLote::Prepara(
            *db_.gCnn, QStringLiteral("SELECT Pesable, IdUnidad FROM V_MA_ARTICULOS WHERE "
                                      "IdArticulo = ?"));
    }
    if (consulta_) {
        consulta_->bindValue(0, clave.trimmed());
        if (!consulta_->exec()) {
            throw FalloKX(3704, consulta_->lastError().text(), QStringLiteral("ExisteEnTabla"));
        }
        const bool hay = consulta_->next();
        if (hay) {
            leeArticulo(consulta_->value(0), consulta_->value(1), articulo);
        }
        consulta_->finish();
        return hay;
    }
    Recordset rs;
    QString sql = QStringLiteral("SELECT TOP 1 * FROM V_MA_ARTICULOS with(nolock) WHERE "
                                 "IdArticulo = ") +
                  TextoSql::Literal(clave.trimmed());
    db_.AbrirRecordset(sql, rs);
    if (!rs.abierto()) {
        throw FalloKX(3704, QStringLiteral("No se pudo leer el artículo %1").arg(clave.trimmed()),
                      QStringLiteral("ExisteEnTabla"));
    }
    const bool hay = !rs.Eof();
    if (hay) {
        leeArticulo(rs.Campo(QStringLiteral("Pesable")), rs.Campo(QStringLiteral("IdUnidad")),
                    articulo);
    }
    db_.CierraRecordset(rs);
    return hay;
}
