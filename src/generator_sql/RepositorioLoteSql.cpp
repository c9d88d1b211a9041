#include "generator_sql/RepositorioLoteSql.h"

#include "db/DB_Dll.h"
#include "db/Recordset.h"
#include "db/SentenciaPreparada.h"
#include "db/TextoSql.h"
#include "db/motores/Motor.h"
#include "generator_sql/FilaDeSentencia.h"
#include "runtime/ModGlobal.h"
#include "schema/TablaLote.h"
#include "utility_library/ErrorKX.h"
#include "utility_library/QlUtil.h"
#include "utility_library/Regional.h"

#include <QHash>
#include <QSet>
#include <algorithm>
#include <limits>
#include <map>

namespace {
const QString kPunto = QStringLiteral("fila_lote");
const QString kCerrada = QStringLiteral("La conexión con la base de datos no está abierta.");
// Rows per fetch from a server cursor: small next to the whole result, large
// enough that the round trips are few.
constexpr int kBloqueCursor = 2000;
// Codes per query of the last prices and of the scale articles: well inside
// every engine's limit of bound values.
constexpr int kCodigosPorConsulta = 400;

// `n` value marks for an IN list.
QString marcas(int n) {
    QString r;
    for (int i = 0; i < n; ++i) {
        r += i ? QStringLiteral(", ?") : QStringLiteral("?");
    }
    return r;
}
} // namespace

struct RepositorioLoteSql::Sentencias {
    std::unique_ptr<SentenciaPreparada> articulo, tipo, ultimoPrecio, balanza, maximo, existe,
        balanzaEnBloque, marca, marcaEnEstado, insercion, estampa, guarda, libera, marcaEInserta,
        anotaPublicacion, publicacionHecha, pendientes, ultimosPrecios, anotaAlerta, anotaArchivo,
        archivos, archivosConHuella, ultimaCarga, anotaCarga;
    bool tablasPropias = false;
    // The program's own tables created one by one where a load needs one.
    QSet<QString> tablasCreadas;
    // The conditional mark and the insert as one statement, where the engine
    // has one (empty otherwise).
    QString marcaYGraba;
    // The open source cursor whose rows carry their article's data.
    CursorSentencia* conArticulo = nullptr;
    // The last row's savepoint is still set, to be let go with the next
    // row's savepoint statement (or by the commit).
    bool puntoAbierto = false;
    // The type of each value of a block row, for a cast (empty: no blocks):
    // its place, the price row and its state at load, then the batch row.
    QStringList tiposBloque;
    // The block statements prepared so far, by number of rows.
    std::map<int, std::unique_ptr<SentenciaPreparada>> bloques;
    bool enGeneracion = false;
    // The batch date of the last row, as bound (every row has the same).
    QString fechaTexto;
    QVariant fechaValor;
    // Type descriptions read during one load: a list has few types and many
    // rows. Emptied whenever a source query opens.
    QHash<QString, QString> tipos;
    // The scale articles asked for together, by key (none: no such article).
    QHash<QString, std::optional<ArticulosBalanza::Articulo>> anticipados;
};

RepositorioLoteSql::RepositorioLoteSql(DB_Dll& db) : db_(db), s_(std::make_unique<Sentencias>()) {}

RepositorioLoteSql::~RepositorioLoteSql() = default;

std::unique_ptr<RepositorioLote> RepositorioDeLaSesion() {
    return std::make_unique<RepositorioLoteSql>(DB_Dll::instancia());
}

std::optional<QString> RepositorioLoteSql::ListaDeVenta(const QString& codigo) {
    // The database layer's own lookup, with its treatment of failures.
    Recordset rs;
    const bool existe = db_.ExisteEnTabla(QStringLiteral("V_MA_PRECIOSCAB"), codigo,
                                          QStringLiteral("IDLISTA"), &rs, 8,
                                          QStringLiteral("IDLISTA=") + TextoSql::Literal(codigo) +
                                              QStringLiteral(" AND TIPOLISTA = 'V'"),
                                          true);
    std::optional<QString> r;
    if (existe) {
        r = QlUtil::NoNulo(rs.Campo(QStringLiteral("Nombre")));
    }
    db_.CierraRecordset(rs);
    return r;
}

QString RepositorioLoteSql::ConsultaListasDeVenta() const {
    return QStringLiteral("SELECT IDLISTA,NOMBRE FROM V_MA_PRECIOSCAB WHERE TIPOLISTA = 'V' ORDER "
                          "BY IDLISTA");
}

QString RepositorioLoteSql::ConsultaFamilias() const {
    // The tree window builds the hierarchy from the families view itself.
    return QStringLiteral("SELECT IdFamilia, Descripcion FROM V_TA_FAMILIAS ORDER BY IdFamilia");
}

QString RepositorioLoteSql::ConsultaListasConNovedades(const QDate& hoy) const {
    return QStringLiteral("SELECT IDLISTA,NOMBRE FROM V_MA_PRECIOS WHERE TIPOLISTA = 'V' AND "
                          "(ESTADO = '0-C' OR ESTADO = '0-M' OR FHOFERTADESDE = '") +
           Regional::fechaCorta(hoy.addDays(1)) + QStringLiteral("' OR  FHOFERTAHASTA ='") +
           Regional::fechaCorta(hoy.addDays(-1)) + QStringLiteral("') GROUP BY IDLISTA,NOMBRE");
}

CapacidadesMotor RepositorioLoteSql::capacidades() const {
    if (!db_.gCnn) {
        return CapacidadesMotor::de(db_.gPlataforma, false);
    }
    return db_.gCnn->capacidades();
}

SentenciaPreparada& RepositorioLoteSql::sentencia(std::unique_ptr<SentenciaPreparada>& s,
                                                  const QString& sql, const QString& rutina) {
    if (!s) {
        s = std::make_unique<SentenciaPreparada>(db_, sql, rutina);
    }
    return *s;
}

QVariant RepositorioLoteSql::fecha(const QDate& d) const {
    return capacidades().fechasComoTexto ? QVariant(d.toString(Qt::ISODate)) : QVariant(d);
}

