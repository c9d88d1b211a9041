#include "generator/CargadorNovedades.h"

#include "db/DB_Dll.h"
#include "progress/Dll_Display.h"
#include "db/ErrorADO.h"
#include "utility_library/ErrorKX.h"
#include "generator/EstadoVentana.h"
#include "generator/FilaDeConsulta.h"
#include "generator/FilaDeRecordset.h"
#include "generator/FilaNovedad.h"
#include "runtime/ModGlobal.h"
#include "utility_library/Operador.h"
#include "utility_library/Pasos.h"
#include "utility_library/Programa.h"
#include "utility_library/QlUtil.h"
#include "utility_library/Regional.h"
#include "utility_library/Reloj.h"

#include "generator/SentenciasLote.h"
#include "db/TextoSql.h"
#include "generator/ValoresFila.h"
#include <QSqlError>
#include <memory>

namespace {
const QString kRutinaNovedades = QStringLiteral("CargaNovedades");
const QString kRutinaManual = QStringLiteral("CargaManual");

QString texto(const Recordset& rs, const char* campo) {
    return QlUtil::NoNulo(rs.Campo(QLatin1String(campo)));
}

QString texto(const FilaOrigen& rs, const char* campo) {
    return QlUtil::NoNulo(rs.Campo(QLatin1String(campo)));
}

// A date column read as a day: null stays null; a text must be a date.
QDate fechaDe(const QVariant& valor, const QString& campo) {
    if (!valor.isValid() || valor.isNull()) {
        return {};
    }
    if (valor.typeId() == QMetaType::QDate) {
        return valor.toDate();
    }
    if (valor.typeId() == QMetaType::QDateTime) {
        return valor.toDateTime().date();
    }
    const QString t = QlUtil::NoNulo(valor).trimmed();
    if (t.isEmpty()) {
        return {};
    }
    const QDate d = Regional::leeFecha(t);
    if (!d.isValid()) {
        throw FalloKX(13, QStringLiteral("Type mismatch: %1 = '%2'").arg(campo, t));
    }
    return d;
}

Pasos pasosDe(const QString& rutina) {
    return Pasos([rutina](const ErrorKX& e) { return LoteNovedades::ReportaError(e, rutina); });
}
} // namespace

struct CargadorNovedades::Cursor {
    Recordset rs;
    std::optional<QSqlQuery> q;
    std::unique_ptr<FilaOrigen> fila;
    int total = 0;
    bool hay = false;
    void siguiente() {
        if (q) {
            hay = q->next();
        } else {
            rs.MoveNext();
            hay = !rs.Eof();
        }
    }
};

CargadorNovedades::CargadorNovedades(LoteNovedades& lote) : lote_(lote) {}

void CargadorNovedades::AbreCursor(Cursor& c, const QString& desde, const QString& orden) {
    DB_Dll& db = lote_.db();
    const QString sql = QStringLiteral("SELECT *") + desde + orden;
    if (db.gCnn && SentenciasLote::Disponible(*db.gCnn)) {
        c.q.emplace(db.gCnn->baseQt());
        // SQLite steps through the rows as they are read. The PostgreSQL driver
        // reads a forward-only result one row at a time and loses it to the
        // next statement on the connection (the article lookups): there the
        // whole result comes at once, in the client library's compact form.
        c.q->setForwardOnly(db.gCnn->baseQt().driverName() == QLatin1String("QSQLITE"));
        // The total for the banner first, then the rows one by one.
        Recordset cuenta;
        db.AbrirRecordset(QStringLiteral("SELECT COUNT(*) AS Total") + desde, cuenta);
        if (!cuenta.abierto()) {
            c.q.reset();
            throw FalloKX(3704, QStringLiteral("No se pudo leer las novedades."));
        }
        c.total = int(QlUtil::TextoANumero(QlUtil::NoNulo(cuenta.Campo(0))));
        db.CierraRecordset(cuenta);
        QSqlQuery& q = *c.q;
        if (!q.exec(db.gCnn->textoMotor(db.SS_TSinonimos(sql)))) {
            const QString error = q.lastError().text();
            c.q.reset();
            throw FalloKX(NumerosADO::ErrorSql, error);
        }
        c.fila = std::make_unique<FilaDeConsulta>(q);
        c.hay = q.next();
        return;
    }
    c.rs.FijaCacheSize(50);
    QString texto = sql;
    db.AbrirRecordset(texto, c.rs);
    if (!c.rs.abierto()) {
        throw FalloKX(3704, QStringLiteral("No se pudo leer las novedades."));
    }
    c.total = c.rs.RecordCount();
    c.fila = std::make_unique<FilaDeRecordset>(c.rs);
    c.hay = !c.rs.Eof();
}

