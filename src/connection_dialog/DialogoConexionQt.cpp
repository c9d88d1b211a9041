#include "connection_dialog/DialogoConexionQt.h"

#include "db/DB_Dll.h"
#include "connection_dialog/VentanaConexion.h"

void InstalaDialogoConexion() {
    DB_Dll::fijaDialogoConexion([](DialogoConexion& d) {
        VentanaConexion f;
        f.Carga();
        ModeloAcceso& m = f.modelo();
        m.txtDbName = d.dbName;
        m.txtServidor = d.servidor;
        m.txtUserId = d.usuario;
        m.txtUserPassword = d.password;
        m.indicePlataforma = qBound(0, d.indicePlataforma, 3);
        if (d.puerto > 0) {
            m.txtPuerto = QString::number(d.puerto);
        }
        // Setting a box runs its change handler: an empty one gets its hint back.
        m.MensajeInicial(ModeloAcceso::DbName);
        m.MensajeInicial(ModeloAcceso::Servidor);
        m.MensajeInicial(ModeloAcceso::UserPassword);
        f.muestra();
        f.exec();
        d.aceptar = f.Aceptar();
        if (d.aceptar) {
            d.dbName = m.txtDbName;
            d.servidor = m.txtServidor;
            d.usuario = m.txtUserId;
            d.password = m.txtUserPassword;
            d.indicePlataforma = m.indicePlataforma;
            bool ok = false;
            const int puerto = m.txtPuerto.trimmed().toInt(&ok);
            d.puerto = ok ? puerto : 0;
        }
    });
}
