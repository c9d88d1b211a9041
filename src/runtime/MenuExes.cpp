#include "runtime/MenuExes.h"

#include "db/DB_Dll.h"
#include "runtime/ErroresOperador.h"
#include "runtime/ValoresGlobales.h"
#include "utility_library/Operador.h"
#include "utility_library/Pasos.h"
#include "utility_library/Programa.h"
#include "utility_library/QlTexto.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>

QString ArgumentosMenuExes(const QString& parametro) {
    const DB_Dll& db = DB_Dll::instancia();
    return QStringLiteral(" ; @server=") + db.gServidor + QStringLiteral("; @dbname=") +
           db.gDBName + QStringLiteral("; @usuario=") + db.gUsuario +
           QStringLiteral("; @Password=") + db.gUserPassWord +
           QStringLiteral("; @ParametroAdicional=") + parametro +
           QStringLiteral("; quor@ ; @UsuarioLogeado = ") + ModGlobal::gUsuarioLogeado +
           QStringLiteral("; @Caja=") + ModGlobal::gCaja + QStringLiteral(";");
}

QString ProgramaMenuExes(const QString& comando) {
    const QString carpeta = QlUtil::AgregaBarra(Programa::carpeta());
    QString programa;
    if (comando.contains(QLatin1Char('\\')) || comando.contains(QLatin1Char('/'))) {
        programa = comando.mid(6);
    } else if (comando.contains(QLatin1String("SHELL"), Qt::CaseInsensitive)) {
        programa = carpeta + comando.mid(6);
    } else {
        programa = carpeta + comando;
    }
#ifdef Q_OS_WIN
    // The name comes without extension: the platform's default for programs applies.
    if (QFileInfo(programa).suffix().isEmpty()) {
        programa += QStringLiteral(".exe");
    }
#else
    programa.replace(QLatin1Char('\\'), QLatin1Char('/'));
#endif
    return programa;
}

void MenuExes(const QString& comando, QString& parametro, qint64& idProceso) {
    Pasos pasos([](const ErrorKX& e) {
        return ModGlobal::MuestraErrorOperador(e, Operador::ErrorConReintento,
                                               QStringLiteral("MenuExes"));
    });
    QString programa, argumentos;
    const bool completo = pasos.pasos({
        [&] {
            const auto blanco = parametro.indexOf(QLatin1Char(' '));
            if (blanco >= 0) {
                parametro = parametro.mid(blanco + 1);
            }
        },
        [&] { argumentos = ArgumentosMenuExes(parametro); },
        [&] { programa = ProgramaMenuExes(comando); },
        [&] {
            // The program is started directly, never through a shell: the
            // hand-over text is one argument and cannot run anything else.
            const QFileInfo info(programa);
            if (!info.isFile() || !info.isExecutable()) {
                throw FalloKX(53, QStringLiteral("File not found: ") +
                                      QDir::toNativeSeparators(programa));
            }
            qint64 pid = 0;
            if (!QProcess::startDetached(programa, QStringList{argumentos}, info.absolutePath(),
                                         &pid)) {
                throw FalloKX(5, QStringLiteral("Invalid procedure call or argument: ") +
                                     QDir::toNativeSeparators(programa));
            }
            idProceso = pid;
        },
        [&] {
            if (idProceso == 0) {
                operador().MsgBox(QStringLiteral("Opcion no Implementada!") + QLatin1Char('\r') +
                                      QStringLiteral("Comuniquese con su proveedor de sistemas"),
                                  Operador::SoloAceptar | Operador::IconoCritico,
                                  QString::fromUtf8("Atención"));
            }
        },
    });
    Q_UNUSED(completo);
}
