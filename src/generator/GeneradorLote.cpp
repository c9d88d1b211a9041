#include "generator/GeneradorLote.h"

#include "generator/AlertasPrecio.h"
#include "generator/ArchivosCambio.h"
#include "generator/EstadoVentana.h"
#include "generator/FilaNovedad.h"
#include "generator/FormatoSalida.h"
#include "generator/HistorialLote.h"
#include "generator/ReglasLote.h"
#include "generator/RepositorioLote.h"
#include "generator/RevisionFormato.h"
#include "utility_library/ErrorKX.h"
#include "utility_library/Operador.h"
#include "utility_library/Pasos.h"
#include "utility_library/Plural.h"
#include "utility_library/Programa.h"
#include "utility_library/QlUtil.h"
#include "utility_library/Regional.h"
#include "utility_library/Reloj.h"

#include <QDir>
#include <QElapsedTimer>

const QString GeneradorLote::kDebeIngresarLista =
    QStringLiteral("Debe ingresar una lista de precios.");
const QString GeneradorLote::kNadaQueGenerar =
    QStringLiteral("No hay novedades cargadas para generar.");
const QString GeneradorLote::kRegenerar =
    QStringLiteral("¿Está seguro de querer regenerar la novedad?");
const QString GeneradorLote::kTestigo = QStringLiteral("¿Desea Imprimir un Testigo?");
const QString GeneradorLote::kCodigoUsado =
    QStringLiteral("El código %1 fue utilizado mientras tanto por otra generación.\r\n"
                   "¿Desea generar la novedad con el código %2?");
const QString GeneradorLote::kListaLarga =
    QStringLiteral("El código de la lista de precios admite hasta 4 caracteres.");
const QString GeneradorLote::kFueraDeFormato =
    QStringLiteral("Hay registros que no respetan el formato fijo de los archivos:\r\n%1\r\n"
                   "¿Desea generar la novedad de todos modos?");
const QString GeneradorLote::kSinHistorial =
    QStringLiteral("El lote se generó, pero no se pudo guardar su copia en el historial:\r\n%1");
const QString GeneradorLote::kNoGenerado =
    QStringLiteral("El lote %1 no se generó: no se escribió ningún archivo, no se grabó "
                   "ninguna fila y no se marcó ningún precio.");
QString GeneradorLote::EnviadasPorOtro(int filas) {
    return Plural(filas, QStringLiteral("Se dejó fuera 1 fila porque otra generación ya la envió."),
                  QStringLiteral("Se dejaron fuera %1 filas porque otra generación ya las envió."));
}

QString GeneradorLote::Omitidas(int filas) {
    return Plural(
        filas, QStringLiteral("Se dejó fuera 1 fila que falló; su precio queda pendiente."),
        QStringLiteral("Se dejaron fuera %1 filas que fallaron; sus precios quedan pendientes."));
}

QString GeneradorLote::Alertas(int precios, const QStringList& lineas) {
    return Plural(precios, QStringLiteral("1 precio con alerta: ¿generar de todos modos?"),
                  QStringLiteral("%1 precios con alerta: ¿generar de todos modos?")) +
           QStringLiteral("\r\n") + lineas.join(QStringLiteral("\r\n"));
}

const QString GeneradorLote::kCodigoInvalido =
    QStringLiteral("El código de la novedad debe ser un número entero.");

namespace {
const QString kRutina = QStringLiteral("cmdExportar");
const QString kAviso = QStringLiteral("Aviso al Usuario");

int avisa(const QString& texto) {
    return operador().MsgBox(texto, Operador::SoloAceptar | Operador::IconoInformacion, kAviso);
}

// A question whose Yes writes files or marks prices defaults to No.
int pregunta(Operador::IdPregunta cual, const QString& texto, const QString& titulo) {
    const int defecto = cual == Operador::IdPregunta::Testigo ? 0 : Operador::SegundoPorDefecto;
    return operador().Pregunta(cual, texto, Operador::SiNo | Operador::IconoPregunta | defecto,
                               titulo);
}

// Articles whose scale data are asked for at once.
constexpr int kArticulosPorBloque = 2000;
// Rows written in one step where the engine takes blocks: few round trips,
// and a statement of a few thousand values.
constexpr int kFilasPorEnvio = 200;

// The identifier of the row's source.
qint64 identificador(const GrillaLote& g, int fila) {
    const QString id = g.Texto(fila, FilaNovedad::Id).trimmed();
    const std::optional<qint64> n = ReglasLote::LeeCodigo(id);
    if (!n) {
        throw FalloKX(13,
                      QStringLiteral("Tipo no válido: la fila %1 no tiene un Id válido ('%2')")
                          .arg(fila)
                          .arg(id),
                      kRutina);
    }
    return *n;
}
} // namespace

