#include "generator/LoteNovedades.h"

#include "generator/AlertasPrecio.h"
#include "generator/ArchivosCambio.h"
#include "generator/CargadorLote.h"
#include "generator/CargadorNovedades.h"
#include "generator/EstadoVentana.h"
#include "generator/FilaNovedad.h"
#include "generator/GeneradorLote.h"
#include "generator/HistorialLote.h"
#include "generator/ImpresorTestigo.h"
#include "generator/ReglasLote.h"
#include "generator/RepositorioLote.h"
#include "progress/Dll_Display.h"
#include "utility_library/CarpetasPrograma.h"
#include "utility_library/ArchivoPublicado.h"
#include "utility_library/ErrorKX.h"
#include "utility_library/LogKX.h"
#include "utility_library/Operador.h"
#include "utility_library/Pasos.h"
#include "utility_library/Plural.h"
#include "utility_library/Programa.h"
#include "utility_library/QlUtil.h"
#include "utility_library/Regional.h"
#include "utility_library/Reloj.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

const QString LoteNovedades::kSinNovedades = QStringLiteral("No se encontraron novedades!!!");
const QString LoteNovedades::kFechaInvalida =
    QStringLiteral("Debe ingresar un formato de fecha válido.");
const QString LoteNovedades::kFaltaLista = QStringLiteral("Debe ingresar una Lista de Precios.");
const QString LoteNovedades::kListaInexistente =
    QStringLiteral("La lista de precios ingresada es inexistente.");
QString LoteNovedades::Descartar(int filas) {
    return Plural(filas, QStringLiteral("¿Descartar la fila cargada?"),
                  QStringLiteral("¿Descartar las %1 filas cargadas?"));
}

LoteNovedades::LoteNovedades(EstadoVentana& ventana, RepositorioLote& repositorio,
                             Dll_Display& cartel, FuenteParametros fuente)
    : ventana_(ventana), repositorio_(repositorio), cartel_(cartel), fuente_(std::move(fuente)) {}

LoteNovedades::LoteNovedades(EstadoVentana& ventana, RepositorioLote& repositorio,
                             Dll_Display& cartel, const ParametrosLote& parametros)
    : ventana_(ventana), repositorio_(repositorio), cartel_(cartel), parametros_(parametros) {}

void LoteNovedades::RefrescaParametros() {
    if (fuente_) {
        parametros_ = fuente_();
    }
}

LoteNovedades::~LoteNovedades() = default;

void LoteNovedades::fijaImpresor(ImpresorTestigo* impresor) {
    impresor_ = impresor;
}

void LoteNovedades::fijaArticulosBalanza(ArticulosBalanza* articulos) {
    articulos_ = articulos;
}

ArticulosBalanza& LoteNovedades::articulosBalanza() {
    return articulos_ ? *articulos_ : repositorio_;
}

int LoteNovedades::ReportaError(const ErrorKX& e, const QString& rutina) {
    ErrorKX conRutina = e;
    if (conRutina.fuente.trimmed().isEmpty()) {
        conRutina.fuente = rutina;
    }
    return QlUtil::ReportaError(conRutina);
}

void LoteNovedades::ArmaGrilla() {
    GrillaLote& g = ventana_.grilla;
    // Dropping every row clears every cell at once, however large the batch was.
    g.FijaRows(0);
    g.FijaCols(FilaNovedad::Columnas);
    g.FijaRows(2);
    const QStringList& encabezados = FilaNovedad::Encabezados();
    for (int c = 0; c < FilaNovedad::Columnas; ++c) {
        g.FijaTexto(0, c, encabezados[c]);
    }
    g.FijaColWidth(FilaNovedad::Id, 0);
    g.FijaColWidth(FilaNovedad::NoMarcar, 0);
    ventana_.estadosAlCargar.clear();
    ventana_.regularesDeOferta.clear();
    ventana_.cabecera.reset();
    ventana_.cargaPendiente.reset();
    ventana_.textoRecuperacion.clear();
    ventana_.cargaIncompleta.clear();
}

bool LoteNovedades::MuestraAvance(int fila, int total) {
    if (ciclo_ > 40) {
        ciclo_ = 0;
    }
    ++ciclo_;
    bool cancelado = false;
    cartel_.CartelMostrar(cancelado, QStringLiteral("Cargando Datos"),
                          QString::number(fila) + QStringLiteral(" de ") + QString::number(total),
                          QString(ciclo_, QLatin1Char('|')));
    return cancelado;
}