std::unique_ptr<CursorOrigen> RepositorioLoteSql::abre(const QString& desde, const QString& orden,
                                                       const QVariantList& valores,
                                                       const QString& rutina, bool conArticulo) {
    s_->tipos.clear();
    const CapacidadesMotor c = capacidades();
    SentenciaPreparada cuenta(db_, QStringLiteral("SELECT COUNT(*) AS Total") + desde, rutina);
    cuenta.ejecuta(valores);
    const int total = cuenta.siguiente() ? int(cuenta.valor(0).toLongLong()) : 0;
    cuenta.termina();
    QString consulta = QStringLiteral("SELECT *") + desde + orden;
    if (c.cursorDeclarado) {
        if (conArticulo) {
            // Each row brings its article's data, found by the same lookup
            // the loader would run for it (the first article with that
            // code): one round trip per block instead of one per row.
            static const QString kFrom = QStringLiteral(" FROM VT_MA_PRECIOS_ARTICULOS WHERE ");
            Q_ASSERT(desde.startsWith(kFrom));
            consulta =
                QStringLiteral("SELECT o.*, a.* FROM VT_MA_PRECIOS_ARTICULOS o LEFT JOIN LATERAL "
                               "(SELECT 1 AS KXA_HAY, x.TASAIVA AS KXA_TASAIVA, x.CodigoBarra AS "
                               "KXA_CODIGOBARRA, x.Pesable AS KXA_PESABLE, x.DescripAbrev AS "
                               "KXA_DESCRIPABREV, x.Descripcion AS KXA_DESCRIPCION FROM "
                               "V_MA_ARTICULOS x WHERE x.IDARTICULO = o.IDARTICULO LIMIT 1) a ON "
                               "TRUE WHERE ") +
                desde.mid(kFrom.size()) + orden;
        }
        // Closed by the cursor.
        const Motor& motor = c.motor();
        const QString nombre = QStringLiteral("tarvelo_origen_%1").arg(++cursores_);
        SentenciaPreparada declara(db_, motor.declaraCursor(nombre, consulta), rutina);
        declara.fijaSinPreparar(true);
        declara.ejecuta(valores);
        declara.termina();
        auto trae = std::make_unique<SentenciaPreparada>(
            db_, motor.traeDeCursor(nombre, kBloqueCursor), rutina);
        trae->fijaSinPreparar(true);
        trae->fijaDesplazable(true);
        auto cierra = std::make_unique<SentenciaPreparada>(db_, motor.cierraCursor(nombre), rutina);
        cierra->fijaSinPreparar(true);
        auto cursor = std::make_unique<CursorSentencia>(
            std::move(trae), kBloqueCursor, std::move(cierra), total, c.fechasComoTexto);
        if (conArticulo) {
            cursor->registraEn(&s_->conArticulo);
        }
        return cursor;
    }
    auto filas = std::make_unique<SentenciaPreparada>(db_, consulta, rutina);
    // Read row by row where the engine keeps a result beside other
    // statements; copied otherwise.
    const bool copia = !c.leeMientrasEjecuta;
    filas->ejecuta(valores);
    return std::make_unique<CursorSentencia>(std::move(filas), total, copia, c.fechasComoTexto);
}

std::unique_ptr<CursorOrigen> RepositorioLoteSql::Pendientes(const QString& lista, const QDate& hoy,
                                                             const QDate& manana) {
    const CapacidadesMotor c = capacidades();
    // Offer dates compare as days, whatever form they are stored in.
    const QString desde =
        QStringLiteral(" FROM VT_MA_PRECIOS_ARTICULOS WHERE TIPOLISTA = 'V' AND IDLISTA = ? "
                       "AND (ESTADO = '0-C' OR ESTADO = '0-M' OR %1 = ? OR %2 = ?) "
                       "AND SUSPENDIDO = 0")
            .arg(c.diaDe(QStringLiteral("FHOFERTADESDE")),
                 c.diaDe(QStringLiteral("FHOFERTAHASTA")));
    return abre(desde, QStringLiteral(" ORDER BY IDARTICULO"), {lista, fecha(manana), fecha(hoy)},
                QStringLiteral("CargaNovedades"), true);
}

std::unique_ptr<CursorOrigen> RepositorioLoteSql::PendientesRecuperando(const QString& lista,
                                                                        const VentanaCarga& v) {
    const CapacidadesMotor c = capacidades();
    const QString inicio = c.diaDe(QStringLiteral("FHOFERTADESDE"));
    const QString fin = c.diaDe(QStringLiteral("FHOFERTAHASTA"));
    const QString desde =
        QStringLiteral(" FROM VT_MA_PRECIOS_ARTICULOS WHERE TIPOLISTA = 'V' AND IDLISTA = ? "
                       "AND (ESTADO = '0-C' OR ESTADO = '0-M' OR (%1 >= ? AND %1 <= ?) OR "
                       "(%2 >= ? AND %2 <= ?)) AND SUSPENDIDO = 0")
            .arg(inicio, fin);
    return abre(
        desde, QStringLiteral(" ORDER BY IDARTICULO"),
        {lista, fecha(v.inicioDesde), fecha(v.inicioHasta), fecha(v.finDesde), fecha(v.finHasta)},
        QStringLiteral("CargaNovedades"), true);
}

namespace {
// The list as the record of pending loads keys it: one list whatever the
// case or the blanks it was typed with.
QString listaDeCarga(const QString& lista) {
    return lista.trimmed().toUpper();
}
} // namespace

std::optional<QDate> RepositorioLoteSql::UltimaCargaPendiente(const QString& lista) {
    // The load needs only its own table; the others come with the first
    // generation or publication.
    TablasPropias(QStringLiteral("MV_TARVELO_CARGAS"));
    // Days are kept as ISO text: they sort as days on every engine.
    SentenciaPreparada& s = sentencia(
        s_->ultimaCarga, QStringLiteral("SELECT MAX(Dia) FROM MV_TARVELO_CARGAS WHERE IdLista = ?"),
        QStringLiteral("CargaNovedades"));
    s.ejecuta({listaDeCarga(lista)});
    const QVariant v = s.siguiente() ? s.valor(0) : QVariant();
    s.termina();
    const QString t = QlUtil::NoNulo(v).trimmed();
    if (t.isEmpty()) {
        return std::nullopt;
    }
    const QDate d = QDate::fromString(t.left(10), Qt::ISODate);
    if (!d.isValid()) {
        throw FalloKX(13,
                      QStringLiteral("Tipo no válido: MV_TARVELO_CARGAS.Dia = '%1' no es una "
                                     "fecha")
                          .arg(t),
                      QStringLiteral("CargaNovedades"));
    }
    return d;
}

