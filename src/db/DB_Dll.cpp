#include "db/DB_Dll.h"
#include "db/motores/Motor.h"

#include "utility_library/CarpetasPrograma.h"
#include "utility_library/LogKX.h"
#include "utility_library/Operador.h"
#include "utility_library/Pasos.h"
#include "utility_library/Programa.h"
#include "utility_library/QlTexto.h"
#include "utility_library/Regional.h"
#include "utility_library/Reloj.h"

namespace {
DB_Dll::Dialogo& dialogoGlobal() {
    static DB_Dll::Dialogo d;
    return d;
}

const QString kCR = QStringLiteral("\r");
const QString kCRLF = QStringLiteral("\r\n");
} // namespace

DB_Dll::DB_Dll() = default;

DB_Dll::~DB_Dll() = default;

DB_Dll& DB_Dll::instancia() {
    static DB_Dll unica;
    return unica;
}

void DB_Dll::fijaDialogoConexion(Dialogo d) {
    dialogoGlobal() = std::move(d);
}

void DB_Dll::reinicia() {
    if (gCnn && gCnn->abierta()) {
        try {
            gCnn->Close();
        } catch (const FalloKX&) {
        }
    }
    *this = DB_Dll();
}

Plataforma DB_Dll::plataformaEfectiva() const {
    return gServidor.contains(QLatin1Char('#')) ? Plataforma::Oracle : gPlataforma;
}

bool DB_Dll::esOracle() const {
    return plataformaEfectiva() == Plataforma::Oracle;
}

DatosConexion DB_Dll::datosConexion() const {
    DatosConexion d;
    d.plataforma = plataformaEfectiva();
    d.servidor = gServidor.trimmed();
    d.servidor.remove(QLatin1Char('#'));
    d.puerto = gPuerto;
    // SQL Server's "host,port" form.
    const qsizetype coma = d.servidor.indexOf(QLatin1Char(','));
    if (coma >= 0) {
        if (d.puerto == 0) {
            d.puerto = d.servidor.mid(coma + 1).trimmed().toInt();
        }
        d.servidor = d.servidor.left(coma).trimmed();
    }
    d.baseDatos = gDBName.trimmed();
    d.usuario = gUsuario;
    d.clave = gUserPassWord;
    d.ordenFecha = Regional::ordenFecha();
    d.controladorOdbc = gControladorOdbc;
    d.creaSiFalta = gCreaArchivo;
    return d;
}

QString DB_Dll::ArmaConnString() const {
    if (esOracle()) {
        return QStringLiteral("Provider=OraOLEDB.Oracle.1;Data Source=") + gDBName +
               QStringLiteral(";User Id=") + gUsuario + QStringLiteral(";Password=") +
               gUserPassWord + QStringLiteral(";");
    }
    QString proveedor;
    switch (gPlataforma) {
    case Plataforma::PostgreSql:
        proveedor = QStringLiteral("POSTGRESQL");
        break;
    case Plataforma::Sqlite:
        proveedor = QStringLiteral("SQLITE");
        break;
    default:
        proveedor = pSQLOLEDB();
        break;
    }
    QString t = QStringLiteral("PROVIDER=") + proveedor + QStringLiteral(";") +
                QStringLiteral("Server=") + gServidor + QStringLiteral(";") +
                QStringLiteral("Database =") + gDBName + QStringLiteral(";") +
                QStringLiteral("UId=") + gUsuario + QStringLiteral(";") + QStringLiteral("Pwd=") +
                gUserPassWord + QStringLiteral(";");
    if (gPlataforma == Plataforma::SqlServer) {
        t += gExtended;
    } else if (gPuerto > 0) {
        t += QStringLiteral("Port=") + QString::number(gPuerto) + QStringLiteral(";");
    }
    return t;
}

bool DB_Dll::dialogoConexion() {
    Dialogo& d = dialogoGlobal();
    if (!d) {
        gOpenFlag = false;
        return false;
    }
    DialogoConexion v;
    v.dbName = gDBName;
    v.servidor = gServidor;
    v.usuario = gUsuario;
    v.password = gUserPassWord;
    // The suite's dialog starts on its first entry; ours keeps PostgreSQL or SQLite.
    v.indicePlataforma = esOracle() ? 0 : gPlataforma == Plataforma::Oracle ? 0 : int(gPlataforma);
    v.puerto = gPuerto;
    v.aceptar = false;
    d(v);
    if (!v.aceptar) {
        gOpenFlag = false;
        return false;
    }
    gOpenFlag = true;
    gDBName = v.dbName;
    gServidor = v.servidor;
    gUsuario = v.usuario;
    gUserPassWord = v.password;
    gPuerto = v.puerto;
    switch (v.indicePlataforma) {
    case 1:
        gProveedor = QStringLiteral("OraOLEDB.Oracle.1");
        gPlataforma = Plataforma::Oracle;
        if (!gServidor.contains(QLatin1Char('#'))) {
            gServidor = QStringLiteral("#") + gServidor;
        }
        break;
    case 2:
    case 3:
        gProveedor = pSQLOLEDB();
        gPlataforma = v.indicePlataforma == 2 ? Plataforma::PostgreSql : Plataforma::Sqlite;
        gServidor.remove(QLatin1Char('#')); // no longer an Oracle database
        break;
    default:
        gProveedor = pSQLOLEDB();
        gPlataforma = Plataforma::SqlServer;
        gServidor.remove(QLatin1Char('#'));
        break;
    }
    return true;
}