LoteNovedades::EleccionLista LoteNovedades::EligeLista(const QString& texto) {
    const QString t = texto.trimmed();
    if (t.isEmpty()) {
        // An empty field names no list: the label no longer shows one.
        ventana_.fijaLista(std::nullopt);
        ventana_.avisa();
        return EleccionLista::Vacia;
    }
    const std::optional<QString> nombre =
        repositorio_.ListaDeVenta(QlUtil::FormateaCodigo(t, ReglasLote::kLargoLista));
    if (!nombre) {
        ventana_.fijaLista(std::nullopt);
        ventana_.avisa();
        return EleccionLista::Inexistente;
    }
    ventana_.fijaLista(ListaPrecios{t, nombre->trimmed()});
    HabilitaEdicion(true);
    return EleccionLista::Elegida;
}

QString LoteNovedades::MotivoLista(EleccionLista eleccion) {
    switch (eleccion) {
    case EleccionLista::Vacia:
        return kFaltaLista;
    case EleccionLista::Inexistente:
        return kListaInexistente;
    case EleccionLista::Elegida:
        break;
    }
    return QString();
}

bool LoteNovedades::AceptaFecha() {
    QString& fecha = ventana_.campo(QStringLiteral("Fecha"));
    if (fecha.trimmed().isEmpty()) {
        fecha = Regional::fechaCorta(Reloj::hoy());
        ventana_.avisa();
        return true;
    }
    return Regional::leeFecha(fecha.trimmed()).isValid();
}

std::optional<LoteNovedades::Rechazo> LoteNovedades::ConfirmaCabecera() {
    if (!AceptaFecha()) {
        return Rechazo{QStringLiteral("Fecha"), kFechaInvalida};
    }
    const QString lista = ventana_.campo(QStringLiteral("IdLista"));
    const std::optional<ListaPrecios>& confirmada = ventana_.lista();
    if (confirmada && confirmada->codigo.compare(lista.trimmed(), Qt::CaseInsensitive) == 0) {
        return std::nullopt;
    }
    // Typed and left without Enter: looked up now, and its name shown.
    const EleccionLista eleccion = EligeLista(lista);
    if (eleccion != EleccionLista::Elegida) {
        return Rechazo{QStringLiteral("IdLista"), MotivoLista(eleccion)};
    }
    return std::nullopt;
}

void LoteNovedades::HabilitaEdicion(bool edicion) {
    EstadoVentana& v = ventana_;
    v.fijaModo(edicion ? ModoVentana::Edicion : ModoVentana::Inicial);
    v.rangoVisible = false;
    v.avisa();
}

QString LoteNovedades::ProximoCodigo() {
    return QString::number(repositorio_.ProximoCodigo());
}

qint64 LoteNovedades::MaximoCodigo() const {
    return repositorio_.MaximoCodigo();
}

std::optional<qint64> LoteNovedades::LeeCodigo(const QString& texto) const {
    const std::optional<qint64> c = ReglasLote::LeeCodigo(texto);
    if (!c || *c > repositorio_.MaximoCodigo()) {
        return std::nullopt;
    }
    return c;
}

LoteNovedades::CodigoRevisado LoteNovedades::RevisaCodigo(const QString& texto) const {
    CodigoRevisado r;
    const std::optional<qint64> c = LeeCodigo(texto);
    if (!c) {
        return r;
    }
    r.codigo = *c;
    r.estado = repositorio_.ExisteLote(*c) ? EstadoCodigo::Existente : EstadoCodigo::Nuevo;
    return r;
}

void LoteNovedades::InicializaFormulario() {
    EstadoVentana& v = ventana_;
    // Each step on its own: one that fails is passed over.
    const auto intenta = PasosSilenciosos();
    intenta.paso([&] {
        for (auto& t : v.campos) {
            t.clear();
        }
        v.loteRecargado = false;
    });
    intenta.paso([&] {
        v.fijaLista(std::nullopt);
        v.fijaRuta(EstadoVentana::kSinRuta);
        v.progresoValor = 0;
    });
    intenta.paso([&] { HabilitaEdicion(false); });
    intenta.paso([&] { v.campo(QStringLiteral("Codigo")) = ProximoCodigo(); });
    intenta.paso([&] { ArmaGrilla(); });
    intenta.paso([&] { v.campo(QStringLiteral("Fecha")) = Regional::fechaCorta(Reloj::hoy()); });
    intenta.paso([&] { v.rangoSinMarcar = false; });
    v.avisa();
}

