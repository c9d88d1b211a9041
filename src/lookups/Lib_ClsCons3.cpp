#include "lookups/Lib_ClsCons3.h"

#include "db/DB_Dll.h"
#include "lookups/ArchivoConsultas.h"
#include "lookups/ArchivoOpciones.h"
#include "runtime/Configuracion.h"
#include "runtime/ExisteArchivo.h"
#include "schema/EsquemaSql.h"
#include "utility_library/Operador.h"
#include "utility_library/Pasos.h"
#include "utility_library/Programa.h"
#include "utility_library/QlTexto.h"

#include <cmath>
#include <memory>

namespace {

VentanasConsulta* gVentanasPrograma = nullptr;
std::unique_ptr<Lib_ClsCons3> gMotor;

QVariant nivel(const QString& valor) {
    return valor.trimmed().isEmpty() ? QVariant(0) : QVariant(valor);
}

// A recorder that shows nothing, for an engine used before the program set its windows.
class SinVentanas : public VentanasConsulta {
public:
    ResultadoConsulta muestraLista(const PedidoLista&) override { return {}; }
    ResultadoConsulta muestraArbol(const PedidoArbol&) override { return {}; }
    ResultadoConsulta muestraOpciones(const PedidoOpciones&) override { return {}; }
};
SinVentanas gSinVentanas;

} // namespace

Lib_ClsCons3::Lib_ClsCons3(VentanasConsulta* ventanas)
    : ventanas_(ventanas ? ventanas : gVentanasPrograma) {
    using ModGlobal::Cfg;
    Intenta([&] { MuestraStock = Cfg(QStringLiteral("MostrarStockenConsultas")); });
    Intenta([&] { StkNivel1 = nivel(Cfg(QStringLiteral("Stk_Nivel1"))); });
    Intenta([&] { StkNivel2 = nivel(Cfg(QStringLiteral("Stk_Nivel2"))); });
    Intenta([&] { StkNivel3 = nivel(Cfg(QStringLiteral("Stk_Nivel3"))); });
    Intenta([&] { StkNivel4 = nivel(Cfg(QStringLiteral("Stk_Nivel4"))); });
    Intenta([&] {
        usaLike_ = Cfg(QStringLiteral("UsaConsultaLike"))
                       .compare(QLatin1String("SI"), Qt::CaseInsensitive) == 0;
    });
}

Lib_ClsCons3& Lib_ClsCons3::instancia() {
    if (!gMotor) {
        gMotor = std::make_unique<Lib_ClsCons3>();
    }
    return *gMotor;
}

void Lib_ClsCons3::fijaVentanasPrograma(VentanasConsulta* v) {
    gVentanasPrograma = v;
    if (gMotor) {
        gMotor->ventanas_ = v;
    }
}

void Lib_ClsCons3::reinicia() {
    gMotor.reset();
}

MotorConsultas& motorConsultas() {
    return Lib_ClsCons3::instancia();
}

int Lib_ClsCons3::limiteFilas() const {
    double n = 0;
    Intenta([&] { n = QlUtil::TextoANumero(ModGlobal::Cfg(QStringLiteral("TopConsArt"))); });
    n = std::trunc(n);
    return n <= 0 || n > 2147483647.0 ? 1000 : int(n);
}