FilaAGrabar GeneradorLote::ValoresDeFila(int fila) const {
    const EstadoVentana& v = lote_.ventana();
    const GrillaLote& g = v.grilla;
    FilaAGrabar f;
    f.fecha = cabecera_.fecha;
    // The values after the code, in the insert's column order.
    f.valores.reserve(TablaLote::Grabadas);
    for (const TablaLote::ColumnaGrabada& t : TablaLote::kGrabadas) {
        if (const int c = ColumnasGrilla::DeTabla(t.columna); c >= 0) {
            f.valores << g.Texto(fila, c);
            continue;
        }
        switch (t.columna) {
        case TablaLote::IdLista:
            f.valores << QlUtil::FormateaCodigo(cabecera_.lista, 4);
            break;
        case TablaLote::Nombre:
            f.valores << cabecera_.nombreLista;
            break;
        case TablaLote::Fecha:
            f.valores << f.fecha;
            break;
        case TablaLote::RutaArchivo:
            f.valores << v.textoRuta;
            break;
        case TablaLote::Usuario:
            f.valores << lote_.parametros().usuario;
            break;
        default:
            // Every other column is a grid cell (checked where the grid's
            // columns are listed).
            break;
        }
    }
    return f;
}

std::optional<PrecioAMarcar> GeneradorLote::MarcaDe(int fila) const {
    const EstadoVentana& v = lote_.ventana();
    const GrillaLote& g = v.grilla;
    const qint64 id = identificador(g, fila);
    if (ReglasLote::DebeMarcar(g.Texto(fila, FilaNovedad::NoMarcar), cabecera_.lista) &&
        !marcadas_.contains(id)) {
        return PrecioAMarcar{id, v.estadosAlCargar.value(id)};
    }
    return std::nullopt;
}

bool GeneradorLote::Escribe(const std::vector<FilaLista>& listas, const Intento& intento,
                            ArchivosCambio& archivos, ResultadoGeneracion& r, const Paso& paso) {
    if (listas.empty()) {
        return true;
    }
    if (!intento.regeneracion && intento.enBloques && listas.size() > 1) {
        // A price row twice in the block is marked by its first row: the
        // second also names it, and goes in when the first does.
        std::vector<FilaDeBloque> bloque;
        bloque.reserve(listas.size());
        for (const FilaLista& l : listas) {
            bloque.push_back({ValoresDeFila(l.fila), MarcaDe(l.fila)});
        }
        std::vector<bool> grabadas;
        bool enBloque = false;
        if (!paso(0, [&] {
                enBloque = lote_.repositorio().GrabaBloque(intento.codigo, bloque, grabadas);
            })) {
            return false;
        }
        if (enBloque && grabadas.size() == listas.size()) {
            for (size_t i = 0; i < listas.size(); ++i) {
                if (!grabadas[i]) {
                    ++r.enviadasPorOtro;
                    continue;
                }
                if (bloque[i].marca) {
                    marcadas_.insert(bloque[i].marca->id);
                }
                archivos.Agrega(listas[i].registros);
                ++r.filas;
            }
            return true;
        }
    }
    for (const FilaLista& l : listas) {
        bool grabada = false;
        if (!paso(l.fila, [&] { grabada = GrabaFila(l.fila, intento); })) {
            return false;
        }
        if (grabada) {
            archivos.Agrega(l.registros);
            ++r.filas;
        } else {
            ++r.enviadasPorOtro;
        }
    }
    return true;
}

bool GeneradorLote::GrabaFila(int fila, const Intento& intento) {
    const EstadoVentana& v = lote_.ventana();
    const GrillaLote& g = v.grilla;
    const qint64 id = identificador(g, fila);
    if (intento.regeneracion) {
        lote_.repositorio().EstampaFila(id, intento.marcaTiempo);
        return true;
    }
    const std::optional<PrecioAMarcar> marca = MarcaDe(fila);
    if (!lote_.repositorio().GrabaFila(intento.codigo, ValoresDeFila(fila), marca)) {
        return false;
    }
    if (marca) {
        marcadas_.insert(id);
    }
    return true;
}