QString CargadorNovedades::CodigoLista() const {
    return QlUtil::FormateaCodigo(lote_.ventana().campo(QStringLiteral("IDLISTA")), 4);
}

CargadorNovedades::Clases CargadorNovedades::LeeClases() const {
    Clases c;
    c.venta = ModGlobal::Cfg(QStringLiteral("ClasePrecioVenta")).trimmed();
    c.sugerido = ModGlobal::Cfg(QStringLiteral("ClasePrecioSugerido")).trimmed();
    c.oferta = ModGlobal::Cfg(QStringLiteral("ClasePrecioOferta")).trimmed();
    c.iva = ModGlobal::Cfg(QStringLiteral("piva"));
    // Both loaders fall back to the sale class when no suggested class is
    // configured (a missing key reads as a blank, which names no price column).
    if (c.sugerido.isEmpty()) {
        c.sugerido = c.venta;
    }
    return c;
}

void CargadorNovedades::LeeFila(const FilaOrigen& rs, ValoresFila& v, bool manual) {
    v = ValoresFila{};
    if (manual) {
        const QString letra = lote_.ventana().campo(QStringLiteral("letra")).trimmed().toUpper();
        v.tipoMov = letra.isEmpty() ? QStringLiteral("M") : letra;
    } else {
        v.tipoMov = texto(rs, "Estado");
    }
    const QString idArticulo = texto(rs, "IdArticulo");
    v.codigo = idArticulo.trimmed();
    v.descripcion = texto(rs, "Descripcionarticulo");
    v.marca = DescripcionTipo(texto(rs, "Tipo"));

    const QString sugerido = QlUtil::NoNulo(rs.Campo(QStringLiteral("precio") + clases_.sugerido));
    const QString desdeTexto = texto(rs, "FHOFERTADESDE");
    const QString hastaTexto = texto(rs, "FHOFERTAHASTA");
    const auto venta = [&] {
        return QlUtil::NoNulo(rs.Campo(QStringLiteral("precio") + clases_.venta));
    };
    const auto oferta = [&] {
        return QlUtil::NoNulo(rs.Campo(QStringLiteral("precio") + clases_.oferta));
    };
    if (QlUtil::TextoAMoneda(sugerido) > 0) {
        v.precio = sugerido;
    } else if (!desdeTexto.isEmpty() && !hastaTexto.isEmpty()) {
        const QDate desde = fechaDe(rs.Campo(QStringLiteral("FHOFERTADESDE")), "FHOFERTADESDE");
        const QDate hasta = fechaDe(rs.Campo(QStringLiteral("FHOFERTAHASTA")), "FHOFERTAHASTA");
        if (desde == manana_ && hasta >= hoy_) {
            v.precio = oferta();
        } else if (!manual && hasta > hoy_) {
            v.precio = oferta();
        } else {
            v.precio = venta();
        }
    } else {
        v.precio = venta();
    }
    v.precio2 = v.precio;
    v.costo = texto(rs, "COSTO");
    v.rubro = texto(rs, "Rubro").trimmed();
    v.id = texto(rs, "ID");
    const QString cambio = texto(rs, "CambioCodBarra");
    v.cambioCodBarra = !cambio.isEmpty() && ModGlobal::TextoABooleano(cambio.trimmed(), true);

    LeeArticulo(idArticulo, v, manual);
}

void CargadorNovedades::PreparaConsultas() {
    Conexion* cn = lote_.db().gCnn.get();
    if (!cn || !cn->abierta()) {
        return;
    }
    articulo_ = SentenciasLote::Prepara(
        *cn, QStringLiteral("SELECT TASAIVA, CodigoBarra, Pesable, DescripAbrev, Descripcion "
                            "FROM V_MA_ARTICULOS WHERE IDARTICULO = ?"));
    tipo_ = SentenciasLote::Prepara(
        *cn, QStringLiteral("SELECT DESCRIPCION FROM V_TA_TIPOARTICULO WHERE "
                            "LTRIM(RTRIM(IdTipo)) = ?"));
}

