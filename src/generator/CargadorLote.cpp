#include "generator/CargadorLote.h"

#include "db/DB_Dll.h"
#include "progress/Dll_Display.h"
#include "utility_library/ErrorKX.h"
#include "generator/EstadoVentana.h"
#include "generator/FilaNovedad.h"
#include "utility_library/Operador.h"
#include "utility_library/Pasos.h"
#include "utility_library/QlUtil.h"
#include "db/TextoSql.h"

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
    const QString codigo = v.campo(QStringLiteral("CODIGO"));
    // The code goes into the statement bare: only a whole number may.
    if (!TextoSql::EsEntero(codigo)) {
        operador().MsgBox(kCodigoInvalido, Operador::SoloAceptar | Operador::IconoInformacion,
                          QStringLiteral("Aviso al Usuario"));
        r.estado = ResultadoCarga::Estado::Rechazado;
        return r;
    }
    Pasos pasos([](const ErrorKX& e) { return LoteNovedades::ReportaError(e, "CargaLote"); });
    Recordset rs;
    bool cartelAbierto = false;
    const auto termina = [&](ResultadoCarga::Estado estado) {
        if (cartelAbierto) {
            lote_.cartel().CartelCerrar();
        }
        lote_.db().CierraRecordset(rs);
        r.estado = estado;
        v.avisa();
        return r;
    };
    bool abierto = false;
    if (!pasos.paso([&] {
            // In the order the rows were generated.
            QString sql = QStringLiteral("SELECT * FROM MV_TARVELO WHERE CODIGO =") +
                          codigo.trimmed() + QStringLiteral(" ORDER BY ID");
            lote_.db().AbrirRecordset(sql, rs);
            if (!rs.abierto()) {
                throw FalloKX(3704, QStringLiteral("No se pudo leer la novedad %1.").arg(codigo));
            }
            abierto = true;
        })) {
        return termina(ResultadoCarga::Estado::Abandonado);
    }
    if (!abierto || rs.Eof()) {
        return termina(ResultadoCarga::Estado::SinNovedades);
    }
    lote_.cartel().CartelInicio(QStringLiteral("Cargando Datos"), false);
    cartelAbierto = true;
    lote_.IniciaAvance();
    const int total = rs.RecordCount();
    const auto campo = [&](const char* nombre) {
        return QlUtil::NoNulo(rs.Campo(QLatin1String(nombre)));
    };
    if (!pasos.pasos({[&] {
                          v.campo(QStringLiteral("fecha")) = campo("fecha");
                          v.campo(QStringLiteral("IdLista")) = campo("IdLista");
                          v.lblLista = QStringLiteral("Lista de Precio: ") + campo("Nombre");
                          v.fijaRuta(campo("RUTAARCHIVO"));
                      },
                      [&] {
                          lote_.ArmaGrilla();
                          // From here on the Id cells name batch-table rows.
                          v.loteRecargado = true;
                      }})) {
        return termina(ResultadoCarga::Estado::Abandonado);
    }
    GrillaLote& g = v.MSFlexGrid1;
    int leidas = 0;
    rs.MoveFirst();
    while (!rs.Eof()) {
        const bool sigue = pasos.paso([&] {
            FilaNovedad f;
            for (int c = 0; c < FilaNovedad::NoMarcar; ++c) {
                f[c] = campo(kColumnas[c]);
            }
            // Stored zeros of TipoIva and Tipo come back as blanks.
            for (int c : {int(FilaNovedad::TipoIva), int(FilaNovedad::Tipo)}) {
                if (f[c] == QLatin1String("0")) {
                    f[c] = QStringLiteral(" ");
                }
            }
            ++leidas;
            if (leidas > 1) {
                g.AgregaFila();
            }
            f.EnGrilla(g, g.Rows() - 1);
            lote_.MuestraAvance(leidas, total);
        });
        if (!sigue) {
            r.filas = leidas;
            return termina(ResultadoCarga::Estado::Abandonado);
        }
        rs.MoveNext();
    }
    r.filas = leidas;
    v.fijaModo(ModoVentana::Regeneracion);
    v.loteRecargado = true;
    return termina(ResultadoCarga::Estado::Cargado);
}
