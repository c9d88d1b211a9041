#include "demo/OperacionesBase.h"

#include "db/Conexion.h"
#include "db/Plataforma.h"
#include "db/SqliteKX.h"
#include "demo/BaseDemo.h"
#include "runtime/LineaComando.h"
#include "schema/EsquemaSql.h"
#include "utility_library/ErrorKX.h"
#include "utility_library/Programa.h"
#include "utility_library/Regional.h"
#include "utility_library/Reloj.h"

#include <QAtomicInt>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSqlError>
#include <QSqlQuery>

namespace {

constexpr int kOk = 0;
constexpr int kArgumentos = 2;
constexpr int kFallo = 3;

const QString kUsoResumen = QStringLiteral(
    "Uso: tarvelo-lote resumen \"@Plataforma=SQLITE; @server=local; @dbname=demo.db; "
    "@usuario=DEMO; @Password=\"");

QString nombreConexionNuevo(const char* prefijo) {
    static QAtomicInt contador;
    return QStringLiteral("%1-%2").arg(QLatin1String(prefijo)).arg(contador.fetchAndAddRelaxed(1));
}

// Removes the Qt connection when it goes out of scope (after every handle to it).
class ConexionTemporal {
public:
    ConexionTemporal(const QString& driver, const char* prefijo)
        : nombre_(nombreConexionNuevo(prefijo)) {
        QSqlDatabase::addDatabase(driver, nombre_);
    }
    ~ConexionTemporal() {
        {
            QSqlDatabase db = QSqlDatabase::database(nombre_, false);
            if (db.isOpen()) {
                db.close();
            }
        }
        QSqlDatabase::removeDatabase(nombre_);
    }
    QSqlDatabase db() const { return QSqlDatabase::database(nombre_, false); }

private:
    QString nombre_;
};

// ------------------------------------------------------------ resumen

// The connection data of the suite's command line, read with the program's own
// grammar and checked before anything is opened.
bool leeLineaComando(const QString& linea, DatosConexion& d, QString& error) {
    const LineaComando l = LineaComando::Lee(linea);
    if (!l.plataforma.isEmpty() && !LeePlataforma(l.plataforma, d.plataforma)) {
        error = QStringLiteral("plataforma desconocida: \"%1\" (SQLSERVER, ORACLE, "
                               "POSTGRESQL o SQLITE).")
                    .arg(l.plataforma);
        return false;
    }
    if (!l.puerto.isEmpty()) {
        bool ok = false;
        d.puerto = l.puerto.toInt(&ok);
        if (!ok || d.puerto <= 0 || d.puerto > 65535) {
            error = QStringLiteral("puerto no válido: \"%1\".").arg(l.puerto);
            return false;
        }
    }
    d.servidor = ExtraeServidor(l.servidor);
    d.baseDatos = l.dbName;
    d.usuario = l.usuario;
    d.clave = l.password;
    d.ordenFecha = Regional::ordenFecha();
    if (d.baseDatos.isEmpty()) {
        error = QStringLiteral("la línea de comando no indica la base de datos (@dbname).");
        return false;
    }
    return true;
}

// What the summary names as its database.
QString describe(const DatosConexion& d) {
    switch (d.plataforma) {
    case Plataforma::Sqlite:
        return QStringLiteral("%1 (SQLite)").arg(Conexion::archivoSqlite(d.baseDatos));
    case Plataforma::PostgreSql:
        return QStringLiteral("%1 en %2:%3 (PostgreSQL)")
            .arg(d.baseDatos, d.servidor)
            .arg(d.puerto > 0 ? d.puerto : 5432);
    default:
        return QStringLiteral("%1 en %2 (SQL Server)").arg(d.baseDatos, d.servidor);
    }
}

// Opens the connection through the program's own database layer; on failure
// leaves the reason in `error`.
bool abre(Conexion& c, const DatosConexion& d, QString& error) {
    if (d.plataforma == Plataforma::Oracle) {
        error = QStringLiteral("la plataforma ORACLE no está disponible para este resumen.");
        return false;
    }
    if (d.plataforma == Plataforma::Sqlite &&
        !QFileInfo(Conexion::archivoSqlite(d.baseDatos)).isFile()) {
        error = QStringLiteral("no existe la base de datos SQLite %1")
                    .arg(Conexion::archivoSqlite(d.baseDatos));
        return false;
    }
    try {
        c.Open(d);
    } catch (const FalloKX& e) {
        error = QStringLiteral("no se pudo abrir %1: %2").arg(describe(d), e.error().descripcion);
        return false;
    }
    return true;
}

struct Pendientes {
    int nuevos = 0;
    int modificados = 0;
    int desdeManana = 0;
    int hastaHoy = 0;
    int aCargar = 0;
};

QString claveLista(const QString& idLista) {
    return idLista.trimmed().toUpper();
}

void falla(const QSqlQuery& q, const QString& que) {
    throw FalloKX(-1, QStringLiteral("error al leer %1: %2").arg(que, q.lastError().text()));
}

QString textoFechaParametro(Plataforma p, const QDate& d) {
    // SQL Server reads yyyyMMdd the same under any date order.
    return d.toString(p == Plataforma::SqlServer ? QStringLiteral("yyyyMMdd")
                                                 : QStringLiteral("yyyy-MM-dd"));
}

void escribeResumen(QSqlDatabase& db, Plataforma p, const QString& descripcion, QTextStream& out) {
    const QDate hoy = Reloj::hoy();
    const QDate manana = hoy.addDays(1);
    const QString tManana = textoFechaParametro(p, manana);
    const QString tHoy = textoFechaParametro(p, hoy);

    QHash<QString, Pendientes> porLista;
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!q.prepare(
            QStringLiteral("SELECT IDLISTA,"
                           " SUM(CASE WHEN ESTADO = '0-C' THEN 1 ELSE 0 END),"
                           " SUM(CASE WHEN ESTADO = '0-M' THEN 1 ELSE 0 END),"
                           " SUM(CASE WHEN FHOFERTADESDE = ? THEN 1 ELSE 0 END),"
                           " SUM(CASE WHEN FHOFERTAHASTA = ? THEN 1 ELSE 0 END),"
                           " SUM(CASE WHEN ESTADO = '0-C' OR ESTADO = '0-M' OR FHOFERTADESDE = ?"
                           " OR FHOFERTAHASTA = ? THEN 1 ELSE 0 END)"
                           " FROM V_MA_PRECIOS WHERE SUSPENDIDO = 0 GROUP BY IDLISTA"))) {
        falla(q, QStringLiteral("las novedades"));
    }
    q.addBindValue(tManana);
    q.addBindValue(tHoy);
    q.addBindValue(tManana);
    q.addBindValue(tHoy);
    if (!q.exec()) {
        falla(q, QStringLiteral("las novedades"));
    }
    while (q.next()) {
        Pendientes& n = porLista[claveLista(q.value(0).toString())];
        n.nuevos += q.value(1).toInt();
        n.modificados += q.value(2).toInt();
        n.desdeManana += q.value(3).toInt();
        n.hastaHoy += q.value(4).toInt();
        n.aCargar += q.value(5).toInt();
    }

