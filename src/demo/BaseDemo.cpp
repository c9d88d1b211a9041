#include "demo/BaseDemo.h"

#include "demo/CatalogoDemo.h"
#include "demo/Insercion.h"
#include "schema/EsquemaSql.h"
#include "utility_library/ErrorKX.h"
#include "utility_library/Reloj.h"

#include <QDir>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <algorithm>
#include <cmath>
#include <iterator>
#include <vector>

namespace {

const QString kFuente = QStringLiteral("BaseDemo");

// ---------------------------------------------------------------- helpers

// The text of an amount as the change files carry it: six integer digits at
// least, three decimals, no separator.
QString importe(double valor) {
    return QString::asprintf("%010.3f", valor).remove(QLatin1Char('.'));
}

QString ajusta(const QString& texto, int ancho) {
    return texto.left(ancho).leftJustified(ancho, QLatin1Char(' '));
}

QString fechaIso(const QDate& d) {
    return d.toString(QStringLiteral("yyyy-MM-dd"));
}

QVariant fecha(const QDate& d) {
    return d.isValid() ? QVariant(fechaIso(d)) : QVariant();
}

void ejecuta(QSqlDatabase db, const QString& sql) {
    QSqlQuery q(db);
    if (!q.exec(sql)) {
        throw FalloKX(-1, QStringLiteral("%1: %2").arg(sql, q.lastError().text()), kFuente);
    }
}

int cuenta(QSqlDatabase db, const QString& sql) {
    QSqlQuery q(db);
    if (!q.exec(sql) || !q.next()) {
        throw FalloKX(-1, QStringLiteral("%1: %2").arg(sql, q.lastError().text()), kFuente);
    }
    return q.value(0).toInt();
}

// Runs `carga` in one transaction; on any failure nothing stays.
template <typename F> void enTransaccion(QSqlDatabase db, F carga) {
    if (!db.isOpen()) {
        throw FalloKX(-1, QStringLiteral("La conexión no está abierta."), kFuente);
    }
    const bool tx = db.driver()->hasFeature(QSqlDriver::Transactions) && db.transaction();
    try {
        carga();
    } catch (...) {
        if (tx) {
            db.rollback();
        }
        throw;
    }
    if (tx && !db.commit()) {
        const QString texto = db.lastError().text();
        db.rollback();
        throw FalloKX(-1, QStringLiteral("No se pudo confirmar la carga: %1").arg(texto), kFuente);
    }
}

// ---------------------------------------------------------------- price rows

struct FilaPrecio {
    QString lista;
    QString articulo;
    QString estado = QStringLiteral("1-M");
    bool cambioCodBarra = false;
    QDate desde;
    QDate hasta;
    bool suspendido = false;
    double precios[8] = {0, 0, 0, 0, 0, 0, 0, 0};
    double costo = 0;
};

class Demo {
public:
    Demo(QSqlDatabase db, const QDate& hoy) : db_(db), hoy_(hoy) {}

    CifrasDemo carga() {
        BaseDemo::cargaConfiguracion(db_);
        cargaTablasMenores();
        cargaArticulos();
        cargaListas();
        cargaPrecios();
        cargaLoteAnterior();
        cargaUsuarios();
        cargaConsultas();
        CifrasDemo c;
        c.listas = cuenta(db_, QStringLiteral("SELECT COUNT(*) FROM V_MA_PRECIOSCAB"));
        c.articulos = cuenta(db_, QStringLiteral("SELECT COUNT(*) FROM V_MA_ARTICULOS"));
        c.filasPrecio = cuenta(db_, QStringLiteral("SELECT COUNT(*) FROM V_MA_PRECIOS"));
        c.pendientes = cuenta(db_, QStringLiteral("SELECT COUNT(*) FROM V_MA_PRECIOS WHERE "
                                                  "TIPOLISTA = 'V' AND ESTADO IN ('0-C','0-M') "
                                                  "AND SUSPENDIDO = 0"));
        c.filasLote = cuenta(db_, QStringLiteral("SELECT COUNT(*) FROM MV_TARVELO"));
        return c;
    }

private:
    // The article whose description starts with `inicio`; a typo in the plan
    // below must not pass silently.
    const ArticuloDemo& articulo(const QString& inicio) const {
        for (const ArticuloDemo& a : articulos_) {
            if (a.descripcion.startsWith(inicio)) {
                return a;
            }
        }
        throw FalloKX(-1, QStringLiteral("Artículo de demostración inexistente: %1").arg(inicio),
                      kFuente);
    }
    ArticuloDemo& articuloEditable(const QString& inicio) {
        return const_cast<ArticuloDemo&>(articulo(inicio));
    }

