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
const QString GeneradorLote::kEnviadasPorOtro =
    QStringLiteral("Se dejaron fuera %1 filas porque otra generación ya las envió.");
const QString GeneradorLote::kListaLarga =
    QStringLiteral("El código de la lista de precios admite hasta 4 caracteres.");
const QString GeneradorLote::kFueraDeFormato =
    QStringLiteral("Hay registros que no respetan el formato fijo de los archivos:\r\n%1\r\n"
                   "¿Desea generar la novedad de todos modos?");
const QString GeneradorLote::kAlertas =
    QStringLiteral("%1 precios con alerta: ¿generar de todos modos?\r\n%2");
const QString GeneradorLote::kSinHistorial =
    QStringLiteral("El lote se generó, pero no se pudo guardar su copia en el historial:\r\n%1");
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

// Lines of a question's list shown in the dialog; the rest are counted (the
// grid flags every row).
constexpr int kLineasEnPregunta = 30;
// Articles whose last prices (and scale data) are asked for at once.
constexpr int kArticulosPorBloque = 2000;
// Rows written in one step where the engine takes blocks: few round trips,
// and a statement of a few thousand values.
constexpr int kFilasPorEnvio = 200;

QString lista(const QStringList& lineas) {
    if (lineas.size() <= kLineasEnPregunta) {
        return lineas.join(QStringLiteral("\r\n"));
    }
    return lineas.mid(0, kLineasEnPregunta).join(QStringLiteral("\r\n")) +
           QStringLiteral("\r\n... y %1 más (marcadas en la grilla)")
               .arg(lineas.size() - kLineasEnPregunta);
}

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