    out << "Base de datos: " << descripcion << "\n";
    out << "Novedades para el día " << Regional::fechaCorta(hoy) << " (mañana "
        << Regional::fechaCorta(manana) << ")\n\n";

    QSqlQuery l(db);
    l.setForwardOnly(true);
    if (!l.exec(QStringLiteral(
            "SELECT IDLISTA, NOMBRE, TIPOLISTA FROM V_MA_PRECIOSCAB ORDER BY IDLISTA"))) {
        falla(l, QStringLiteral("las listas de precios"));
    }
    QStringList filas;
    int pendientesVenta = 0;
    while (l.next()) {
        const QString id = l.value(0).toString().trimmed();
        const QString nombre = l.value(1).toString().trimmed();
        const bool venta =
            l.value(2).toString().trimmed().compare(QLatin1String("V"), Qt::CaseInsensitive) == 0;
        const Pendientes n = porLista.value(claveLista(id));
        if (venta) {
            pendientesVenta += n.aCargar;
        }
        filas << QStringLiteral("  %1 %2 %3 %4 %5 %6 %7 %8")
                     .arg(id.leftJustified(6))
                     .arg(nombre.left(32).leftJustified(32))
                     .arg((venta ? QStringLiteral("venta") : QStringLiteral("compra"))
                              .leftJustified(6))
                     .arg(n.nuevos, 5)
                     .arg(n.modificados, 5)
                     .arg(n.desdeManana, 12)
                     .arg(n.hastaHoy, 9)
                     .arg(venta ? QString::number(n.aCargar) : QStringLiteral("-"), 8);
    }
    out << "Listas de precios: " << filas.size() << "\n";
    if (!filas.isEmpty()) {
        out << "  " << QStringLiteral("Código").leftJustified(6) << " "
            << QStringLiteral("Nombre").leftJustified(32) << " "
            << QStringLiteral("Tipo").leftJustified(6)
            << "   0-C   0-M Desde mañana Hasta hoy A cargar\n";
        for (const QString& f : filas) {
            out << f << "\n";
        }
    }