    void cargaTablasMenores() {
        Insercion t(db_, QStringLiteral("V_TA_TIPOARTICULO"), {"IdTipo", "DESCRIPCION"});
        for (const TipoDemo& x : CatalogoDemo::tipos()) {
            t.agrega({x.id, x.descripcion});
        }
        t.termina();
        Insercion f(db_, QStringLiteral("V_TA_FAMILIAS"), {"IdFamilia", "Descripcion", "MARGEN"});
        for (const FamiliaDemo& x : CatalogoDemo::familias()) {
            f.agrega({x.codigo, x.descripcion, x.margen});
        }
        f.termina();
        Insercion r(db_, QStringLiteral("V_TA_RUBROS"), {"IdRubro", "Descripcion"});
        for (const FamiliaDemo& x : CatalogoDemo::familias()) {
            if (x.codigo.size() == 2) {
                r.agrega({x.codigo, x.descripcion});
            }
        }
        r.termina();
        Insercion u(db_, QStringLiteral("V_TA_UNIDAD"), {"IdUnidad", "Descripcion"});
        u.agrega({BaseDemo::kUnidadKg, QStringLiteral("KILOGRAMO")});
        u.agrega({QStringLiteral("UN"), QStringLiteral("UNIDAD")});
        u.agrega({QStringLiteral("LT"), QStringLiteral("LITRO")});
        u.termina();
    }

    void cargaArticulos() {
        articulos_ = CatalogoDemo::articulos();
        // The odd ones a newcomer should meet.
        articuloEditable(QStringLiteral("ARVEJAS EN LATA DEL VALLE")).rubro = QString();
        articuloEditable(QStringLiteral("ANANÁ")).rubro = QStringLiteral("5");
        articuloEditable(QStringLiteral("AGUA TÓNICA CAMPO AZUL X 500 ML")).iva = QString();
        articuloEditable(QStringLiteral("GASEOSA POMELO LOS ÁLAMOS X 2,25 L")).suspendido = true;
        ArticuloDemo& largo = articuloEditable(QStringLiteral("ESPUMANTE EXTRA BRUT SAN JOSÉ"));
        largo.codigo = QStringLiteral("201912345678");

        Insercion ins(db_, QStringLiteral("V_MA_ARTICULOS"),
                      {"IdArticulo", "Descripcion", "DescripAbrev", "CodigoBarra", "Tipo", "Rubro",
                       "IdFamilia", "IdUnidad", "Pesable", "TASAIVA", "SUSPENDIDO", "Stock",
                       "PUNTOPEDIDO"},
                      50);
        for (const ArticuloDemo& a : articulos_) {
            ins.agrega({a.codigo, a.descripcion, a.abrev.isEmpty() ? QVariant() : QVariant(a.abrev),
                        a.codigoBarra, a.tipo, a.rubro, a.familia, a.unidad, a.pesable ? 1 : 0,
                        a.iva, a.suspendido ? 1 : 0, a.stock, a.puntoPedido});
        }
        ins.termina();
    }

    void cargaListas() {
        Insercion ins(db_, QStringLiteral("V_MA_PRECIOSCAB"), {"IDLISTA", "NOMBRE", "TIPOLISTA"});
        ins.agrega({BaseDemo::kListaVenta, QStringLiteral("LISTA GENERAL SUCURSALES"),
                    QStringLiteral("V")});
        ins.agrega(
            {BaseDemo::kListaMayorista, QStringLiteral("LISTA MAYORISTA"), QStringLiteral("V")});
        ins.agrega(
            {BaseDemo::kListaCompra, QStringLiteral("COMPRAS A PROVEEDORES"), QStringLiteral("C")});
        ins.termina();
    }