void RepositorioLoteSql::AnotaCargaPendiente(qint64 codigo, const QString& lista,
                                             const VentanaCarga& v) {
    const auto dia = [](const QDate& d) {
        return d.isValid() ? QVariant(d.toString(Qt::ISODate))
                           : QVariant(QMetaType::fromType<QString>());
    };
    sentencia(s_->anotaCarga,
              QStringLiteral("INSERT INTO MV_TARVELO_CARGAS (Codigo, IdLista, Dia, RecuperaDesde, "
                             "RecuperaHasta) VALUES (?, ?, ?, ?, ?)"),
              QStringLiteral("cmdExportar"))
        .ejecuta(
            {codigo, listaDeCarga(lista), dia(v.hoy), dia(v.recuperaDesde), dia(v.recuperaHasta)});
}

std::unique_ptr<CursorOrigen> RepositorioLoteSql::Manual(const QString& lista,
                                                         const RangoManual& rango) {
    const QString columna =
        rango.porFamilia ? QStringLiteral("IDFAMILIA") : QStringLiteral("IDARTICULO");
    QString desde =
        QStringLiteral(" FROM VT_MA_PRECIOS_ARTICULOS WHERE IDLISTA = ? AND TIPOLISTA = 'V'");
    QVariantList valores{lista};
    if (!rango.desde.isEmpty()) {
        desde += QStringLiteral(" AND ") + columna + QStringLiteral(" >= ?");
        valores << rango.desde;
    }
    if (!rango.hasta.isEmpty()) {
        desde += QStringLiteral(" AND ") + columna + QStringLiteral(" <= ?");
        valores << rango.hasta;
    }
    return abre(desde, QStringLiteral(" ORDER BY IDARTICULO"), valores,
                QStringLiteral("CargaManual"), true);
}

std::optional<ArticuloLote> RepositorioLoteSql::DatosArticulo(const QString& idArticulo) {
    if (s_->conArticulo) {
        if (const auto traido = s_->conArticulo->articulo(idArticulo)) {
            return *traido;
        }
    }
    SentenciaPreparada& s =
        sentencia(s_->articulo,
                  QStringLiteral("SELECT TASAIVA, CodigoBarra, Pesable, DescripAbrev, Descripcion "
                                 "FROM V_MA_ARTICULOS WHERE IDARTICULO = ?"),
                  QStringLiteral("CargaNovedades"));
    s.ejecuta({idArticulo});
    std::optional<ArticuloLote> a;
    if (s.siguiente()) {
        const auto c = [&](int i) { return QlUtil::NoNulo(s.valor(i)); };
        a = ArticuloLote{c(0), c(1), c(2), c(3), c(4)};
    }
    s.termina();
    return a;
}

QString RepositorioLoteSql::DescripcionTipo(const QString& tipo) {
    // Compared trimmed on both sides (a type stored as " 7" is the type
    // "7"), and as SQL Server compares: without regard to case. SQLite
    // compares a function's result byte for byte unless told the collation.
    const bool sqlite = capacidades().plataforma == Plataforma::Sqlite;
    SentenciaPreparada& s = sentencia(
        s_->tipo,
        QStringLiteral("SELECT DESCRIPCION FROM V_TA_TIPOARTICULO WHERE LTRIM(RTRIM(IdTipo)) = ?") +
            (sqlite ? QStringLiteral(" COLLATE KX") : QString()),
        QStringLiteral("DatosTabla"));
    const QString clave = tipo.trimmed();
    const auto visto = s_->tipos.constFind(clave);
    if (visto != s_->tipos.constEnd()) {
        return *visto;
    }
    s.ejecuta({clave});
    const QString r = s.siguiente() ? QlUtil::NoNulo(s.valor(0)) : QString();
    s.termina();
    s_->tipos.insert(clave, r);
    return r;
}

std::optional<QString> RepositorioLoteSql::UltimoPrecioTransmitido(const QString& lista,
                                                                   const QString& codInterno) {
    // The price of the latest batch date, the last row of that date: one
    // round trip (rows without a date never count, as in MAX).
    SentenciaPreparada& p = sentencia(
        s_->ultimoPrecio,
        QStringLiteral("SELECT TOP 1 Precio FROM MV_TARVELO WHERE IDLISTA = ? AND CodInterno = ? "
                       "AND Fecha IS NOT NULL ORDER BY Fecha DESC, ID DESC"),
        QStringLiteral("CargaNovedades"));
    p.ejecuta({lista, codInterno});
    std::optional<QString> r;
    if (p.siguiente()) {
        r = QlUtil::NoNulo(p.valor(0));
    }
    p.termina();
    return r;
}

namespace {
ArticulosBalanza::Articulo articuloDeBalanza(const QVariant& pesable, const QVariant& unidad) {
    ArticulosBalanza::Articulo a;
    const QString p = QlUtil::NoNulo(pesable).trimmed();
    a.pesable = !p.isEmpty() && ModGlobal::TextoABooleano(p, true);
    a.idUnidad = QlUtil::NoNulo(unidad);
    return a;
}
} // namespace

void RepositorioLoteSql::Anticipa(const QStringList& claves) {
    s_->anticipados.clear();
    QStringList unicas;
    QSet<QString> vistas;
    for (const QString& c : claves) {
        const QString k = c.trimmed();
        if (!vistas.contains(k)) {
            vistas.insert(k);
            unicas << k;
        }
    }
    // Every block the same size (the last one repeats its last key), so one
    // prepared statement serves them all.
    SentenciaPreparada& s = sentencia(
        s_->balanzaEnBloque,
        QStringLiteral("SELECT IdArticulo, Pesable, IdUnidad FROM V_MA_ARTICULOS WHERE IdArticulo "
                       "IN (") +
            marcas(kCodigosPorConsulta) + QLatin1Char(')'),
        QStringLiteral("ExisteEnTabla"));
    for (qsizetype desde = 0; desde < unicas.size(); desde += kCodigosPorConsulta) {
        QVariantList valores;
        valores.reserve(kCodigosPorConsulta);
        QSet<QString> bloque;
        for (int i = 0; i < kCodigosPorConsulta; ++i) {
            const QString& k = unicas[std::min(desde + i, unicas.size() - 1)];
            valores << k;
            bloque.insert(k);
        }
        s.ejecuta(valores);
        // A row whose key reads back otherwise than asked (an engine that
        // compares without case, say) leaves the block's misses unanswered:
        // those rows ask one by one.
        bool exactas = true;
        while (s.siguiente()) {
            const QString id = QlUtil::NoNulo(s.valor(0)).trimmed();
            if (!bloque.contains(id)) {
                exactas = false;
            } else if (!s_->anticipados.contains(id)) {
                s_->anticipados.insert(id, articuloDeBalanza(s.valor(1), s.valor(2)));
            }
        }
        s.termina();
        if (exactas) {
            for (const QString& k : bloque) {
                if (!s_->anticipados.contains(k)) {
                    s_->anticipados.insert(k, std::nullopt);
                }
            }
        }
    }
}