QString CargadorNovedades::DescripcionTipo(const QString& tipo) {
    if (tipo_) {
        tipo_->bindValue(0, tipo.trimmed());
        if (!tipo_->exec()) {
            throw FalloKX(3704, tipo_->lastError().text(), QStringLiteral("DatosTabla"));
        }
        const QString r = tipo_->next() ? QlUtil::NoNulo(tipo_->value(0)) : QString();
        tipo_->finish();
        return r;
    }
    return lote_.db().DatosTabla(QStringLiteral("V_TA_TIPOARTICULO"), tipo,
                                 QStringLiteral("DESCRIPCION"), QStringLiteral("IdTipo"), 8,
                                 QString(), true, false);
}

void CargadorNovedades::LeeArticulo(const QString& idArticulo, ValoresFila& v, bool manual) {
    const auto toma = [&](const QString& tasa, const QString& barra, const QString& pesable,
                          const QString& abreviada, const QString& larga) {
        v.tasaIva = tasa;
        v.codBarra = barra.trimmed();
        v.pesable = pesable.trimmed();
        if (!manual) {
            v.descripcion = abreviada.trimmed().isEmpty() ? larga : abreviada;
        }
    };
    if (articulo_) {
        articulo_->bindValue(0, idArticulo);
        if (!articulo_->exec()) {
            throw FalloKX(3704, articulo_->lastError().text());
        }
        if (articulo_->next()) {
            const auto c = [&](int i) { return QlUtil::NoNulo(articulo_->value(i)); };
            toma(c(0), c(1), c(2), c(3), c(4));
        }
        articulo_->finish();
        return;
    }
    Recordset art;
    QString sql = QStringLiteral("SELECT * FROM V_MA_ARTICULOS WHERE IDARTICULO = ") +
                  TextoSql::Literal(idArticulo);
    lote_.db().AbrirRecordset(sql, art);
    if (!art.abierto()) {
        throw FalloKX(3704, QStringLiteral("No se pudo leer el artículo %1").arg(idArticulo));
    }
    if (!art.Eof()) {
        toma(texto(art, "TASAIVA"), texto(art, "CodigoBarra"), texto(art, "Pesable"),
             texto(art, "DescripAbrev"), texto(art, "Descripcion"));
    }
    lote_.db().CierraRecordset(art);
}

bool CargadorNovedades::YaTransmitido(const QString& codInterno, const QString& precioVenta) {
    const QString condicion = QStringLiteral(" IDLISTA = ") + TextoSql::Literal(lista_) +
                              QStringLiteral(" AND CodInterno = ") + TextoSql::Literal(codInterno);
    Recordset rs;
    QString sql = QStringLiteral("SELECT max(fecha) as FhTrans FROM MV_TARVELO WHERE ") + condicion;
    lote_.db().AbrirRecordset(sql, rs);
    if (!rs.abierto()) {
        throw FalloKX(3704, QStringLiteral("No se pudo leer la última transmisión."));
    }
    const QString fhTrans =
        rs.Eof() ? QString() : QlUtil::NoNulo(rs.Campo(QStringLiteral("Fhtrans")));
    lote_.db().CierraRecordset(rs);
    if (fhTrans.isEmpty()) {
        return false;
    }
    sql = QStringLiteral("SELECT * FROM MV_TARVELO WHERE ") + condicion +
          QStringLiteral(" and Fecha = ") + TextoSql::Literal(fhTrans) +
          QStringLiteral(" ORDER BY ID DESC");
    lote_.db().AbrirRecordset(sql, rs);
    if (!rs.abierto()) {
        throw FalloKX(3704, QStringLiteral("No se pudo leer la última transmisión."));
    }
    const bool mismo = !rs.Eof() && QlUtil::NoNulo(rs.Campo(QStringLiteral("Precio")))
                                            .compare(precioVenta, Qt::CaseInsensitive) == 0;
    lote_.db().CierraRecordset(rs);
    return mismo;
}