    static FilaPrecio filaVenta(const QString& lista, const ArticuloDemo& a, double factor) {
        FilaPrecio f;
        f.lista = lista;
        f.articulo = a.codigo;
        const double p = CatalogoDemo::redondea(a.precio * factor);
        f.precios[0] = p;                                // sale
        f.precios[1] = CatalogoDemo::redondea(p * 0.85); // offer
        f.precios[2] = 0;                                // suggested: only where set below
        f.precios[3] = CatalogoDemo::redondea(p * 0.9);  // wholesale
        f.precios[4] = CatalogoDemo::redondea(p * 1.05); // card
        f.precios[5] = CatalogoDemo::redondea(p * 0.95); // staff
        f.costo = CatalogoDemo::redondea(p * 0.65);
        return f;
    }

    FilaPrecio& fila(const QString& lista, const QString& inicio) {
        const QString codigo = articulo(inicio).codigo;
        for (FilaPrecio& f : filas_) {
            if (f.lista == lista && f.articulo == codigo) {
                return f;
            }
        }
        throw FalloKX(-1,
                      QStringLiteral("Fila de precio de demostración inexistente: %1 / %2")
                          .arg(lista, inicio),
                      kFuente);
    }

    void planVenta() {
        const QString l1 = BaseDemo::kListaVenta;
        const QDate manana = hoy_.addDays(1);
        // Waiting to be sent: changed prices ('0-M').
        for (const char* d :
             {"ACEITE DE GIRASOL LA PRADERA X 900 ML", "ACEITE DE OLIVA EXTRA VIRGEN D'ANGELO",
              "FIDEOS CABELLO DE ÁNGEL EL MOLINERO", "ÑOQUIS DE PAPA D'ANGELO",
              "QUESO CREMOSO COOPERATIVA", "JAMÓN COCIDO NATURAL D'ANGELO", "ASADO DE TIRA",
              "LECHUGA CRIOLLA", "ANANÁ", "ARVEJAS EN LATA DEL VALLE",
              "AGUA TÓNICA CAMPO AZUL X 500 ML", "ESPUMANTE EXTRA BRUT SAN JOSÉ",
              "LECHE ENTERA LA PRADERA SACHET", "VINO TINTO MALBEC DEL VALLE",
              "YERBA MATE CON PALO X 1 KG ÑANDÚ", "CAFÉ MOLIDO DON TOMÁS X 250 G",
              "QUESO RALLADO X 150 G LA PRADERA", "MOSTAZA DEL VALLE X 250 G"}) {
            FilaPrecio& f = fila(l1, QString::fromUtf8(d));
            f.estado = QStringLiteral("0-M");
            f.precios[0] = CatalogoDemo::redondea(f.precios[0] * 1.08);
        }
        fila(l1, QStringLiteral("CAFÉ MOLIDO DON TOMÁS X 250 G")).precios[2] = 4390;
        fila(l1, QStringLiteral("CAFÉ INSTANTÁNEO DON TOMÁS X 250 G")).precios[2] = 5150;
        // The bar code changed since it was sent: the row goes out twice.
        fila(l1, QStringLiteral("LECHE ENTERA LA PRADERA SACHET")).cambioCodBarra = true;
        // New articles ('0-C').
        for (const char* d : {"MAYONESA CAMPO AZUL X 500 G", "DULCE DE LECHE CLÁSICO X 400 G LA",
                              "PAN DULCE CON FRUTAS", "MEDIALUNAS DE MANTECA",
                              "LAVANDINA CAMPO AZUL X 1 L", "DETERGENTE LIMÓN ÑANDÚ X 500 ML"}) {
            fila(l1, QString::fromUtf8(d)).estado = QStringLiteral("0-C");
        }
        fila(l1, QStringLiteral("LAVANDINA CAMPO AZUL X 1 L")).cambioCodBarra = true;
        fila(l1, QStringLiteral("DETERGENTE LIMÓN ÑANDÚ X 500 ML")).cambioCodBarra = true;
        // Pending, yet never loaded: no price, a suspended row, an offer not due yet.
        FilaPrecio& sinPrecio = fila(l1, QStringLiteral("GRISINES"));
        sinPrecio.estado = QStringLiteral("0-M");
        std::fill(std::begin(sinPrecio.precios), std::end(sinPrecio.precios), 0.0);
        FilaPrecio& suspendida = fila(l1, QStringLiteral("SALAME MILÁN D'ANGELO"));
        suspendida.estado = QStringLiteral("0-M");
        suspendida.suspendido = true;
        FilaPrecio& futura = fila(l1, QStringLiteral("CHOCLO CREMOSO DEL VALLE"));
        futura.estado = QStringLiteral("0-M");
        futura.desde = hoy_.addDays(2);
        futura.hasta = hoy_.addDays(9);
        // Offers starting tomorrow, ending today, and running.
        for (const char* d : {"CAFÉ EN GRANOS DON TOMÁS X 500 G", "YOGUR BEBIBLE FRUTILLA X 1 L LA",
                              "MANZANA ROJA", "PECHUGA DE POLLO"}) {
            FilaPrecio& f = fila(l1, QString::fromUtf8(d));
            f.desde = manana;
            f.hasta = hoy_.addDays(7);
        }
        for (const char* d :
             {"HARINA LEUDANTE EL MOLINERO", "TOMATE REDONDO", "VINO ROSADO DEL VALLE"}) {
            FilaPrecio& f = fila(l1, QString::fromUtf8(d));
            f.desde = hoy_.addDays(-6);
            f.hasta = hoy_;
        }
        for (const char* d : {"FIDEOS SPAGHETTI EL MOLINERO", "QUESO SARDO COOPERATIVA",
                              "AGUA MINERAL SIN GAS LOS ÁLAMOS X 2 L",
                              "DURAZNOS EN ALMÍBAR DEL VALLE", "BIFE DE CHORIZO"}) {
            FilaPrecio& f = fila(l1, QString::fromUtf8(d));
            f.desde = hoy_.addDays(-3);
            f.hasta = hoy_.addDays(4);
        }
        // A running offer changed again ('0-M'): the first one already went out
        // at this price with the earlier batch, the second did not.
        fila(l1, QStringLiteral("DURAZNOS EN ALMÍBAR DEL VALLE")).estado = QStringLiteral("0-M");
        fila(l1, QStringLiteral("BIFE DE CHORIZO")).estado = QStringLiteral("0-M");

        const QString l2 = BaseDemo::kListaMayorista;
        for (const char* d : {"ACEITE DE GIRASOL LA PRADERA X 900 ML",
                              "HARINA DE TRIGO 000 EL MOLINERO", "GASEOSA COLA CAMPO AZUL X 2,25 L",
                              "LAVANDINA CAMPO AZUL X 2 L", "AZÚCAR COMÚN TIPO A X 1 KG"}) {
            FilaPrecio& f = fila(l2, QString::fromUtf8(d));
            f.estado = QStringLiteral("0-M");
            f.precios[0] = CatalogoDemo::redondea(f.precios[0] * 1.06);
        }
        fila(l2, QStringLiteral("TOSTADAS X 200 G DEL VALLE")).estado = QStringLiteral("0-C");
        FilaPrecio& oferta2 = fila(l2, QStringLiteral("GASEOSA LIMA LIMÓN CAMPO AZUL X 2,25 L"));
        oferta2.desde = manana;
        oferta2.hasta = hoy_.addDays(14);

        const QString c1 = BaseDemo::kListaCompra;
        for (const char* d : {"ACEITE DE GIRASOL LA PRADERA X 900 ML", "ASADO DE TIRA",
                              "LECHE ENTERA LA PRADERA SACHET"}) {
            fila(c1, QString::fromUtf8(d)).estado = QStringLiteral("0-M");
        }
    }