bool RepositorioLoteSql::Busca(const QString& clave, ArticulosBalanza::Articulo& articulo) {
    articulo = ArticulosBalanza::Articulo{};
    const auto anticipado = s_->anticipados.constFind(clave.trimmed());
    if (anticipado != s_->anticipados.constEnd()) {
        if (*anticipado) {
            articulo = **anticipado;
        }
        return anticipado->has_value();
    }
    // A plain comparison finds the row through the key's index (the engines
    // compare "=" without trailing blanks).
    SentenciaPreparada& s = sentencia(
        s_->balanza,
        QStringLiteral("SELECT Pesable, IdUnidad FROM V_MA_ARTICULOS WHERE IdArticulo = ?"),
        QStringLiteral("ExisteEnTabla"));
    s.ejecuta({clave.trimmed()});
    const bool hay = s.siguiente();
    if (hay) {
        articulo = articuloDeBalanza(s.valor(0), s.valor(1));
    }
    s.termina();
    return hay;
}

qint64 RepositorioLoteSql::MaximoCodigo() const {
    return capacidades().motor().maximoCodigo();
}

qint64 RepositorioLoteSql::ProximoCodigo() {
    SentenciaPreparada& s =
        sentencia(s_->maximo, QStringLiteral("SELECT MAX(CODIGO) FROM MV_TARVELO"),
                  QStringLiteral("InicializaFormulario"));
    s.ejecuta({});
    const QVariant v = s.siguiente() ? s.valor(0) : QVariant();
    s.termina();
    if (!v.isValid() || v.isNull()) {
        return 1;
    }
    bool ok = false;
    const qint64 ultimo = v.toLongLong(&ok);
    if (!ok) {
        throw FalloKX(13, QStringLiteral("El último código de novedad no es un número entero."),
                      QStringLiteral("InicializaFormulario"));
    }
    return ultimo + 1;
}

bool RepositorioLoteSql::ExisteLote(qint64 codigo) {
    SentenciaPreparada& s =
        sentencia(s_->existe, QStringLiteral("SELECT COUNT(*) FROM MV_TARVELO WHERE CODIGO = ?"),
                  QStringLiteral("ExisteEnTabla"));
    s.ejecuta({codigo});
    const bool hay = s.siguiente() && s.valor(0).toLongLong() > 0;
    s.termina();
    return hay;
}

std::unique_ptr<CursorOrigen> RepositorioLoteSql::Lote(qint64 codigo) {
    // In the order the rows were generated.
    return abre(QStringLiteral(" FROM MV_TARVELO WHERE CODIGO = ?"), QStringLiteral(" ORDER BY ID"),
                {codigo}, QStringLiteral("CargaLote"));
}

void RepositorioLoteSql::directa(const QString& sqlMotor) {
    if (sqlMotor.isEmpty()) {
        return;
    }
    if (!db_.gCnn || !db_.gCnn->abierta()) {
        throw FalloKX(3709, kCerrada, QStringLiteral("cmdExportar"));
    }
    db_.gCnn->ejecutaDirecta(sqlMotor);
}

void RepositorioLoteSql::punto(std::unique_ptr<SentenciaPreparada>& s, const QString& sqlMotor,
                               const CapacidadesMotor& c) {
    // SQLite prepares its savepoint statements once: the same two run at
    // every row. The PostgreSQL driver prepares through SQL PREPARE, which
    // takes no savepoint.
    if (sqlMotor.isEmpty() || c.plataforma != Plataforma::Sqlite) {
        directa(sqlMotor);
        return;
    }
    if (!db_.gCnn || !db_.gCnn->abierta()) {
        throw FalloKX(3709, kCerrada, QStringLiteral("cmdExportar"));
    }
    SentenciaPreparada& p = sentencia(s, sqlMotor, QStringLiteral("cmdExportar"));
    p.ejecuta({});
    p.termina();
}

namespace {
// The advisory lock of batch codes ("MV_TARV" in ASCII), the same for every
// program that generates batches on the database.
constexpr qint64 kCandadoCodigos = 0x4D565F54415256LL;
// Nothing is written before the lock is held: the message says so.
const QString kOtraGeneracion =
    QStringLiteral("otra generación de lotes (de esta u otra estación), que tiene tomada la "
                   "numeración de lotes,");
const QString kPreciosTomados =
    QStringLiteral("otra estación o generación que tiene tomados precios de este lote");
} // namespace

bool RepositorioLoteSql::EnlacePerdido() const {
    return db_.gCnn && (db_.gCnn->enlacePerdido() || !db_.gCnn->abierta());
}

bool RepositorioLoteSql::Reconecta() {
    // Statements prepared on the lost session are of no use on the new one.
    s_ = std::make_unique<Sentencias>();
    cursores_ = 0;
    db_.ReintentaConectar();
    return db_.gOpenFlag && db_.gCnn && db_.gCnn->abierta();
}

