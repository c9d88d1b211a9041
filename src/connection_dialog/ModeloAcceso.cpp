#include "connection_dialog/ModeloAcceso.h"

#include "utility_library/CarpetasPrograma.h"
#include "utility_library/ArchivoPublicado.h"
#include "utility_library/ErrorKX.h"

#include "connection_dialog/BasesRegistradas.h"
#include "db/Conexion.h"
#include "db/DB_Dll.h"
#include "runtime/ErroresOperador.h"
#include "runtime/ExisteArchivo.h"
#include "runtime/ListaBases.h"
#include "utility_library/Operador.h"
#include "utility_library/Pasos.h"
#include "utility_library/Programa.h"
#include "utility_library/QlDialogos.h"
#include "utility_library/QlTexto.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <cmath>

QStringList ModeloAcceso::Plataformas() {
    return {QStringLiteral("SQL Server"), QStringLiteral("ORACLE"), QStringLiteral("PostgreSQL"),
            QStringLiteral("SQLite")};
}

Plataforma ModeloAcceso::plataforma() const {
    switch (indicePlataforma) {
    case 1:
        return Plataforma::Oracle;
    case 2:
        return Plataforma::PostgreSql;
    case 3:
        return Plataforma::Sqlite;
    default:
        return Plataforma::SqlServer;
    }
}

QString& ModeloAcceso::texto(Caja c) {
    static QString ninguna;
    switch (c) {
    case Servidor:
        return txtServidor;
    case DbName:
        return txtDbName;
    case UserId:
        return txtUserId;
    case UserPassword:
        return txtUserPassword;
    case Puerto:
        return txtPuerto;
    default:
        ninguna.clear();
        return ninguna;
    }
}

void ModeloAcceso::Carga() {
    llenarlist();
    MensajeInicial(UserId);
    MensajeInicial(UserPassword);
    MensajeInicial(DbName);
    MensajeInicial(DbName);
    MensajeInicial(Servidor);
}

void ModeloAcceso::llenarlist() {
    Pasos pasos([](const ErrorKX& e) {
        return ModGlobal::MuestraErrorOperador(e, Operador::ErrorConReintento,
                                               QStringLiteral("FormLoad"));
    });
    QList<BasesRegistradas::Registro> registros;
    pasos.pasos({
        [&] { rutaBases = CarpetasPrograma::escritura() + QStringLiteral("BASES.TXT"); },
        [&] {
            lstBases.clear();
            indiceLista = -1;
            if (!LBM_Common::ExisteArchivo(rutaBases)) {
                return;
            }
            if (!BasesRegistradas::Lee(rutaBases, registros)) {
                throw FalloKX(75, QStringLiteral("Path/File access error: ") + rutaBases);
            }
            for (const auto& r : registros) {
                if (!r.nombre.trimmed().isEmpty()) {
                    lstBases << r.nombre;
                }
            }
            if (!lstBases.isEmpty()) {
                indiceLista = 0;
                AsignarDatosBase();
            }
        },
    });
}

void ModeloAcceso::DatosBase(const QString& Nombre) {
    if (rutaBases.isEmpty()) {
        rutaBases = CarpetasPrograma::escritura() + QStringLiteral("BASES.TXT");
    }
    if (!LBM_Common::ExisteArchivo(rutaBases)) {
        return;
    }
    QList<BasesRegistradas::Registro> registros;
    if (!BasesRegistradas::Lee(rutaBases, registros)) {
        QlUtil::ReportaError(
            ErrorKX{75, QStringLiteral("Path/File access error"), QStringLiteral("DatosBase")});
        return;
    }
    for (const auto& r : registros) {
        if (r.nombre.trimmed() == Nombre.trimmed()) {
            encontradoServidor = r.servidor;
            encontradoBaseDatos = r.baseDatos;
            return;
        }
    }
}

void ModeloAcceso::AsignarDatosBase() {
    if (indiceLista < 0 || indiceLista >= lstBases.size()) {
        return;
    }
    DatosBase(lstBases.at(indiceLista).trimmed());
    BasesRegistradas::SeparaPuerto(encontradoServidor, valorPuerto);
    txtServidor = encontradoServidor;
    txtUserId.clear();
    txtUserPassword.clear();
    txtDbName = encontradoBaseDatos;
    txtPuerto = valorPuerto;
}