bool GeneradorLote::RevisaPrecios(ResultadoGeneracion& r) {
    const Pasos pasos([](const ErrorKX& e) { return LoteNovedades::ReportaError(e, kRutina); });
    const QString codigoLista = QlUtil::FormateaCodigo(cabecera_.lista, ReglasLote::kLargoLista);
    for (int desde = 1; desde < lote_.ventana().grilla.Rows();) {
        int hasta = desde;
        if (!pasos.paso([&] { alertas_ += lote_.AlertasDesde(codigoLista, desde, hasta); })) {
            r.estado = ResultadoGeneracion::Estado::Abandonado;
            return false;
        }
        desde = std::max(hasta, desde + 1);
    }
    if (alertas_.isEmpty()) {
        return true;
    }
    lote_.MarcaAlertas(alertas_);
    for (const AlertaFila& a : std::as_const(alertas_)) {
        r.alertas << a.Describe();
    }
    if (pregunta(Operador::IdPregunta::Alertas, Alertas(alertas_.size(), r.alertas),
                 QStringLiteral("ATENCIÓN")) != Operador::Si) {
        r.estado = ResultadoGeneracion::Estado::ConAlertas;
        return false;
    }
    return true;
}

QString GeneradorLote::listaHistorial() const {
    return QlUtil::FormateaCodigo(cabecera_.lista, 4).trimmed();
}

QString GeneradorLote::carpetaSalida() const {
    return ArchivosCambio::RutaLocal(ArchivosCambio::Carpeta(lote_.ventana().textoRuta));
}

void GeneradorLote::GuardaHistorial(const ArchivosCambio& archivos, qint64 codigo) {
    // The batch is committed: a copy that cannot be kept is said, and the
    // files still go out (verificar tells the missing copy later).
    const PublicacionPendiente p = archivos.Pendiente(codigo);
    try {
        for (int i = 0; i < archivos.CantidadFormatos(); ++i) {
            HistorialLote::Guarda(carpetaSalida(), listaHistorial(), codigo,
                                  p.archivos[size_t(i)].temporal, archivos.Formato(i).Nombre());
        }
    } catch (const FalloKX& f) {
        operador().MsgBox(kSinHistorial.arg(f.error().descripcion),
                          Operador::SoloAceptar | Operador::IconoExclamacion, kAviso);
    }
}

void GeneradorLote::Confirma(ArchivosCambio& archivos, qint64 codigo) {
    // Whole on disk under temporary names first (a full disk stops here, with
    // nothing recorded), then the commit; the final names come after it.
    archivos.Escribe();
    // The note goes with the batch: a kill before the renames leaves it, and
    // the next run publishes the whole temporary files.
    lote_.repositorio().AnotaPublicacion(archivos.Pendiente(codigo));
    // The alerts the operator accepted go with it, for the witness.
    if (!alertas_.isEmpty()) {
        std::vector<AlertaGrabada> grabadas;
        for (const AlertaFila& a : std::as_const(alertas_)) {
            for (const QString& m : a.motivos) {
                grabadas.push_back({a.codigo, m});
            }
        }
        lote_.repositorio().AnotaAlertas(codigo, grabadas);
    }
    // What the files hold, recorded with the batch they publish.
    const QString generado = Reloj::ahora().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"));
    std::vector<ArchivoGrabado> huellas = archivos.Huellas();
    for (ArchivoGrabado& h : huellas) {
        h.copia = HistorialLote::Copia(carpetaSalida(), listaHistorial(), codigo, h.archivo);
        h.generado = generado;
    }
    lote_.repositorio().AnotaArchivos(codigo, huellas);
    // The day of its pending load is covered once the batch is.
    if (cargaPendiente_) {
        lote_.repositorio().AnotaCargaPendiente(
            codigo, QlUtil::FormateaCodigo(cabecera_.lista, ReglasLote::kLargoLista),
            *cargaPendiente_);
    }
    lote_.repositorio().ConfirmaGeneracion();
}

bool GeneradorLote::Publica(ArchivosCambio& archivos, qint64 codigo) {
    // The batch is committed and no transaction is open: a failure here may
    // be asked about while other stations go on.
    const Pasos pasos([](const ErrorKX& e) { return LoteNovedades::ReportaError(e, kRutina); });
    GuardaHistorial(archivos, codigo);
    bool publicado = false;
    pasos.paso([&] {
        archivos.Publica();
        publicado = true;
    });
    if (!publicado) {
        // Committed: its files stay whole on disk for the next run to publish.
        archivos.Conserva();
        return false;
    }
    // Should this fail, the next run finds the files already in place.
    pasos.paso([&] { lote_.repositorio().PublicacionHecha(codigo); });
    return true;
}

