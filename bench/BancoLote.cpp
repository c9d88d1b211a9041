// Times the batch on a list of N pending price rows: the pending load into the
// grid model and the generation (files, batch rows, marks), against a
// set-based run of the same work by the engine itself: one script for the
// engine's own shell (sqlite3 with the KX extension, psql) that builds the
// grid rows with every rule of the program, writes the records of both files
// and inserts and marks in one transaction. Both sides start from identical
// copies of one database; their files are compared byte for byte and
// MV_TARVELO and V_MA_PRECIOS row for row before any ratio is printed.
//
//   bench_lote sqlite 20000              both sides, comparison, one line of figures
//   bench_lote postgresql 20000          (server from TARVELO_PG_HOST/PORT/USER)
//   bench_lote sqlite 20000 --sql        prints the set-based script and stops
//
// For timing each side as a whole process (repeated runs):
//   bench_lote prepara sqlite 20000 DIR    template database in DIR
//   bench_lote programa sqlite 20000 DIR   the program on a fresh copy of it
//   bench_lote conjunto sqlite 20000 DIR   the set-based script on a fresh copy
//
// CPU is the benchmark process's own (getrusage) for the program, the
// shell's plus the file writing for the set-based side; on PostgreSQL the
// server's CPU is in neither. Peak memory is the resident peak of the load and generation alone.

#include "BaseBanco.h"
#include "MemoriaProceso.h"
#include "db/DB_Dll.h"
#include "db/SqliteKX.h"
#include "generator/EstadoVentana.h"
#include "generator/LoteNovedades.h"
#include "generator_sql/ParametrosConfigurados.h"
#include "generator_sql/RepositorioLoteSql.h"
#include "progress/Dll_Display.h"
#include "runtime/IniciaAplicacion.h"
#include "utility_library/ArchivoPublicado.h"
#include "utility_library/Cp1252.h"
#include "utility_library/OperadorSilencioso.h"
#include "utility_library/Programa.h"
#include "utility_library/Reloj.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <cstdio>
#include <functional>
#include <sys/resource.h>

#ifndef TARVELO_KX_SQLITE
#define TARVELO_KX_SQLITE "kx_sqlite"
#endif