void RepositorioLoteSql::IniciaGeneracion() {
    if (!db_.gCnn || !db_.gCnn->abierta()) {
        throw FalloKX(3709, kCerrada, QStringLiteral("cmdExportar"));
    }
    s_->fechaTexto = QString(); // bound afresh for this connection's engine
    s_->puntoAbierto = false;
    s_->anticipados.clear(); // the articles may have changed since
    s_->enGeneracion = false;
    if (capacidades().insercionCondicionada) {
        // Without the catalogue the two statements do the same work, and
        // the rows go one by one.
        QStringList lote, precio;
        try {
            lote = TiposDe(QStringLiteral("mv_tarvelo"), ColumnasInsercion());
            precio = TiposDe(QStringLiteral("v_ma_precios"),
                             {QStringLiteral("ID"), QStringLiteral("ESTADO")});
        } catch (const FalloKX&) {
            lote.clear();
            precio.clear();
        }
        const QString texto = MarcaYGraba(lote);
        if (texto != s_->marcaYGraba) {
            s_->marcaEInserta.reset();
            s_->marcaYGraba = texto;
        }
        const QStringList bloque =
            lote.isEmpty() || precio.isEmpty()
                ? QStringList()
                : QStringList{QStringLiteral("pg_catalog.int4")} + precio + lote;
        if (bloque != s_->tiposBloque) {
            s_->bloques.clear();
            s_->tiposBloque = bloque;
        }
    }
    // One generation at a time takes codes: the lock is held until the
    // commit or the rollback, so the check of the code that follows and the
    // batch's rows are one step for every other generation. Waiting for it
    // ends at the command timeout, on the server too.
    try {
        db_.gCnn->BeginTransEscritura();
    } catch (const FalloKX& f) {
        throw esperaAgotada(f, kOtraGeneracion, true);
    }
    s_->enGeneracion = true;
    try {
        const QStringList candado = capacidades().motor().candadoDeTransaccion(
            QStringLiteral("MV_TARVELO"), kCandadoCodigos, db_.gCnn->CommandTimeout);
        for (const QString& orden : candado) {
            directa(orden);
        }
    } catch (const FalloKX& f) {
        // Not holding the lock, the transaction must not go on.
        const FalloKX contado = esperaAgotada(f, kOtraGeneracion, true);
        DescartaGeneracion();
        throw contado;
    } catch (...) {
        DescartaGeneracion();
        throw;
    }
}

FalloKX RepositorioLoteSql::esperaAgotada(const FalloKX& f, const QString& que,
                                          bool antesDeGrabar) const {
    if (!db_.gCnn || !db_.gCnn->bloqueada()) {
        return f;
    }
    ErrorKX e = f.error();
    e.descripcion = QStringLiteral("Se dejó de esperar a %1 después de %2 segundos (tiempo de "
                                   "espera de comandos)%3. (%4)")
                        .arg(que)
                        .arg(db_.gCnn->CommandTimeout)
                        .arg(antesDeGrabar ? QStringLiteral(": el lote no se grabó") : QString())
                        .arg(f.error().descripcion);
    return FalloKX(e);
}

const QString& RepositorioLoteSql::Insercion() {
    static const QString insercion = [] {
        const QStringList& columnas = TablaLote::ColumnasGrabadas();
        QString marcas = QStringLiteral("?");
        for (int i = 0; i < columnas.size(); ++i) {
            marcas += QStringLiteral(",?");
        }
        return QStringLiteral("INSERT INTO MV_TARVELO (Codigo,") + columnas.join(QLatin1Char(',')) +
               QStringLiteral(") VALUES(") + marcas + QLatin1Char(')');
    }();
    return insercion;
}

QVariantList RepositorioLoteSql::valoresInsercion(qint64 codigo, const FilaAGrabar& fila) {
    QVariantList valores;
    valores.reserve(fila.valores.size() + 1);
    valores << codigo;
    for (const QString& v : fila.valores) {
        valores << v;
    }
    // The date as a date: the schemas store it as one.
    if (fila.fecha != s_->fechaTexto || s_->fechaTexto.isNull()) {
        const QDate d = Regional::leeFecha(fila.fecha);
        s_->fechaTexto = fila.fecha;
        s_->fechaValor = d.isValid() ? fecha(d) : QVariant();
    }
    if (s_->fechaValor.isValid()) {
        valores[TablaLote::PosicionEnInsercion(TablaLote::Fecha)] = s_->fechaValor;
    }
    return valores;
}

QStringList RepositorioLoteSql::TiposDe(const QString& tabla, const QStringList& columnas) {
    const QString catalogo = capacidades().motor().tiposDeColumnas(tabla);
    if (catalogo.isEmpty()) {
        return {};
    }
    SentenciaPreparada tipos(db_, catalogo, QStringLiteral("cmdExportar"));
    tipos.ejecuta({});
    QHash<QString, QString> tipo;
    while (tipos.siguiente()) {
        tipo.insert(tipos.valor(0).toString().toLower(), tipos.valor(1).toString());
    }
    tipos.termina();
    QStringList r;
    for (const QString& columna : columnas) {
        const QString t = tipo.value(columna.toLower());
        if (t.isEmpty()) {
            return {};
        }
        r << t;
    }
    return r;
}

QStringList RepositorioLoteSql::ColumnasInsercion() {
    return QStringList{QStringLiteral("Codigo")} + TablaLote::ColumnasGrabadas();
}

QString RepositorioLoteSql::TextoBloque(int filas) const {
    // Every value cast to its column's type, as in the single row's
    // statement. The price rows of the block are marked once each, on the
    // state seen at load when there is one; a row goes in when it marks no
    // price row, marks whatever its state, or its price row was marked. The
    // rows go in in their order, so the table numbers them as one by one.
    const QStringList columnas = ColumnasInsercion();
    QString fila = QStringLiteral("(");
    for (int i = 0; i < s_->tiposBloque.size(); ++i) {
        fila += (i ? QStringLiteral(", CAST(? AS ") : QStringLiteral("CAST(? AS ")) +
                s_->tiposBloque[i] + QLatin1Char(')');
    }
    fila += QLatin1Char(')');
    QString valores;
    valores.reserve((fila.size() + 2) * filas);
    for (int i = 0; i < filas; ++i) {
        if (i) {
            valores += QStringLiteral(", ");
        }
        valores += fila;
    }
    const QString lista = columnas.join(QStringLiteral(", "));
    return QStringLiteral("WITH d (kx_n, kx_marca, kx_estado, ") + lista +
           QStringLiteral(") AS (VALUES ") + valores +
           QStringLiteral("), m AS (UPDATE V_MA_PRECIOS p SET ESTADO = '1-M', CAMBIOCODBARRA = 0 "
                          "FROM (SELECT DISTINCT kx_marca, kx_estado FROM d WHERE kx_marca IS NOT "
                          "NULL) x WHERE p.ID = x.kx_marca AND (x.kx_estado IS NULL OR p.ESTADO = "
                          "x.kx_estado) RETURNING p.ID), e AS (SELECT * FROM d WHERE kx_marca IS "
                          "NULL OR kx_estado IS NULL OR kx_marca IN (SELECT ID FROM m)), i AS "
                          "(INSERT INTO MV_TARVELO (") +
           lista + QStringLiteral(") SELECT ") + lista +
           QStringLiteral(" FROM e ORDER BY kx_n) SELECT kx_n FROM e");
}

