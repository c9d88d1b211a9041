#include "CargadorNovedades.h"

#include "DB_Dll.h"
#include "Dll_Display.h"
#include "ErrorKX.h"
#include "EstadoVentana.h"
#include "FilaNovedad.h"
#include "ModGlobal.h"
#include "Operador.h"
#include "Pasos.h"
#include "Programa.h"
#include "QlUtil.h"
#include "Regional.h"
#include "Reloj.h"
#include "TextoSql.h"
#include "ValoresFila.h"

namespace {
const QString kRutinaNovedades = QStringLiteral("CargaNovedades");
const QString kRutinaManual = QStringLiteral("CargaManual");

QString texto(const Recordset& rs, const char* campo) {
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

CargadorNovedades::CargadorNovedades(LoteNovedades& lote) : lote_(lote) {}

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

void CargadorNovedades::LeeFila(const Recordset& rs, ValoresFila& v, bool manual) {
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
    v.marca = lote_.db().DatosTabla(QStringLiteral("V_TA_TIPOARTICULO"), texto(rs, "Tipo"),
                                    QStringLiteral("DESCRIPCION"), QStringLiteral("IdTipo"), 8,
                                    QString(), true, false);

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

    Recordset art;
    QString sql = QStringLiteral("SELECT * FROM V_MA_ARTICULOS WHERE IDARTICULO = ") +
                  TextoSql::Literal(idArticulo);
    lote_.db().AbrirRecordset(sql, art);
    if (!art.abierto()) {
        throw FalloKX(3704, QStringLiteral("No se pudo leer el artículo %1").arg(v.codigo));
    }
    if (!art.Eof()) {
        v.tasaIva = texto(art, "TASAIVA");
        v.codBarra = texto(art, "CodigoBarra").trimmed();
        v.pesable = texto(art, "Pesable").trimmed();
        if (!manual) {
            const QString abreviada = texto(art, "DescripAbrev");
            v.descripcion = abreviada.trimmed().isEmpty() ? texto(art, "Descripcion") : abreviada;
        }
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

bool CargadorNovedades::DecisionOferta(const Recordset& rs, ValoresFila& v) {
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
    MSFlexGrid& g = lote_.ventana().MSFlexGrid1;
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
    MSFlexGrid& g = lote_.ventana().MSFlexGrid1;
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

ResultadoCarga CargadorNovedades::CargaNovedades() {
    ResultadoCarga r;
    Pasos pasos = pasosDe(kRutinaNovedades);
    Recordset rs;
    bool cartelAbierto = false;
    const auto termina = [&](ResultadoCarga::Estado estado) {
        if (cartelAbierto) {
            lote_.cartel().CartelCerrar();
        }
        lote_.db().CierraRecordset(rs);
        r.estado = estado;
        r.filas = filas_;
        lote_.ventana().avisa();
        return r;
    };
    bool abierto = false;
    if (!pasos.pasos({[&] {
                          clases_ = LeeClases();
                          lista_ = CodigoLista();
                          hoy_ = Reloj::hoy();
                          manana_ = hoy_.addDays(1);
                      },
                      [&] { lote_.ArmaGrilla(); },
                      [&] {
                          rs.FijaCacheSize(50);
                          QString sql =
                              QStringLiteral("SELECT *") +
                              QStringLiteral(" FROM VT_MA_PRECIOS_ARTICULOS WHERE TIPOLISTA = 'V' "
                                             "AND IDLISTA = ") +
                              TextoSql::Literal(lista_) +
                              QStringLiteral("  AND ( ESTADO = '0-C' OR ESTADO = '0-M' OR "
                                             "FHOFERTADESDE='") +
                              Regional::fechaCorta(manana_) +
                              QStringLiteral("' OR FHOFERTAHASTA='") + Regional::fechaCorta(hoy_) +
                              QStringLiteral("') AND SUSPENDIDO = 0 ORDER BY IDARTICULO");
                          lote_.db().AbrirRecordset(sql, rs);
                          if (!rs.abierto()) {
                              throw FalloKX(3704, QStringLiteral("No se pudo leer las novedades."));
                          }
                          abierto = true;
                      }})) {
        return termina(ResultadoCarga::Estado::Abandonado);
    }
    if (!abierto) {
        return termina(ResultadoCarga::Estado::Cargado);
    }
    if (rs.Eof()) {
        operador().MsgBox(LoteNovedades::kSinNovedades,
                          Operador::SoloAceptar | Operador::IconoInformacion,
                          QStringLiteral("Aviso al Usuario"));
        return termina(ResultadoCarga::Estado::SinNovedades);
    }
    lote_.cartel().CartelInicio(QStringLiteral("Cargando Datos"), false);
    cartelAbierto = true;
    lote_.IniciaAvance();
    const int total = rs.RecordCount();
    rs.MoveFirst();
    while (!rs.Eof()) {
        Programa::permiteEventos();
        const bool sigue = pasos.paso([&] {
            ValoresFila v;
            LeeFila(rs, v, false);
            v.FormateaFila(clases_.iva, false);
            if (!DecisionOferta(rs, v)) {
                return;
            }
            if (v.cambioCodBarra) {
                v.tipoMov = QStringLiteral("C");
            }
            if (QlUtil::TextoAMoneda(v.precio) > 0) {
                AgregaFila(v);
                lote_.MuestraAvance(filas_, total);
            }
        });
        if (!sigue) {
            return termina(ResultadoCarga::Estado::Abandonado);
        }
        rs.MoveNext();
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
    return QStringLiteral("SELECT * FROM VT_MA_PRECIOS_ARTICULOS WHERE IDLISTA = ") +
           TextoSql::Literal(lista_) + QStringLiteral(" AND TIPOLISTA = 'V' ") + condicion +
           QStringLiteral(" order by idarticulo");
}

ResultadoCarga CargadorNovedades::CargaManual() {
    ResultadoCarga r;
    Pasos pasos = pasosDe(kRutinaManual);
    Recordset rs;
    bool cartelAbierto = false;
    const auto termina = [&](ResultadoCarga::Estado estado) {
        if (cartelAbierto) {
            lote_.cartel().CartelCerrar();
        }
        lote_.db().CierraRecordset(rs);
        r.estado = estado;
        r.filas = filas_;
        lote_.ventana().avisa();
        return r;
    };
    bool abierto = false;
    if (!pasos.pasos({[&] {
                          clases_ = LeeClases();
                          lista_ = CodigoLista();
                          hoy_ = Reloj::hoy();
                          manana_ = hoy_.addDays(1);
                      },
                      [&] {
                          rs.FijaCacheSize(50);
                          lote_.db().AbrirRecordset(ConsultaManual(), rs);
                          if (!rs.abierto()) {
                              throw FalloKX(3704, QStringLiteral("No se pudo leer el rango."));
                          }
                          abierto = true;
                      }})) {
        return termina(ResultadoCarga::Estado::Abandonado);
    }
    if (!abierto) {
        return termina(ResultadoCarga::Estado::Cargado);
    }
    if (rs.Eof()) {
        operador().MsgBox(LoteNovedades::kSinNovedades,
                          Operador::SoloAceptar | Operador::IconoInformacion,
                          QStringLiteral("Aviso al Usuario"));
        return termina(ResultadoCarga::Estado::SinNovedades);
    }
    lote_.cartel().CartelInicio(QStringLiteral("Cargando Datos"), true);
    cartelAbierto = true;
    lote_.IniciaAvance();
    const int total = rs.RecordCount();
    const bool marcar = lote_.ventana().chkNoMarcar;
    rs.MoveFirst();
    while (!rs.Eof()) {
        Programa::permiteEventos();
        bool cancelado = false;
        const bool sigue = pasos.paso([&] {
            ValoresFila v;
            LeeFila(rs, v, true);
            v.FormateaFila(clases_.iva, true);
            if (v.cambioCodBarra) {
                v.tipoMov = QStringLiteral("C");
            }
            v.noMarcar = !marcar;
            const int fila = AgregaFilaManual(v);
            cancelado = lote_.MuestraAvance(fila, total);
        });
        if (!sigue) {
            return termina(ResultadoCarga::Estado::Abandonado);
        }
        if (cancelado) {
            return termina(ResultadoCarga::Estado::Cancelado);
        }
        rs.MoveNext();
    }
    return termina(ResultadoCarga::Estado::Cargado);
}