bool CargadorNovedades::DecisionOferta(const FilaOrigen& rs, ValoresFila& v) {
    const QDate desde = fechaDe(rs.Campo(QStringLiteral("FHOFERTADESDE")), "FHOFERTADESDE");
    if (desde.isNull()) {
        v.noMarcar = false;
        return true;
    }
    if (desde > manana_) {
        return false; // not due yet: it comes back on a later day
    }
    v.noMarcar = true;
    const QDate hasta = fechaDe(rs.Campo(QStringLiteral("FHOFERTAHASTA")), "FHOFERTAHASTA");
    if (!hasta.isNull() && hasta <= hoy_) {
        v.noMarcar = false; // the offer has ended: this is its last change
    }
    if (v.noMarcar && YaTransmitido(v.codigo, v.precio)) {
        return false;
    }
    return true;
}

void CargadorNovedades::AgregaFila(ValoresFila& v) {
    GrillaLote& g = lote_.ventana().MSFlexGrid1;
    for (;;) {
        if (filas_ >= 1) {
            g.AgregaFila();
        }
        ++filas_;
        v.Fila().EnGrilla(g, filas_);
        if (!v.cambioCodBarra) {
            break;
        }
        // A changed bar code is sent twice: "C" first, then "M".
        v.cambioCodBarra = false;
        v.tipoMov = QStringLiteral("M");
    }
}

int CargadorNovedades::AgregaFilaManual(ValoresFila& v) {
    GrillaLote& g = lote_.ventana().MSFlexGrid1;
    for (;;) {
        if (!g.Celda(g.Rows() - 1, FilaNovedad::CodInterno).trimmed().isEmpty()) {
            g.AgregaFila();
        }
        v.Fila().EnGrilla(g, g.Rows() - 1);
        ++filas_;
        if (!v.cambioCodBarra) {
            break;
        }
        v.cambioCodBarra = false;
        v.tipoMov = QStringLiteral("M");
    }
    return g.Rows() - 1;
}

void CargadorNovedades::IniciaCarga() {
    clases_ = LeeClases();
    lista_ = CodigoLista();
    PreparaConsultas();
    hoy_ = Reloj::hoy();
    manana_ = hoy_.addDays(1);
}

ResultadoCarga CargadorNovedades::TerminaCarga(Cursor& c, bool cartelAbierto,
                                               ResultadoCarga::Estado estado) {
    if (cartelAbierto) {
        lote_.cartel().CartelCerrar();
    }
    c.q.reset();
    lote_.db().CierraRecordset(c.rs);
    lote_.ventana().avisa();
    ResultadoCarga r;
    r.estado = estado;
    r.filas = filas_;
    return r;
}

ResultadoCarga CargadorNovedades::CargaNovedades() {
    Pasos pasos = pasosDe(kRutinaNovedades);
    Cursor c;
    bool cartelAbierto = false;
    const auto termina = [&](ResultadoCarga::Estado estado) {
        return TerminaCarga(c, cartelAbierto, estado);
    };
    bool abierto = false;
    if (!pasos.pasos({[&] { IniciaCarga(); }, [&] { lote_.ArmaGrilla(); },
                      [&] {
                          AbreCursor(c,
                                     QStringLiteral(" FROM VT_MA_PRECIOS_ARTICULOS WHERE TIPOLISTA "
                                                    "= 'V' AND IDLISTA = ") +
                                         TextoSql::Literal(lista_) +
                                         QStringLiteral("  AND ( ESTADO = '0-C' OR ESTADO = '0-M' "
                                                        "OR FHOFERTADESDE='") +
                                         Regional::fechaCorta(manana_) +
                                         QStringLiteral("' OR FHOFERTAHASTA='") +
                                         Regional::fechaCorta(hoy_) +
                                         QStringLiteral("') AND SUSPENDIDO = 0"),
                                     QStringLiteral(" ORDER BY IDARTICULO"));
                          abierto = true;
                      }})) {
        return termina(ResultadoCarga::Estado::Abandonado);
    }
    if (!abierto) {
        return termina(ResultadoCarga::Estado::Cargado);
    }
    if (!c.hay) {
        operador().MsgBox(LoteNovedades::kSinNovedades,
                          Operador::SoloAceptar | Operador::IconoInformacion,
                          QStringLiteral("Aviso al Usuario"));
        return termina(ResultadoCarga::Estado::SinNovedades);
    }
    lote_.cartel().CartelInicio(QStringLiteral("Cargando Datos"), false);
    cartelAbierto = true;
    lote_.IniciaAvance();
    while (c.hay) {
        Programa::permiteEventos();
        const bool sigue = pasos.paso([&] {
            ValoresFila v;
            LeeFila(*c.fila, v, false);
            v.FormateaFila(clases_.iva, false);
            if (!DecisionOferta(*c.fila, v)) {
                return;
            }
            if (v.cambioCodBarra) {
                v.tipoMov = QStringLiteral("C");
            }
            if (QlUtil::TextoAMoneda(v.precio) > 0) {
                AgregaFila(v);
                lote_.MuestraAvance(filas_, c.total);
            }
        });
        if (!sigue) {
            return termina(ResultadoCarga::Estado::Abandonado);
        }
        c.siguiente();
    }
    return termina(ResultadoCarga::Estado::Cargado);
}

