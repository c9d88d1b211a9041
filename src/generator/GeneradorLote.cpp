#include "generator/GeneradorLote.h"

#include "generator/ArchivosCambio.h"
#include "generator/ArticulosBalanzaDB.h"
#include "db/DB_Dll.h"
#include "utility_library/ErrorKX.h"
#include "generator/EstadoVentana.h"
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

#include <QDir>

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

namespace {
const QString kRutina = QStringLiteral("cmdExportar");
const QString kAviso = QStringLiteral("Aviso al Usuario");

int avisa(const QString& texto) {
    return operador().MsgBox(texto, Operador::SoloAceptar | Operador::IconoInformacion, kAviso);
}

int pregunta(const QString& texto, const QString& titulo) {
    return operador().MsgBox(texto, Operador::SiNo | Operador::IconoPregunta, titulo);
}

// The identifier of the row's source, which goes into the statement bare.
QString identificador(const GrillaLote& g, int fila) {
    const QString id = g.TextMatrix(fila, FilaNovedad::Id).trimmed();
    if (!TextoSql::EsEntero(id)) {
        throw FalloKX(13,
                      QStringLiteral("Type mismatch: la fila %1 no tiene un Id válido ('%2')")
                          .arg(fila)
                          .arg(id),
                      kRutina);
    }
    return id;
}
} // namespace

void GeneradorLote::GrabaFila(int fila, bool regeneracion, const QString& codigo,
                              const QString& marcaTiempo, SentenciasLote& sentencias) {
    const GrillaLote& g = lote_.ventana().MSFlexGrid1;
    const QString id = identificador(g, fila);
    if (regeneracion) {
        if (sentencias.preparadas()) {
            sentencias.Estampa(marcaTiempo, id.toLongLong());
            return;
        }
        lote_.Ejecuta(QStringLiteral("UPDATE MV_TARVELO SET RETRANSMITIDO = ") +
                          TextoSql::Literal(marcaTiempo) + QStringLiteral(" WHERE ID =") + id,
                      kRutina);
        return;
    }
    const EstadoVentana& v = lote_.ventana();
    const auto celda = [&](int c) { return g.TextMatrix(fila, c); };
    // The values after the code, in the statement's column order.
    const QStringList valores = {
        QlUtil::FormateaCodigo(lista_, 4), nombreLista_,
        v.campo(QStringLiteral("Fecha")),  celda(FilaNovedad::TipoMov),
        celda(FilaNovedad::CodInterno),    celda(FilaNovedad::Descripcion),
        celda(FilaNovedad::Marca),         celda(FilaNovedad::PrecioVenta),
        celda(FilaNovedad::Precio),        celda(FilaNovedad::Internos),
        celda(FilaNovedad::PrecioCosto),   celda(FilaNovedad::CondIva),
        celda(FilaNovedad::TipoIva),       celda(FilaNovedad::Fijo),
        celda(FilaNovedad::CodBarra),      celda(FilaNovedad::Rubro),
        celda(FilaNovedad::Tipo),          celda(FilaNovedad::Aux1),
        celda(FilaNovedad::Aux2),          v.lblRuta,
        ModGlobal::gUsuarioLogeado,
    };
    const bool marca = g.TextMatrix(fila, FilaNovedad::NoMarcar) == QLatin1String("0") &&
                       lista_.trimmed().compare(QLatin1String("A3"), Qt::CaseInsensitive) != 0;
    Conexion& cn = *lote_.db().gCnn;
    cn.BeginTrans();
    try {
        if (sentencias.preparadas()) {
            if (marca) {
                sentencias.Marca(id.toLongLong());
            }
            sentencias.Inserta(codigo.toLongLong(), valores, valores[2]);
        } else {
            if (marca) {
                lote_.Ejecuta(QStringLiteral("UPDATE V_MA_PRECIOS SET ESTADO = '1-M' , "
                                             "CAMBIOCODBARRA=0  WHERE ID = ") +
                                  id,
                              kRutina);
            }
            QString sql = QStringLiteral(
                "INSERT INTO MV_TARVELO (Codigo,IdLista,Nombre,Fecha,TipoMov,CodInterno,"
                "Descripcion,Marca,PrecioVenta,Precio,Internos,PrecioCosto,CondIva,TipoIva,"
                "Fijo,CodBarra,Rubro,Tipo,Aux1,Aux2,RutaArchivo,Usuario) VALUES(");
            sql += codigo;
            for (const QString& valor : valores) {
                sql += QLatin1Char(',') + TextoSql::Literal(valor);
            }
            sql += QLatin1Char(')');
            lote_.Ejecuta(sql, kRutina);
        }
        cn.CommitTrans();
    } catch (...) {
        try {
            if (cn.nivelTransaccion() > 0) {
                cn.RollbackTrans();
            }
        } catch (...) {
        }
        throw;
    }
}

