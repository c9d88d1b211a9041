// Times the batch on a list of N pending price rows: the pending load into the
// grid model and the generation (files, batch rows, marks), against a
// set-based run of the same work by the engine itself (one SELECT producing
// the records, one INSERT ... SELECT, one UPDATE, in one transaction).
//
//   bench_lote sqlite 20000
//   bench_lote postgresql 20000     (server from TARVELO_PG_HOST/PORT/USER)
//
// Prints one line of figures; peak memory is the resident peak of the load
// and generation alone (the data preparation is left out).

#include "db/DB_Dll.h"
#include "db/SqliteKX.h"
#include "demo/BaseDemo.h"
#include "generator/EstadoVentana.h"
#include "generator/LoteNovedades.h"
#include "generator_sql/ParametrosConfigurados.h"
#include "generator_sql/RepositorioLoteSql.h"
#include "progress/Dll_Display.h"
#include "runtime/IniciaAplicacion.h"
#include "schema/EsquemaSql.h"
#include "utility_library/Cp1252.h"
#include "utility_library/OperadorSilencioso.h"
#include "utility_library/Programa.h"
#include "utility_library/Reloj.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <cstdio>

namespace {

const QDate kHoy(2026, 3, 10);

QString entorno(const char* n, const QString& defecto = QString()) {
    const QString v = qEnvironmentVariable(n);
    return v.isEmpty() ? defecto : v;
}

void falla(const QString& texto) {
    std::fprintf(stderr, "%s\n", qPrintable(texto));
    std::exit(1);
}

void ejecuta(QSqlDatabase& db, const QString& sql) {
    QSqlQuery q(db);
    if (!q.exec(sql)) {
        falla(sql.left(200) + ": " + q.lastError().text());
    }
}

double memoriaMB(const char* clave) {
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly)) {
        return -1;
    }
    for (const QByteArray& l : f.readAll().split('\n')) {
        if (l.startsWith(clave)) {
            return l.mid(int(qstrlen(clave))).trimmed().split(' ').first().toDouble() / 1024.0;
        }
    }
    return -1;
}

double picoMB() {
    return memoriaMB("VmHWM:");
}

void reiniciaPico() {
    QFile f(QStringLiteral("/proc/self/clear_refs"));
    if (f.open(QIODevice::WriteOnly)) {
        f.write("5");
    }
}

// The records of the pending rows, built by the engine. Prices: the offer
// class for offers starting tomorrow, the sale class otherwise; a changed bar
// code gives a second row "M".
QString seleccion(bool pg) {
    const QString manana = kHoy.addDays(1).toString(Qt::ISODate);
    const QString hoy = kHoy.toString(Qt::ISODate);
    const QString importe = pg ? "lpad((round(%1 * 1000))::bigint::text, 9, '0')"
                               : "printf('%09d', CAST(round(%1 * 1000) AS INTEGER))";
    const QString cod = pg ? "lpad(left(trim(v.IdArticulo), 9), 9, '0')"
                           : "substr('000000000' || substr(trim(v.IdArticulo), 1, 9), -9)";
    const QString pad =
        pg ? "rpad(%1, %2)" : "substr(%1 || '                              ', 1, %2)";
    const QString precio =
        QString("CASE WHEN v.FHOFERTADESDE = '%1' THEN v.precio2 ELSE v.precio1 END").arg(manana);
    return QString("WITH sel AS (SELECT v.ID, v.IdArticulo, "
                   "CASE WHEN v.CAMBIOCODBARRA <> 0 THEN 'C' ELSE substr(v.ESTADO, 3, 1) END AS k, "
                   "%1 AS cod, %2 AS des, %3 AS mar, %4 AS pre, %5 AS cos, "
                   "CASE WHEN coalesce(nullif(trim(a.TASAIVA), ''), '21') = '21' THEN '0' ELSE '1' "
                   "END AS iva, %6 AS bar, CASE WHEN a.Pesable <> 0 THEN 'I' ELSE ' ' END AS tip, "
                   "coalesce(nullif(substr(trim(v.Rubro), 1, 2), ''), '99') AS rub, "
                   "CASE WHEN v.FHOFERTADESDE IS NULL THEN 0 ELSE 1 END AS nomarcar, "
                   "v.CAMBIOCODBARRA AS cb "
                   "FROM VT_MA_PRECIOS_ARTICULOS v "
                   "LEFT JOIN V_MA_ARTICULOS a ON a.IdArticulo = v.IdArticulo "
                   "LEFT JOIN V_TA_TIPOARTICULO t ON t.IdTipo = v.Tipo "
                   "WHERE v.TIPOLISTA = 'V' AND v.IDLISTA = 'M1' AND (v.ESTADO = '0-C' OR "
                   "v.ESTADO = '0-M' OR v.FHOFERTADESDE = '%7' OR v.FHOFERTAHASTA = '%8') AND "
                   "v.SUSPENDIDO = 0), "
                   "filas AS (SELECT sel.*, 0 AS orden FROM sel UNION ALL SELECT ID, IdArticulo, "
                   "'M', cod, des, mar, pre, cos, iva, bar, tip, rub, nomarcar, cb, 1 FROM sel "
                   "WHERE cb <> 0) ")
        .arg(cod,
             pad.arg("coalesce(nullif(trim(a.DescripAbrev), ''), trim(v.Descripcionarticulo), '')")
                 .arg(30),
             pad.arg("coalesce(trim(t.DESCRIPCION), '')").arg(15), importe.arg(precio),
             importe.arg("v.COSTO"),
             pad.arg(QString("coalesce(nullif(trim(a.CodigoBarra), ''), %1 || '0000')").arg(cod))
                 .arg(13),
             manana, hoy);
}