    void cargaPrecios() {
        int i = 0;
        for (const ArticuloDemo& a : articulos_) {
            filas_.push_back(filaVenta(BaseDemo::kListaVenta, a, 1.0));
            if (!a.pesable) {
                filas_.push_back(filaVenta(BaseDemo::kListaMayorista, a, 0.9));
            }
            if (i++ % 2 == 0 || a.codigo == articulo(QStringLiteral("ASADO DE TIRA")).codigo ||
                a.codigo == articulo(QStringLiteral("LECHE ENTERA LA PRADERA SACHET")).codigo) {
                FilaPrecio c;
                c.lista = BaseDemo::kListaCompra;
                c.articulo = a.codigo;
                c.precios[0] = CatalogoDemo::redondea(a.precio * 0.62);
                c.costo = c.precios[0];
                filas_.push_back(c);
            }
        }
        planVenta();
        Insercion ins(db_, QStringLiteral("V_MA_PRECIOS"),
                      {"IDLISTA", "IdArticulo", "ESTADO", "CAMBIOCODBARRA", "FHOFERTADESDE",
                       "FHOFERTAHASTA", "SUSPENDIDO", "precio1", "precio2", "precio3", "precio4",
                       "precio5", "precio6", "precio7", "precio8", "COSTO"},
                      50);
        for (const FilaPrecio& f : filas_) {
            QVariantList v{f.lista,
                           f.articulo,
                           f.estado,
                           f.cambioCodBarra ? 1 : 0,
                           fecha(f.desde),
                           fecha(f.hasta),
                           f.suspendido ? 1 : 0};
            for (double p : f.precios) {
                v << p;
            }
            v << f.costo;
            ins.agrega(v);
        }
        ins.termina();
    }

