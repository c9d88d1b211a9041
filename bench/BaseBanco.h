#pragma once

#include "db/SqliteKX.h"
#include "demo/BaseDemo.h"
#include "runtime/IniciaAplicacion.h"
#include "schema/EsquemaSql.h"
#include "utility_library/OperadorSilencioso.h"

#include <QDate>
#include <QSqlDatabase>
#include <QString>
#include <cstdio>
#include <cstdlib>

// The benchmarks' common database and start-up.
namespace BaseBanco {

// The schema, the demo's configuration and `filas` pending price rows of the
// bulk list M1, on an open connection.
inline void Llena(QSqlDatabase db, int filas, const QDate& hoy, int codigoInicial) {
    EsquemaSql::crea(db);
    BaseDemo::cargaConfiguracion(db);
    OpcionesMasivo o;
    o.filas = filas;
    o.hoy = hoy;
    o.codigoInicial = codigoInicial;
    BaseDemo::generaMasivo(db, o);
}

// The same in a new SQLite file.
inline void CreaSqlite(const QString& archivo, int filas, const QDate& hoy, int codigoInicial) {
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "base_banco");
        db.setDatabaseName(archivo);
        if (!db.open()) {
            std::fprintf(stderr, "no se pudo crear %s\n", qPrintable(archivo));
            std::exit(1);
        }
        RegistraKXSqlite(db);
        Llena(db, filas, hoy, codigoInicial);
        db.close();
    }
    QSqlDatabase::removeDatabase("base_banco");
}

// Start-up on that file from the suite's command line, as user BANCO, with a
// silent operator; exits with the start-up's message when it fails.
inline void Inicia(const QString& archivo, OperadorSilencioso& op) {
    op.fijaEco(false);
    fijaOperador(&op);
    if (IniciaAplicacion("@Plataforma=SQLITE; @server=.; @dbname=" + archivo +
                             "; @usuario=BANCO; @UsuarioLogeado=BANCO",
                         ModoInicio::SinDialogo) != 0) {
        std::fprintf(stderr, "%s\n", qPrintable(MensajeInicio()));
        std::exit(1);
    }
}

} // namespace BaseBanco