namespace {

const QDate kHoy(2026, 3, 10);
const QString kLista = QStringLiteral("M1");
const QString kUsuario = QStringLiteral("BANCO");

// The batch rows carry the connection's user name.
QString usuarioConexion(bool pg) {
    return pg ? qEnvironmentVariable("TARVELO_PG_USER", "postgres") : kUsuario;
}

QString entorno(const char* n, const QString& defecto = QString()) {
    const QString v = qEnvironmentVariable(n);
    return v.isEmpty() ? defecto : v;
}

[[noreturn]] void falla(const QString& texto) {
    std::fprintf(stderr, "%s\n", qPrintable(texto));
    std::exit(1);
}

void ejecuta(QSqlDatabase& db, const QString& sql) {
    QSqlQuery q(db);
    if (!q.exec(sql)) {
        falla(sql.left(200) + ": " + q.lastError().text());
    }
}

// User + system seconds of this process (or of its finished children).
double cpu(int quien) {
    rusage u{};
    getrusage(quien, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

// ---------------------------------------------------------------------------
// The set-based script. Each helper writes the engine's form of one step of
// the program's formatting, so that the cells come out character for
// character as the grid holds them.
struct Sql {
    bool pg;

    static QString literal(const QString& t) {
        QString r = t;
        r.replace(QLatin1Char('\''), QStringLiteral("''"));
        return QLatin1Char('\'') + r + QLatin1Char('\'');
    }
    // NULL reads as an empty text.
    QString texto(const QString& x) const {
        return pg ? QString("coalesce((%1)::text, '')").arg(x)
                  : QString("coalesce(CAST(%1 AS TEXT), '')").arg(x);
    }
    // Blanks as the program trims them (spaces, tabs, line breaks, NBSP).
    QString recorta(const QString& x) const {
        return pg ? QString("btrim(%1, E' \\t\\n\\x0B\\f\\r\\u0085\\u00A0')").arg(x)
                  : QString("trim(%1, ' ' || char(9, 10, 11, 12, 13, 133, 160))").arg(x);
    }
    // Exactly `n` characters: cut or filled with blanks on the right.
    QString ajusta(const QString& x, int n) const {
        return pg ? QString("rpad(%1, %2)").arg(x).arg(n)
                  : QString("substr(%1 || '%2', 1, %3)").arg(x, QString(n, ' ')).arg(n);
    }
    // Zeros on the left up to `n` characters; a longer text stays whole.
    QString ceros(const QString& x, int n) const {
        return QString("(CASE WHEN length(%1) >= %2 THEN %1 ELSE %3 END)")
            .arg(x)
            .arg(n)
            .arg(pg ? QString("lpad(%1, %2, '0')").arg(x).arg(n)
                    : QString("substr('%1' || %2, -%3)").arg(QString(n, '0'), x).arg(n));
    }
    QString soloDigitos(const QString& x) const {
        return pg ? QString("((%1) COLLATE \"C\" ~ '^[0-9]+$')").arg(x)
                  : QString("(%1 <> '' AND %1 NOT GLOB '*[^0-9]*')").arg(x);
    }
    QString dia(const QString& x) const {
        return pg ? QString("CAST(%1 AS DATE)").arg(x) : QString("date(%1)").arg(x);
    }
    QString fecha(const QDate& d) const {
        return pg ? QString("DATE '%1'").arg(d.toString(Qt::ISODate))
                  : literal(d.toString(Qt::ISODate));
    }
    // A key compared as the program binds it (the column's comparison rules).
    QString clave(const QString& x) const { return pg ? QString("(%1)::bpchar").arg(x) : x; }
    // An amount in thousandths, rounded half away from zero from its value
    // to six places, as the program reads it.
    QString milesimas(const QString& x) const {
        if (pg) {
            return QString("(round(abs(coalesce(%1, 0))::numeric, 3) * 1000)::bigint").arg(x);
        }
        // Millionths read off the six-place text, then half up.
        return QString("((CAST(replace(printf('%.6f', abs(coalesce(%1, 0))), '.', '') AS "
                       "INTEGER) + 500) / 1000)")
            .arg(x);
    }
    // The nine-character amount cell; a million or more makes it longer.
    QString importe(const QString& x) const {
        const QString m = milesimas(x);
        const QString signo =
            QString("CASE WHEN coalesce(%1, 0) < 0 AND %2 <> 0 THEN '-' ELSE '' END").arg(x, m);
        if (pg) {
            return QString(
                       "(CASE WHEN abs(coalesce(%1, 0)) >= 1e12 THEN replace(round(%1::numeric, "
                       "3)::text, '.', '') ELSE %2 || %3 || lpad(mod(%4, 1000)::text, 3, "
                       "'0') END)")
                .arg(x, signo, ceros(QString("(%1 / 1000)::text").arg(m), 6), m);
        }
        return QString("(CASE WHEN abs(coalesce(%1, 0)) >= 1e12 THEN replace(printf('%.3f', %1), "
                       "'.', '') ELSE %2 || printf('#06d#03d', %3 / 1000, %3 %% 1000) END)")
            .arg(x, signo, m)
            .replace(QStringLiteral("%%"), QStringLiteral("%"));
    }
    // A money value above zero once rounded to four places.
    QString positivo(const QString& x) const {
        return pg ? QString("(round(coalesce(%1, 0), 4) > 0)").arg(x)
                  : QString("(round(coalesce(%1, 0) * 10000) > 0)").arg(x);
    }
    // A yes/no text: only the known "no" words (and blanks) are no.
    QString verdadero(const QString& x) const {
        const QString t = recorta(texto(x));
        return QString("(%1 <> '' AND upper(%1) NOT IN ('FALSE', 'FALSO', '0', 'NO', 'N'))").arg(t);
    }
    // A control character becomes a blank, so that every record keeps its
    // length and its single line break. The columns of `de`, cleaned, as the
    // CTE `limpias` (SQLite in steps: its parser nests only so deep).
    QString limpias(const QString& de) const {
        const QStringList cols = {"tm", "cod", "des", "mar", "bar", "rub"};
        const QString resto = "orden, id, oferta, pre, cos, iva, tip";
        const auto etapa = [&](const QString& nombre, const QString& desde,
                               const std::function<QString(const QString&)>& f) {
            QStringList l;
            for (const QString& c : cols) {
                l << f(c) + " AS " + c;
            }
            return QString("%1 AS (SELECT %2, %3 FROM %4)").arg(nombre, resto, l.join(", "), desde);
        };
        if (pg) {
            QString control;
            for (int c = 1; c < 32; ++c) {
                control += QString("\\x%1").arg(c, 2, 16, QLatin1Char('0'));
            }
            return etapa("limpias", de, [&](const QString& c) {
                return QString("translate(%1, E'%2\\x7F', '%3')").arg(c, control, QString(32, ' '));
            });
        }
        // Rows without a control character (nearly all) pass as they are;
        // the others get one replace per control character, in a recursive
        // CTE (the parser nests only so deep).
        QStringList lista;
        for (int c = 1; c < 32; ++c) {
            lista << QString::number(c);
        }
        lista << "127";
        QStringList reemplazos;
        QStringList desdeLimpieza;
        for (const QString& c : cols) {
            reemplazos << QString(
                              "replace(%1, char(CASE WHEN k < 31 THEN k + 1 ELSE 127 END), ' ')")
                              .arg(c);
            desdeLimpieza << "l." + c;
        }
        return QString(
                   "sucias AS MATERIALIZED (SELECT *, (tm || cod || des || mar || bar || rub) "
                   "GLOB '*[' || char(%1) || ']*' AS sucia FROM %2), "
                   "limpieza(orden, k, %3) AS (SELECT orden, 0, %3 FROM sucias WHERE sucia "
                   "UNION ALL SELECT orden, k + 1, %4 FROM limpieza WHERE k < 32), "
                   "limpias AS MATERIALIZED (SELECT %5, %3 FROM sucias WHERE NOT sucia UNION ALL "
                   "SELECT %6, %7 FROM limpieza l JOIN sucias s ON s.orden = l.orden WHERE "
                   "l.k = 32)")
            .arg(lista.join(", "), de, cols.join(", "), reemplazos.join(", "), resto,
                 "s." + QString(resto).replace(", ", ", s."), desdeLimpieza.join(", "));
    }
    QString precioDeClase(const QString& clase) const {
        QString r = "CASE " + clase;
        for (int i = 1; i <= 8; ++i) {
            r += QString(" WHEN '%1' THEN v.precio%1").arg(i);
        }
        return r + " END";
    }
    QString cfg(const char* clave) const {
        return recorta(
            texto(QString("(SELECT VALOR FROM TA_CONFIGURACION WHERE CLAVE = '%1')").arg(clave)));
    }
};

struct DatosConjunto {
    QString lista;            // as typed in the window
    QString ruta;             // the window's path text (RutaArchivo)
    QString cambios, balanza; // where the shell writes the records (UTF-8, one a line)
};

QString guion(bool pg, const DatosConjunto& d) {
    const Sql s{pg};
    // The list code as the program binds it: trimmed, four characters.
    const QString lista4 = s.literal((d.lista.trimmed() + QString(4, ' ')).left(4));
    const QString hoy = s.fecha(kHoy), manana = s.fecha(kHoy.addDays(1));
    const auto rt = [&](const QString& x) { return s.recorta(s.texto(x)); };

    // The configuration the program reads at start.
    const QString par =
        QString("par AS (SELECT %8 AS lista4, %2 AS cv, CASE WHEN %3 = '' THEN %2 ELSE %3 END "
                "AS cs, %4 AS co, %5 AS piva, %6 AS kg, (SELECT %7 FROM V_MA_PRECIOSCAB WHERE "
                "IDLISTA = %1) AS nombre, (SELECT coalesce(MAX(Codigo), 0) + 1 FROM MV_TARVELO) "
                "AS codigo)")
            .arg(lista4, s.cfg("ClasePrecioVenta"), s.cfg("ClasePrecioSugerido"),
                 s.cfg("ClasePrecioOferta"), s.cfg("piva"), s.cfg("UNIDADDEMEDIDA_KG"),
                 rt("NOMBRE"), s.clave(lista4));
    // The pending rows of the list with what the loader reads for each.
    const QString origen =
        QString("origen AS (SELECT v.ID AS id, row_number() OVER (ORDER BY v.IdArticulo) AS n, "
                "%1 AS estado, %2 AS cb, %3 AS psug, %4 AS pven, %5 AS pofe, v.COSTO AS costo, "
                "%6 <> '' AND %7 <> '' AS hayfechas, %8 AS fd, %9 AS fh, "
                "CASE WHEN a.IdArticulo IS NULL THEN %10 WHEN %11 = '' THEN %12 ELSE %13 END "
                "AS desraw, %14 AS idart, %15 AS tasa, %16 AS barra, %17 AS pesable, "
                "%18 AS marca, %19 AS rubro "
                "FROM VT_MA_PRECIOS_ARTICULOS v CROSS JOIN par "
                "LEFT JOIN V_MA_ARTICULOS a ON a.IdArticulo = v.IdArticulo "
                "LEFT JOIN V_TA_TIPOARTICULO tt ON tt.IdTipo = %20 "
                "WHERE v.TIPOLISTA = 'V' AND v.IDLISTA = par.lista4 AND (v.ESTADO = '0-C' OR "
                "v.ESTADO = '0-M' OR %21 = %22 OR %23 = %24) AND v.SUSPENDIDO = 0)")
            .arg(s.texto("v.ESTADO"), s.verdadero("v.CAMBIOCODBARRA"), s.precioDeClase("par.cs"),
                 s.precioDeClase("par.cv"), s.precioDeClase("par.co"), s.texto("v.FHOFERTADESDE"),
                 s.texto("v.FHOFERTAHASTA"), s.dia("v.FHOFERTADESDE"), s.dia("v.FHOFERTAHASTA"))
            .arg(s.texto("v.Descripcionarticulo"), rt("a.DescripAbrev"), s.texto("a.Descripcion"),
                 s.texto("a.DescripAbrev"), rt("v.IdArticulo"), rt("a.TASAIVA"),
                 rt("a.CodigoBarra"), s.verdadero("a.Pesable"), s.texto("tt.DESCRIPCION"))
            .arg(rt("v.Rubro"), s.clave(rt("v.Tipo")), s.dia("v.FHOFERTADESDE"), manana,
                 s.dia("v.FHOFERTAHASTA"), hoy);
    // The price class for tomorrow and the offer decision.
    const QString decision =
        QString("decision AS (SELECT o.*, CASE WHEN fd IS NULL THEN 'S' WHEN fd > %1 THEN 'X' "
                "WHEN fh IS NOT NULL AND fh <= %2 THEN 'T' ELSE 'V' END AS oferta, "
                "CASE WHEN %3 THEN psug WHEN NOT hayfechas THEN pven WHEN fd = %1 AND fh >= %2 "
                "THEN pofe WHEN fh > %2 THEN pofe ELSE pven END AS elegido FROM origen o)")
            .arg(manana, hoy, s.positivo("psug"));
    const QString cod = s.ceros(s.recorta("substr(idart, 1, 9)"), 9);
    // The formatted cells of each loaded row.
    const QString celdas =
        QString("celdas AS (SELECT d.n, d.id, d.cb, d.oferta, "
                "CASE WHEN d.cb THEN 'C' WHEN d.estado = '' THEN 'C' ELSE substr(d.estado, 3, "
                "1) END AS tm, %1 AS cod, %2 AS des, %3 AS mar, %4 AS pre, %5 AS cos, "
                "CASE WHEN upper(CASE WHEN d.tasa = '' THEN par.piva ELSE d.tasa END) = '21' "
                "THEN '0' ELSE '1' END AS iva, "
                "%6 AS bar, CASE WHEN d.pesable THEN 'I' ELSE ' ' END AS tip, "
                "CASE WHEN substr(d.rubro, 1, 2) = '' THEN '99' ELSE substr(d.rubro, 1, 2) END "
                "AS rub FROM decision d CROSS JOIN par WHERE d.oferta <> 'X')")
            .arg(QString(cod).replace("idart", "d.idart"),
                 s.ajusta(s.recorta("substr(d.desraw, 1, 30)"), 30),
                 s.ajusta(s.recorta("substr(d.marca, 1, 15)"), 15), s.importe("d.elegido"),
                 s.importe("d.costo"),
                 s.ajusta(QString("CASE WHEN d.barra = '' THEN %1 || '0000' ELSE "
                                  "substr(d.barra, 1, 13) END")
                              .arg(QString(cod).replace("idart", "d.idart")),
                          13));
    // Offers still running that were sent at this price stay out; so do
    // rows without a price.
    const QString enviadas =
        QString("enviables AS (SELECT c.* FROM celdas c CROSS JOIN par WHERE %1 AND NOT (c.oferta "
                "= 'V' AND coalesce((SELECT m.Precio FROM MV_TARVELO m WHERE m.IdLista = "
                "par.lista4 AND m.CodInterno = %2 AND m.Fecha = (SELECT MAX(x.Fecha) FROM "
                "MV_TARVELO x WHERE x.IdLista = par.lista4 AND x.CodInterno = %2) ORDER BY m.ID "
                "DESC LIMIT 1) = c.pre, %3)))")
            .arg(pg ? "c.pre COLLATE \"C\" ~ '[1-9]' AND c.pre COLLATE \"C\" NOT LIKE '-%'"
                    : "c.pre GLOB '*[1-9]*' AND c.pre NOT LIKE '-%'",
                 s.clave("c.cod"), pg ? "false" : "0");
    // A changed bar code is sent twice: "C" first, then "M". Every cell is
    // cleaned of control characters, as the grid keeps it.
    const QString filas =
        "filas AS (SELECT n * 2 AS orden, id, oferta, tm, cod, des, mar, pre, cos, iva, bar, tip, "
        "rub FROM enviables UNION ALL SELECT n * 2 + 1, id, oferta, 'M', cod, des, mar, pre, cos, "
        "iva, bar, tip, rub FROM enviables WHERE cb), " +
        s.limpias("filas");
    // The scale record of codes below 10,000, with the article's sale mode.
    const QString codNum = QString("CASE WHEN %1 THEN CAST(f.cod AS %2) ELSE 0 END")
                               .arg(s.soloDigitos("f.cod"), pg ? "bigint" : "INTEGER");
    // A whole number as text, zeros on the left (the program's digit patterns).
    const auto entero = [&](const QString& x, int n) {
        return pg ? s.ceros(QString("(%1)::bigint::text").arg(x), n)
                  : QString("printf('#0%1d', CAST(%2 AS INTEGER))").arg(n).arg(x);
    };
    const QString plu5 = s.recorta(pg ? "right(f.cod, 5)" : "substr(f.cod, -5)");
    const QString plu =
        QString("CASE WHEN %1 THEN %2 ELSE %3 END").arg(s.soloDigitos(plu5), entero(plu5, 5), plu5);
    const QString rub2 = QString("CASE WHEN %1 THEN %2 ELSE %3 END")
                             .arg(s.soloDigitos(s.recorta("f.rub")), entero(s.recorta("f.rub"), 2),
                                  s.recorta("f.rub"));
    const QString pre8 = entero("substr(f.pre, 1, 8)", 8);
    const QString claveBalanza = s.clave(entero(codNum, 6));
    const QString grilla =
        QString("SELECT f.orden, f.id, CASE WHEN f.oferta = 'V' THEN '1' ELSE '0' END AS "
                "nomarcar, f.tm, f.cod, f.des, f.mar, f.pre, f.cos, f.iva, f.bar, f.tip, f.rub, "
                "f.tm || f.cod || f.des || f.mar || f.pre || f.pre || '000000000' || f.cos || "
                "'S' || f.iva || 'SS' || f.bar || f.tip || f.rub || '000000000' || '000000' AS "
                "registro, CASE WHEN %1 < 10000 THEN %2 || %3 || %3 || %4 || CASE WHEN "
                "b.IdArticulo IS NOT NULL AND %5 AND upper(%6) = upper(par.kg) THEN '0' ELSE "
                "'1' END || %7 END AS balanza FROM limpias f CROSS JOIN par LEFT JOIN "
                "V_MA_ARTICULOS b ON %1 < 10000 AND b.IdArticulo = %8")
            .arg(codNum, rub2, plu, pre8, s.verdadero("b.Pesable"), rt("b.IdUnidad"),
                 s.ajusta(s.recorta("substr(f.des, 1, 60)"), 60), claveBalanza);

    QString r;
    if (pg) {
        r += "\\set ON_ERROR_STOP 1\n\\encoding UTF8\nSET DateStyle TO ISO, DMY;\nBEGIN;\n";
        r += "CREATE TEMP TABLE grilla ON COMMIT DROP AS WITH " + par + ", " + origen + ", " +
             decision + ", " + celdas + ", " + enviadas + ", " + filas + " " + grilla + ";\n";
        r += "\\o " + d.cambios + "\nSELECT registro FROM grilla ORDER BY orden;\n";
        r += "\\o " + d.balanza +
             "\nSELECT balanza FROM grilla WHERE balanza IS NOT NULL ORDER BY orden;\n\\o\n";
    } else {
        r += QString(".bail on\n.load %1\n").arg(TARVELO_KX_SQLITE);
        // The program's connection settings.
        r += "PRAGMA journal_mode=WAL;\nPRAGMA synchronous=NORMAL;\nPRAGMA "
             "temp_store=MEMORY;\nPRAGMA cache_size=-16000;\n.headers off\n.mode list\n";
        r += "BEGIN;\n";
        r += "CREATE TEMP TABLE grilla AS WITH " + par + ", " + origen + ", " + decision + ", " +
             celdas + ", " + enviadas + ", " + filas + " " + grilla + ";\n";
        r += ".output " + d.cambios + "\nSELECT registro FROM grilla ORDER BY orden;\n";
        r += ".output " + d.balanza +
             "\nSELECT balanza FROM grilla WHERE balanza IS NOT NULL ORDER BY orden;\n.output "
             "stdout\n";
    }
    // The batch rows in grid order, then the marks (never on list A3).
    r += QString("INSERT INTO MV_TARVELO (Codigo, IdLista, Nombre, Fecha, TipoMov, CodInterno, "
                 "Descripcion, Marca, PrecioVenta, Precio, Internos, PrecioCosto, CondIva, "
                 "TipoIva, Fijo, CodBarra, Rubro, Tipo, Aux1, Aux2, RutaArchivo, Usuario) "
                 "SELECT par.codigo, par.lista4, par.nombre, %1, g.tm, g.cod, g.des, g.mar, "
                 "g.pre, g.pre, '000000000', g.cos, 'S', g.iva, 'SS', g.bar, g.rub, g.tip, "
                 "'000000000', '000000', %2, %3 FROM grilla g CROSS JOIN (SELECT %4 AS lista4, "
                 "(SELECT %5 FROM V_MA_PRECIOSCAB WHERE IDLISTA = %4) AS nombre, (SELECT "
                 "coalesce(MAX(Codigo), 0) + 1 FROM MV_TARVELO) AS codigo) par ORDER BY "
                 "g.orden;\n")
             .arg(hoy, s.literal(d.ruta), s.literal(usuarioConexion(pg)), s.clave(lista4),
                  rt("NOMBRE"));
    r += QString("UPDATE V_MA_PRECIOS SET ESTADO = '1-M', CAMBIOCODBARRA = 0 WHERE ID IN "
                 "(SELECT id FROM grilla WHERE nomarcar = '0') AND upper(%1) <> 'A3';\n")
             .arg(s.literal(d.lista.trimmed()));
    r += "COMMIT;\n";
    // printf formats of zero-filled numbers, kept out of the way of QString::arg.
    r.replace(QStringLiteral("'#0"), QStringLiteral("'%0"));
    r.replace(QStringLiteral("d#0"), QStringLiteral("d%0"));
    return r;
}

// ---------------------------------------------------------------------------

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

void enServidor(const QString& sql) {
    {
        QSqlDatabase s = abre(Base{true, "postgres"}, "servidor");
        ejecuta(s, sql);
        s.close();
    }
    QSqlDatabase::removeDatabase("servidor");
}

void prepara(const Base& b, int filas) {
    if (b.pg) {
        enServidor("CREATE DATABASE " + b.nombre + " ENCODING 'UTF8' TEMPLATE template0");
        {
            QSqlDatabase db = abre(b, "colacion");
            ejecuta(db, "CREATE COLLATION IF NOT EXISTS kx (provider = icu, locale = "
                        "'und-u-ks-level2', deterministic = false)");
            db.close();
        }
        QSqlDatabase::removeDatabase("colacion");
    }
    {
        QSqlDatabase db = abre(b, "prepara");
        BaseBanco::Llena(db, filas, kHoy, 1);
        db.close();
    }
    QSqlDatabase::removeDatabase("prepara");
}

void copia(const Base& de, const Base& a) {
    if (de.pg) {
        enServidor("CREATE DATABASE " + a.nombre + " TEMPLATE " + de.nombre);
    } else {
        QFile::remove(a.nombre);
        if (!QFile::copy(de.nombre, a.nombre)) {
            falla("no se pudo copiar " + de.nombre);
        }
    }
}

void borra(const Base& b) {
    if (b.pg) {
        enServidor("DROP DATABASE IF EXISTS " + b.nombre);
    } else {
        for (const char* sufijo : {"", "-wal", "-shm"}) {
            QFile::remove(b.nombre + sufijo);
        }
    }
}

struct Medida {
    double ms = 0;
    double cpu = 0; // user + sys seconds
    double picoMB = 0;
    double picoCargaMB = 0; // after the load, before the generation
    int filas = 0;
};

QString rutaVentana(const QString& carpeta) {
    return QDir::toNativeSeparators(QDir(carpeta).filePath("CAMBIOS.TXT"));
}

// The program, started as the unattended command starts it: pending load
// and generation into `carpeta`.
Medida porPrograma(const Base& b, const QString& carpeta) {
    const QString linea =
        b.pg ? QString("@Plataforma=POSTGRESQL; @server=%1; @Puerto=%2; @dbname=%3; @usuario=%4; "
                       "@Password=; @UsuarioLogeado=%5")
                   .arg(entorno("TARVELO_PG_HOST", "127.0.0.1"), entorno("TARVELO_PG_PORT", "5432"),
                        b.nombre, entorno("TARVELO_PG_USER", "postgres"), kUsuario)
             : QString("@Plataforma=SQLITE; @server=.; @dbname=%1; @usuario=%2; "
                       "@UsuarioLogeado=%2")
                   .arg(b.nombre, kUsuario);
    static OperadorSilencioso op;
    op.fijaEco(false);
    fijaOperador(&op);
    if (IniciaAplicacion(linea, ModoInicio::SinDialogo) != 0) {
        falla(MensajeInicio());
    }
    MemoriaProceso::ReiniciaPico();
    Medida m;
    {
        EstadoVentana ventana;
        RepositorioLoteSql repositorio(DB_Dll::instancia());
        LoteNovedades lote(ventana, repositorio, Dll_Display::instancia(), &ParametrosConfigurados);
        lote.InicializaFormulario();
        ventana.campo("IdLista") = kLista;
        ventana.lblLista = "Lista de Precios: LISTA MASIVA DE PRUEBA";
        ventana.fijaRuta(rutaVentana(carpeta));
        const double cpu0 = cpu(RUSAGE_SELF);
        QElapsedTimer t;
        t.start();
        const ResultadoCarga carga = lote.CargaNovedades();
        m.picoCargaMB = MemoriaProceso::MB("VmHWM:");
        const ResultadoGeneracion gen = lote.Genera();
        m.ms = double(t.nsecsElapsed()) / 1e6;
        m.cpu = cpu(RUSAGE_SELF) - cpu0;
        m.picoMB = MemoriaProceso::MB("VmHWM:");
        m.filas = carga.filas;
        if (gen.estado != ResultadoGeneracion::Estado::Generado) {
            falla("la generacion no termino: " + op.mensajes().join(" | "));
        }
    }
    DB_Dll::instancia().gCnn->Close();
    fijaOperador(nullptr);
    return m;
}

// The shell's output (UTF-8, a record a line) as the program writes it:
// Windows-1252, CR LF, flushed and published under the final name.
void publica(const QString& salida, const QString& destino) {
    QFile f(salida);
    if (!f.open(QIODevice::ReadOnly)) {
        falla("no se pudo leer " + salida);
    }
    const QByteArray todo = f.readAll();
    f.close();
    QByteArray bytes;
    bytes.reserve(todo.size() + todo.size() / 64);
    qsizetype desde = 0;
    while (desde < todo.size()) {
        qsizetype fin = todo.indexOf('\n', desde);
        if (fin < 0) {
            fin = todo.size();
        }
        bytes += Cp1252::codifica(QString::fromUtf8(todo.constData() + desde, fin - desde));
        bytes += "\r\n";
        desde = fin + 1;
    }
    ArchivoPublicado a(destino);
    a.escribe(bytes);
    a.publica();
    QFile::remove(salida);
}

// The set-based side on base `b`, its files into `carpeta`.
Medida porConjunto(const Base& b, const QString& carpeta, const QString& ruta) {
    DatosConjunto d{kLista, ruta, QDir(carpeta).filePath("cambios.utf8"),
                    QDir(carpeta).filePath("balanza.utf8")};
    QFile archivo(QDir(carpeta).filePath(b.pg ? "conjunto.psql" : "conjunto.sqlite"));
    if (!archivo.open(QIODevice::WriteOnly)) {
        falla("no se pudo escribir " + archivo.fileName());
    }
    archivo.write(guion(b.pg, d).toUtf8());
    archivo.close();
    Medida m;
    const double cpu0 = cpu(RUSAGE_CHILDREN) + cpu(RUSAGE_SELF);
    QElapsedTimer t;
    t.start();
    QProcess p;
    if (b.pg) {
        p.start("psql",
                {"-X", "-q", "-A", "-t", "-h", entorno("TARVELO_PG_HOST", "127.0.0.1"), "-p",
                 entorno("TARVELO_PG_PORT", "5432"), "-U", entorno("TARVELO_PG_USER", "postgres"),
                 "-d", b.nombre, "-f", archivo.fileName()});
    } else {
        p.setStandardInputFile(archivo.fileName());
        p.start("sqlite3", {"-batch", b.nombre});
    }
    p.waitForFinished(-1);
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        falla(QString(b.pg ? "psql: " : "sqlite3: ") + QString::fromUtf8(p.readAllStandardError()));
    }
    publica(d.cambios, QDir(carpeta).filePath("CAMBIOS.TXT"));
    publica(d.balanza, QDir(carpeta).filePath("BALANZA.TXT"));
    m.ms = double(t.nsecsElapsed()) / 1e6;
    m.cpu = cpu(RUSAGE_CHILDREN) + cpu(RUSAGE_SELF) - cpu0; // the shell's and the file writing
    return m;
}

// ---------------------------------------------------------------------------
// Equal outputs.

QString difiereArchivo(const QString& a, const QString& b) {
    QFile fa(a), fb(b);
    if (!fa.open(QIODevice::ReadOnly) || !fb.open(QIODevice::ReadOnly)) {
        return "falta " + (fa.isOpen() ? b : a);
    }
    const QByteArray x = fa.readAll(), y = fb.readAll();
    if (x == y) {
        return QString();
    }
    qsizetype i = 0;
    while (i < x.size() && i < y.size() && x[i] == y[i]) {
        ++i;
    }
    const qsizetype linea = x.left(i).count('\n');
    const auto lineaDe = [&](const QByteArray& t) {
        const qsizetype ini = t.lastIndexOf('\n', i - 1) + 1;
        const qsizetype fin = t.indexOf('\r', ini);
        return QString::fromLatin1(t.mid(ini, fin < 0 ? -1 : fin - ini));
    };
    return QString("%1: %2 y %3 bytes; primera diferencia en el byte %4 (registro %5)\n  "
                   "programa: [%6]\n  conjunto: [%7]")
        .arg(QFileInfo(a).fileName())
        .arg(x.size())
        .arg(y.size())
        .arg(i)
        .arg(linea + 1)
        .arg(lineaDe(x), lineaDe(y));
}

QStringList filasDe(const Base& b, const QString& sql) {
    QStringList r;
    {
        QSqlDatabase db = abre(b, "compara");
        QSqlQuery q(db);
        q.setForwardOnly(true);
        if (!q.exec(sql)) {
            falla(sql + ": " + q.lastError().text());
        }
        const int columnas = q.record().count();
        while (q.next()) {
            QStringList celdas;
            for (int i = 0; i < columnas; ++i) {
                const QVariant v = q.value(i);
                celdas << (v.isNull() ? QStringLiteral("NULL") : v.toString());
            }
            r << celdas.join(QLatin1Char('|'));
        }
        q.finish();
        db.close();
    }
    QSqlDatabase::removeDatabase("compara");
    return r;
}

QString difiereTabla(const Base& a, const Base& b, const QString& tabla) {
    const QString sql = "SELECT * FROM " + tabla + " ORDER BY ID";
    const QStringList x = filasDe(a, sql), y = filasDe(b, sql);
    if (x == y) {
        return QString();
    }
    qsizetype i = 0;
    while (i < x.size() && i < y.size() && x[i] == y[i]) {
        ++i;
    }
    return QString("%1: %2 y %3 filas; primera diferencia en la fila %4\n  programa: [%5]\n  "
                   "conjunto: [%6]")
        .arg(tabla)
        .arg(x.size())
        .arg(y.size())
        .arg(i + 1)
        .arg(i < x.size() ? x[i] : QString(), i < y.size() ? y[i] : QString());
}

Base baseEn(bool pg, const QString& carpeta, const QString& nombre) {
    return pg ? Base{true,
                     QString("banco_%1_%2").arg(QCoreApplication::applicationPid()).arg(nombre)}
              : Base{false, QDir(carpeta).filePath(nombre + ".db")};
}

Base plantilla(bool pg, const QString& carpeta, int filas) {
    return pg ? Base{true, QString("banco_plantilla_%1").arg(filas)}
              : Base{false, QDir(carpeta).filePath(QString("plantilla_%1.db").arg(filas))};
}

int unaCorrida(bool pg, int filas) {
    QTemporaryDir dir;
    Programa::fijaCarpeta(dir.path());
    const Base origen = baseEn(pg, dir.path(), "origen");
    const Base nuestra = baseEn(pg, dir.path(), "programa");
    const Base otra = baseEn(pg, dir.path(), "conjunto");
    prepara(origen, filas);
    copia(origen, nuestra);
    copia(origen, otra);

    // Both sides write into the same folder, one after the other, so that
    // the path recorded in MV_TARVELO is the same text.
    const QString carpetaProg = QDir(dir.path()).filePath("programa");
    QDir().mkpath(carpetaProg);
    const Medida prog = porPrograma(nuestra, dir.path());
    for (const char* n : {"CAMBIOS.TXT", "BALANZA.TXT"}) {
        QFile::rename(QDir(dir.path()).filePath(n), QDir(carpetaProg).filePath(n));
    }
    const Medida conj = porConjunto(otra, dir.path(), rutaVentana(dir.path()));

    QStringList diferencias;
    for (const char* n : {"CAMBIOS.TXT", "BALANZA.TXT"}) {
        const QString d =
            difiereArchivo(QDir(carpetaProg).filePath(n), QDir(dir.path()).filePath(n));
        if (!d.isEmpty()) {
            diferencias << d;
        }
    }
    for (const char* t : {"MV_TARVELO", "V_MA_PRECIOS"}) {
        const QString d = difiereTabla(nuestra, otra, t);
        if (!d.isEmpty()) {
            diferencias << d;
        }
    }
    const qint64 bytesCambios = QFileInfo(QDir(carpetaProg).filePath("CAMBIOS.TXT")).size();
    const qint64 bytesBalanza = QFileInfo(QDir(carpetaProg).filePath("BALANZA.TXT")).size();
    if (pg) {
        borra(origen);
        borra(nuestra);
        borra(otra);
    }
    const char* motor = pg ? "postgresql" : "sqlite";
    if (!diferencias.isEmpty()) {
        std::printf("motor=%s filas=%d SALIDAS DISTINTAS, sin razon:\n%s\n", motor, filas,
                    qPrintable(diferencias.join('\n')));
        return 2;
    }
    std::printf(
        "motor=%s filas=%d filas_lote=%d salidas=iguales (CAMBIOS %lld B, BALANZA %lld B, "
        "MV_TARVELO y V_MA_PRECIOS) programa: %.0f ms cpu %.2f s pico %.1f MB (tras la carga "
        "%.1f) | conjunto: "
        "%.0f ms cpu %.2f s | razon=%.2f\n",
        motor, filas, prog.filas, (long long)bytesCambios, (long long)bytesBalanza, prog.ms,
        prog.cpu, prog.picoMB, prog.picoCargaMB, conj.ms, conj.cpu, prog.ms / conj.ms);
    return 0;
}

// One side alone on a fresh copy of a prepared template (whole-process timing).
int unLado(const QString& lado, bool pg, int filas, const QString& carpeta) {
    QDir().mkpath(carpeta);
    const Base molde = plantilla(pg, carpeta, filas);
    if (lado == "prepara") {
        borra(molde);
        prepara(molde, filas);
        return 0;
    }
    QTemporaryDir dir(QDir(carpeta).filePath("corrida-XXXXXX"));
    Programa::fijaCarpeta(dir.path());
    const Base b = baseEn(pg, dir.path(), lado);
    copia(molde, b);
    Medida m;
    if (lado == "programa") {
        m = porPrograma(b, dir.path());
    } else {
        m = porConjunto(b, dir.path(), rutaVentana(dir.path()));
    }
    borra(b);
    std::printf("%s %s filas=%d %.0f ms cpu %.2f s\n", qPrintable(lado),
                pg ? "postgresql" : "sqlite", filas, m.ms, m.cpu);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList a = app.arguments();
    a.removeFirst();
    Reloj::fijaHoy(kHoy);
    const QStringList lados = {"prepara", "programa", "conjunto"};
    if (!a.isEmpty() && lados.contains(a[0])) {
        if (a.size() < 4) {
            falla("uso: bench_lote prepara|programa|conjunto sqlite|postgresql FILAS CARPETA");
        }
        const bool pg = a[1].compare("postgresql", Qt::CaseInsensitive) == 0;
        return unLado(a[0], pg, a[2].toInt(), QDir(a[3]).absolutePath());
    }
    if (a.size() < 2) {
        falla("uso: bench_lote sqlite|postgresql FILAS [--sql]");
    }
    const bool pg = a[0].compare("postgresql", Qt::CaseInsensitive) == 0;
    if (a.contains("--sql")) {
        std::printf("%s", qPrintable(guion(pg, DatosConjunto{kLista, "C:\\RUTA\\CAMBIOS.TXT",
                                                             "cambios.utf8", "balanza.utf8"})));
        return 0;
    }
    return unaCorrida(pg, a[1].toInt());
}