int LoteNovedades::FilasSinGenerar() const {
    return ventana_.loteRecargado ? 0 : ventana_.FilasCargadas();
}

bool LoteNovedades::ConfirmaDescartar() {
    const int filas = FilasSinGenerar();
    if (filas == 0) {
        return true;
    }
    return operador().MsgBox(Descartar(filas),
                             Operador::SiNo | Operador::IconoPregunta | Operador::SegundoPorDefecto,
                             QStringLiteral("Aviso al operador...")) == Operador::Si;
}

void LoteNovedades::MuestraCabecera(const CabeceraLote& cabecera) {
    for (const char* nombre : {"Codigo", "Fecha", "IdLista"}) {
        const QString campo = QLatin1String(nombre);
        if (!cabecera.Coincide(campo, ventana_.campo(campo))) {
            ventana_.campo(campo) = cabecera.ValorDeCampo(campo);
        }
    }
    ventana_.avisa();
}

QString LoteNovedades::RutaDeCarpeta(const QString& carpeta) {
    const bool conBarra = carpeta.endsWith(QLatin1Char('/')) || carpeta.endsWith(QLatin1Char('\\'));
    return RutaExaminada(conBarra ? carpeta : carpeta + QLatin1Char('/'));
}

QString LoteNovedades::RutaExaminada(const QString& archivoElegido) {
    const qsizetype barra =
        std::max(archivoElegido.lastIndexOf(QLatin1Char('\\')), archivoElegido.lastIndexOf('/'));
    return archivoElegido.left(barra + 1) + QStringLiteral("CAMBIOS.TXT");
}

ResultadoCarga LoteNovedades::Carga() {
    const ResultadoCarga r = CargaNovedades();
    ventana_.avisa();
    return r;
}

ResultadoCarga LoteNovedades::CargaNovedades() {
    return CargadorNovedades(*this).CargaNovedades();
}

void LoteNovedades::AbreRangoManual() {
    EstadoVentana& v = ventana_;
    const auto intenta = PasosSilenciosos();
    intenta.paso([&] {
        v.campo(QStringLiteral("ArtDesde")).clear();
        v.campo(QStringLiteral("ArtHasta")).clear();
    });
    intenta.paso([&] { v.campo(QStringLiteral("LETRA")) = QStringLiteral("M"); });
    intenta.paso([&] { v.rangoSinMarcar = false; });
    intenta.paso([&] { v.rangoVisible = true; });
    v.avisa();
}

ResultadoCarga LoteNovedades::AceptaRangoManual() {
    ventana_.rangoVisible = false;
    ventana_.avisa();
    return CargaManual();
}

void LoteNovedades::CierraRangoManual() {
    ventana_.rangoVisible = false;
    ventana_.avisa();
}

ResultadoCarga LoteNovedades::CargaManual() {
    return CargadorNovedades(*this).CargaManual();
}

ResultadoCarga LoteNovedades::CargaLote() {
    return CargadorLote(*this).CargaLote();
}