QString registro() {
    return "k || cod || des || mar || pre || pre || '000000000' || cos || 'S' || iva || 'SS' || "
           "bar || tip || rub || '000000000' || '000000'";
}

QStringList conjunto(bool pg) {
    const QString w = seleccion(pg);
    return {w + "SELECT " + registro() + " FROM filas ORDER BY IdArticulo, orden",
            "INSERT INTO MV_TARVELO (Codigo, IdLista, Nombre, Fecha, TipoMov, CodInterno, "
            "Descripcion, Marca, PrecioVenta, Precio, Internos, PrecioCosto, CondIva, TipoIva, "
            "Fijo, CodBarra, Rubro, Tipo, Aux1, Aux2, RutaArchivo, Usuario) " +
                w + "SELECT 900, 'M1', 'LISTA MASIVA DE PRUEBA', '" + kHoy.toString(Qt::ISODate) +
                "', k, cod, des, mar, pre, pre, '000000000', cos, 'S', iva, 'SS', bar, rub, tip, "
                "'000000000', '000000', 'CAMBIOS.TXT', 'BANCO' FROM filas ORDER BY IdArticulo, "
                "orden",
            w + "UPDATE V_MA_PRECIOS SET ESTADO = '1-M', CAMBIOCODBARRA = 0 WHERE ID IN (SELECT "
                "ID FROM sel WHERE nomarcar = 0)"};
}

struct Base {
    bool pg = false;
    QString nombre; // SQLite file or PostgreSQL database
};

QSqlDatabase abre(const Base& b, const QString& conexion) {
    QSqlDatabase db = QSqlDatabase::addDatabase(b.pg ? "QPSQL" : "QSQLITE", conexion);
    db.setDatabaseName(b.nombre);
    if (b.pg) {
        db.setHostName(entorno("TARVELO_PG_HOST", "127.0.0.1"));
        db.setPort(entorno("TARVELO_PG_PORT", "5432").toInt());
        db.setUserName(entorno("TARVELO_PG_USER", "postgres"));
    }
    if (!db.open()) {
        falla("no se pudo abrir " + b.nombre + ": " + db.lastError().text());
    }
    if (!b.pg) {
        RegistraKXSqlite(db);
    }
    return db;
}

void prepara(const Base& b, int filas) {
    {
        QSqlDatabase db = abre(b, "prepara");
        EsquemaSql::crea(db);
        BaseDemo::cargaConfiguracion(db);
        OpcionesMasivo o;
        o.filas = filas;
        o.hoy = kHoy;
        o.codigoInicial = 1;
        BaseDemo::generaMasivo(db, o);
        db.close();
    }
    QSqlDatabase::removeDatabase("prepara");
}