std::optional<GeneradorLote::Fallo> GeneradorLote::Corre(const Intento& intento,
                                                         ArchivosCambio& archivos,
                                                         ResultadoGeneracion& r, bool& tomado) {
    EstadoVentana& v = lote_.ventana();
    GrillaLote& g = v.grilla;
    RepositorioLote& repo = lote_.repositorio();
    std::optional<Fallo> fallo;
    // A failing step is only noted: the operator is asked once the
    // transaction is rolled back, so nobody waits on this generation's locks.
    const Paso paso = [&](int fila, const std::function<void()>& f) {
        try {
            f();
            return true;
        } catch (const FalloKX& e) {
            fallo = Fallo{e.error(), fila};
        } catch (const std::exception& e) {
            fallo = Fallo{ErrorKX{5, QString::fromLocal8Bit(e.what()), QString()}, fila};
        }
        return false;
    };
    const auto deshace = [&] {
        repo.DescartaGeneracion();
        archivos.Descarta();
        marcadas_.clear();
        r.filas = 0;
        r.enviadasPorOtro = 0;
        v.progresoValor = 0;
        v.avisa();
        return fallo;
    };
    marcadas_.clear();
    r.filas = 0;
    r.enviadasPorOtro = 0;
    // The code is checked again under the generation's lock: from here to
    // the commit no other generation can take it.
    tomado = false;
    if (!paso(0, [&] { repo.IniciaGeneracion(); }) ||
        !paso(0, [&] { tomado = !intento.regeneracion && repo.ExisteLote(intento.codigo); })) {
        return deshace();
    }
    if (tomado) {
        deshace();
        return std::nullopt;
    }

    v.progresoMin = 0;
    v.progresoMax = g.Rows() - 1;
    // The window repaints a few times a second, not at every row.
    QElapsedTimer reloj;
    reloj.start();
    // The rows up to here have had their lookups asked together.
    int anticipadas = intento.anticipar ? 1 : g.Rows();
    // Rows whose records are ready, written a block at a time where the
    // engine takes blocks, otherwise each as soon as it is ready.
    std::vector<FilaLista> listas;
    const int porEnvio = !intento.regeneracion && repo.GrabaEnBloques() ? kFilasPorEnvio : 1;
    const auto escribe = [&] {
        const bool sigue = Escribe(listas, intento, archivos, r, paso);
        if (!sigue && fallo && fallo->fila == 0) {
            fallo->enBloque = true;
        }
        listas.clear();
        return sigue;
    };
    for (int fila = 1; fila < g.Rows(); ++fila) {
        if (reloj.elapsed() >= 100) {
            reloj.restart();
            v.progresoValor = fila;
            v.avisa();
            Programa::permiteEventos();
        }
        // A row where nothing was loaded is neither written nor recorded; nor
        // is one the operator chose to leave out after its failure.
        if (FilaNovedad::EnBlanco(g, fila) || intento.excluidas.contains(fila)) {
            continue;
        }
        if (fila >= anticipadas) {
            anticipadas = std::min(g.Rows(), fila + kArticulosPorBloque);
            if (!paso(0, [&] { archivos.Anticipa(g, fila, anticipadas); })) {
                fallo->anticipando = true;
                return deshace();
            }
        }
        ArchivosCambio::Registros registros;
        if (!paso(fila, [&] { registros = archivos.Prepara(g, fila); })) {
            return deshace();
        }
        listas.push_back({fila, std::move(registros)});
        if (int(listas.size()) >= porEnvio && !escribe()) {
            return deshace();
        }
    }
    if (!escribe() || !paso(0, [&] { Confirma(archivos, intento.codigo); })) {
        return deshace();
    }
    v.progresoValor = g.Rows() - 1;
    v.avisa();
    return std::nullopt;
}

ResultadoGeneracion GeneradorLote::NoGenerado(ResultadoGeneracion& r) {
    EstadoVentana& v = lote_.ventana();
    v.progresoValor = 0;
    v.avisa();
    r.estado = ResultadoGeneracion::Estado::Abandonado;
    r.filas = 0;
    r.enviadasPorOtro = 0;
    operador().MsgBox(kNoGenerado.arg(r.codigo), Operador::SoloAceptar | Operador::IconoExclamacion,
                      kAviso);
    return r;
}