QStringList LoteNovedades::PublicaPendientes() {
    QStringList avisos;
    const auto anota = [&](const QString& aviso) {
        avisos << aviso;
        LogKX::agrega(CarpetasPrograma::escritura() + QStringLiteral("KXERR.LOG"),
                      LogKX::linea(Reloj::ahora(),
                                   LogKX::textoRutina(QStringLiteral("cmdExportar")), aviso, 0));
    };
    std::vector<PublicacionPendiente> pendientes;
    try {
        pendientes = repositorio_.PublicacionesPendientes();
    } catch (const FalloKX& f) {
        anota(QStringLiteral("No se pudo consultar los lotes sin publicar: ") +
              f.error().descripcion);
        return avisos;
    }
    for (const PublicacionPendiente& p : pendientes) {
        // A generation still running on this machine is between its commit
        // and its renames: it publishes its own files.
        if (std::any_of(p.archivos.begin(), p.archivos.end(),
                        [](const PublicacionPendiente::Archivo& a) {
                            return ArchivoPublicado::deOtroProcesoVivo(a.temporal);
                        })) {
            continue;
        }
        // Its copies were to be kept before the renames: kept now, as any
        // publication keeps them, from the same whole temporary files, where
        // this publication's records put them (the latest record of each file).
        std::vector<ArchivoGrabado> grabados;
        try {
            grabados = repositorio_.ArchivosGrabados(p.codigo);
        } catch (const FalloKX& f) {
            anota(QStringLiteral("No se pudo guardar la copia del lote %1 en el historial: %2")
                      .arg(p.codigo)
                      .arg(f.error().descripcion));
        }
        for (const PublicacionPendiente::Archivo& x : p.archivos) {
            const QString nombre = QFileInfo(x.destino).fileName();
            const auto a =
                std::find_if(grabados.rbegin(), grabados.rend(), [&](const ArchivoGrabado& g) {
                    return g.archivo.compare(nombre, Qt::CaseInsensitive) == 0;
                });
            // Without its temporary file it was published already, copy first.
            if (a == grabados.rend() || a->copia.isEmpty() || !QFileInfo::exists(x.temporal)) {
                continue;
            }
            try {
                if (!HistorialLote::GuardaEn(ArchivosCambio::RutaLocal(a->copia), x.temporal)) {
                    anota(QStringLiteral("No se pudo guardar la copia del lote %1 en el "
                                         "historial: %2 no es una ruta del historial")
                              .arg(p.codigo)
                              .arg(QDir::toNativeSeparators(a->copia)));
                }
            } catch (const FalloKX& f) {
                anota(QStringLiteral("No se pudo guardar la copia del lote %1 en el historial: %2")
                          .arg(p.codigo)
                          .arg(f.error().descripcion));
            }
        }
        try {
            ArchivosCambio::PublicaPendiente(p);
            repositorio_.PublicacionHecha(p.codigo);
            anota(QStringLiteral("Se publicaron los archivos del lote %1, que una generación "
                                 "interrumpida dejó sin publicar: %2")
                      .arg(p.codigo)
                      .arg(QDir::toNativeSeparators(
                          p.archivos.empty() ? QString() : p.archivos.front().destino)));
        } catch (const FalloKX& f) {
            anota(QStringLiteral("No se pudo publicar el lote %1: %2")
                      .arg(p.codigo)
                      .arg(f.error().descripcion));
        }
    }
    return avisos;
}

QList<AlertaFila> LoteNovedades::AlertasDesde(const QString& lista, int desde, int& hasta) {
    const EstadoVentana& v = ventana_;
    // A block of articles at a time: their last prices in one question, then
    // their rows, so that a batch of any size holds one block's answers.
    constexpr int kArticulosPorBloque = 2000;
    const QStringList articulos =
        AlertasPrecio::Articulos(v.grilla, desde, kArticulosPorBloque, hasta);
    QHash<QString, QString> anteriores;
    if (!articulos.isEmpty()) {
        anteriores = repositorio_.UltimosPreciosTransmitidos(lista, articulos);
    }
    return AlertasPrecio::Revisa(v.grilla, v.regularesDeOferta, anteriores, parametros_.alertas,
                                 desde, hasta);
}

void LoteNovedades::MarcaAlertas(const QList<AlertaFila>& alertas) {
    for (const AlertaFila& a : alertas) {
        for (const QString& m : a.motivos) {
            ventana_.grilla.AgregaMotivo(a.fila, QStringLiteral("Alerta: ") + m);
        }
    }
}

void LoteNovedades::MarcaAlertasDeCarga() {
    GrillaLote& g = ventana_.grilla;
    if (!alertasAlCargar_ || !ventana_.cabecera || ventana_.loteRecargado) {
        return;
    }
    const QString lista = QlUtil::FormateaCodigo(ventana_.cabecera->lista, ReglasLote::kLargoLista);
    QList<AlertaFila> alertas;
    // Only a preview of what "&Generar" asks about: a failure here loses
    // nothing, since the generation looks at every price again.
    Intenta([&] {
        for (int desde = 1; desde < g.Rows();) {
            int hasta = desde;
            alertas += AlertasDesde(lista, desde, hasta);
            desde = std::max(hasta, desde + 1);
        }
    });
    g.QuitaMarcas();
    MarcaAlertas(alertas);
}

ResultadoGeneracion LoteNovedades::Genera() {
    return GeneradorLote(*this).Genera();
}

void LoteNovedades::ImprimeTestigo(bool etiquetas) {
    if (!impresor_) {
        throw FalloKX(3021, QStringLiteral("No hay impresora de reportes disponible"),
                      QStringLiteral("ImprimeTestigo"));
    }
    impresor_->ImprimeTestigo(etiquetas);
}