QString Lib_ClsCons3::ramaPorDefecto(const QString& tabla, QString& CampoBusqueda,
                                     const QString& Where, const QString& SentenciaOpcional,
                                     int n) {
    if (!SentenciaOpcional.isEmpty()) {
        return SentenciaOpcional;
    }
    QString lista;
    if (tabla.compare(QLatin1String("V_TA_DEPOSITO"), Qt::CaseInsensitive) == 0) {
        lista = QStringLiteral("Descripcion,IdDeposito,UnidadNegocio,");
        CampoBusqueda = QStringLiteral("IDDEPOSITO");
    } else {
        DB_Dll& db = DB_Dll::instancia();
        Recordset rs;
        Intenta([&] {
            db.AbrirRecordset(QStringLiteral("select top 1 * from ") + tabla, rs);
            const bool conId =
                tabla.compare(QLatin1String("v_mv_mutuales"), Qt::CaseInsensitive) == 0 ||
                tabla.compare(QLatin1String("V_MV_TROPA_STOCK"), Qt::CaseInsensitive) == 0;
            auto es = [](const QString& nombre, std::initializer_list<const char*> nombres) {
                for (const char* x : nombres) {
                    if (nombre.compare(QLatin1String(x), Qt::CaseInsensitive) == 0) {
                        return true;
                    }
                }
                return false;
            };
            // Names as the definition writes them (PostgreSQL gives them in
            // lower case): the statement, and so the headers, carry them.
            const QHash<QString, EsquemaSql::ColumnaSuite> suite =
                EsquemaSql::columnasDeLaSuite(tabla);
            for (const Recordset::InfoCampo& f : rs.Campos()) {
                const auto escrita = suite.constFind(f.nombre.toLower());
                const QString nombre = escrita == suite.constEnd() ? f.nombre : escrita->nombre;
                if (es(nombre, {"ID", "FECHAHORA_MODIFICACION", "FECHAHORA_GRABACION"})) {
                    if (conId) {
                        lista = nombre + QLatin1Char(',') + lista;
                        CampoBusqueda = nombre;
                    }
                } else if (es(nombre, {"DESCRIPCION", "NOMBRE", "DETALLE"})) {
                    lista = nombre + QLatin1Char(',') + lista;
                    CampoBusqueda = nombre;
                } else {
                    if (lista.trimmed().isEmpty()) {
                        CampoBusqueda = nombre;
                    }
                    lista = nombre + QLatin1Char(',') + lista;
                }
            }
        });
        Intenta([&] { db.CierraRecordset(rs); });
    }
    if (lista.trimmed().isEmpty()) {
        lista = QStringLiteral(" * ");
    } else {
        lista.chop(1);
    }
    const QString condicion = Where + QLatin1Char(' ');
    return QStringLiteral("SELECT TOP ") + QString::number(n) + QLatin1Char(' ') + lista +
           QStringLiteral(" FROM ") + tabla +
           (condicion.trimmed().isEmpty() ? QString() : QStringLiteral(" WHERE ")) + condicion +
           QStringLiteral(" ORDER BY ") + CampoBusqueda;
}

