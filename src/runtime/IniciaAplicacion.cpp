#include "runtime/IniciaAplicacion.h"

#include "db/DB_Dll.h"
#include "runtime/Configuracion.h"
#include "runtime/ControlAcceso.h"
#include "runtime/LineaComando.h"
#include "runtime/ValoresGlobales.h"
#include "utility_library/CarpetasPrograma.h"
#include "utility_library/Pasos.h"
#include "utility_library/QlIni.h"
#include "utility_library/QlReport.h"
#include "utility_library/QlTexto.h"

#include <QRegularExpression>
#include <cmath>
#include <memory>

namespace {
QString gMensajeInicio;
QString gPasoFallido; // a step that stopped start-up (window still opens)
PreparaConsultas gPreparaConsultas;
std::unique_ptr<DB_Dll> gEstadisticas;

// Start-up skips a statement that fails with "invalid procedure call" (5);
// any other failure stops it there, silently.
bool corre(const char* paso, const std::function<void()>& f) {
    try {
        f();
        return true;
    } catch (const FalloKX& e) {
        if (e.error().numero == 5) {
            return true;
        }
        gPasoFallido = QString::fromLatin1(paso) + QStringLiteral(": ") + e.error().descripcion;
    } catch (const std::exception& e) {
        gPasoFallido =
            QString::fromLatin1(paso) + QStringLiteral(": ") + QString::fromLocal8Bit(e.what());
    }
    return false;
}

QString ocultaClaves(QString texto) {
    static const QRegularExpression clave(QStringLiteral("((?:pwd|password|clave)\\s*=\\s*)[^;]*"),
                                          QRegularExpression::CaseInsensitiveOption);
    return texto.replace(clave, QStringLiteral("\\1***"));
}
} // namespace

QString MensajeInicio() {
    return gMensajeInicio;
}

namespace {
int gEsperaFijada = 0;
} // namespace

void FijaTiempoDeEspera(int segundos) {
    gEsperaFijada = segundos > 0 ? segundos : 0;
}

void FijaPreparaConsultas(PreparaConsultas f) {
    gPreparaConsultas = std::move(f);
}

void ConectaEstadisticas() {
    using namespace ModGlobal;
    gKXTimeOut = 360;
    if (!gDBEstadisticas) {
        gEstadisticas = std::make_unique<DB_Dll>();
        gDBEstadisticas = gEstadisticas.get();
    }
    DB_Dll& principal = DB_Dll::instancia();
    DB_Dll& est = *gDBEstadisticas;
    // The statistics database lives beside the suite's SQL Server (or Oracle)
    // databases only.
    if (principal.gPlataforma != Plataforma::SqlServer &&
        principal.gPlataforma != Plataforma::Oracle) {
        return;
    }
    Intenta([&] {
        if (est.gOpenFlag && est.gCnn && est.gCnn->abierta()) {
            est.gCnn->Close();
        }
    });
    est.gOpenFlag = false;
    est.gProveedor = QStringLiteral("SQLOLEDB");
    est.gServidor = principal.gServidor;
    est.gPlataforma = principal.gPlataforma;
    est.gPuerto = principal.gPuerto;
    est.gDBName = QStringLiteral("VE_RAZIZIVIDEDA");
    est.gUsuario = QStringLiteral("VE_RAZIZIVIDEDA");
    // The suite's fixed login password is installed with the program, never
    // kept in the source.
    est.gUserPassWord =
        QlIni::LeeValor(QStringLiteral("ve000zi.ini"), QStringLiteral("Estadisticas"),
                        QStringLiteral("Clave"), QString());
    if (est.gUserPassWord.isEmpty()) {
        return;
    }
    Intenta([&] { est.OpenServerADODB(false, 3, QString(), true, false); });
    if (est.gOpenFlag) {
        Intenta([&] { est.gCnn->FijaBaseDefecto(QStringLiteral("VE_RAZIZIVIDEDA")); });
        Intenta([&] {
            const double v = std::nearbyint(QlUtil::TextoANumero(CfgKX(QStringLiteral("TimeOut"))));
            if (v >= -32768 && v <= 32767) {
                gKXTimeOut = int(v);
            }
            if (gKXTimeOut == 0) {
                GrabaCfgKX(QStringLiteral("TimeOut"), QStringLiteral("0"), QString(), false,
                           QStringLiteral("BaseDeDatos"), true);
            }
        });
    }
    if (gKXTimeOut <= 0) {
        gKXTimeOut = 360;
    }
}