QString CargadorNovedades::ConsultaManual() const {
    const EstadoVentana& v = lote_.ventana();
    QString condicion;
    const QString desde = v.campo(QStringLiteral("ArtDesde"));
    const QString hasta = v.campo(QStringLiteral("ArtHasta"));
    if (v.CmbTipo.compare(QLatin1String("Articulo"), Qt::CaseInsensitive) == 0) {
        if (!desde.trimmed().isEmpty()) {
            condicion = QStringLiteral(" AND IDARTICULO>=") +
                        TextoSql::Literal(QlUtil::FormateaCodigo(desde, 25)) + QStringLiteral(" ");
        }
        if (!hasta.trimmed().isEmpty()) {
            condicion += QStringLiteral(" AND IDARTICULO<=") +
                         TextoSql::Literal(QlUtil::FormateaCodigo(hasta, 25)) + QStringLiteral(" ");
        }
    } else {
        if (!desde.trimmed().isEmpty()) {
            condicion = QStringLiteral(" AND IDFAMILIA>=") + TextoSql::Literal(desde.trimmed()) +
                        QStringLiteral(" ");
        }
        if (!hasta.trimmed().isEmpty()) {
            condicion += QStringLiteral(" AND IDFAMILIA<=") + TextoSql::Literal(hasta.trimmed()) +
                         QStringLiteral(" ");
        }
    }
    return QStringLiteral(" FROM VT_MA_PRECIOS_ARTICULOS WHERE IDLISTA = ") +
           TextoSql::Literal(lista_) + QStringLiteral(" AND TIPOLISTA = 'V' ") + condicion;
}

ResultadoCarga CargadorNovedades::CargaManual() {
    Pasos pasos = pasosDe(kRutinaManual);
    Cursor c;
    bool cartelAbierto = false;
    const auto termina = [&](ResultadoCarga::Estado estado) {
        return TerminaCarga(c, cartelAbierto, estado);
    };
    bool abierto = false;
    if (!pasos.pasos({[&] { IniciaCarga(); },
                      [&] {
                          AbreCursor(c, ConsultaManual(), QStringLiteral(" order by idarticulo"));
                          abierto = true;
                      }})) {
        return termina(ResultadoCarga::Estado::Abandonado);
    }
    if (!abierto) {
        return termina(ResultadoCarga::Estado::Cargado);
    }
    if (!c.hay) {
        operador().MsgBox(LoteNovedades::kSinNovedades,
                          Operador::SoloAceptar | Operador::IconoInformacion,
                          QStringLiteral("Aviso al Usuario"));
        return termina(ResultadoCarga::Estado::SinNovedades);
    }
    lote_.cartel().CartelInicio(QStringLiteral("Cargando Datos"), true);
    cartelAbierto = true;
    lote_.IniciaAvance();
    const bool marcar = lote_.ventana().chkNoMarcar;
    while (c.hay) {
        Programa::permiteEventos();
        bool cancelado = false;
        const bool sigue = pasos.paso([&] {
            ValoresFila v;
            LeeFila(*c.fila, v, true);
            v.FormateaFila(clases_.iva, true);
            if (v.cambioCodBarra) {
                v.tipoMov = QStringLiteral("C");
            }
            v.noMarcar = !marcar;
            const int fila = AgregaFilaManual(v);
            cancelado = lote_.MuestraAvance(fila, c.total);
        });
        if (!sigue) {
            return termina(ResultadoCarga::Estado::Abandonado);
        }
        if (cancelado) {
            return termina(ResultadoCarga::Estado::Cancelado);
        }
        c.siguiente();
    }
    return termina(ResultadoCarga::Estado::Cargado);
}
