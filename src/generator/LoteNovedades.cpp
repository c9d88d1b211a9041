#include "generator/LoteNovedades.h"

#include "generator/CargadorLote.h"
#include "generator/CargadorNovedades.h"
#include "db/DB_Dll.h"
#include "progress/Dll_Display.h"
#include "utility_library/ErrorKX.h"
#include "generator/EstadoVentana.h"
#include "generator/FilaNovedad.h"
#include "generator/GeneradorLote.h"
#include "utility_library/Pasos.h"
#include "utility_library/QlUtil.h"
#include "utility_library/Regional.h"
#include "utility_library/Reloj.h"
#include "generator/TestigoQlReport.h"

namespace {
// For the window's set-up steps: one that fails is passed over silently.
Pasos PasaPorAlto() {
    return Pasos([](const ErrorKX&) { return 5; });
}
} // namespace

const QString LoteNovedades::kSinNovedades = QStringLiteral("No se encontraron novedades!!!");

LoteNovedades::LoteNovedades(EstadoVentana& ventana, DB_Dll& db, Dll_Display& cartel)
    : ventana_(ventana), db_(db), cartel_(cartel) {}

LoteNovedades::~LoteNovedades() = default;

void LoteNovedades::fijaImpresor(ImpresorTestigo* impresor) {
    impresor_ = impresor;
}

void LoteNovedades::fijaArticulosBalanza(ArticulosBalanza* articulos) {
    articulos_ = articulos;
}

int LoteNovedades::ReportaError(const ErrorKX& e, const QString& rutina) {
    ErrorKX conRutina = e;
    if (conRutina.fuente.trimmed().isEmpty()) {
        conRutina.fuente = rutina;
    }
    return QlUtil::ReportaError(conRutina);
}

void LoteNovedades::Ejecuta(const QString& sql, const QString& rutina) {
    if (!db_.gCnn) {
        throw FalloKX(3709, QStringLiteral("La conexión con la base de datos no está abierta."),
                      rutina);
    }
    // The statement runner reports nothing by itself: its outcome is the
    // connection's error list.
    db_.gCnn->Errors.clear();
    db_.EjecutaConsultaSQL(sql);
    if (!db_.gCnn->Errors.isEmpty()) {
        const ErrorADO e = db_.gCnn->Errors.first();
        throw FalloKX(e.numero, e.descripcion, rutina);
    }
}

void LoteNovedades::ArmaGrilla() {
    GrillaLote& g = ventana_.MSFlexGrid1;
    // Dropping every row clears every cell at once, however large the batch was.
    g.FijaRows(0);
    g.FijaCols(FilaNovedad::Columnas);
    g.FijaRows(2);
    const QStringList& encabezados = FilaNovedad::Encabezados();
    for (int c = 0; c < FilaNovedad::Columnas; ++c) {
        g.FijaTextMatrix(0, c, encabezados[c]);
    }
    g.FijaColWidth(FilaNovedad::Id, 0);
    g.FijaColWidth(FilaNovedad::NoMarcar, 0);
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

void LoteNovedades::HabilitaEdicion(bool edicion) {
    EstadoVentana& v = ventana_;
    v.fijaModo(edicion ? ModoVentana::Edicion : ModoVentana::Inicial);
    v.frmManualVisible = false;
    v.avisa();
}

QString LoteNovedades::ProximoCodigo() {
    Recordset rs;
    QString sql = QStringLiteral("SELECT TOP 1 CODIGO FROM MV_TARVELO ORDER BY CODIGO DESC");
    db_.AbrirRecordset(sql, rs);
    if (!rs.abierto()) {
        throw FalloKX(3704, QStringLiteral("No se pudo leer el último código de novedad."),
                      QStringLiteral("InicializaFormulario"));
    }
    QString codigo = QStringLiteral("1");
    if (!rs.Eof()) {
        const qint64 ultimo = qint64(QlUtil::TextoANumero(QlUtil::NoNulo(rs.Campo(0))));
        codigo = QString::number(ultimo + 1);
    }
    db_.CierraRecordset(rs);
    return codigo;
}

void LoteNovedades::InicializaFormulario() {
    EstadoVentana& v = ventana_;
    // Each step on its own: one that fails is passed over.
    const auto intenta = PasaPorAlto();
    intenta.paso([&] {
        for (auto& t : v.txtfields) {
            t.clear();
        }
        v.loteRecargado = false;
    });
    intenta.paso([&] {
        v.lblLista = EstadoVentana::kPrefijoLista;
        v.fijaRuta(EstadoVentana::kSinRuta);
        v.PBarValor = 0;
    });
    intenta.paso([&] { HabilitaEdicion(false); });
    intenta.paso([&] { v.campo(QStringLiteral("Codigo")) = ProximoCodigo(); });
    intenta.paso([&] { ArmaGrilla(); });
    intenta.paso([&] { v.campo(QStringLiteral("Fecha")) = Regional::fechaCorta(Reloj::hoy()); });
    intenta.paso([&] { v.chkNoMarcar = false; });
    v.avisa();
}

QString LoteNovedades::RutaExaminada(const QString& archivoElegido) {
    const qsizetype barra =
        std::max(archivoElegido.lastIndexOf(QLatin1Char('\\')), archivoElegido.lastIndexOf('/'));
    return archivoElegido.left(barra + 1) + QStringLiteral("CAMBIOS.TXT");
}

void LoteNovedades::Carga() {
    CargaNovedades();
    ventana_.avisa();
}

ResultadoCarga LoteNovedades::CargaNovedades() {
    return CargadorNovedades(*this).CargaNovedades();
}

void LoteNovedades::AbreRangoManual() {
    EstadoVentana& v = ventana_;
    const auto intenta = PasaPorAlto();
    intenta.paso([&] {
        v.campo(QStringLiteral("ArtDesde")).clear();
        v.campo(QStringLiteral("ArtHasta")).clear();
    });
    intenta.paso([&] { v.campo(QStringLiteral("LETRA")) = QStringLiteral("M"); });
    intenta.paso([&] { v.chkNoMarcar = false; });
    intenta.paso([&] { v.frmManualVisible = true; });
    v.avisa();
}

ResultadoCarga LoteNovedades::AceptaRangoManual() {
    ventana_.frmManualVisible = false;
    ventana_.avisa();
    return CargaManual();
}

void LoteNovedades::CierraRangoManual() {
    ventana_.frmManualVisible = false;
    ventana_.avisa();
}

ResultadoCarga LoteNovedades::CargaManual() {
    return CargadorNovedades(*this).CargaManual();
}

ResultadoCarga LoteNovedades::CargaLote() {
    return CargadorLote(*this).CargaLote();
}

ResultadoGeneracion LoteNovedades::Genera() {
    return GeneradorLote(*this).Genera();
}

void LoteNovedades::ImprimeTestigo(bool etiquetas) {
    if (impresor_) {
        impresor_->ImprimeTestigo(etiquetas);
        return;
    }
    if (!impresorPropio_) {
        impresorPropio_ = std::make_unique<TestigoQlReport>(ventana_);
    }
    impresorPropio_->ImprimeTestigo(etiquetas);
}