bool RepositorioLoteSql::GrabaEnBloques() const {
    return s_->enGeneracion && !s_->tiposBloque.isEmpty();
}

namespace {
const QString kPuntoBloque = QStringLiteral("bloque_lote");
} // namespace

bool RepositorioLoteSql::GrabaBloque(qint64 codigo, const std::vector<FilaDeBloque>& filas,
                                     std::vector<bool>& grabadas) {
    grabadas.clear();
    if (!GrabaEnBloques() || filas.size() < 2) {
        return false;
    }
    const CapacidadesMotor c = capacidades();
    const int n = int(filas.size());
    std::unique_ptr<SentenciaPreparada>& s = s_->bloques[n];
    QVariantList valores;
    valores.reserve(n * s_->tiposBloque.size());
    for (int i = 0; i < n; ++i) {
        const FilaDeBloque& f = filas[size_t(i)];
        valores << i;
        if (f.marca) {
            valores << f.marca->id;
            valores << (f.marca->estadoAlCargar.isEmpty() ? QVariant()
                                                          : QVariant(f.marca->estadoAlCargar));
        } else {
            valores << QVariant() << QVariant();
        }
        valores += valoresInsercion(codigo, f.fila);
    }
    directa(c.puntoGuardado(kPuntoBloque));
    std::vector<bool> r(size_t(n), false);
    try {
        if (!s) {
            s = std::make_unique<SentenciaPreparada>(db_, TextoBloque(n),
                                                     QStringLiteral("cmdExportar"));
        }
        SentenciaPreparada& b = *s;
        b.ejecuta(valores);
        while (b.siguiente()) {
            const int i = b.valor(0).toInt();
            if (i >= 0 && i < n) {
                r[size_t(i)] = true;
            }
        }
        b.termina();
        directa(c.liberaPunto(kPuntoBloque));
    } catch (const FalloKX& f) {
        // Undone whole; the rows then go one by one, and the one that fails
        // is told as such. Not undone: the generation cannot go on. A lock
        // the wait gave up on is not waited for again row by row.
        const bool agotada = db_.gCnn && db_.gCnn->bloqueada();
        const FalloKX contado = esperaAgotada(f, kPreciosTomados, false);
        directa(c.vuelveAPunto(kPuntoBloque));
        directa(c.liberaPunto(kPuntoBloque));
        if (agotada) {
            throw contado;
        }
        return false;
    }
    grabadas = std::move(r);
    return true;
}

QString RepositorioLoteSql::MarcaYGraba(const QStringList& tipos) {
    // The values of an INSERT ... SELECT take no type from their columns:
    // each is cast to its column's type by its own name (pg_catalog.bpchar,
    // not "character", which would mean one character), without length, so
    // that the column's own length is still checked on assignment. Columns not
    // found: no combined statement.
    const QStringList columnas = ColumnasInsercion();
    if (tipos.isEmpty()) {
        return QString();
    }
    QStringList valores;
    for (const QString& t : tipos) {
        valores << QStringLiteral("CAST(? AS %1)").arg(t);
    }
    return QStringLiteral("WITH marca AS (UPDATE V_MA_PRECIOS SET ESTADO = '1-M', "
                          "CAMBIOCODBARRA = 0 WHERE ID = ? AND ESTADO = ? RETURNING ID) "
                          "INSERT INTO MV_TARVELO (") +
           columnas.join(QLatin1Char(',')) + QStringLiteral(") SELECT ") +
           valores.join(QLatin1Char(',')) + QStringLiteral(" FROM marca");
}

void RepositorioLoteSql::deshaceFila(const CapacidadesMotor& c) {
    try {
        directa(c.vuelveAPunto(kPunto));
        directa(c.liberaPunto(kPunto));
    } catch (...) {
        // The link is gone with the transaction: the caller's rethrow reports it.
    }
}

bool RepositorioLoteSql::GrabaFila(qint64 codigo, const FilaAGrabar& fila,
                                   const std::optional<PrecioAMarcar>& marca) {
    const CapacidadesMotor c = capacidades();
    if (s_->puntoAbierto) {
        // The last row's savepoint let go and this row's set in one round trip.
        s_->puntoAbierto = false;
        directa(c.liberaPunto(kPunto) + QStringLiteral("; ") + c.puntoGuardado(kPunto));
    } else {
        punto(s_->guarda, c.puntoGuardado(kPunto), c);
    }
    try {
        const QVariantList valores = valoresInsercion(codigo, fila);
        const bool enEstado = marca && !marca->estadoAlCargar.isEmpty();
        if (enEstado && !s_->marcaYGraba.isEmpty()) {
            // Marked on the state seen at load and inserted only then, in
            // one statement.
            SentenciaPreparada& u =
                sentencia(s_->marcaEInserta, s_->marcaYGraba, QStringLiteral("cmdExportar"));
            u.ejecuta(QVariantList{marca->id, marca->estadoAlCargar} + valores);
            if (u.afectadas() == 0) {
                // Another generation sent this price since it was loaded.
                directa(c.vuelveAPunto(kPunto));
                directa(c.liberaPunto(kPunto));
                return false;
            }
        } else {
            if (marca) {
                SentenciaPreparada& m =
                    enEstado ? sentencia(s_->marcaEnEstado,
                                         QStringLiteral("UPDATE V_MA_PRECIOS SET ESTADO = '1-M', "
                                                        "CAMBIOCODBARRA = 0 WHERE ID = ? AND "
                                                        "ESTADO = ?"),
                                         QStringLiteral("cmdExportar"))
                             : sentencia(s_->marca,
                                         QStringLiteral("UPDATE V_MA_PRECIOS SET ESTADO = '1-M', "
                                                        "CAMBIOCODBARRA = 0 WHERE ID = ?"),
                                         QStringLiteral("cmdExportar"));
                m.ejecuta(enEstado ? QVariantList{marca->id, marca->estadoAlCargar}
                                   : QVariantList{marca->id});
                if (enEstado && m.afectadas() == 0) {
                    // Another generation sent this price since it was loaded.
                    directa(c.vuelveAPunto(kPunto));
                    directa(c.liberaPunto(kPunto));
                    return false;
                }
            }
            sentencia(s_->insercion, Insercion(), QStringLiteral("cmdExportar")).ejecuta(valores);
        }
        if (c.sentenciasEncadenadas && !c.liberaPunto(kPunto).isEmpty()) {
            s_->puntoAbierto = true; // let go with the next row's, or by the commit
        } else {
            punto(s_->libera, c.liberaPunto(kPunto), c);
        }
        return true;
    } catch (const FalloKX& f) {
        const FalloKX contado = esperaAgotada(f, kPreciosTomados, false);
        deshaceFila(c);
        throw contado;
    } catch (...) {
        deshaceFila(c);
        throw;
    }
}