double porConjunto(const Base& b, const QString& salida) {
    QElapsedTimer t;
    const QStringList sql = conjunto(b.pg);
    if (b.pg) {
        // psql, the engine's own shell.
        QFile guion(salida + ".sql");
        guion.open(QIODevice::WriteOnly);
        guion.write(("BEGIN;\n\\o " + salida + "\n" + sql[0] + ";\n\\o\n" + sql[1] + ";\n" +
                     sql[2] + ";\nCOMMIT;\n")
                        .toUtf8());
        guion.close();
        t.start();
        QProcess p;
        p.start("psql",
                {"-X", "-q", "-A", "-t", "-v", "ON_ERROR_STOP=1", "-h",
                 entorno("TARVELO_PG_HOST", "127.0.0.1"), "-p", entorno("TARVELO_PG_PORT", "5432"),
                 "-U", entorno("TARVELO_PG_USER", "postgres"), "-d", b.nombre, "-f",
                 guion.fileName()});
        p.waitForFinished(-1);
        if (p.exitCode() != 0) {
            falla("psql: " + QString::fromUtf8(p.readAllStandardError()));
        }
        return t.elapsed();
    }
    // The sqlite3 shell does not know the collation KX: the same library
    // through its Qt driver, with the collation registered.
    double ms = 0;
    {
        QSqlDatabase db = abre(b, "conjunto");
        t.start();
        db.transaction();
        QSqlQuery q(db);
        q.setForwardOnly(true);
        if (!q.exec(sql[0])) {
            falla(q.lastError().text());
        }
        QFile f(salida);
        f.open(QIODevice::WriteOnly);
        while (q.next()) {
            f.write(Cp1252::codifica(q.value(0).toString()) + "\r\n");
        }
        f.close();
        ejecuta(db, sql[1]);
        ejecuta(db, sql[2]);
        db.commit();
        ms = t.elapsed();
        db.close();
    }
    QSqlDatabase::removeDatabase("conjunto");
    return ms;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList a = app.arguments();
    if (a.size() < 3) {
        falla("uso: bench_lote sqlite|postgresql FILAS");
    }
    const bool pg = a[1].compare("postgresql", Qt::CaseInsensitive) == 0;
    const int filas = a[2].toInt();
    QTemporaryDir dir;
    Programa::fijaCarpeta(dir.path());
    Reloj::fijaHoy(kHoy);

    // Two identical databases: one for the program, one for the set-based run.
    Base nuestra{pg, pg ? QString("banco_%1_a").arg(QCoreApplication::applicationPid())
                        : dir.filePath("nuestra.db")};
    Base copia{pg, pg ? QString("banco_%1_b").arg(QCoreApplication::applicationPid())
                      : dir.filePath("copia.db")};
    if (pg) {
        Base servidor{true, "postgres"};
        {
            QSqlDatabase s = abre(servidor, "servidor");
            ejecuta(s, "CREATE DATABASE " + nuestra.nombre + " ENCODING 'UTF8' TEMPLATE template0");
            s.close();
        }
        QSqlDatabase::removeDatabase("servidor");
        {
            QSqlDatabase db = abre(nuestra, "colacion");
            ejecuta(db, "CREATE COLLATION IF NOT EXISTS kx (provider = icu, locale = "
                        "'und-u-ks-level2', deterministic = false)");
            db.close();
        }
        QSqlDatabase::removeDatabase("colacion");
    }
    prepara(nuestra, filas);
    if (pg) {
        {
            QSqlDatabase s = abre(Base{true, "postgres"}, "servidor");
            ejecuta(s, "CREATE DATABASE " + copia.nombre + " TEMPLATE " + nuestra.nombre);
            s.close();
        }
        QSqlDatabase::removeDatabase("servidor");
    } else {
        QFile::copy(nuestra.nombre, copia.nombre);
    }

    // The program, started as the unattended command starts it.
    const QString linea =
        pg ? QString("@Plataforma=POSTGRESQL; @server=%1; @Puerto=%2; @dbname=%3; @usuario=%4; "
                     "@Password=; @UsuarioLogeado=BANCO")
                 .arg(entorno("TARVELO_PG_HOST", "127.0.0.1"), entorno("TARVELO_PG_PORT", "5432"),
                      nuestra.nombre, entorno("TARVELO_PG_USER", "postgres"))
           : QString("@Plataforma=SQLITE; @server=.; @dbname=%1; @usuario=BANCO; "
                     "@UsuarioLogeado=BANCO")
                 .arg(nuestra.nombre);
    OperadorSilencioso op;
    op.fijaEco(false);
    fijaOperador(&op);
    if (IniciaAplicacion(linea, ModoInicio::SinDialogo) != 0) {
        falla(MensajeInicio());
    }
    reiniciaPico();
    const double picoAntes = picoMB();
    EstadoVentana ventana;
    RepositorioLoteSql repositorio(DB_Dll::instancia());
    LoteNovedades lote(ventana, repositorio, Dll_Display::instancia(), &ParametrosConfigurados);
    lote.InicializaFormulario();
    ventana.campo("IdLista") = "M1";
    ventana.lblLista = "Lista de Precios: LISTA MASIVA DE PRUEBA";
    ventana.fijaRuta(QDir::toNativeSeparators(dir.filePath("CAMBIOS.TXT")));
    QElapsedTimer t;
    t.start();
    const ResultadoCarga carga = lote.CargaNovedades();
    const double msCarga = t.restart();
    const double picoCarga = picoMB();
    const double rssCarga = memoriaMB("VmRSS:");
    const ResultadoGeneracion gen = lote.Genera();
    const double msGeneracion = t.elapsed();
    const double pico = picoMB();
    if (gen.estado != ResultadoGeneracion::Estado::Generado) {
        falla("la generacion no termino: " + op.mensajes().join(" | "));
    }
    const double msConjunto = porConjunto(copia, dir.filePath("CONJUNTO.TXT"));

    std::printf("motor=%s filas=%d filas_lote=%d carga_ms=%.0f generacion_ms=%.0f "
                "nuestro_ms=%.0f conjunto_ms=%.0f razon=%.1f pico_mb=%.1f (antes %.1f; tras la "
                "carga pico %.1f, residente %.1f)\n",
                pg ? "postgresql" : "sqlite", filas, carga.filas, msCarga, msGeneracion,
                msCarga + msGeneracion, msConjunto, (msCarga + msGeneracion) / msConjunto, pico,
                picoAntes, picoCarga, rssCarga);
    fijaOperador(nullptr);
    if (pg) {
        DB_Dll::instancia().gCnn->Close();
        QSqlDatabase s = abre(Base{true, "postgres"}, "limpieza");
        ejecuta(s, "DROP DATABASE IF EXISTS " + nuestra.nombre);
        ejecuta(s, "DROP DATABASE IF EXISTS " + copia.nombre);
    }
    return 0;
}