    // The batch that sent the running offers when they started, three days ago.
    void cargaLoteAnterior() {
        const QDate dia = hoy_.addDays(-3);
        const QString ruta =
            QDir::toNativeSeparators(QDir::tempPath() + QStringLiteral("/CAMBIOS.TXT"));
        Insercion ins(db_, QStringLiteral("MV_TARVELO"),
                      {"Codigo",      "IdLista",     "Nombre",  "Fecha",       "TipoMov",
                       "CodInterno",  "Descripcion", "Marca",   "PrecioVenta", "Precio",
                       "Internos",    "PrecioCosto", "CondIva", "TipoIva",     "Fijo",
                       "CodBarra",    "Rubro",       "Tipo",    "Aux1",        "Aux2",
                       "RutaArchivo", "Usuario"});
        for (const char* d :
             {"FIDEOS SPAGHETTI EL MOLINERO", "QUESO SARDO COOPERATIVA",
              "AGUA MINERAL SIN GAS LOS ÁLAMOS X 2 L", "DURAZNOS EN ALMÍBAR DEL VALLE"}) {
            const ArticuloDemo& a = articulo(QString::fromUtf8(d));
            const FilaPrecio& f = fila(BaseDemo::kListaVenta, QString::fromUtf8(d));
            const QString codInterno =
                a.codigo.trimmed().left(9).trimmed().rightJustified(9, QLatin1Char('0'));
            const QString descripcion = a.abrev.trimmed().isEmpty() ? a.descripcion : a.abrev;
            const QString barras = a.codigoBarra.toString().trimmed();
            const QString rubro = a.rubro.toString().trimmed().left(2);
            const QString iva = a.iva.isEmpty() ? QStringLiteral("21") : a.iva;
            ins.agrega(
                {BaseDemo::kCodigoLoteAnterior,
                 BaseDemo::kListaVenta.leftJustified(4),
                 QStringLiteral("LISTA GENERAL SUCURSALES"),
                 fechaIso(dia),
                 QStringLiteral("M"),
                 codInterno,
                 ajusta(descripcion.left(30).trimmed(), 30),
                 ajusta(CatalogoDemo::nombreTipo(a.tipo).left(15).trimmed(), 15),
                 importe(f.precios[1]),
                 importe(f.precios[1]),
                 QStringLiteral("000000000"),
                 importe(f.costo),
                 QStringLiteral("S"),
                 iva == QLatin1String("21") ? "0" : "1",
                 QStringLiteral("SS"),
                 ajusta(barras.isEmpty() ? codInterno + QStringLiteral("0000") : barras.left(13),
                        13),
                 rubro.isEmpty() ? QStringLiteral("99") : rubro,
                 a.pesable ? QStringLiteral("I") : QStringLiteral(" "),
                 QStringLiteral("000000000"),
                 QStringLiteral("000000"),
                 ruta,
                 BaseDemo::kUsuarioAdmin});
        }
        ins.termina();
    }

    void cargaUsuarios() {
        Insercion u(db_, QStringLiteral("ta_usuarios"),
                    {"nombre", "NombreCompleto", "Administrador"});
        u.agrega({BaseDemo::kUsuarioAdmin, QStringLiteral("USUARIO DE DEMOSTRACIÓN"), 1});
        u.agrega({BaseDemo::kUsuarioComun, QStringLiteral("OPERADOR DE VENTAS"), 0});
        u.termina();
        Insercion m(db_, QStringLiteral("TA_MENU"), {"Clave", "Nombre", "Proceso"});
        m.agrega({QStringLiteral("0101"), QStringLiteral("NOVEDADES DE PRECIOS A SUCURSALES"),
                  QStringLiteral("tarvelo.exe")});
        m.agrega({QStringLiteral("0102"), QStringLiteral("LISTAS DE PRECIOS"),
                  QStringLiteral("listas.exe")});
        m.agrega({QStringLiteral("0201"), QStringLiteral("CONSULTA DE STOCK"),
                  QStringLiteral("stock.exe")});
        m.termina();
        Insercion t(db_, QStringLiteral("TA_TAREAS"), {"USUARIO", "TAREA"});
        t.agrega({BaseDemo::kUsuarioAdmin, QStringLiteral("0101")});
        t.agrega({BaseDemo::kUsuarioAdmin, QStringLiteral("0102")});
        t.agrega({BaseDemo::kUsuarioComun, QStringLiteral("0201")});
        t.termina();
    }

