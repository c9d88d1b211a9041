#include "runtime/ControlAcceso.h"

#include "db/DB_Dll.h"
#include "db/TextoSql.h"
#include "runtime/FormatosFecha.h"
#include "runtime/ScriptSql.h"
#include "runtime/ValoresGlobales.h"
#include "utility_library/Pasos.h"
#include "utility_library/Programa.h"
#include "utility_library/QlEquipo.h"
#include "utility_library/QlTexto.h"
#include "utility_library/Reloj.h"

namespace {} // namespace

void ControlAcceso(const QString& programa) {
    DB_Dll& db = DB_Dll::instancia();
    using namespace LBM_Common;
    const QString ejecutable = Programa::nombreEjecutable();
    QString nombrePrograma = programa.isEmpty() ? ejecutable : programa;
    QString tarea;
    Intenta([&] { ModGlobal::gUsuarioLogeado = db.gUsuario; });

    Recordset rs;
    Intenta([&] {
        // The blank after the user name is the suite's; the comparison
        // ignores trailing blanks. Both values come from outside (the command
        // line, the executable's name): their apostrophes are doubled.
        QString sql = QStringLiteral("SELECT TA_TAREAS.USUARIO, TA_MENU.Proceso, TA_MENU.Clave , "
                                     "TA_MENU.Nombre ") +
                      QStringLiteral(" FROM TA_TAREAS  with(nolock) INNER JOIN TA_MENU ON "
                                     "TA_TAREAS.TAREA = TA_MENU.Clave ") +
                      QStringLiteral(" WHERE (TA_TAREAS.USUARIO = '") +
                      TextoSql::Escapa(ModGlobal::gUsuarioLogeado) +
                      QStringLiteral(" ') AND (TA_MENU.Proceso LIKE '%") +
                      TextoSql::Escapa(nombrePrograma) + QStringLiteral("%')");
        db.AbrirRecordset(sql, rs, nullptr, 0, 1, -1, true);
    });
    bool conFilas = false;
    Intenta([&] { conFilas = rs.abierto() && !rs.Eof(); });
    if (conFilas) {
        Intenta([&] { tarea = QlUtil::NoNulo(rs.Campo(QStringLiteral("Nombre"))); });
    } else {
        const bool duenio =
            db.gUsuario.compare(db.gDBName, Qt::CaseInsensitive) == 0 ||
            db.gUsuario.compare(QLatin1String("SUPERVISOR KORVEX MC"), Qt::CaseInsensitive) == 0;
        tarea = duenio ? ejecutable : QString();
    }
    Intenta([&] { db.CierraRecordset(rs); });

    QString maquina = QlEquipo::NombrePC().trimmed().toUpper();
    QString usuario = ModGlobal::gUsuarioLogeado.trimmed().toUpper();
    QString formulario = nombrePrograma.trimmed().toUpper();
    QString tareaTexto = tarea.trimmed().toUpper();
    QString ingreso = AplicaFormato(Reloj::ahora(), FormatoFecha()) + QLatin1Char(' ') +
                      AplicaFormato(Reloj::ahora(), FormatoHora());
    QString nombreUsuario = ModGlobal::gUsuarioLogeado;
    QStringList sentencias{QString()};
    Intenta([&] {
        CargaCampoSQL(QStringLiteral("Maquina"), maquina, QStringLiteral("'"), true);
        CargaCampoSQL(QStringLiteral("Usuario"), usuario, QStringLiteral("'"), false);
        CargaCampoSQL(QStringLiteral("Formulario"), formulario, QStringLiteral("'"), false);
        CargaCampoSQL(QStringLiteral("Tarea"), tareaTexto, QStringLiteral("'"), false);
        CargaCampoSQL(QStringLiteral("Ingreso"), ingreso, QStringLiteral("'"), false);
        CargaCampoSQL(QStringLiteral("NombreUsuario"), nombreUsuario, QStringLiteral("'"), false);
        ArmaSentenciaSQL(sentencias, QStringLiteral("Control_Acceso"));
    });
    Intenta([&] {
        bool fallo = false;
        qint32 numero = 0;
        QString script, texto;
        GActualizarDatoScript(sentencias, fallo, numero, script, texto, true);
    });
}
