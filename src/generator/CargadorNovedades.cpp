#include "generator/CargadorNovedades.h"

#include "generator/AlertasPrecio.h"
#include "generator/EstadoVentana.h"
#include "generator/FilaNovedad.h"
#include "generator/FilaOrigen.h"
#include "generator/FormatoNovedad.h"
#include "generator/GeneradorLote.h"
#include "generator/ReglasLote.h"
#include "generator/RepositorioLote.h"
#include "generator/ValoresFila.h"
#include "progress/Dll_Display.h"
#include "utility_library/Booleano.h"
#include "utility_library/DiasSinNovedad.h"
#include "utility_library/ErrorKX.h"
#include "utility_library/Operador.h"
#include "utility_library/Pasos.h"
#include "utility_library/Plural.h"
#include "utility_library/Programa.h"
#include "utility_library/QlUtil.h"
#include "utility_library/Regional.h"
#include "utility_library/Reloj.h"

#include <QElapsedTimer>
#include <algorithm>
#include <functional>
#include <memory>

namespace {
const QString kRutinaNovedades = QStringLiteral("CargaNovedades");
const QString kRutinaManual = QStringLiteral("CargaManual");
constexpr qint64 kIntervaloEventosMs = 40;

QString texto(const FilaOrigen& rs, const QString& campo) {
    return QlUtil::NoNulo(rs.Campo(campo));
}

// A date column read as a day: null stays null; a date with a time part is
// its day; a text must be a date (ISO, with or without a time, or the short
// date form).
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
    QDate d = Regional::leeFecha(t);
    if (!d.isValid()) {
        // Stored with a time part ("2026-12-11 00:00:00", "2026-12-11T00:00:00").
        d = QDate::fromString(t.left(10), Qt::ISODate);
    }
    if (!d.isValid()) {
        throw FalloKX(13,
                      QStringLiteral("Tipo no válido: %1 = '%2' no es una fecha").arg(campo, t));
    }
    return d;
}
} // namespace

const QString CargadorNovedades::kFilasNoCargadas =
    QStringLiteral("Estas filas no se cargaron y siguen pendientes:");
const QString CargadorNovedades::kNadaPendiente =
    QStringLiteral("No hay precios para enviar en la lista %1:");

const QString CargadorNovedades::kFueraDeLimite =
    QStringLiteral("La lista %1 no tiene lotes de novedades desde el %2: se incluyen sólo las "
                   "ofertas de los últimos %3 días (TARVELO_DIAS_RECUPERACION); las de los %4 "
                   "días anteriores no se recuperan.");

CargadorNovedades::CargadorNovedades(LoteNovedades& lote)
    : lote_(lote), parametros_(lote.parametros()) {}

RangoManual CargadorNovedades::Rango() const {
    const EstadoVentana& v = lote_.ventana();
    RangoManual r;
    const QString desde = v.campo(QStringLiteral("ArtDesde"));
    const QString hasta = v.campo(QStringLiteral("ArtHasta"));
    r.porFamilia = v.tipoRango.compare(QLatin1String("Articulo"), Qt::CaseInsensitive) != 0;
    const auto bound = [&](const QString& t) {
        if (t.trimmed().isEmpty()) {
            return QString();
        }
        return r.porFamilia ? t.trimmed() : QlUtil::FormateaCodigo(t, 25);
    };
    r.desde = bound(desde);
    r.hasta = bound(hasta);
    return r;
}

QString CargadorNovedades::FilaNoCargada(const ValoresFila& v, const QString& motivo) {
    return QStringLiteral("Id %1, artículo %2: %3").arg(v.id.trimmed(), v.codigo, motivo);
}