bool GeneradorLote::Escribe(const std::vector<FilaLista>& listas, bool regeneracion, qint64 codigo,
                            const QString& marcaTiempo, ArchivosCambio& archivos,
                            ResultadoGeneracion& r, const Pasos& pasos) {
    if (listas.empty()) {
        return true;
    }
    if (!regeneracion && listas.size() > 1) {
        // A price row twice in the block is marked by its first row: the
        // second also names it, and goes in when the first does.
        std::vector<FilaDeBloque> bloque;
        bloque.reserve(listas.size());
        for (const FilaLista& l : listas) {
            bloque.push_back({ValoresDeFila(l.fila), MarcaDe(l.fila)});
        }
        std::vector<bool> grabadas;
        bool enBloque = false;
        if (!pasos.paso(
                [&] { enBloque = lote_.repositorio().GrabaBloque(codigo, bloque, grabadas); })) {
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
        if (!pasos.paso([&] {
                if (GrabaFila(l.fila, regeneracion, codigo, marcaTiempo)) {
                    grabada = true;
                } else {
                    ++r.enviadasPorOtro;
                }
            })) {
            return false;
        }
        if (grabada) {
            archivos.Agrega(l.registros);
            ++r.filas;
        }
    }
    return true;
}

bool GeneradorLote::GrabaFila(int fila, bool regeneracion, qint64 codigo,
                              const QString& marcaTiempo) {
    const EstadoVentana& v = lote_.ventana();
    const GrillaLote& g = v.grilla;
    const qint64 id = identificador(g, fila);
    if (regeneracion) {
        lote_.repositorio().EstampaFila(id, marcaTiempo);
        return true;
    }
    const std::optional<PrecioAMarcar> marca = MarcaDe(fila);
    if (!lote_.repositorio().GrabaFila(codigo, ValoresDeFila(fila), marca)) {
        return false;
    }
    if (marca) {
        marcadas_.insert(id);
    }
    return true;
}

bool GeneradorLote::RevisaPrecios(ResultadoGeneracion& r) {
    const EstadoVentana& v = lote_.ventana();
    GrillaLote& g = lote_.ventana().grilla;
    const Pasos pasos([](const ErrorKX& e) { return LoteNovedades::ReportaError(e, kRutina); });
    // A block of articles at a time: their last prices in one question, then
    // their rows, so that a batch of any size holds one block's answers.
    const QString codigoLista = QlUtil::FormateaCodigo(cabecera_.lista, 4);
    for (int desde = 1; desde < g.Rows();) {
        int hasta = desde;
        const QStringList articulos =
            AlertasPrecio::Articulos(g, desde, kArticulosPorBloque, hasta);
        QHash<QString, QString> anteriores;
        if (!articulos.isEmpty() && !pasos.paso([&] {
                anteriores = lote_.repositorio().UltimosPreciosTransmitidos(codigoLista, articulos);
            })) {
            r.estado = ResultadoGeneracion::Estado::Abandonado;
            return false;
        }
        alertas_ += AlertasPrecio::Revisa(g, v.regularesDeOferta, anteriores,
                                          lote_.parametros().alertas, desde, hasta);
        desde = std::max(hasta, desde + 1);
    }
    if (alertas_.isEmpty()) {
        return true;
    }
    for (const AlertaFila& a : std::as_const(alertas_)) {
        for (const QString& m : a.motivos) {
            g.AgregaMotivo(a.fila, QStringLiteral("Alerta: ") + m);
        }
        r.alertas << a.Describe();
    }
    if (pregunta(Operador::IdPregunta::Alertas, kAlertas.arg(alertas_.size()).arg(lista(r.alertas)),
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

bool GeneradorLote::Termina(ArchivosCambio& archivos, ResultadoGeneracion& r, qint64 codigo) {
    const Pasos pasos([](const ErrorKX& e) { return LoteNovedades::ReportaError(e, kRutina); });
    // Whole on disk under temporary names first (a full disk stops here, with
    // nothing recorded), then the commit, then the final names.
    bool escritos = false;
    bool confirmado = false;
    pasos.paso([&] {
        archivos.Escribe();
        escritos = true;
    });
    if (escritos) {
        pasos.paso([&] {
            // The note goes with the batch: a kill before the renames leaves
            // it, and the next run publishes the whole temporary files.
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
            const QString generado =
                Reloj::ahora().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"));
            std::vector<ArchivoGrabado> huellas = archivos.Huellas();
            for (ArchivoGrabado& h : huellas) {
                h.copia =
                    HistorialLote::Copia(carpetaSalida(), listaHistorial(), codigo, h.archivo);
                h.generado = generado;
            }
            lote_.repositorio().AnotaArchivos(codigo, huellas);
            lote_.repositorio().ConfirmaGeneracion();
            confirmado = true;
        });
    }
    if (!confirmado) {
        lote_.repositorio().DescartaGeneracion();
        archivos.Descarta();
        r.filas = 0;
        r.enviadasPorOtro = 0;
        return false;
    }
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
    // A stored batch goes out as it was accepted; a new one is looked at
    // price by price.
    alertas_.clear();
    if (!regeneracion && !RevisaPrecios(r)) {
        return r;
    }

    ArchivosCambio archivos(lote_.articulosBalanza(), lote_.parametros().unidadKG);
    enum { SinAbrir, Abiertos, FaltaCarpeta } apertura = SinAbrir;
    if (!pasos.paso([&] { apertura = archivos.Abre(v.textoRuta) ? Abiertos : FaltaCarpeta; })) {
        r.estado = ResultadoGeneracion::Estado::Abandonado;
        return r;
    }
    if (apertura != Abiertos) {
        r.estado = apertura == FaltaCarpeta ? ResultadoGeneracion::Estado::SinCarpeta
                                            : ResultadoGeneracion::Estado::Abandonado;
        return r;
    }
    r.rutaCambios = QDir::toNativeSeparators(ArchivosCambio::RutaLocal(v.textoRuta));
    r.rutaBalanza = QDir::toNativeSeparators(
        ArchivosCambio::RutaLocal(ArchivosCambio::RutaBalanza(v.textoRuta)));
    // The code is checked again under the generation's lock: from here to
    // the commit no other generation can take it.
    for (;;) {
        bool tomado = false;
        if (!pasos.pasos({[&] { repo.IniciaGeneracion(); },
                          [&] { tomado = !regeneracion && repo.ExisteLote(codigo); }})) {
            repo.DescartaGeneracion();
            archivos.Descarta();
            r.estado = ResultadoGeneracion::Estado::Abandonado;
            return r;
        }
        if (!tomado) {
            break;
        }
        // Nobody waits on this generation's lock while the operator answers.
        repo.DescartaGeneracion();
        if (!otroCodigo()) {
            archivos.Descarta();
            return r;
        }
    }

    v.progresoMin = 0;
    v.progresoMax = g.Rows() - 1;
    // The window repaints a few times a second, not at every row.
    QElapsedTimer reloj;
    reloj.start();
    bool abandonado = false;
    // The rows up to here have had their lookups asked together.
    int anticipadas = 1;
    // Rows whose records are ready, written a block at a time where the
    // engine takes blocks, otherwise each as soon as it is ready.
    std::vector<FilaLista> listas;
    const int porEnvio = !regeneracion && repo.GrabaEnBloques() ? kFilasPorEnvio : 1;
    // False when the operator chose to leave.
    const auto escribe = [&] {
        const bool sigue = Escribe(listas, regeneracion, codigo, marcaTiempo, archivos, r, pasos);
        listas.clear();
        return sigue;
    };
    for (int fila = 1; fila < g.Rows() && !abandonado; ++fila) {
        if (reloj.elapsed() >= 100) {
            reloj.restart();
            v.progresoValor = fila;
            v.avisa();
            Programa::permiteEventos();
        }
        // A row where nothing was loaded is neither written nor recorded.
        if (FilaNovedad::EnBlanco(g, fila)) {
            continue;
        }
        ArchivosCambio::Registros registros;
        bool preparada = false;
        if (fila >= anticipadas) {
            // Past this block even when the question fails: going on, its
            // rows ask one by one.
            anticipadas = std::min(g.Rows(), fila + kArticulosPorBloque);
            if (!pasos.paso([&] { archivos.Anticipa(g, fila, anticipadas); })) {
                abandonado = true;
                break;
            }
        }
        if (!pasos.paso([&] {
                registros = archivos.Prepara(g, fila);
                preparada = true;
            })) {
            abandonado = true;
            break;
        }
        if (!preparada) {
            continue; // went on past its records
        }
        listas.push_back({fila, std::move(registros)});
        if (int(listas.size()) >= porEnvio) {
            abandonado = !escribe();
        }
    }
    if (!abandonado) {
        abandonado = !escribe();
    }
    v.progresoValor = g.Rows() - 1;
    v.avisa();
    // Leaving after a failure records nothing and publishes nothing: the
    // folder keeps the files the branches may not have read yet.
    if (abandonado) {
        repo.DescartaGeneracion();
        archivos.Descarta();
        r.filas = 0;
        r.enviadasPorOtro = 0;
        r.estado = ResultadoGeneracion::Estado::Abandonado;
        return r;
    }
    if (!Termina(archivos, r, codigo)) {
        r.estado = ResultadoGeneracion::Estado::Abandonado;
        return r;
    }
    r.estado = regeneracion ? ResultadoGeneracion::Estado::Regenerado
                            : ResultadoGeneracion::Estado::Generado;
    if (r.enviadasPorOtro > 0) {
        avisa(kEnviadasPorOtro.arg(r.enviadasPorOtro));
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