QString ModeloAcceso::Pista(Caja c) {
    switch (c) {
    case UserId:
        return QStringLiteral("Ingrese el usuario");
    case DbName:
        return QStringLiteral("ingrese el nombre de la base de datos");
    case Servidor:
        return QStringLiteral("ingrese el nombre del servidor e instancia");
    default:
        return QString();
    }
}

bool ModeloAcceso::MensajeInicial(Caja c) {
    const QString pista = Pista(c);
    QString& t = texto(c);
    if (t.trimmed().isEmpty() || t == pista) {
        t = pista;
        enColorPista[c] = true;
        return true;
    }
    return false;
}

void ModeloAcceso::Aceptar() {
    encontradoServidor.clear();
    DatosBase(BasesRegistradas::Clave(txtServidor, txtDbName));
    aceptar = true;
}

void ModeloAcceso::Cancelar() {
    aceptar = false;
}

bool ModeloAcceso::ExisteBaseDeDatos(const QString& Servidor, const QString& Dbname,
                                     const QString& Usuario, const QString& Password,
                                     Plataforma plataforma, int puerto) {
    try {
        // A SQLite database is a file: testing it must not create it.
        if (plataforma == Plataforma::Sqlite) {
            QString ruta = Dbname;
            if (QFileInfo(ruta).isRelative()) {
                ruta = CarpetasPrograma::escritura() + ruta;
            }
            if (!QFileInfo(ruta).isFile()) {
                return false;
            }
        }
        Conexion prueba;
        DatosConexion datos;
        datos.plataforma = plataforma;
        datos.servidor = Servidor;
        datos.puerto = puerto;
        datos.baseDatos = Dbname;
        datos.usuario = Usuario;
        datos.clave = Password;
        prueba.Open(datos);
        const bool abierta = prueba.abierta();
        try {
            prueba.Close();
        } catch (...) {
            // A trial connection: its answer was already read.
        }
        return abierta;
    } catch (...) {
        return false;
    }
}