    // A few rows for the suite's other lookups.
    void cargaConsultas() {
        Insercion c(db_, QStringLiteral("VT_CLIENTES"),
                    {"CODIGO", "RAZON_SOCIAL", "CONTACTO", "Dada_De_Baja"});
        c.agrega({QStringLiteral("1"), QStringLiteral("ALMACÉN LA ESQUINA"),
                  QStringLiteral("MARTA GÓMEZ"), 0});
        c.agrega({QStringLiteral("2"), QStringLiteral("DESPENSA D'ALESSANDRO"),
                  QStringLiteral("LUIS D'ALESSANDRO"), 0});
        c.agrega({QStringLiteral("3"), QStringLiteral("AUTOSERVICIO EL SOL"),
                  QStringLiteral("ANA PÉREZ"), 1});
        c.termina();
        Insercion p(db_, QStringLiteral("VT_PROVEEDORES"),
                    {"CODIGO", "RAZON_SOCIAL", "Dada_De_Baja"});
        p.agrega({QStringLiteral("1"), QStringLiteral("DISTRIBUIDORA DEL LITORAL S.A."), 0});
        p.agrega({QStringLiteral("2"), QStringLiteral("LÁCTEOS DEL SUR S.R.L."), 0});
        p.agrega({QStringLiteral("3"), QStringLiteral("FRIGORÍFICO SAN ROQUE"), 1});
        p.termina();
        Insercion k(db_, QStringLiteral("MA_CONTACTOS"),
                    {"Nombre_y_Apellido", "Domicilio", "Localidad", "Telefono"});
        k.agrega({QStringLiteral("JUAN PÉREZ"), QStringLiteral("SAN MARTÍN 1234"),
                  QStringLiteral("ROSARIO"), QStringLiteral("0341 455-1234")});
        k.termina();
        Insercion v(db_, QStringLiteral("V_TA_VENDEDORES"), {"IDVENDEDOR", "NOMBRE"});
        v.agrega({QStringLiteral("1"), QStringLiteral("CARLOS ÁLVAREZ")});
        v.agrega({QStringLiteral("2"), QStringLiteral("SOFÍA O'CONNOR")});
        v.termina();
        Insercion te(db_, QStringLiteral("V_TA_TECNICOS"), {"IDTECNICO", "NOMBRE"});
        te.agrega({QStringLiteral("1"), QStringLiteral("SERVICIO TÉCNICO DE BALANZAS")});
        te.termina();
        Insercion mt(db_, QStringLiteral("V_MA_MANTENIMIENTOS"), {"CODIGO", "DESCRIPCION"});
        mt.agrega({QStringLiteral("1"), QStringLiteral("CALIBRACIÓN DE BALANZAS")});
        mt.termina();
        Insercion cu(db_, QStringLiteral("MA_CUENTAS"), {"CODIGO", "DESCRIPCION"});
        for (const auto& [codigo, nombre] : {std::pair{"1", "ACTIVO"},
                                             {"11", "ACTIVO CORRIENTE"},
                                             {"1101", "CAJA Y BANCOS"},
                                             {"110101", "CAJA"},
                                             {"110102", "BANCOS"},
                                             {"2", "PASIVO"},
                                             {"21", "PROVEEDORES"}}) {
            cu.agrega({QString::fromUtf8(codigo), QString::fromUtf8(nombre)});
        }
        cu.termina();
        Insercion cc(db_, QStringLiteral("TA_CCOSTO"), {"CODIGO", "Descripcion"});
        cc.agrega({QStringLiteral("01"), QStringLiteral("ADMINISTRACIÓN")});
        cc.agrega({QStringLiteral("0101"), QStringLiteral("COMPRAS")});
        cc.agrega({QStringLiteral("02"), QStringLiteral("SUCURSALES")});
        cc.termina();
        Insercion po(db_, QStringLiteral("MA_POSICIONES"), {"IDPOSICION", "Descripcion"});
        po.agrega({QStringLiteral("A"), QStringLiteral("DEPÓSITO CENTRAL")});
        po.agrega({QStringLiteral("A01"), QStringLiteral("ESTANTERÍA 1")});
        po.termina();
        Insercion ta(db_, QStringLiteral("V_TA_Tareas"), {"IdTarea", "Descripcion"});
        ta.agrega({QStringLiteral("0101"), QStringLiteral("NOVEDADES DE PRECIOS A SUCURSALES")});
        ta.agrega({QStringLiteral("0201"), QStringLiteral("CONSULTA DE STOCK")});
        ta.termina();
        Insercion un(db_, QStringLiteral("V_TA_UnidadNegocio"), {"Codigo", "Descripcion"});
        un.agrega({QStringLiteral("01"), QStringLiteral("CASA CENTRAL")});
        un.agrega({QStringLiteral("02"), QStringLiteral("SUCURSALES")});
        un.termina();
        Insercion de(db_, QStringLiteral("V_TA_DEPOSITO"),
                     {"IdDeposito", "Descripcion", "UnidadNegocio"});
        de.agrega({QStringLiteral("01"), QStringLiteral("DEPÓSITO CENTRAL"), QStringLiteral("01")});
        de.agrega({QStringLiteral("02"), QStringLiteral("SUCURSAL NORTE"), QStringLiteral("02")});
        de.termina();
    }