ResultadoGeneracion GeneradorLote::Genera() {
    ResultadoGeneracion r;
    EstadoVentana& v = lote_.ventana();
    GrillaLote& g = v.grilla;
    RepositorioLote& repo = lote_.repositorio();
    // A batch an earlier run committed and never published goes out first.
    lote_.PublicaPendientes();

    // The header of the load, never the fields as they read now: a list typed
    // after the load must not lend its name to the loaded prices.
    cabecera_ = v.cabecera ? *v.cabecera : CabeceraLote::DeVentana(v);
    lote_.MuestraCabecera(cabecera_);
    if (cabecera_.lista.isEmpty()) {
        avisa(kDebeIngresarLista);
        r.estado = ResultadoGeneracion::Estado::SinLista;
        return r;
    }
    if (!ReglasLote::LeeLista(cabecera_.lista)) {
        // Cut to four characters it would name another list.
        avisa(kListaLarga);
        r.estado = ResultadoGeneracion::Estado::SinLista;
        return r;
    }
    const std::optional<qint64> leido = cabecera_.codigo;
    if (!leido || *leido > repo.MaximoCodigo()) {
        r.codigo = cabecera_.textoCodigo;
        avisa(kCodigoInvalido);
        r.estado = ResultadoGeneracion::Estado::CodigoInvalido;
        return r;
    }
    qint64 codigo = *leido;
    r.codigo = QString::number(codigo);
    bool hayFilas = false;
    for (int f = 1; f < g.Rows() && !hayFilas; ++f) {
        hayFilas = !FilaNovedad::EnBlanco(g, f);
    }
    if (!hayFilas) {
        avisa(kNadaQueGenerar);
        r.estado = ResultadoGeneracion::Estado::NadaQueGenerar;
        return r;
    }
    // A load cut short by a failure is never sent as if it were whole: the
    // rows it did not read stay pending, but the operator must know.
    if (!v.cargaIncompleta.isEmpty() &&
        pregunta(Operador::IdPregunta::Otra,
                 v.cargaIncompleta +
                     QStringLiteral(": las filas no leídas siguen pendientes y no irán en "
                                    "este lote.\r\n¿Generar el lote de todos modos?"),
                 QStringLiteral("ATENCIÓN")) != Operador::Si) {
        r.estado = ResultadoGeneracion::Estado::Declinado;
        return r;
    }
    const Pasos pasos([](const ErrorKX& e) { return LoteNovedades::ReportaError(e, kRutina); });
    if (!pasos.paso([&] { lote_.RefrescaParametros(); })) {
        r.estado = ResultadoGeneracion::Estado::Abandonado;
        return r;
    }
    bool regeneracion = false;
    QString marcaTiempo;
    bool existe = false;
    if (!pasos.paso([&] { existe = repo.ExisteLote(codigo); })) {
        r.estado = ResultadoGeneracion::Estado::Abandonado;
        return r;
    }
    if (existe && v.loteRecargado) {
        if (pregunta(Operador::IdPregunta::Regenerar, kRegenerar, QStringLiteral("ATENCIÓN")) !=
            Operador::Si) {
            r.estado = ResultadoGeneracion::Estado::Declinado;
            return r;
        }
        regeneracion = true;
        marcaTiempo = Regional::fechaHoraGeneral(Reloj::ahora());
    }
    // A fresh batch whose code another generation used meanwhile: its Id
    // cells name price rows, so it can only become a new batch, under the
    // next free code if the operator agrees. False: declined or failed.
    const auto otroCodigo = [&]() {
        qint64 proximo = 0;
        if (!pasos.paso([&] { proximo = repo.ProximoCodigo(); })) {
            r.estado = ResultadoGeneracion::Estado::Abandonado;
            return false;
        }
        if (pregunta(Operador::IdPregunta::CodigoUsado, kCodigoUsado.arg(codigo).arg(proximo),
                     QStringLiteral("ATENCIÓN")) != Operador::Si) {
            r.estado = ResultadoGeneracion::Estado::Declinado;
            return false;
        }
        codigo = proximo;
        r.codigo = QString::number(codigo);
        cabecera_.codigo = codigo;
        cabecera_.textoCodigo = r.codigo;
        if (v.cabecera) {
            v.cabecera->codigo = codigo;
            v.cabecera->textoCodigo = r.codigo;
        }
        v.campo(QStringLiteral("Codigo")) = r.codigo;
        v.avisa();
        return true;
    };
    if (existe && !regeneracion && !otroCodigo()) {
        return r;
    }

    // Records the points of sale and scales would misread are never sent
    // silently: the rows are flagged in the grid and the operator decides.
    g.QuitaMarcas();
    const RevisionFormato revision = RevisaFormato(g);
    if (!revision.vacia()) {
        for (int f : revision.filas()) {
            g.FijaMarcada(f, true);
        }
        if (pregunta(Operador::IdPregunta::FueraDeFormato,
                     kFueraDeFormato.arg(revision.Describe().join(QStringLiteral("\r\n"))),
                     QStringLiteral("ATENCIÓN")) != Operador::Si) {
            r.estado = ResultadoGeneracion::Estado::FueraDeFormato;
            return r;
        }
    }
    cargaPendiente_.reset();
    if (!regeneracion) {
        cargaPendiente_ = v.cargaPendiente;
    }
    // A stored batch goes out as it was accepted; a new one is looked at
    // price by price.
    alertas_.clear();
    if (!regeneracion && !RevisaPrecios(r)) {
        return r;
    }

    ArchivosCambio archivos(lote_.articulosBalanza(), lote_.parametros().unidadKG);
    Intento intento;
    intento.regeneracion = regeneracion;
    intento.marcaTiempo = marcaTiempo;
    // Each run of the writes starts from the files' opening: a retry or a
    // run without a row finds the folder as it is now.
    for (;;) {
        intento.codigo = codigo;
        enum { SinAbrir, Abiertos, FaltaCarpeta } apertura = SinAbrir;
        if (!pasos.paso([&] { apertura = archivos.Abre(v.textoRuta) ? Abiertos : FaltaCarpeta; })) {
            return NoGenerado(r);
        }
        if (apertura == SinAbrir) {
            return NoGenerado(r); // a failure the operator went on from
        }
        if (apertura == FaltaCarpeta) {
            r.estado = ResultadoGeneracion::Estado::SinCarpeta;
            return r;
        }
        r.rutaCambios = QDir::toNativeSeparators(ArchivosCambio::RutaLocal(v.textoRuta));
        r.rutaBalanza = QDir::toNativeSeparators(
            ArchivosCambio::RutaLocal(ArchivosCambio::RutaBalanza(v.textoRuta)));
        bool tomado = false;
        const std::optional<Fallo> fallo = Corre(intento, archivos, r, tomado);
        if (tomado) {
            // Rolled back: nobody waits on this generation's lock while the
            // operator answers.
            if (!otroCodigo()) {
                return r;
            }
            continue;
        }
        if (!fallo) {
            break;
        }
        // Rolled back already: nothing is recorded, marked or published.
        const int respuesta = LoteNovedades::ReportaError(fallo->error, kRutina);
        if (respuesta == Operador::Reintentar) {
            continue;
        }
        if (respuesta == Operador::Ignorar && fallo->fila > 0) {
            // Going on without the row: the batch is written again without it,
            // and its price stays pending for the next batch.
            intento.excluidas.insert(fallo->fila);
            g.AgregaMotivo(fallo->fila,
                           QStringLiteral("No se generó: ") + fallo->error.descripcion.trimmed());
            continue;
        }
        if (respuesta == Operador::Ignorar && fallo->anticipando) {
            // Going on without the block's question: each row asks for itself.
            intento.anticipar = false;
            continue;
        }
        if (respuesta == Operador::Ignorar && fallo->enBloque) {
            // Going on row by row: a failure is then told for its own row.
            intento.enBloques = false;
            continue;
        }
        return NoGenerado(r);
    }
    if (!Publica(archivos, codigo)) {
        r.estado = ResultadoGeneracion::Estado::Abandonado;
        return r;
    }
    r.omitidas = int(intento.excluidas.size());
    r.estado = regeneracion ? ResultadoGeneracion::Estado::Regenerado
                            : ResultadoGeneracion::Estado::Generado;
    if (r.enviadasPorOtro > 0) {
        avisa(EnviadasPorOtro(r.enviadasPorOtro));
    }
    if (r.omitidas > 0) {
        avisa(Omitidas(r.omitidas));
    }

    if (pregunta(Operador::IdPregunta::Testigo, kTestigo, QStringLiteral("Atención")) ==
        Operador::Si) {
        if (!pasos.paso([&] { lote_.ImprimeTestigo(false); })) {
            return r;
        }
    }
    lote_.InicializaFormulario();
    return r;
}
