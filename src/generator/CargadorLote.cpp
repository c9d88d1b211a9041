#include "generator/CargadorLote.h"

#include "generator/EstadoVentana.h"
#include "generator/FilaNovedad.h"
#include "generator/FilaOrigen.h"
#include "generator/ReglasLote.h"
#include "generator/RepositorioLote.h"
#include "progress/Dll_Display.h"
#include "utility_library/ErrorKX.h"
#include "utility_library/Operador.h"
#include "utility_library/Pasos.h"
#include "utility_library/QlUtil.h"

const QString CargadorLote::kCodigoInvalido =
    QStringLiteral("El código de la novedad debe ser un número entero.");

namespace {
// Stored column of each grid column (Descripción is stored as Descripcion).
const char* const kColumnas[FilaNovedad::Columnas] = {
    "TipoMov",  "CodInterno",  "Descripcion", "Marca",   "PrecioVenta", "Precio",
    "Internos", "PrecioCosto", "CondIVA",     "TipoIva", "Fijo",        "CodBarra",
    "Tipo",     "Rubro",       "Aux1",        "Aux2",    "ID",          nullptr};
} // namespace

ResultadoCarga CargadorLote::CargaLote() {
    ResultadoCarga r;
    EstadoVentana& v = lote_.ventana();
    const std::optional<qint64> codigo = ReglasLote::LeeCodigo(v.campo(QStringLiteral("CODIGO")));
    if (!codigo) {
        operador().MsgBox(kCodigoInvalido, Operador::SoloAceptar | Operador::IconoInformacion,
                          QStringLiteral("Aviso al Usuario"));
        r.estado = ResultadoCarga::Estado::Rechazado;
        return r;
    }
    Pasos pasos([](const ErrorKX& e) { return LoteNovedades::ReportaError(e, "CargaLote"); });
    std::unique_ptr<CursorOrigen> rs;
    bool cartelAbierto = false;
    const auto termina = [&](ResultadoCarga::Estado estado) {
        if (cartelAbierto) {
            lote_.cartel().CartelCerrar();
        }
        rs.reset();
        r.estado = estado;
        v.avisa();
        return r;
    };
    bool abierto = false;
    if (!pasos.paso([&] {
            rs = lote_.repositorio().Lote(*codigo);
            abierto = true;
        })) {
        return termina(ResultadoCarga::Estado::Abandonado);
    }
    if (!abierto || !rs || !rs->hay()) {
        return termina(ResultadoCarga::Estado::SinNovedades);
    }
    lote_.cartel().CartelInicio(QStringLiteral("Cargando Datos"), false);
    cartelAbierto = true;
    lote_.IniciaAvance();
    const int total = rs->total();
    const auto campo = [&](const char* nombre) {
        return QlUtil::NoNulo(rs->fila().Campo(QLatin1String(nombre)));
    };
    if (!pasos.pasos({[&] {
                          v.campo(QStringLiteral("fecha")) = campo("fecha");
                          v.campo(QStringLiteral("IdLista")) = campo("IdLista");
                          v.textoLista = QStringLiteral("Lista de Precio: ") + campo("Nombre");
                          v.fijaRuta(campo("RUTAARCHIVO"));
                      },
                      [&] {
                          lote_.ArmaGrilla();
                          // From here on the Id cells name batch-table rows.
                          v.loteRecargado = true;
                          v.cabecera = CabeceraLote::DeVentana(v);
                      }})) {
        return termina(ResultadoCarga::Estado::Abandonado);
    }
    GrillaLote& g = v.grilla;
    int leidas = 0;
    while (rs->hay()) {
        const bool sigue = pasos.paso([&] {
            FilaNovedad f;
            for (int c = 0; c < FilaNovedad::NoMarcar; ++c) {
                f[c] = campo(kColumnas[c]);
            }
            // Every cell as it was stored, TipoIva and Tipo included: a batch
            // sent again must reach the branches byte for byte as it first did.
            ++leidas;
            if (leidas > 1) {
                g.AgregaFila();
            }
            f.EnGrilla(g, g.Rows() - 1);
            lote_.MuestraAvance(leidas, total);
        });
        if (!sigue || !pasos.paso([&] { rs->siguiente(); })) {
            r.filas = leidas;
            return termina(ResultadoCarga::Estado::Abandonado);
        }
    }
    r.filas = leidas;
    v.fijaModo(ModoVentana::Regeneracion);
    v.loteRecargado = true;
    return termina(ResultadoCarga::Estado::Cargado);
}