int IniciaAplicacion(const QString& lineaComando, ModoInicio modo) {
    using namespace ModGlobal;
    gMensajeInicio.clear();
    gPasoFallido.clear();
    DB_Dll& db = DB_Dll::instancia();
    // The files start-up hands on: the ones the program writes (lookup
    // definitions) and the ones it only reads (help, report definitions).
    QString carpeta, recursos;

    corre("carpeta", [&] {
        carpeta = CarpetasPrograma::escritura();
        recursos = CarpetasPrograma::lectura();
        gArchivoAyuda = recursos + QStringLiteral("htmlhelp/vuvodozovoz.chm");
    });
    gColorFondo = 0xFFFFFF;

    const LineaComando linea = LineaComando::Lee(lineaComando);
    gUsuarioLogeado = linea.usuarioLogeado;
    gCaja = linea.caja;

    Plataforma plataforma = Plataforma::SqlServer;
    if (!linea.plataforma.isEmpty() && !LeePlataforma(linea.plataforma, plataforma)) {
        gMensajeInicio = QStringLiteral("Plataforma desconocida en la linea de comandos: \"") +
                         linea.plataforma +
                         QStringLiteral("\" (SQLSERVER, ORACLE, POSTGRESQL o SQLITE)");
        return CodigoInicio::DatosIncompletos;
    }
    int puerto = 0;
    if (!linea.puerto.isEmpty()) {
        bool ok = false;
        puerto = linea.puerto.toInt(&ok);
        if (!ok || puerto < 0 || puerto > 65535) {
            gMensajeInicio = QStringLiteral("Puerto invalido en la linea de comandos: \"") +
                             linea.puerto + QStringLiteral("\"");
            return CodigoInicio::DatosIncompletos;
        }
    }

    if (linea.puerto.isEmpty()) {
        // "tcp/SRV01:1500": the server keeps only its name, but the port must
        // not be lost with it.
        const QString sinPrefijo = linea.servidor.mid(linea.servidor.indexOf(QLatin1Char('/')) + 1);
        const auto dosPuntos = sinPrefijo.indexOf(QLatin1Char(':'));
        bool ok = false;
        const int p = dosPuntos < 0 ? 0 : sinPrefijo.mid(dosPuntos + 1).trimmed().toInt(&ok);
        if (ok && p > 0 && p <= 65535) {
            puerto = p;
        }
    }

    db.gUsuario = linea.usuario;
    db.gDBName = linea.dbName;
    db.gUserPassWord = linea.password;
    db.gServidor = ExtraeServidor(linea.servidor);
    db.gPlataforma = plataforma;
    db.gPuerto = puerto;

    // A SQLite database is a file: it needs no server and no login.
    const bool faltanDatos =
        plataforma == Plataforma::Sqlite
            ? linea.dbName.trimmed().isEmpty()
            : linea.servidor.trimmed().isEmpty() || linea.usuario.trimmed().isEmpty();
    if (faltanDatos && modo == ModoInicio::SinDialogo) {
        gMensajeInicio =
            plataforma == Plataforma::Sqlite
                ? QStringLiteral("Faltan datos de conexion: la linea de comandos debe traer "
                                 "@dbname (el archivo de la base SQLite)")
                : QStringLiteral("Faltan datos de conexion: la linea de comandos debe traer "
                                 "@server y @usuario (por ejemplo \"@server=SRV01; "
                                 "@dbname=COMERCIAL; @usuario=VENTAS; @Password=...\")");
        return CodigoInicio::DatosIncompletos;
    }

    corre("conexion", [&] { db.OpenServerADODB(faltanDatos, 3, QString(), true, true); });
    if (!db.gOpenFlag || !db.gCnn || !db.gCnn->abierta()) {
        db.gOpenFlag = false;
        gMensajeInicio = faltanDatos ? QStringLiteral("No se dieron los datos de conexion: el "
                                                      "programa termina.")
                                     : QStringLiteral("No se pudo abrir la conexion con la base "
                                                      "de datos ") +
                                           db.gDBName + QStringLiteral(" en el servidor ") +
                                           db.gServidor + QStringLiteral(".");
        return CodigoInicio::SinConexion;
    }

    // From here on a failing step stops start-up silently; the program goes on
    // with what is set.
    const bool sigue =
        corre("estadisticas", [] { ConectaEstadisticas(); }) &&
        corre("usuario", [&] { gUsuarioLogeado = db.gUsuario; }) &&
        corre("tiempo",
              [&] { db.gCnn->CommandTimeout = gEsperaFijada > 0 ? gEsperaFijada : gKXTimeOut; }) &&
        corre("aislamiento", [&] { db.gCnn->IsolationLevel = 256; }) &&
        (db.gDBName.isEmpty() ||
         (corre("dsn",
                [&] {
                    gDsnReportes = QStringLiteral("DSN=") + db.gDBName + QStringLiteral("; UID=") +
                                   db.gUsuario + QStringLiteral("; PWD=") + db.gUserPassWord;
                }) &&
          corre("reportes", [&] { QlReport::RutaReportes(recursos); }) &&
          corre("base", [&] { db.gCnn->FijaBaseDefecto(db.gDBName); }) &&
          corre("consultas",
                [&] {
                    if (gPreparaConsultas) {
                        gPreparaConsultas(carpeta, db.gConnString);
                    }
                }) &&
          corre("base", [&] { db.gCnn->FijaBaseDefecto(db.gDBName); }) &&
          corre("configuracion", [&] { CargaConfiguracion(carpeta); }))) &&
        corre("acceso", [] { ControlAcceso(QString()); });
    Q_UNUSED(sigue);
    return CodigoInicio::Correcto;
}