void RepositorioLoteSql::EstampaFila(qint64 id, const QString& marcaTiempo) {
    sentencia(s_->estampa, QStringLiteral("UPDATE MV_TARVELO SET RETRANSMITIDO = ? WHERE ID = ?"),
              QStringLiteral("cmdExportar"))
        .ejecuta({marcaTiempo, id});
}

void RepositorioLoteSql::ConfirmaGeneracion() {
    if (!db_.gCnn || db_.gCnn->nivelTransaccion() == 0) {
        throw FalloKX(3709, kCerrada, QStringLiteral("cmdExportar"));
    }
    s_->puntoAbierto = false; // the commit lets go of it
    s_->enGeneracion = false;
    db_.gCnn->CommitTrans();
}

namespace {
// The program's own tables beside the batch table; the suite's tables are
// never altered for them. Created on first use on a database made before
// them (the schema files and crear-base make them too).
QList<QPair<QString, QString>> tablasPropias(const Motor& motor) {
    const QString entero = motor.enteroLargo();
    const QList<QPair<QString, QString>> tablas = {
        // Batches committed whose files have not taken their final names yet.
        {QStringLiteral("MV_TARVELO_PENDIENTE"),
         QStringLiteral("(Codigo %1 NOT NULL, Destino varchar(1024), Temporal varchar(1024), "
                        "DestinoBalanza varchar(1024), TemporalBalanza varchar(1024))")},
        // What each publication of a batch wrote: length and SHA-256 of each
        // file, and where its copy was kept.
        {QStringLiteral("MV_TARVELO_ARCHIVOS"),
         QStringLiteral("(Codigo %1 NOT NULL, Archivo varchar(20) NOT NULL, Largo bigint NOT "
                        "NULL, Sha256 varchar(64) NOT NULL, Copia varchar(1024), Generado "
                        "varchar(30))")},
        // The price alerts the operator accepted for a batch.
        {QStringLiteral("MV_TARVELO_ALERTAS"),
         QStringLiteral("(Codigo %1 NOT NULL, CodInterno varchar(25), Motivo varchar(255))")},
        // The day of each pending load that became a batch, by list, and the
        // days without a batch it caught up on (ISO dates).
        {QStringLiteral("MV_TARVELO_CARGAS"),
         QStringLiteral("(Codigo %1 NOT NULL, IdLista varchar(4) NOT NULL, Dia varchar(10) NOT "
                        "NULL, RecuperaDesde varchar(10), RecuperaHasta varchar(10))")},
    };
    QList<QPair<QString, QString>> r;
    for (const auto& [nombre, columnas] : tablas) {
        r.append({nombre, motor.creaTablaSiFalta(nombre, columnas.arg(entero))});
    }
    return r;
}
} // namespace

void RepositorioLoteSql::TablasPropias(const QString& solo) {
    if (s_->tablasPropias || (!solo.isEmpty() && s_->tablasCreadas.contains(solo))) {
        return;
    }
    if (!db_.gCnn || !db_.gCnn->abierta()) {
        throw FalloKX(3709, kCerrada, QStringLiteral("cmdExportar"));
    }
    // Only a missing table is created: on SQLite even a CREATE that finds
    // its table waits for the write lock another generation holds.
    const QStringList existentes = db_.gCnn->tablas();
    for (const auto& [nombre, sql] : tablasPropias(capacidades().motor())) {
        if (solo.isEmpty() || nombre == solo) {
            if (!existentes.contains(nombre, Qt::CaseInsensitive)) {
                directa(sql);
            }
            s_->tablasCreadas.insert(nombre);
        }
    }
    s_->tablasPropias = solo.isEmpty();
}

QHash<QString, QString>
RepositorioLoteSql::UltimosPreciosTransmitidos(const QString& lista,
                                               const QStringList& codInternos) {
    // One query per block of codes instead of one per article; every block
    // the same size (the last one repeats its last code), so one prepared
    // statement serves them all. The first row of each code is its latest.
    SentenciaPreparada& s = sentencia(
        s_->ultimosPrecios,
        QStringLiteral("SELECT CodInterno, Precio FROM MV_TARVELO WHERE IDLISTA = ? AND Fecha IS "
                       "NOT NULL AND CodInterno IN (") +
            marcas(kCodigosPorConsulta) +
            QStringLiteral(") ORDER BY CodInterno, Fecha DESC, ID DESC"),
        QStringLiteral("cmdExportar"));
    QHash<QString, QString> r;
    for (qsizetype desde = 0; desde < codInternos.size(); desde += kCodigosPorConsulta) {
        QVariantList valores{lista};
        for (qsizetype i = 0; i < kCodigosPorConsulta; ++i) {
            valores << codInternos[std::min(desde + i, codInternos.size() - 1)];
        }
        s.ejecuta(valores);
        while (s.siguiente()) {
            const QString codigo = QlUtil::NoNulo(s.valor(0)).trimmed();
            if (!r.contains(codigo)) {
                r.insert(codigo, QlUtil::NoNulo(s.valor(1)));
            }
        }
        s.termina();
    }
    return r;
}