    QSqlQuery a(db);
    a.setForwardOnly(true);
    if (!a.exec(QStringLiteral("SELECT COUNT(*), SUM(CASE WHEN Pesable <> 0 THEN 1 ELSE 0 END)"
                               " FROM V_MA_ARTICULOS")) ||
        !a.next()) {
        falla(a, QStringLiteral("los artículos"));
    }
    out << "\nArtículos: " << a.value(0).toInt() << " (" << a.value(1).toInt() << " pesables)\n";
    out << "Novedades a cargar en las listas de venta: " << pendientesVenta << "\n";
    out.flush();
}

} // namespace

int CreaBaseSqlite(const QString& archivo, bool demo, const QDate& hoy, QTextStream& out,
                   QTextStream& err) {
    struct {
        QString archivo;
        bool demo;
        QDate hoy;
    } a{archivo, demo, hoy};
    const QFileInfo info(a.archivo);
    const QString ruta = info.absoluteFilePath();
    const bool existia = info.exists();
    if (existia && !info.isFile()) {
        err << "crear-base: " << ruta << " no es un archivo.\n";
        err.flush();
        return kArgumentos;
    }
    if (existia && info.size() > 0) {
        err << "crear-base: el archivo " << ruta
            << " ya existe y no está vacío; no se sobrescribe. Bórrelo o indique otro nombre.\n";
        err.flush();
        return kArgumentos;
    }
    if (!info.absoluteDir().exists()) {
        err << "crear-base: no existe la carpeta " << QDir::toNativeSeparators(info.absolutePath())
            << ".\n";
        err.flush();
        return kFallo;
    }

    CifrasDemo cifras;
    QString fallo;
    {
        ConexionTemporal c(QStringLiteral("QSQLITE"), "crear-base");
        QSqlDatabase db = c.db();
        db.setDatabaseName(ruta);
        if (!db.open()) {
            fallo = QStringLiteral("no se pudo crear %1: %2").arg(ruta, db.lastError().text());
        } else {
            try {
                cifras = BaseDemo::crea(db, a.demo, a.hoy);
            } catch (const FalloKX& e) {
                fallo = e.error().descripcion;
            }
        }
    }
    if (!fallo.isEmpty()) {
        // Leave no half-made database behind (the file was absent or empty).
        if (existia) {
            QFile f(ruta);
            if (f.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
                f.close();
            }
        } else {
            QFile::remove(ruta);
        }
        err << "crear-base: " << fallo << "\n";
        err.flush();
        return kFallo;
    }

    out << "Base de datos creada: " << QDir::toNativeSeparators(ruta) << "\n";
    if (a.demo) {
        const QDate dia = a.hoy.isValid() ? a.hoy : Reloj::hoy();
        out << "Datos de demostración para el día " << Regional::fechaCorta(dia) << ": "
            << cifras.listas << " listas de precios, " << cifras.articulos << " artículos, "
            << cifras.filasPrecio << " filas de precios, " << cifras.pendientes
            << " novedades pendientes en listas de venta, lote anterior "
            << BaseDemo::kCodigoLoteAnterior << " con " << cifras.filasLote << " filas.\n";
    } else {
        out << "Esquema creado, sin datos.\n";
    }
    out.flush();
    return kOk;
}

int ResumeBase(const QString& linea, QTextStream& out, QTextStream& err) {
    DatosConexion d;
    QString error;
    if (!leeLineaComando(linea, d, error)) {
        err << "resumen: " << error << "\n" << kUsoResumen << "\n";
        err.flush();
        return kArgumentos;
    }
    Conexion c;
    if (!abre(c, d, error)) {
        err << "resumen: " << error << "\n";
        err.flush();
        return kFallo;
    }
    try {
        QSqlDatabase db = c.baseQt();
        escribeResumen(db, d.plataforma, describe(d), out);
    } catch (const FalloKX& e) {
        err << "resumen: " << e.error().descripcion << "\n";
        err.flush();
        return kFallo;
    }
    return kOk;
}
