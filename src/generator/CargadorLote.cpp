#include "generator/CargadorLote.h"

#include "generator/EstadoVentana.h"
#include "generator/FilaNovedad.h"
#include "generator/FilaOrigen.h"
#include "generator/ListaPrecios.h"
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
// The stored column each grid column is read back from: its own, and for the
// Id cells the batch table's row, which names the row from here on. The mark
// is not stored.
const QStringList& columnasLeidas() {
    static const QStringList r = [] {
        QStringList c;
        for (const ColumnaGrilla& g : kColumnasGrilla) {
            if (g.grabada) {
                c << TablaLote::NombreDe(*g.grabada);
            } else if (g.columna == FilaNovedad::Id) {
                c << QString::fromLatin1(TablaLote::kId.data(), qsizetype(TablaLote::kId.size()));
            } else {
                c << QString();
            }
        }
        return c;
    }();
    return r;
}
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
    const auto campo = [&](const QString& nombre) {
        return QlUtil::NoNulo(rs->fila().Campo(nombre));
    };
    if (!pasos.pasos({[&] {
                          v.campo(QStringLiteral("fecha")) = campo(QStringLiteral("fecha"));
                          v.campo(QStringLiteral("IdLista")) = campo(QStringLiteral("IdLista"));
                          // The stored batch's list, code and name as recorded together.
                          v.fijaLista(ListaPrecios{campo(QStringLiteral("IdLista")).trimmed(),
                                                   campo(QStringLiteral("Nombre")).trimmed()});
                          v.fijaRuta(campo(QStringLiteral("RUTAARCHIVO")));
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
            const QStringList& columnas = columnasLeidas();
            for (int c = 0; c < FilaNovedad::Columnas; ++c) {
                if (!columnas[c].isEmpty()) {
                    f[c] = campo(columnas[c]);
                }
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