    QSqlDatabase db_;
    QDate hoy_;
    std::vector<ArticuloDemo> articulos_;
    std::vector<FilaPrecio> filas_;
};

} // namespace

CifrasDemo BaseDemo::crea(QSqlDatabase db, bool conDemo, const QDate& hoy) {
    EsquemaSql::crea(db);
    if (!conDemo) {
        return CifrasDemo{};
    }
    return cargaDemo(db, hoy);
}

CifrasDemo BaseDemo::cargaDemo(QSqlDatabase db, const QDate& hoy) {
    const QDate dia = hoy.isValid() ? hoy : Reloj::hoy();
    CifrasDemo cifras;
    enTransaccion(db, [&] { cifras = Demo(db, dia).carga(); });
    return cifras;
}

void BaseDemo::cargaConfiguracion(QSqlDatabase db) {
    struct Clave {
        const char* clave;
        const char* valor;
        const char* grupo;
    };
    static const Clave claves[] = {
        {"ClasePrecioVenta", "1", "PRECIOS"},
        {"ClasePrecioOferta", "2", "PRECIOS"},
        {"ClasePrecioSugerido", "3", "PRECIOS"},
        {"piva", "21", "IMPUESTOS"},
        {"UNIDADDEMEDIDA_KG", "KG", "STOCK"},
        {"NOMBRE", "SUPERMERCADOS DEMO S.A.", "EMPRESA"},
        {"CFondo", "12648447", "PANTALLA"},
        {"TopConsArt", "500", "CONSULTAS"},
        {"SS_CONFIDENCIALIDAD", "NO", "SEGURIDAD"},
        {"UsaConsultaLike", "NO", "CONSULTAS"},
        {"MostrarStockenConsultas", "SI", "CONSULTAS"},
        {"Stk_Nivel1", "32768", "CONSULTAS"},
        {"Stk_Nivel2", "0", "CONSULTAS"},
        {"Stk_Nivel3", "255", "CONSULTAS"},
        {"Stk_Nivel4", "8421504", "CONSULTAS"},
        {"NOM_PCLASE1", "VENTA", "PRECIOS"},
        {"NOM_PCLASE2", "OFERTA", "PRECIOS"},
        {"NOM_PCLASE3", "SUGERIDO", "PRECIOS"},
        {"NOM_PCLASE4", "MAYORISTA", "PRECIOS"},
        {"NOM_PCLASE5", "TARJETA", "PRECIOS"},
        {"NOM_PCLASE6", "PERSONAL", "PRECIOS"},
    };
    Insercion ins(db, QStringLiteral("TA_CONFIGURACION"),
                  {"CLAVE", "VALOR", "valoraux", "Grupo", "PoliticaNegocio"});
    for (const Clave& c : claves) {
        ins.agrega({QString::fromUtf8(c.clave), QString::fromUtf8(c.valor), QString(),
                    QString::fromUtf8(c.grupo), 0});
    }
    ins.termina();
}

