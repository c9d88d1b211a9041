#include "runtime/ErroresOperador.h"

#include "db/DB_Dll.h"
#include "runtime/FormatosFecha.h"
#include "utility_library/LogKX.h"
#include "utility_library/Operador.h"
#include "utility_library/Pasos.h"
#include "utility_library/Programa.h"
#include "utility_library/QlEquipo.h"
#include "utility_library/QlTexto.h"
#include "utility_library/Reloj.h"

#include <QDir>

namespace ModGlobal {

QString CarpetaLogErrores() {
    QString carpeta = qEnvironmentVariable("temp");
    if (carpeta.isEmpty()) {
        carpeta = qEnvironmentVariable("tmp");
    }
    carpeta = carpeta.trimmed();
    if (carpeta.isEmpty()) {
        carpeta = QlEquipo::CarpetaTemporal();
    }
    return QlUtil::AgregaBarra(carpeta);
}

int MuestraErrorOperador(const ErrorKX& ErrObj, int Botones, const QString& Rutina) {
    const QString ruta = CarpetaLogErrores() + QStringLiteral("KXERR.LOG");
    const QString mensaje = LogKX::mensaje(ErrObj);
    const QString rutina = LogKX::textoRutina(Rutina);
    const QString titulo = ErrObj.fuente + rutina + QStringLiteral(" Aviso al operador!!! - 2 ");
    int respuesta = 0;
    try {
        respuesta = operador().MsgBox(mensaje, Botones, titulo);
    } catch (...) {
        // No answer is "leave": the failure still goes to the log below.
    }
    // A log that cannot be written loses the line; the answer still counts.
    LogKX::agrega(ruta, LogKX::linea(Reloj::ahora(), rutina, mensaje, respuesta));
    return respuesta;
}

void GrabaErrorAux(const QString& sentencia, const QString& proceso, qint32 numero,
                   const QString& descripcion) {
    Q_UNUSED(proceso); // the column always names this program
    DB_Dll& db = DB_Dll::instancia();
    QString sql = QStringLiteral("select  top 1 * from AUX_ERR  with(nolock) ");
    Recordset rs;
    Intenta([&] { db.AbrirRecordset(sql, rs, nullptr, 2, 3, -1, true); });
    Intenta([&] { rs.AddNew(); });
    Intenta([&] { rs.FijaCampo(QStringLiteral("Proceso"), Programa::nombreEjecutable()); });
    Intenta([&] {
        rs.FijaCampo(QStringLiteral("fecha"),
                     LBM_Common::AplicaFormato(Reloj::ahora(), LBM_Common::FormatoFechaHora()));
    });
    Intenta([&] { rs.FijaCampo(QStringLiteral("Error"), numero); });
    Intenta([&] {
        rs.FijaCampo(QStringLiteral("Descripcion"), QlUtil::AjustaTexto(descripcion, 250));
    });
    Intenta([&] { rs.FijaCampo(QStringLiteral("SQL"), sentencia); });
    Intenta([&] { rs.FijaCampo(QStringLiteral("pc"), QlEquipo::NombrePC()); });
    Intenta([&] { rs.FijaCampo(QStringLiteral("Usuario"), db.gUsuario); });
    Intenta([&] { rs.Update(); });
    Intenta([&] { db.CierraRecordset(rs); });
}

} // namespace ModGlobal