QString DB_Dll::textoErrorConexion(const ErrorADO& e) const {
    const QStringList propio =
        MotorDe(plataformaEfectiva())
            .explicaFalloDeConexion(e.descripcion, gServidor, gPuerto, gDBName, gUsuario);
    if (!propio.isEmpty()) {
        // Few lines: the box shows them all, none taken for a list.
        return propio.first() + kCRLF + kCRLF + propio.mid(1).join(kCRLF) + kCRLF + kCRLF +
               QStringLiteral("Detalle: ") + e.descripcion + QStringLiteral(" (Estado de Sql ") +
               e.sqlState + QStringLiteral(", Codigo Nativo ") + QString::number(e.nativo) +
               QStringLiteral(")") + kCRLF + kCRLF +
               QStringLiteral(" - Desea Intentarlo Nuevamente??? ");
    }
    return QStringLiteral(" Estado de Sql: ") + e.sqlState + kCR +
           QStringLiteral("Numero de Error: ") + QString::number(e.numero) + kCR +
           QStringLiteral("Descripcion: ") + e.descripcion + kCR +
           QStringLiteral("Codigo Nativo: ") + QString::number(e.nativo) + kCR + kCRLF +
           QStringLiteral("Nombre de Proceso: ") + Programa::nombreEjecutable() + kCR + kCRLF +
           kCRLF + QStringLiteral("1. Verifique el Usuario, contraseña y base de datos") + kCRLF +
           QStringLiteral("2. Verifique el nombre del servidor, quizas necesite agregarle el "
                          "nombre de la instancia, por ejemplo : ") +
           gServidor + QStringLiteral("\\QUORLIN") + kCRLF +
           QStringLiteral("3. Verifique si el inicio de sesion para el usuario ") + gUsuario +
           QStringLiteral(" existe") + kCRLF + kCRLF + kCRLF +
           QStringLiteral(" - Desea Intentarlo Nuevamente??? ");
}

QString DB_Dll::textoBaseBloqueada(const ErrorADO& e) const {
    return QStringLiteral("La base de datos ") + gDBName +
           QStringLiteral(" esta bloqueada: otro proceso la esta modificando y no la libero "
                          "a tiempo.") +
           kCRLF + QStringLiteral("Descripcion: ") + e.descripcion + kCRLF + kCRLF +
           QStringLiteral(" - Desea Intentarlo Nuevamente??? ");
}

void DB_Dll::verificaAdmin(bool MuestraError) {
    if (gDBName.trimmed().isEmpty()) {
        return;
    }
    gCnn->FijaBaseDefecto(gDBName);
    if (!DB_Dll::instancia().ExisteTablaDB(QStringLiteral("TA_USUARIOS"))) {
        return;
    }
    if (!MuestraError) {
        gEsAdmin = true;
        return;
    }
    const QString v = DatosTabla(QStringLiteral("ta_usuarios"), gUsuario,
                                 QStringLiteral("Administrador"), QStringLiteral("nombre"));
    gEsAdmin = QlUtil::TextoANumero(v) == 1.0;
}