void ModeloAcceso::Registrar() {
    DB_Dll& db = DB_Dll::instancia();
    const QString clave = BasesRegistradas::Clave(txtServidor, txtDbName);
    encontradoServidor.clear();
    DatosBase(clave);
    if (!encontradoServidor.trimmed().isEmpty()) {
        operador().MsgBox(QStringLiteral("La conexion que intenta registrar ya existe "),
                          Operador::SoloAceptar | Operador::IconoInformacion,
                          QStringLiteral("Atencion"));
        return;
    }
    double puerto = std::nearbyint(QlUtil::TextoAMoneda(txtPuerto));
    if (puerto <= 0 || puerto > 65535) {
        puerto = 1433;
    }
    txtServidor = txtServidor.trimmed();
    txtUserId = txtUserId.trimmed();
    txtUserPassword = txtUserPassword.trimmed();
    txtDbName = txtDbName.trimmed();
    const QString servidor = txtServidor;
    // The port the test uses: the one typed after the server, else the box's.
    QString servidorPrueba = servidor, puertoTexto;
    int puertoPrueba = int(puerto);
    if (BasesRegistradas::SeparaPuerto(servidorPrueba, puertoTexto)) {
        servidorPrueba = servidor.left(servidor.indexOf(QLatin1Char(':')));
        puertoPrueba = puertoTexto.toInt();
    }
    const QString baseMayus = plataforma() == Plataforma::Sqlite ? txtDbName : txtDbName.toUpper();

    // The suite's standard login (user and password named after the database).
    bool registrada = false;
    if (ExisteBaseDeDatos(servidorPrueba, baseMayus, txtDbName.toUpper(), txtDbName.toUpper(),
                          plataforma(), puertoPrueba)) {
        registrada = true;
    } else {
        // Then the login typed, on the main connection.
        try {
            if (db.gOpenFlag && db.gCnn && db.gCnn->abierta()) {
                db.gCnn->Close();
            }
        } catch (...) {
            // The link is replaced right after: a dead one has nothing to close.
        }
        db.gServidor = servidorPrueba;
        db.gUsuario = txtUserId;
        db.gUserPassWord = txtUserPassword;
        db.gDBName = txtDbName;
        db.gPlataforma = plataforma();
        db.gPuerto = puertoPrueba;
        try {
            db.OpenServerADODB(false, 3, QString(), true, true);
        } catch (const FalloKX& e) {
            const qint32 n = e.error().numero;
            if (n != 3704 && n != qint32(0x80070420) && n != 1056 && n != 440 && n != 20480) {
                operador().MsgBox(QStringLiteral("SQL Server start failed.  ") + QLatin1Char('\r') +
                                      QStringLiteral("SQL-DMO error:  ") + QString::number(n) +
                                      QLatin1Char(' ') + e.error().descripcion,
                                  Operador::SoloAceptar, QString());
            }
        }
        if (db.gOpenFlag && db.gCnn && db.gCnn->abierta()) {
            registrada = true;
        } else {
            operador().MsgBox(QStringLiteral("NO SE PUDO CONECTAR AL SERVIDOR ") + servidor +
                                  QStringLiteral(" VERIFIQUE EL NOMBRE DE USUARIO Y PASSWORD "
                                                 "INGRESADO"),
                              Operador::SoloAceptar | Operador::IconoInformacion,
                              QStringLiteral("AVISO AL OPERADOR"));
            return;
        }
    }
    if (registrada) {
        // The registered login is the database name, as the suite registers it.
        if (!LBM_Common::RegistraBase(clave, txtDbName, txtDbName, txtDbName, servidor)) {
            operador().MsgBox(QStringLiteral("No se pudo escribir ") +
                                  QDir::toNativeSeparators(LBM_Common::RutaBases()),
                              Operador::SoloAceptar | Operador::IconoCritico,
                              QStringLiteral("AVISO AL OPERADOR"));
        }
    }
    const QString odbc = QlUtil::AgregaBarra(Programa::carpeta()) + QStringLiteral("ODBC.exe");
    if (LBM_Common::ExisteArchivo(odbc)) {
        QProcess::startDetached(odbc, {QStringLiteral("Server=") + servidor +
                                       QStringLiteral(";DB=") + db.gDBName + QStringLiteral(";")});
    }
    try {
        if (db.gCnn && db.gCnn->abierta()) {
            db.gCnn->Close();
        }
    } catch (...) {
        // The link is replaced right after: a dead one has nothing to close.
    }
    llenarlist();
}

QString ModeloAcceso::CreaAccesoDirecto(const QString& carpetaEscritorio, const QString& programa) {
    QString carpeta = carpetaEscritorio;
    if (carpeta.isEmpty()) {
        carpeta = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    }
    QString destino = programa;
    if (destino.isEmpty()) {
        destino = QCoreApplication::instance()
                      ? QCoreApplication::applicationFilePath()
                      : QlUtil::AgregaBarra(Programa::carpeta()) + Programa::nombreEjecutable();
    }
    QDir().mkpath(carpeta);
#ifdef Q_OS_WIN
    const QString ruta = QDir(carpeta).filePath(QStringLiteral("David Orudar.lnk"));
    QFile::remove(ruta);
    return QFile::link(destino, ruta) ? ruta : QString();
#else
    const QString ruta = QDir(carpeta).filePath(QStringLiteral("David Orudar.desktop"));
    auto comillas = [](QString t) {
        t.replace(QLatin1Char('\\'), QStringLiteral("\\\\"))
            .replace(QLatin1Char('"'), QStringLiteral("\\\""));
        return QLatin1Char('"') + t + QLatin1Char('"');
    };
    const QString texto = QStringLiteral("[Desktop Entry]\nType=Application\nName=David Orudar\n"
                                         "Exec=") +
                          comillas(destino) + QStringLiteral("\nIcon=") + destino +
                          QStringLiteral("\nPath=") + QFileInfo(destino).absolutePath() +
                          QStringLiteral("\nTerminal=false\n");
    // Written beside and renamed over: a link there is replaced, never followed.
    try {
        ArchivoPublicado archivo(ruta);
        archivo.escribe(texto.toUtf8());
        archivo.publica();
    } catch (const FalloKX&) {
        return QString();
    }
    QFile f(ruta);
    f.setPermissions(f.permissions() | QFileDevice::ExeOwner | QFileDevice::ExeUser);
    return ruta;
#endif
}
