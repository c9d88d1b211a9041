#include "ArticulosBalanzaDB.h"

#include "DB_Dll.h"
#include "ModGlobal.h"
#include "QlUtil.h"

bool ArticulosBalanzaDB::Busca(const QString& clave, Articulo& articulo) {
    Recordset rs;
    const bool hay = db_.ExisteEnTabla(QStringLiteral("V_MA_ARTICULOS"), clave,
                                       QStringLiteral("IdArticulo"), &rs, 8, QString(), true);
    articulo = Articulo{};
    if (hay) {
        const QString pesable = QlUtil::NoNulo(rs.Campo(QStringLiteral("Pesable"))).trimmed();
        articulo.pesable = !pesable.isEmpty() && ModGlobal::TextoABooleano(pesable, true);
        articulo.idUnidad = QlUtil::NoNulo(rs.Campo(QStringLiteral("IdUnidad")));
    }
    db_.CierraRecordset(rs);
    return hay;
}