QString InformeInicio() {
    using namespace ModGlobal;
    const DB_Dll& db = DB_Dll::instancia();
    const bool abierta = db.gOpenFlag && db.gCnn && db.gCnn->abierta();
    auto siNo = [](bool b) { return b ? QStringLiteral("Si") : QStringLiteral("No"); };
    QString r;
    QTextStream s(&r);
    s << "Conexion: " << (abierta ? "abierta" : "cerrada") << "\n";
    s << "  Plataforma: " << NombrePlataforma(db.gPlataforma) << "\n";
    s << "  Servidor: " << db.gServidor << "\n";
    s << "  Base de datos: " << db.gDBName << "\n";
    if (db.gPuerto > 0) {
        s << "  Puerto: " << db.gPuerto << "\n";
    }
    s << "  Cadena de conexion: " << ocultaClaves(db.gConnString) << "\n";
    s << "Usuario: " << db.gUsuario << "\n";
    s << "Usuario logeado: " << gUsuarioLogeado << "\n";
    s << "Administrador: " << siNo(db.gEsAdmin) << "\n";
    s << "Caja: " << gCaja << "\n";
    s << "Tiempo de espera de comandos (s): " << gKXTimeOut << "\n";
    s << "Configuracion (" << gTablaCfg << "):\n";
    s << "  SS_CONFIDENCIALIDAD: " << siNo(db.gConfidencialidad) << "\n";
    s << "  UNIDADDEMEDIDA_KG: " << gUnidadKG << "\n";
    s << "  CFondo: &H" << QString::number(gColorFondo, 16).toUpper() << "\n";
    s << CarpetasPrograma::informe();
    if (!gDsnReportes.isEmpty()) {
        s << "Reportes: " << ocultaClaves(gDsnReportes) << "\n";
    }
    if (!gPasoFallido.isEmpty()) {
        s << "El inicio se detuvo en el paso " << gPasoFallido << "\n";
    }
    return r;
}

int ComandoInicio(const QStringList& argumentosSinPrograma, ModoInicio modo, QTextStream& salida,
                  QTextStream& errores) {
    const int codigo = IniciaAplicacion(LineaComando::DeArgumentos(argumentosSinPrograma), modo);
    if (codigo != CodigoInicio::Correcto) {
        errores << MensajeInicio() << "\n";
        errores.flush();
        return codigo;
    }
    salida << InformeInicio();
    salida.flush();
    return codigo;
}