QString Lib_ClsCons3::armaSentencia(QString& SQL, QString& CampoBusqueda, QString& Where,
                                    const QString& SentenciaOpcional, bool* seguir) {
    *seguir = true;
    if (Where.trimmed().size() > 1 && !Where.startsWith(QLatin1Char('('))) {
        Where = QStringLiteral(" (") + Where + QStringLiteral(") ");
    }
    const int n = limiteFilas();
    if (SQL.contains(QLatin1String("SELECT"), Qt::CaseInsensitive)) {
        QString s = SQL;
        if (s.contains(QLatin1String("V_MA_ARTICULOS"), Qt::CaseInsensitive)) {
            s = QlUtil::ReemplazaCadena(s, QStringLiteral("V_MA_ARTICULOS"),
                                        QStringLiteral("VT_MA_ARTICULOS"));
        }
        if (!Where.trimmed().isEmpty()) {
            QString w = Where;
            if (!w.contains(QLatin1String("WHERE"), Qt::CaseInsensitive)) {
                w = QStringLiteral(" WHERE ") + w;
            }
            s += w;
        }
        return s;
    }
    if (gUsarMascarasConsultas) {
        std::optional<DefinicionConsulta> d;
        Intenta([&] { d = ArchivoConsultas::BuscaDefinicion(gRutaMascaraConsultas, SQL); });
        if (d) {
            QString tabla = d->tabla, condicion = d->condicion;
            if (CampoBusqueda.isEmpty()) {
                if (d->columnas.contains(QLatin1Char(','))) {
                    CampoBusqueda = d->campoBusqueda;
                } else {
                    operador().MsgBox(QStringLiteral("Debe configurar la consulta para esta tabla"),
                                      Operador::SoloAceptar | Operador::IconoInformacion,
                                      QStringLiteral("Aviso al operador"));
                    *seguir = false;
                    return QString();
                }
            }
            if (condicion.trimmed().isEmpty() && !Where.trimmed().isEmpty()) {
                condicion = Where;
            }
            if ((tabla.compare(QLatin1String("VT_PROVEEDORES"), Qt::CaseInsensitive) == 0 ||
                 tabla.compare(QLatin1String("VT_CLIENTES"), Qt::CaseInsensitive) == 0) &&
                condicion.trimmed().isEmpty()) {
                condicion = QStringLiteral("Dada_De_Baja = 0");
            }
            if (tabla.compare(QLatin1String("V_MA_ARTICULOS"), Qt::CaseInsensitive) == 0) {
                tabla = QStringLiteral("VT_MA_ARTICULOS");
                if (condicion.trimmed().isEmpty()) {
                    condicion = QStringLiteral("SUSPENDIDO = 0");
                }
            }
            const QString donde =
                (condicion.trimmed().isEmpty() ? QString() : QStringLiteral(" WHERE ")) + condicion;
            if (CampoBusqueda.isEmpty()) {
                return QStringLiteral("SELECT TOP ") + QString::number(n) + QLatin1Char(' ') +
                       d->columnas + QStringLiteral(" FROM ") + tabla +
                       QStringLiteral(" with(nolock) ") + donde;
            }
            return QStringLiteral("SELECT TOP ") + QString::number(n) + QLatin1Char(' ') +
                   d->columnas + QStringLiteral(" FROM ") + tabla +
                   QStringLiteral("  with(nolock) ") + donde + QStringLiteral(" ORDER BY ") +
                   CampoBusqueda;
        }
    }
    return ramaPorDefecto(SQL, CampoBusqueda, Where, SentenciaOpcional, n);
}

void Lib_ClsCons3::ConsultaSearch(QString& SQL, std::optional<QStringList>& CmpsDevueltos,
                                  QString& Clave, QString& CampoBusqueda, QString& Where,
                                  QString& SentenciaOpcional, bool TreeView,
                                  QString& ValoresDefault) {
    bool seguir = true;
    QString sentencia;
    Intenta(
        [&] { sentencia = armaSentencia(SQL, CampoBusqueda, Where, SentenciaOpcional, &seguir); });
    if (!seguir) {
        return;
    }
    ultimaSentencia_ = sentencia;
    VentanasConsulta& v = ventanas_ ? *ventanas_ : static_cast<VentanasConsulta&>(gSinVentanas);
    if (TreeView) {
        PedidoArbol p;
        p.SQL = sentencia;
        p.CampoDevuelto = CampoDevuelto;
        p.CheckBoxes = Checks;
        p.ValorInicial = ValorInicial;
        Valores.reset();
        ResultadoConsulta r;
        Intenta([&] { r = v.muestraArbol(p); });
        ValorDevuelto = r.ValorDevuelto;
        Valores = r.Valores;
        Checks = false;
    } else {
        PedidoLista p;
        p.StkNivel[0] = StkNivel1;
        p.StkNivel[1] = StkNivel2;
        p.StkNivel[2] = StkNivel3;
        p.StkNivel[3] = StkNivel4;
        p.MuestraStock = MuestraStock;
        p.CfgUsaConsultaLIKE = usaLike_;
        p.OrdenarPorLwv = !sentencia.contains(QLatin1String("ORDER BY"), Qt::CaseInsensitive);
        p.FiltroInicial = Clave;
        p.CampoBusqueda = CampoBusqueda;
        if (gConnString.isEmpty()) {
            gConnString = DB_Dll::instancia().gConnString;
        }
        p.SQL = sentencia;
        p.gConnString = gConnString;
        p.CampoDevuelto = CampoDevuelto;
        p.CheckBoxes = Checks;
        p.UsaCantidades = UsaCantidades;
        p.ValoresDefault = ValoresDefault;
        p.ValorInicial = ValorInicial;
        Valores.reset();
        Cantidades.reset();
        p.CmpsDevueltos = CmpsDevueltos;
        ResultadoConsulta r;
        Intenta([&] { r = v.muestraLista(p); });
        Checks = false;
        Valores = r.Valores;
        Cantidades = r.Cantidades;
        ValorDevuelto = r.ValorDevuelto;
    }
    CampoDevuelto.clear();
    ValorInicial.clear();
    CmpsDevueltos.reset();
}