QString CargadorNovedades::LeeFila(const FilaOrigen& rs, ValoresFila& v, bool manual) {
    v = ValoresFila{};
    if (manual) {
        const QString letra = lote_.ventana().campo(QStringLiteral("letra")).trimmed().toUpper();
        v.tipoMov = letra.isEmpty() ? QStringLiteral("M") : letra;
    } else {
        v.tipoMov = texto(rs, QStringLiteral("Estado"));
    }
    const QString idArticulo = texto(rs, QStringLiteral("IdArticulo"));
    v.codigo = idArticulo.trimmed();
    v.descripcion = texto(rs, QStringLiteral("Descripcionarticulo"));
    v.marca = lote_.repositorio().DescripcionTipo(texto(rs, QStringLiteral("Tipo")));

    const QString sugerido =
        QlUtil::NoNulo(rs.Campo(QStringLiteral("precio") + parametros_.claseSugeridaEfectiva()));
    v.id = texto(rs, QStringLiteral("ID"));
    // A suggested price that is no number would decide the price by a guess.
    if (!FormatoNovedad::LeeImporte(sugerido)) {
        return sugerido;
    }
    const bool hayFechas = !texto(rs, QStringLiteral("FHOFERTADESDE")).isEmpty() &&
                           !texto(rs, QStringLiteral("FHOFERTAHASTA")).isEmpty();
    QDate desde, hasta;
    if (hayFechas && QlUtil::TextoAMoneda(sugerido) <= 0) {
        desde = fechaDe(rs.Campo(QStringLiteral("FHOFERTADESDE")), "FHOFERTADESDE");
        hasta = fechaDe(rs.Campo(QStringLiteral("FHOFERTAHASTA")), "FHOFERTAHASTA");
    }
    switch (ReglasLote::PrecioAplicable(QlUtil::TextoAMoneda(sugerido), hayFechas, desde, hasta,
                                        hoy_, manual)) {
    case ReglasLote::Precio::Sugerido:
        v.precio = sugerido;
        break;
    case ReglasLote::Precio::Oferta:
        v.precio =
            QlUtil::NoNulo(rs.Campo(QStringLiteral("precio") + parametros_.claseOferta.trimmed()));
        v.precioRegular =
            QlUtil::NoNulo(rs.Campo(QStringLiteral("precio") + parametros_.claseVenta.trimmed()));
        break;
    case ReglasLote::Precio::Venta:
        v.precio =
            QlUtil::NoNulo(rs.Campo(QStringLiteral("precio") + parametros_.claseVenta.trimmed()));
        break;
    }
    v.precio2 = v.precio;
    v.costo = texto(rs, QStringLiteral("COSTO"));
    v.rubro = texto(rs, QStringLiteral("Rubro")).trimmed();
    for (const QString* importe : {&v.precio, &v.costo}) {
        if (!FormatoNovedad::LeeImporte(*importe)) {
            return *importe;
        }
    }
    const QString cambio = texto(rs, QStringLiteral("CambioCodBarra"));
    v.cambioCodBarra = !cambio.isEmpty() && TextoABooleano(cambio.trimmed(), true);

    LeeArticulo(idArticulo, v, manual);
    return QString();
}

void CargadorNovedades::LeeArticulo(const QString& idArticulo, ValoresFila& v, bool manual) {
    const std::optional<ArticuloLote> a = lote_.repositorio().DatosArticulo(idArticulo);
    if (!a) {
        return;
    }
    v.tasaIva = a->tasaIva;
    v.codBarra = a->codigoBarra.trimmed();
    v.pesable = a->pesable.trimmed();
    if (!manual) {
        v.descripcion = a->descripAbrev.trimmed().isEmpty() ? a->descripcion : a->descripAbrev;
    }
}

bool CargadorNovedades::YaTransmitido(const QString& codInterno, const QString& precioVenta) {
    const std::optional<QString> ultimo =
        lote_.repositorio().UltimoPrecioTransmitido(lista_, codInterno);
    return ultimo && ultimo->compare(precioVenta, Qt::CaseInsensitive) == 0;
}