void BaseDemo::generaMasivo(QSqlDatabase db, const OpcionesMasivo& o) {
    const QDate hoy = o.hoy.isValid() ? o.hoy : Reloj::hoy();
    enTransaccion(db, [&] {
        if (cuenta(db, QStringLiteral("SELECT COUNT(*) FROM TA_CONFIGURACION WHERE "
                                      "CLAVE = 'ClasePrecioVenta'")) == 0) {
            cargaConfiguracion(db);
        }
        if (cuenta(db, QStringLiteral(
                           "SELECT COUNT(*) FROM V_TA_TIPOARTICULO WHERE IdTipo = 'MM'")) == 0) {
            ejecuta(db, QStringLiteral("INSERT INTO V_TA_TIPOARTICULO (IdTipo, DESCRIPCION) "
                                       "VALUES ('MM', 'MARCA MASIVA')"));
        }
        if (cuenta(db, QStringLiteral(
                           "SELECT COUNT(*) FROM V_TA_FAMILIAS WHERE IdFamilia = '99'")) == 0) {
            ejecuta(db, QStringLiteral("INSERT INTO V_TA_FAMILIAS (IdFamilia, Descripcion) "
                                       "VALUES ('99', 'VARIOS')"));
        }
        {
            Insercion cab(db, QStringLiteral("V_MA_PRECIOSCAB"),
                          {"IDLISTA", "NOMBRE", "TIPOLISTA"});
            cab.agrega({o.idLista, o.nombreLista, QStringLiteral("V")});
            cab.termina();
        }
        Insercion art(db, QStringLiteral("V_MA_ARTICULOS"),
                      {"IdArticulo", "Descripcion", "DescripAbrev", "CodigoBarra", "Tipo", "Rubro",
                       "IdFamilia", "IdUnidad", "Pesable", "TASAIVA", "SUSPENDIDO"},
                      200);
        Insercion pre(db, QStringLiteral("V_MA_PRECIOS"),
                      {"IDLISTA", "IdArticulo", "TIPOLISTA", "NOMBRE", "ESTADO", "CAMBIOCODBARRA",
                       "FHOFERTADESDE", "FHOFERTAHASTA", "SUSPENDIDO", "precio1", "precio2",
                       "precio3", "COSTO"},
                      200);
        const QVariant manana = fecha(hoy.addDays(1));
        const QVariant semana = fecha(hoy.addDays(7));
        for (int i = 0; i < o.filas; ++i) {
            const int numero = o.codigoInicial + i;
            const QString codigo = QStringLiteral("%1").arg(numero, 6, 10, QLatin1Char('0'));
            const bool pesable = i % 10 == 0;
            const double precio = 100 + (i % 997) * 3.25;
            art.agrega(
                {codigo, QStringLiteral("ARTÍCULO MASIVO %1 D'ANGELO").arg(numero),
                 QStringLiteral("ART. MASIVO %1").arg(numero),
                 i % 7 == 0 ? QVariant()
                            : QVariant(CatalogoDemo::ean(
                                  QStringLiteral("78") +
                                  codigo.right(10).rightJustified(10, QLatin1Char('0')))),
                 QStringLiteral("MM"), QStringLiteral("%1").arg(i % 8 + 1, 2, 10, QLatin1Char('0')),
                 QStringLiteral("99"), pesable ? kUnidadKg : QStringLiteral("UN"), pesable ? 1 : 0,
                 i % 5 == 0 ? QStringLiteral("10.5") : QStringLiteral("21"), 0});
            const bool oferta = i % 50 == 25;
            pre.agrega(
                {o.idLista, codigo, QStringLiteral("V"), o.nombreLista,
                 i % 10 == 3 ? QStringLiteral("0-C") : QStringLiteral("0-M"), i % 97 == 0 ? 1 : 0,
                 oferta ? manana : QVariant(), oferta ? semana : QVariant(), 0, precio,
                 CatalogoDemo::redondea(precio * 0.85), 0, CatalogoDemo::redondea(precio * 0.65)});
        }
        art.termina();
        pre.termina();
    });
}