void DB_Dll::OpenServerADODB(bool PideParametrosSQL, long lCursor, const QString& ConnString,
                             bool ValidaAdmin, bool MuestraError) {
    gOpenFlag = true;
    if (gProveedor.trimmed().isEmpty()) {
        gProveedor = pSQLOLEDB();
    }
    gConnString = ConnString.trimmed().isEmpty() ? ArmaConnString() : ConnString;
    if (PideParametrosSQL) {
        if (!dialogoConexion()) {
            gOpenFlag = false;
            return;
        }
        gConnString = ArmaConnString();
    }
    if (!gCnn) {
        gCnn = std::make_shared<Conexion>();
    }
    bool cerradaPorAbierta = false;
    int paso = 0; // 0 open, 1 administrator check
    while (paso < 2) {
        try {
            if (paso == 0) {
                gCnn->CursorLocation = int(lCursor);
                gCnn->ConnectionString = gConnString;
                gCnn->Open(datosConexion());
            } else if (ValidaAdmin) {
                verificaAdmin(MuestraError);
            }
            ++paso;
        } catch (const FalloKX& f) {
            const ErrorKX& e = f.error();
            const bool yaAbierta = e.numero == NumerosADO::ObjetoAbierto;
            if (!MuestraError || gCnn->Errors.isEmpty()) {
                if (yaAbierta && !cerradaPorAbierta) {
                    cerradaPorAbierta = true;
                    try {
                        gCnn->Close();
                    } catch (const FalloKX&) {
                    }
                    continue;
                }
                if (!MuestraError) {
                    gOpenFlag = false;
                    return;
                }
                operador().MsgBox(e.descripcion, Operador::SoloAceptar, QString());
                return;
            }
            if (gCnn->bloqueada()) {
                // Another program is writing: user, password and server are
                // fine, so the same connection is tried again as it is.
                const int r =
                    operador().MsgBox(textoBaseBloqueada(gCnn->Errors.first()),
                                      Operador::SiNo + Operador::IconoCritico,
                                      QStringLiteral(" Error de Conexion a Base de Datos"));
                gCnn->Errors.clear();
                if (r != Operador::Si) {
                    gOpenFlag = false;
                    return;
                }
                continue;
            }
            const int r = operador().MsgBox(textoErrorConexion(gCnn->Errors.first()),
                                            Operador::SiNo + Operador::IconoCritico,
                                            QStringLiteral(" Error de Conexion a Base de Datos"));
            if (r != Operador::Si) {
                gOpenFlag = false;
                return;
            }
            gCnn->Errors.clear();
            if (!dialogoConexion()) {
                gOpenFlag = false;
                return;
            }
            gConnString = ArmaConnString();
        }
    }
}

void DB_Dll::ReintentaConectar() {
    gOpenFlag = false;
    if (!gCnn) {
        gCnn = std::make_shared<Conexion>();
    }
    gCnn->CommandTimeout = 5;
    try {
        gCnn->Close();
    } catch (const FalloKX&) {
        // Already closed: go on.
    }
    DatosConexion d = gCnn->datos();
    const DB_Dll& principal = DB_Dll::instancia();
    if (!principal.gUsuario.isEmpty()) {
        d.usuario = principal.gUsuario;
        d.clave = principal.gUserPassWord;
    }
    for (;;) {
        try {
            gCnn->Open(d);
            break;
        } catch (const FalloKX& f) {
            gOpenFlag = false;
            if (f.error().numero == NumerosADO::FalloNoEspecificado) {
                return;
            }
            const int r = TratamientoErrores(f.error(), Operador::ErrorConReintento,
                                             QStringLiteral("AbrirRecordset"));
            if (r == Operador::Reintentar) {
                continue;
            }
            if (r != Operador::Ignorar) {
                return;
            }
            break;
        }
    }
    // Only an open connection counts as open, whatever the operator answered.
    gOpenFlag = gCnn->abierta();
}

bool DB_Dll::ExisteTablaDB(const QString& Tabla) {
    const QString buscada = Tabla.trimmed();
    for (;;) {
        try {
            if (!gCnn) {
                return false;
            }
            if (!gCnn->abierta()) {
                throw FalloKX(NumerosADO::ConexionCerrada,
                              QStringLiteral("Operation is not allowed when the object is closed."),
                              QStringLiteral("ADODB.Connection"));
            }
            for (const QString& t : gCnn->tablas()) {
                if (t.trimmed().compare(buscada, Qt::CaseInsensitive) == 0) {
                    return true;
                }
            }
            return false;
        } catch (const FalloKX& f) {
            const int r = TratamientoErrores(f.error(), Operador::ErrorConReintento,
                                             QStringLiteral("VerificaCampos"));
            if (r == Operador::Reintentar) {
                continue;
            }
            return false;
        }
    }
}

int DB_Dll::TratamientoErrores(const ErrorKX& ErrObj, int Botones, const QString& Rutina) {
    // Never fails: a log that cannot be written loses its line.
    int respuesta = 0;
    QString ruta, mensaje, rutina, titulo;
    // The error dialog itself never fails its caller: each part on its own,
    // no answer meaning "leave".
    Intenta([&] {
        ruta = CarpetasPrograma::escritura() + QStringLiteral("KXERR.LOG");
        mensaje = LogKX::mensaje(ErrObj);
        rutina = LogKX::textoRutina(Rutina);
        titulo = ErrObj.fuente + rutina + QStringLiteral(" Aviso al operador!!! - 5 ");
    });
    Intenta([&] { respuesta = operador().MsgBox(mensaje, Botones, titulo); });
    Intenta([&] { LogKX::agrega(ruta, LogKX::linea(Reloj::ahora(), rutina, mensaje, respuesta)); });
    return respuesta;
}