bool CargadorNovedades::DecisionOferta(const FilaOrigen& rs, ValoresFila& v) {
    const QDate desde = fechaDe(rs.Campo(QStringLiteral("FHOFERTADESDE")), "FHOFERTADESDE");
    const QDate hasta = desde.isNull()
                            ? QDate()
                            : fechaDe(rs.Campo(QStringLiteral("FHOFERTAHASTA")), "FHOFERTAHASTA");
    switch (ReglasLote::DecideOferta(desde, hasta, hoy_, manana_)) {
    case ReglasLote::Oferta::SinOferta:
    case ReglasLote::Oferta::Termina:
        v.noMarcar = false;
        return true;
    case ReglasLote::Oferta::NoVence:
        ++noEmpiezan_;
        return false; // not due yet: it comes back on a later day
    case ReglasLote::Oferta::Vigente:
        v.noMarcar = true;
        if (YaTransmitido(v.codigo, v.precio)) {
            ++yaEnviadas_;
            return false;
        }
        return true;
    }
    return true;
}

bool CargadorNovedades::YaLeida(const QString& id) {
    bool ok = false;
    const qint64 n = id.toLongLong(&ok);
    // "7" and "07" are two texts: only the number's own text stands for it.
    if (ok && id.size() <= 20 && id == QString::number(n)) {
        if (n >= 0 && n < EstadosAlCargar::kLimiteTabla) {
            const size_t palabra = size_t(n) / 64;
            const quint64 bit = quint64(1) << (n % 64);
            if (palabra >= leidasBits_.size()) {
                leidasBits_.resize(std::max(palabra + 1, leidasBits_.size() * 3 / 2), 0);
            }
            const bool vista = (leidasBits_[palabra] & bit) != 0;
            leidasBits_[palabra] |= bit;
            return vista;
        }
        if (leidasNumero_.contains(n)) {
            return true;
        }
        leidasNumero_.insert(n);
        return false;
    }
    if (!id.isEmpty() && leidas_.contains(id)) {
        return true;
    }
    leidas_.insert(id);
    return false;
}

void CargadorNovedades::RecuerdaEstado(const FilaOrigen& rs, const ValoresFila& v) {
    bool ok = false;
    const qint64 id = v.id.trimmed().toLongLong(&ok);
    if (!ok) {
        return;
    }
    lote_.ventana().estadosAlCargar.insert(id, texto(rs, QStringLiteral("Estado")));
    if (!v.precioRegular.isNull()) {
        // Kept as the price cell is: rounded to thousandths.
        if (const auto regular =
                AlertasPrecio::Milesimas(FormatoNovedad::ImporteTexto(v.precioRegular))) {
            lote_.ventana().regularesDeOferta.insert(id, *regular);
        }
    }
}

void CargadorNovedades::AgregaFila(ValoresFila& v) {
    GrillaLote& g = lote_.ventana().grilla;
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
    GrillaLote& g = lote_.ventana().grilla;
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
    return Corre(Modo::Pendientes);
}

ResultadoCarga CargadorNovedades::CargaManual() {
    return Corre(Modo::Manual);
}

ResultadoCarga CargadorNovedades::Corre(Modo modo) {
    for (;;) {
        bool recarga = false;
        ResultadoCarga r = Carga(modo, recarga);
        if (!recarga) {
            return r;
        }
        // The link came back: the load starts again from its first row.
        filas_ = 0;
        leidasBits_.clear();
        leidasNumero_.clear();
        leidas_.clear();
        noCargadas_.clear();
        yaEnviadas_ = 0;
        noEmpiezan_ = 0;
    }
}