PedidoOpciones Lib_ClsCons3::preparaOpciones(PedidoOpciones::Tipo tipo,
                                             const QString& Titulo) const {
    PedidoOpciones p;
    p.tipo = tipo;
    p.Titulo = Titulo;
    return p;
}

void Lib_ClsCons3::anchoOpciones(PedidoOpciones& p, int largoMayor) const {
    const int w = std::max(int(p.Titulo.size()), largoMayor);
    const int pantalla = ventanas_ ? ventanas_->anchoPantallaTwips() : 1280 * 15;
    p.anchoTwips = w * 120 < pantalla ? w * 120 : pantalla;
}

QString Lib_ClsCons3::CheckOpciones(const QString& Titulo,
                                    std::optional<QStringList>& CmpsDevueltos,
                                    const QStringList& Opc) {
    Q_UNUSED(CmpsDevueltos);
    PedidoOpciones p = preparaOpciones(PedidoOpciones::Tipo::Marcas, Titulo);
    int largo = 0;
    for (const QString& o : Opc) {
        p.textos.append(o.mid(1));
        p.marcadas.append(o.startsWith(QLatin1Char('1')));
        largo = std::max(largo, int(o.size()));
    }
    anchoOpciones(p, largo);
    ResultadoConsulta r;
    Intenta([&] { r = (ventanas_ ? *ventanas_ : gSinVentanas).muestraOpciones(p); });
    Valores = r.Valores;
    return QString();
}

QString Lib_ClsCons3::MenuOpciones(const QString& Titulo, const QStringList& Opc) {
    PedidoOpciones p = preparaOpciones(PedidoOpciones::Tipo::Menu, Titulo);
    int largo = 0;
    for (const QString& o : Opc) {
        p.textos.append(o);
        p.marcadas.append(false);
        largo = std::max(largo, int(o.size()));
    }
    anchoOpciones(p, largo);
    ResultadoConsulta r;
    Intenta([&] { r = (ventanas_ ? *ventanas_ : gSinVentanas).muestraOpciones(p); });
    return QlUtil::NoNulo(r.ValorDevuelto);
}

QString Lib_ClsCons3::ConsultaDesdeArchivo(const QString& Titulo, const QString& QueArchivo,
                                           const QString& Separador) {
    Q_UNUSED(Separador);
    if (!LBM_Common::ExisteArchivo(QueArchivo)) {
        operador().MsgBox(QStringLiteral("No existe el archivo ") + QueArchivo +
                              QStringLiteral(" que desea consultar consulta "),
                          Operador::SoloAceptar, Programa::nombreEjecutable());
        return QString();
    }
    PedidoOpciones p = preparaOpciones(PedidoOpciones::Tipo::Archivo, Titulo);
    int largo = 0;
    for (const QString& l : ArchivoOpciones::Lee(QueArchivo)) {
        p.textos.append(l);
        p.marcadas.append(false);
        largo = std::max(largo, int(l.size()));
    }
    anchoOpciones(p, largo);
    ResultadoConsulta r;
    Intenta([&] { r = (ventanas_ ? *ventanas_ : gSinVentanas).muestraOpciones(p); });
    return QlUtil::NoNulo(r.ValorDevuelto);
}