ResultadoGeneracion GeneradorLote::Genera() {
    ResultadoGeneracion r;
    EstadoVentana& v = lote_.ventana();
    GrillaLote& g = v.MSFlexGrid1;

    lista_ = v.campo(QStringLiteral("IdLista"));
    if (lista_.trimmed().isEmpty()) {
        avisa(kDebeIngresarLista);
        r.estado = ResultadoGeneracion::Estado::SinLista;
        return r;
    }
    QString codigo = v.campo(QStringLiteral("Codigo")).trimmed();
    r.codigo = codigo;
    // The code is written into the statements bare.
    if (!TextoSql::EsEntero(codigo)) {
        avisa(QStringLiteral("El código de la novedad debe ser un número entero."));
        r.estado = ResultadoGeneracion::Estado::CodigoInvalido;
        return r;
    }
    bool hayFilas = false;
    for (int f = 1; f < g.Rows() && !hayFilas; ++f) {
        hayFilas = !FilaNovedad::EnBlanco(g, f);
    }
    if (!hayFilas) {
        avisa(kNadaQueGenerar);
        r.estado = ResultadoGeneracion::Estado::NadaQueGenerar;
        return r;
    }
    // The list's name is what the list label shows after its first ":".
    const qsizetype dosPuntos = v.lblLista.indexOf(QLatin1Char(':'));
    nombreLista_ = dosPuntos >= 0 ? v.lblLista.mid(dosPuntos + 1).trimmed() : QString();

    Pasos pasos([](const ErrorKX& e) { return LoteNovedades::ReportaError(e, kRutina); });
    bool regeneracion = false;
    QString marcaTiempo;
    bool existe = false;
    if (!pasos.paso([&] {
            existe =
                lote_.db().ExisteEnTabla(QStringLiteral("MV_TARVELO"), codigo,
                                         QStringLiteral("CODIGO"), nullptr, 8, QString(), true);
        })) {
        r.estado = ResultadoGeneracion::Estado::Abandonado;
        return r;
    }
    if (existe && v.loteRecargado) {
        if (pregunta(kRegenerar, QStringLiteral("ATENCIÓN")) != Operador::Si) {
            r.estado = ResultadoGeneracion::Estado::Declinado;
            return r;
        }
        regeneracion = true;
        marcaTiempo = Regional::fechaHoraGeneral(Reloj::ahora());
    } else if (existe) {
        // A fresh batch whose code another workstation used meanwhile: its Id
        // cells name price rows, so it can only become a new batch.
        QString proximo;
        if (!pasos.paso([&] { proximo = lote_.ProximoCodigo(); })) {
            r.estado = ResultadoGeneracion::Estado::Abandonado;
            return r;
        }
        if (pregunta(kCodigoUsado.arg(codigo, proximo), QStringLiteral("ATENCIÓN")) !=
            Operador::Si) {
            r.estado = ResultadoGeneracion::Estado::Declinado;
            return r;
        }
        codigo = proximo;
        v.campo(QStringLiteral("Codigo")) = codigo;
        r.codigo = codigo;
        v.avisa();
    }

    ArticulosBalanzaDB articulosDB(lote_.db());
    ArchivosCambio archivos(lote_.articulosBalanza() ? *lote_.articulosBalanza() : articulosDB,
                            ModGlobal::gUnidadKG);
    enum { SinAbrir, Abiertos, FaltaCarpeta } apertura = SinAbrir;
    if (!pasos.paso([&] { apertura = archivos.Abre(v.lblRuta) ? Abiertos : FaltaCarpeta; })) {
        r.estado = ResultadoGeneracion::Estado::Abandonado;
        return r;
    }
    if (apertura == FaltaCarpeta) {
        r.estado = ResultadoGeneracion::Estado::SinCarpeta;
        return r;
    }
    if (apertura == SinAbrir) {
        // Going on past files that could not be created leaves nothing to write into.
        r.estado = ResultadoGeneracion::Estado::Abandonado;
        return r;
    }
    if (!lote_.db().gCnn) {
        LoteNovedades::ReportaError(
            ErrorKX{3709, QStringLiteral("La conexión con la base de datos no está abierta."),
                    kRutina},
            kRutina);
        r.estado = ResultadoGeneracion::Estado::Abandonado;
        return r;
    }
    SentenciasLote sentencias(*lote_.db().gCnn);
    r.rutaCambios = QDir::toNativeSeparators(ArchivosCambio::RutaLocal(v.lblRuta));
    r.rutaBalanza =
        QDir::toNativeSeparators(ArchivosCambio::RutaLocal(ArchivosCambio::RutaBalanza(v.lblRuta)));

    v.PBarMin = 0;
    v.PBarMax = g.Rows() - 1;
    for (int fila = 1; fila < g.Rows(); ++fila) {
        Programa::permiteEventos();
        // A row where nothing was loaded is neither written nor recorded.
        if (FilaNovedad::EnBlanco(g, fila)) {
            continue;
        }
        bool grabada = false;
        const bool sigue = pasos.pasos(
            {[&] { archivos.EscribeCambios(g, fila); }, [&] { archivos.EscribeBalanza(g, fila); },
             [&] {
                 GrabaFila(fila, regeneracion, codigo, marcaTiempo, sentencias);
                 grabada = true;
             }});
        if (!sigue) {
            // Leaving: the files close whole (the pair's destructor), the rows
            // recorded so far stay, the window is left as it is.
            archivos.Cierra();
            r.estado = ResultadoGeneracion::Estado::Abandonado;
            return r;
        }
        if (grabada) {
            ++r.filas;
        }
        v.PBarValor = fila;
        v.avisa();
    }
    if (!pasos.paso([&] { archivos.Cierra(); })) {
        r.estado = ResultadoGeneracion::Estado::Abandonado;
        return r;
    }
    r.estado = regeneracion ? ResultadoGeneracion::Estado::Regenerado
                            : ResultadoGeneracion::Estado::Generado;

    if (pregunta(kTestigo, QStringLiteral("Atención")) == Operador::Si) {
        if (!pasos.paso([&] { lote_.ImprimeTestigo(false); })) {
            return r;
        }
    }
    lote_.InicializaFormulario();
    return r;
}