ResultadoCarga CargadorNovedades::Carga(Modo modo, bool& recarga) {
    const bool manual = modo == Modo::Manual;
    const QString rutina = manual ? kRutinaManual : kRutinaNovedades;
    std::unique_ptr<CursorOrigen> c;
    bool cartelAbierto = false;
    // A question is never asked under the banner, which would hide it.
    const auto cierraCartel = [&] {
        if (cartelAbierto) {
            lote_.cartel().CartelCerrar();
            cartelAbierto = false;
        }
    };
    const Pasos pasos([&](const ErrorKX& e) {
        cierraCartel();
        return LoteNovedades::ReportaError(e, rutina);
    });
    int leidas = 0;
    int total = 0;
    bool incompleta = false;
    const auto termina = [&](ResultadoCarga::Estado estado) {
        // A pending load that went through is what a batch of its rows
        // records: its day is then covered for the next load.
        if (!manual && (estado == ResultadoCarga::Estado::Cargado ||
                        estado == ResultadoCarga::Estado::SinNovedades)) {
            lote_.ventana().cargaPendiente = ventanaCarga_;
        }
        cierraCartel();
        c.reset();
        if (estado != ResultadoCarga::Estado::Rechazado && filas_ > 0) {
            lote_.MarcaAlertasDeCarga();
        }
        if (!noCargadas_.isEmpty()) {
            operador().MsgBox(kFilasNoCargadas + QStringLiteral("\r\n") +
                                  noCargadas_.join(QStringLiteral("\r\n")),
                              Operador::SoloAceptar | Operador::IconoExclamacion,
                              QStringLiteral("Aviso al Usuario"));
        }
        // A pending load that found candidates and kept none says why.
        if (!manual && estado == ResultadoCarga::Estado::Cargado && filas_ == 0 &&
            yaEnviadas_ + noEmpiezan_ > 0) {
            QStringList motivos;
            if (yaEnviadas_ > 0) {
                motivos << Plural(
                    yaEnviadas_, QStringLiteral("1 oferta vigente ya se envió con ese precio."),
                    QStringLiteral("%1 ofertas vigentes ya se enviaron con ese precio."));
            }
            if (noEmpiezan_ > 0) {
                motivos << Plural(noEmpiezan_, QStringLiteral("1 oferta todavía no empieza."),
                                  QStringLiteral("%1 ofertas todavía no empiezan."));
            }
            operador().MsgBox(kNadaPendiente.arg(lista_.trimmed()) + QStringLiteral("\r\n") +
                                  motivos.join(QStringLiteral("\r\n")),
                              Operador::SoloAceptar | Operador::IconoInformacion,
                              QStringLiteral("Aviso al Usuario"));
        }
        ResultadoCarga r;
        r.estado = estado;
        r.filas = filas_;
        r.incompleta = incompleta;
        r.leidas = leidas;
        r.total = total;
        if (incompleta) {
            lote_.ventana().cargaIncompleta =
                QStringLiteral("Carga incompleta: %1 de %2 filas").arg(leidas).arg(total);
        }
        lote_.ventana().avisa();
        return r;
    };
    EstadoVentana& ventana = lote_.ventana();
    // A range adds to the rows already loaded under their header; any other
    // load starts a batch with the header the fields hold now.
    const bool agrega = manual && ventana.cabecera && ventana.FilasCargadas() > 0;
    if (agrega) {
        // The fields show the header the range goes under.
        lote_.MuestraCabecera(*ventana.cabecera);
    } else {
        std::optional<LoteNovedades::Rechazo> rechazo;
        if (!pasos.paso([&] { rechazo = lote_.ConfirmaCabecera(); })) {
            return termina(ResultadoCarga::Estado::Abandonado);
        }
        if (rechazo) {
            operador().MsgBox(rechazo->mensaje, Operador::SoloAceptar | Operador::IconoInformacion,
                              QStringLiteral("Aviso al operador..."));
            ResultadoCarga r = termina(ResultadoCarga::Estado::Rechazado);
            r.campo = rechazo->campo;
            return r;
        }
    }
    const CabeceraLote cabecera = agrega ? *ventana.cabecera : CabeceraLote::DeVentana(ventana);
    if (cabecera.lista.size() > ReglasLote::kLargoLista) {
        operador().MsgBox(GeneradorLote::kListaLarga,
                          Operador::SoloAceptar | Operador::IconoInformacion,
                          QStringLiteral("Aviso al Usuario"));
        return termina(ResultadoCarga::Estado::Rechazado);
    }
    // A range read again after a lost link replaces the rows it had added.
    const int filasAntes = ventana.grilla.Rows();
    const auto inicia = [&] {
        lote_.RefrescaParametros();
        lista_ = QlUtil::FormateaCodigo(cabecera.lista, ReglasLote::kLargoLista);
        hoy_ = Reloj::hoy();
        manana_ = hoy_.addDays(1);
        // Today's load, should the list's last day not be read.
        ventanaCarga_ = ReglasLote::VentanaDeCarga(hoy_, std::nullopt, 0, false);
    };
    // The days the pending load takes offers for: today's, and the days
    // since the list's last batch of a pending load when that is older
    // than yesterday.
    const auto ventanaDeCarga = [&] {
        const std::optional<QDate> ultimo = lote_.recupera()
                                                ? lote_.repositorio().UltimaCargaPendiente(lista_)
                                                : std::optional<QDate>();
        ventanaCarga_ = ReglasLote::VentanaDeCarga(hoy_, ultimo, parametros_.diasRecuperacion,
                                                   lote_.recupera());
    };
    const auto abre = [&] {
        if (manual) {
            c = lote_.repositorio().Manual(lista_, Rango());
        } else if (ventanaCarga_.recupera()) {
            c = lote_.repositorio().PendientesRecuperando(lista_, ventanaCarga_);
        } else {
            c = lote_.repositorio().Pendientes(lista_, hoy_, manana_);
        }
    };
    const auto fijaCabecera = [&] {
        ventana.cabecera = cabecera;
        if (manual && !agrega) {
            // A range on its own is no pending load.
            ventana.cargaPendiente.reset();
            ventana.textoRecuperacion.clear();
        }
    };
    const bool iniciado = manual ? pasos.pasos({inicia, fijaCabecera, abre})
                                 : pasos.pasos({inicia, ventanaDeCarga, [&] { lote_.ArmaGrilla(); },
                                                fijaCabecera, abre});
    if (!iniciado) {
        return termina(ResultadoCarga::Estado::Abandonado);
    }
    if (!manual && ventanaCarga_.recupera()) {
        ventana.textoRecuperacion =
            DiasSinNovedad::aviso(ventanaCarga_.recuperaDesde, ventanaCarga_.recuperaHasta);
        ventana.avisa();
        if (ventanaCarga_.diasFueraDeLimite > 0) {
            operador().MsgBox(kFueraDeLimite.arg(lista_.trimmed())
                                  .arg(Regional::fechaCorta(ventanaCarga_.ultimoDia))
                                  .arg(ventanaCarga_.limiteDias)
                                  .arg(ventanaCarga_.diasFueraDeLimite),
                              Operador::SoloAceptar | Operador::IconoExclamacion,
                              QStringLiteral("Aviso al Usuario"));
        }
    }
    if (!c) {
        return termina(ResultadoCarga::Estado::Cargado);
    }
    if (!c->hay()) {
        operador().MsgBox(LoteNovedades::kSinNovedades,
                          Operador::SoloAceptar | Operador::IconoInformacion,
                          QStringLiteral("Aviso al Usuario"));
        return termina(ResultadoCarga::Estado::SinNovedades);
    }
    total = c->total();
    const auto abreCartel = [&] {
        if (!cartelAbierto) {
            lote_.cartel().CartelInicio(QStringLiteral("Cargando Datos"), manual);
            cartelAbierto = true;
        }
    };
    abreCartel();
    // The pending load knows its size: room for its rows and a few doubles.
    if (!manual) {
        lote_.ventana().grilla.Reserva(total + total / 16 + 2);
    }
    lote_.IniciaAvance();
    const bool marcar = lote_.ventana().rangoSinMarcar;
    // One question per failure. A failure that lost the link cannot go on
    // reading: Retry connects again and loads from the start, any other
    // answer ends the load with what was read, marked incomplete.
    enum class Tras { Sigue, Deja, Recarga };
    const auto corre = [&](const std::function<void()>& f) {
        for (;;) {
            ErrorKX error;
            try {
                f();
                return Tras::Sigue;
            } catch (const FalloKX& e) {
                error = e.error();
            } catch (const std::exception& e) {
                error = ErrorKX{5, QString::fromLocal8Bit(e.what()), QString()};
            }
            const bool perdido = lote_.repositorio().EnlacePerdido();
            cierraCartel();
            const int respuesta = LoteNovedades::ReportaError(error, rutina);
            if (perdido) {
                return respuesta == Operador::Reintentar ? Tras::Recarga : Tras::Deja;
            }
            if (respuesta == Operador::Reintentar) {
                abreCartel();
                continue;
            }
            if (respuesta == Operador::Ignorar) {
                abreCartel();
                return Tras::Sigue;
            }
            return Tras::Deja;
        }
    };
    const auto falla = [&](Tras t) {
        incompleta = true;
        if (t == Tras::Recarga) {
            c.reset();
            if (lote_.repositorio().Reconecta()) {
                if (manual) {
                    ventana.grilla.FijaRows(std::max(filasAntes, 2));
                }
                cierraCartel();
                recarga = true;
                return ResultadoCarga{};
            }
        }
        return termina(ResultadoCarga::Estado::Abandonado);
    };
    // The banner's counter and its cancel button stay live with the window's
    // events run a few times a second; running them at every row cost the
    // load a good part of its time.
    QElapsedTimer eventos;
    eventos.start();
    Programa::permiteEventos();
    while (c->hay()) {
        if (eventos.elapsed() >= kIntervaloEventosMs) {
            eventos.restart();
            Programa::permiteEventos();
        }
        bool cancelado = false;
        const Tras fila = corre([&] {
            const FilaOrigen& fila = c->fila();
            ValoresFila v;
            const QString ilegible = LeeFila(fila, v, manual);
            const QString id = v.id.trimmed();
            if (YaLeida(id)) {
                noCargadas_ << FilaNoCargada(v, QStringLiteral("repetida en el origen"));
                return;
            }
            if (!ilegible.isNull()) {
                noCargadas_ << FilaNoCargada(
                    v, QStringLiteral("el importe \"%1\" no es un número").arg(ilegible));
                return;
            }
            v.FormateaFila(parametros_.ivaPorDefecto, manual);
            if (!manual && !DecisionOferta(fila, v)) {
                return;
            }
            if (v.cambioCodBarra) {
                v.tipoMov = QStringLiteral("C");
            }
            if (manual) {
                v.noMarcar = !marcar;
                RecuerdaEstado(fila, v);
                const int f = AgregaFilaManual(v);
                cancelado = lote_.MuestraAvance(f, total);
            } else if (QlUtil::TextoAMoneda(v.precio) > 0) {
                RecuerdaEstado(fila, v);
                AgregaFila(v);
                lote_.MuestraAvance(filas_, total);
            } else {
                // A price of nothing is never sent; the row stays pending
                // until its price is set, and the operator is told so.
                noCargadas_ << FilaNoCargada(v, QStringLiteral("el precio es 0"));
            }
        });
        if (fila != Tras::Sigue) {
            return falla(fila);
        }
        ++leidas;
        if (cancelado) {
            return termina(ResultadoCarga::Estado::Cancelado);
        }
        // The next row may come from the server (a cursor's next block): a
        // lost link there is a failure like any other, with its question.
        if (const Tras t = corre([&] { c->siguiente(); }); t != Tras::Sigue) {
            return falla(t);
        }
    }
    return termina(ResultadoCarga::Estado::Cargado);
}