void RepositorioLoteSql::AnotaArchivos(qint64 codigo, const std::vector<ArchivoGrabado>& archivos) {
    SentenciaPreparada& s =
        sentencia(s_->anotaArchivo,
                  QStringLiteral("INSERT INTO MV_TARVELO_ARCHIVOS (Codigo, Archivo, Largo, Sha256, "
                                 "Copia, Generado) VALUES (?, ?, ?, ?, ?, ?)"),
                  QStringLiteral("cmdExportar"));
    for (const ArchivoGrabado& a : archivos) {
        s.ejecuta({codigo, a.archivo, a.largo, a.sha256, a.copia.left(1024), a.generado});
    }
}

namespace {
// The columns of a file's record, in the order leeArchivos reads them.
const QString kColumnasArchivos = QStringLiteral(
    "SELECT Archivo, Largo, Sha256, Copia, Generado, Codigo FROM MV_TARVELO_ARCHIVOS ");

// The records a statement over MV_TARVELO_ARCHIVOS selected (kColumnasArchivos).
std::vector<ArchivoGrabado> leeArchivos(SentenciaPreparada& s) {
    std::vector<ArchivoGrabado> r;
    while (s.siguiente()) {
        r.push_back({QlUtil::NoNulo(s.valor(0)).trimmed(), s.valor(1).toLongLong(),
                     QlUtil::NoNulo(s.valor(2)).trimmed().toLower(),
                     QlUtil::NoNulo(s.valor(3)).trimmed(), QlUtil::NoNulo(s.valor(4)).trimmed(),
                     s.valor(5).toLongLong()});
    }
    s.termina();
    return r;
}

} // namespace

std::vector<ArchivoGrabado> RepositorioLoteSql::ArchivosGrabados(qint64 codigo) {
    TablasPropias();
    SentenciaPreparada& s = sentencia(
        s_->archivos, kColumnasArchivos + QStringLiteral("WHERE Codigo = ? ORDER BY Generado"),
        QStringLiteral("Verificar"));
    s.ejecuta({codigo});
    std::vector<ArchivoGrabado> r = leeArchivos(s);
    // Within one publication, the point-of-sale file first.
    std::stable_sort(r.begin(), r.end(), [](const ArchivoGrabado& a, const ArchivoGrabado& b) {
        if (a.generado != b.generado) {
            return a.generado < b.generado;
        }
        return a.archivo.compare(QLatin1String("CAMBIOS.TXT"), Qt::CaseInsensitive) == 0 &&
               b.archivo.compare(QLatin1String("CAMBIOS.TXT"), Qt::CaseInsensitive) != 0;
    });
    return r;
}

std::vector<ArchivoGrabado>
RepositorioLoteSql::ArchivosConHuella(const QString& archivo, qint64 largo, const QString& sha256) {
    TablasPropias();
    SentenciaPreparada& s = sentencia(
        s_->archivosConHuella,
        kColumnasArchivos +
            QStringLiteral("WHERE Sha256 = ? AND Largo = ? AND Archivo = ? ORDER BY Generado"),
        QStringLiteral("Verificar"));
    s.ejecuta({sha256.toLower(), largo, archivo});
    return leeArchivos(s);
}

void RepositorioLoteSql::AnotaAlertas(qint64 codigo, const std::vector<AlertaGrabada>& alertas) {
    SentenciaPreparada& s = sentencia(
        s_->anotaAlerta,
        QStringLiteral(
            "INSERT INTO MV_TARVELO_ALERTAS (Codigo, CodInterno, Motivo) VALUES (?, ?, ?)"),
        QStringLiteral("cmdExportar"));
    for (const AlertaGrabada& a : alertas) {
        s.ejecuta({codigo, a.codInterno.trimmed(), a.motivo.left(255)});
    }
}

void RepositorioLoteSql::AnotaPublicacion(const PublicacionPendiente& p) {
    // The note has room for two files, the point-of-sale file's and the
    // scale file's: a batch that writes more could not be published by a
    // later run, so it is not recorded at all.
    if (p.archivos.size() > 2) {
        throw FalloKX(5,
                      QStringLiteral("MV_TARVELO_PENDIENTE anota dos archivos por lote; el lote "
                                     "%1 escribe %2")
                          .arg(p.codigo)
                          .arg(p.archivos.size()),
                      QStringLiteral("cmdExportar"));
    }
    const auto archivo = [&](size_t i) {
        return i < p.archivos.size() ? p.archivos[i] : PublicacionPendiente::Archivo();
    };
    sentencia(s_->anotaPublicacion,
              QStringLiteral("INSERT INTO MV_TARVELO_PENDIENTE (Codigo, Destino, Temporal, "
                             "DestinoBalanza, TemporalBalanza) VALUES (?, ?, ?, ?, ?)"),
              QStringLiteral("cmdExportar"))
        .ejecuta({p.codigo, archivo(0).destino, archivo(0).temporal, archivo(1).destino,
                  archivo(1).temporal});
}

void RepositorioLoteSql::PublicacionHecha(qint64 codigo) {
    sentencia(s_->publicacionHecha,
              QStringLiteral("DELETE FROM MV_TARVELO_PENDIENTE WHERE Codigo = ?"),
              QStringLiteral("cmdExportar"))
        .ejecuta({codigo});
}

std::vector<PublicacionPendiente> RepositorioLoteSql::PublicacionesPendientes() {
    TablasPropias();
    SentenciaPreparada& s = sentencia(
        s_->pendientes,
        QStringLiteral("SELECT Codigo, Destino, Temporal, DestinoBalanza, TemporalBalanza FROM "
                       "MV_TARVELO_PENDIENTE ORDER BY Codigo"),
        QStringLiteral("cmdExportar"));
    s.ejecuta({});
    std::vector<PublicacionPendiente> r;
    while (s.siguiente()) {
        PublicacionPendiente p;
        p.codigo = s.valor(0).toLongLong();
        for (int c : {1, 3}) {
            p.archivos.push_back(
                {QlUtil::NoNulo(s.valor(c)).trimmed(), QlUtil::NoNulo(s.valor(c + 1)).trimmed()});
        }
        r.push_back(std::move(p));
    }
    s.termina();
    return r;
}

void RepositorioLoteSql::DescartaGeneracion() {
    s_->puntoAbierto = false;
    s_->enGeneracion = false;
    try {
        if (db_.gCnn && db_.gCnn->nivelTransaccion() > 0) {
            db_.gCnn->RollbackTrans();
        }
    } catch (const FalloKX&) {
        // A connection that is gone took the transaction with it.
    }
}
