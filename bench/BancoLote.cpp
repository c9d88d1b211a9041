// Times the nightly batch (`tarvelo-lote generar`: the pending load, the
// files, the batch rows and the marks) on a list of N pending price rows,
// against a set-based run of the same work by the engine itself: one script
// for the engine's own shell (sqlite3 with the KX extension, psql) that builds
// the grid rows once into a temporary table with every rule of the program,
// drops the rows that stay out, writes the records of both files straight
// from it and inserts and marks with one statement each, in one transaction.
// Both sides start from identical copies of one database; their files are
// compared byte for byte and MV_TARVELO and V_MA_PRECIOS row for row before
// any ratio is printed.
//
//   bench_lote sqlite 20000              template, both sides, comparison, one line
//   bench_lote postgresql 20000          (server from TARVELO_PG_HOST/PORT/USER)
//   bench_lote sqlite 20000 --sql        prints the set-based script and stops
//
// For timing each side as a whole process (repeated runs, by an outside timer):
//   bench_lote prepara sqlite 20000 DIR    template database in DIR
//   bench_lote compara sqlite 20000 DIR    both sides once on fresh copies, outputs compared
//   bench_lote programa sqlite 20000 DIR   tarvelo-lote generar on a fresh copy
//   bench_lote conjunto sqlite 20000 DIR   the set-based script on a fresh copy
//   bench_lote limpia postgresql 20000 DIR drops the copies left on the server
//
// Each side runs as a child process; its figures are the child's own (wall,
// user + system CPU, resident peak), plus the file writing for the set-based
// side. On PostgreSQL the server's CPU is in neither.

#include "BaseBanco.h"
#include "utility_library/ArchivoPublicado.h"
#include "utility_library/Cp1252.h"
#include "utility_library/Programa.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#ifndef TARVELO_KX_SQLITE
#define TARVELO_KX_SQLITE "kx_sqlite"
#endif
#ifndef TARVELO_LOTE
#define TARVELO_LOTE "tarvelo-lote"
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
    // `m`: the amount's thousandths (milesimas(x)), worked out once beforehand.
    QString importe(const QString& x, const QString& m) const {
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
        QString("origen AS (SELECT v.ID AS id, v.IdArticulo AS clave, "
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
            .arg(manana, hoy, s.positivo("psug"))
            .replace("decision AS (", pg ? "decision AS (" : "decision AS MATERIALIZED (");
    // Each amount's thousandths worked out once, for the rows that stay.
    const QString montos =
        QString("montos AS %1(SELECT d.*, %2 AS mpre, %3 AS mcos FROM decision d WHERE "
                "d.oferta <> 'X')")
            .arg(pg ? "" : "MATERIALIZED ", s.milesimas("d.elegido"), s.milesimas("d.costo"));
    const QString cod = s.ceros(s.recorta("substr(d.idart, 1, 9)"), 9);
    // A control character anywhere in the texts the cells come from (a
    // superset of the cells that hold one): only those rows are cleaned.
    QString control;
    if (pg) {
        control = "(d.estado || d.idart || d.desraw || d.marca || d.barra || d.rubro) COLLATE "
                  "\"C\" ~ '[\\x01-\\x1f\\x7f]'";
    } else {
        QStringList lista;
        for (int c = 1; c < 32; ++c) {
            lista << QString::number(c);
        }
        lista << "127";
        control = QString("(d.estado || d.idart || d.desraw || d.marca || d.barra || d.rubro) "
                          "GLOB '*[' || char(%1) || ']*'")
                      .arg(lista.join(", "));
    }
    // The formatted cells of each loaded row, computed once, in grid order.
    const QString celdas =
        QString("SELECT d.id, d.cb, d.oferta, %7 AS sucia, "
                "CASE WHEN d.cb THEN 'C' WHEN d.estado = '' THEN 'C' ELSE substr(d.estado, 3, "
                "1) END AS tm, %1 AS cod, %2 AS des, %3 AS mar, %4 AS pre, %5 AS cos, "
                "CASE WHEN upper(CASE WHEN d.tasa = '' THEN par.piva ELSE d.tasa END) = '21' "
                "THEN '0' ELSE '1' END AS iva, "
                "%6 AS bar, CASE WHEN d.pesable THEN 'I' ELSE ' ' END AS tip, "
                "CASE WHEN substr(d.rubro, 1, 2) = '' THEN '99' ELSE substr(d.rubro, 1, 2) END "
                "AS rub FROM montos d CROSS JOIN par")
            .arg(cod, s.ajusta(s.recorta("substr(d.desraw, 1, 30)"), 30),
                 s.ajusta(s.recorta("substr(d.marca, 1, 15)"), 15),
                 s.importe("d.elegido", "d.mpre"), s.importe("d.costo", "d.mcos"),
                 s.ajusta(QString("CASE WHEN d.barra = '' THEN %1 || '0000' ELSE "
                                  "substr(d.barra, 1, 13) END")
                              .arg(cod),
                          13),
                 control);
    const QString columnas =
        "id, cb, oferta, sucia, tm, cod, des, mar, pre, cos, iva, bar, tip, rub";
    // Rows without a price, and offers still running that were sent at this
    // price, stay out.
    const QString fuera =
        QString("DELETE FROM g WHERE NOT (%1) OR (oferta = 'V' AND coalesce((SELECT m.Precio "
                "FROM MV_TARVELO m WHERE m.IdLista = %2 AND m.CodInterno = %3 AND m.Fecha IS "
                "NOT NULL ORDER BY m.Fecha DESC, m.ID DESC LIMIT 1) = g.pre, %4));\n")
            .arg(pg ? "pre COLLATE \"C\" ~ '[1-9]' AND pre COLLATE \"C\" NOT LIKE '-%'"
                    : "pre GLOB '*[1-9]*' AND pre NOT LIKE '-%'",
                 s.clave(lista4), s.clave("g.cod"), pg ? "false" : "0");
    // A control character becomes a blank, so that every record keeps its
    // length and its single line break.
    const QStringList limpiables = {"tm", "cod", "des", "mar", "bar", "rub"};
    QString limpia;
    if (pg) {
        QString de;
        for (int c = 1; c < 32; ++c) {
            de += QString("\\x%1").arg(c, 2, 16, QLatin1Char('0'));
        }
        QStringList l;
        for (const QString& c : limpiables) {
            l << QString("%1 = translate(%1, E'%2\\x7F', '%3')").arg(c, de, QString(32, ' '));
        }
        limpia = "UPDATE g SET " + l.join(", ") + " WHERE sucia;\n";
    } else {
        // In two statements of sixteen replaces: the parser nests only so deep.
        QList<int> codigos;
        for (int c = 1; c < 32; ++c) {
            codigos << c;
        }
        codigos << 127;
        for (int mitad = 0; mitad < 2; ++mitad) {
            QStringList l;
            for (const QString& c : limpiables) {
                QString e = c;
                for (int i = mitad * 16; i < mitad * 16 + 16; ++i) {
                    e = QString("replace(%1, char(%2), ' ')").arg(e).arg(codigos[i]);
                }
                l << c + " = " + e;
            }
            limpia += "UPDATE g SET " + l.join(", ") + " WHERE sucia;\n";
        }
    }
    // Every row in grid order: a changed bar code is sent twice, "C" first,
    // then "M".
    const QString filas =
        "(SELECT 2 * orden AS o, g.* FROM g UNION ALL SELECT 2 * g.orden + 1, g.orden, g.id, g.cb, "
        "g.oferta, g.sucia, 'M', g.cod, g.des, g.mar, g.pre, g.cos, g.iva, g.bar, g.tip, g.rub "
        "FROM d JOIN g ON g.orden = d.orden)";
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
    const QString cambios =
        "SELECT f.tm || f.cod || f.des || f.mar || f.pre || f.pre || '000000000' || f.cos || "
        "'S' || f.iva || 'SS' || f.bar || f.tip || f.rub || '000000000' || '000000' FROM " +
        filas + " f ORDER BY f.o;\n";
    const QString balanza =
        QString("SELECT %2 || %3 || %3 || %4 || CASE WHEN b.IdArticulo IS NOT NULL AND %5 AND "
                "upper(%6) = upper(%9) THEN '0' ELSE '1' END || %7 FROM %10 f LEFT JOIN "
                "V_MA_ARTICULOS b ON b.IdArticulo = %8 WHERE %1 < 10000 ORDER BY f.o;\n")
            .arg(codNum, rub2, plu, pre8, s.verdadero("b.Pesable"), rt("b.IdUnidad"),
                 s.ajusta(s.recorta("substr(f.des, 1, 60)"), 60), claveBalanza,
                 s.cfg("UNIDADDEMEDIDA_KG"), filas);

    QString r;
    const QString tabla = pg ? "CREATE TEMP TABLE g (orden bigint, id bigint, cb boolean, oferta "
                               "text, sucia boolean, tm text, cod text, des text, mar text, pre "
                               "text, cos text, iva text, bar text, tip text, rub text) ON COMMIT "
                               "DROP;\n"
                             : "CREATE TEMP TABLE g (orden INTEGER PRIMARY KEY, id, cb, oferta, "
                               "sucia, tm, cod, des, mar, pre, cos, iva, bar, tip, rub);\n";
    if (pg) {
        r += "\\set ON_ERROR_STOP 1\n\\encoding UTF8\nSET DateStyle TO ISO, DMY;\nBEGIN;\n";
        r += tabla;
        r += "WITH " + par + ", " + origen + ", " + decision + ", " + montos +
             " INSERT INTO g (orden, " + columnas + ") " +
             QString(celdas).replace("SELECT d.id,",
                                     "SELECT row_number() OVER (ORDER BY d.clave), d.id,") +
             ";\n";
    } else {
        r += QString(".bail on\n.load %1\n").arg(TARVELO_KX_SQLITE);
        // The program's connection settings.
        r += "PRAGMA journal_mode=WAL;\nPRAGMA synchronous=NORMAL;\nPRAGMA "
             "temp_store=MEMORY;\nPRAGMA cache_size=-4000;\n.headers off\n.mode list\n";
        r += "BEGIN IMMEDIATE;\n";
        r += tabla;
        r += "WITH " + par + ", " + origen + ", " + decision + ", " + montos + " INSERT INTO g (" +
             columnas + ") " + celdas + " ORDER BY d.clave;\n";
    }
    r += fuera;
    r += limpia;
    r += pg ? "CREATE TEMP TABLE d ON COMMIT DROP AS SELECT orden FROM g WHERE cb;\n"
            : "CREATE TEMP TABLE d AS SELECT orden FROM g WHERE cb;\n";
    // The price alerts the program checks before writing (zero, below cost,
    // a change beyond 50% against the last price the list sent); the bench's
    // list has none, so the run goes on, as the program's does.
    const QString tipoEntero = pg ? QStringLiteral("bigint") : QStringLiteral("INTEGER");
    r += QString("SELECT count(*) FROM (SELECT CAST(g.pre AS %1) AS n, CAST(g.cos AS %1) AS c, "
                 "(SELECT CAST(m.Precio AS %1) FROM MV_TARVELO m WHERE m.IdLista = %2 AND "
                 "m.CodInterno = g.cod AND m.Fecha IS NOT NULL ORDER BY m.Fecha DESC, m.ID DESC "
                 "LIMIT 1) AS a FROM g) x WHERE n = 0 OR (c > 0 AND n < c) OR (a > 0 AND "
                 "abs(n - a) * 100 > 50 * a);\n")
             .arg(tipoEntero, s.clave(lista4));
    r += (pg ? "\\o " : ".output ") + d.cambios + "\n" + cambios;
    r += (pg ? "\\o " : ".output ") + d.balanza + "\n" + balanza;
    r += pg ? "\\o\n" : ".output stdout\n";
    // The batch rows in grid order, then the marks (never on list A3).
    r += QString("INSERT INTO MV_TARVELO (Codigo, IdLista, Nombre, Fecha, TipoMov, CodInterno, "
                 "Descripcion, Marca, PrecioVenta, Precio, Internos, PrecioCosto, CondIva, "
                 "TipoIva, Fijo, CodBarra, Rubro, Tipo, Aux1, Aux2, RutaArchivo, Usuario) "
                 "SELECT p.codigo, p.lista4, p.nombre, %1, f.tm, f.cod, f.des, f.mar, "
                 "f.pre, f.pre, '000000000', f.cos, 'S', f.iva, 'SS', f.bar, f.rub, f.tip, "
                 "'000000000', '000000', %2, %3 FROM %6 f CROSS JOIN (SELECT %4 AS lista4, "
                 "(SELECT %5 FROM V_MA_PRECIOSCAB WHERE IDLISTA = %4) AS nombre, (SELECT "
                 "coalesce(MAX(Codigo), 0) + 1 FROM MV_TARVELO) AS codigo) p ORDER BY f.o;\n")
             .arg(hoy, s.literal(d.ruta), s.literal(usuarioConexion(pg)), s.clave(lista4),
                  rt("NOMBRE"), filas);
    r += QString("UPDATE V_MA_PRECIOS SET ESTADO = '1-M', CAMBIOCODBARRA = 0 WHERE ID IN "
                 "(SELECT id FROM g WHERE oferta <> 'V') AND upper(%1) <> 'A3';\n")
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
    double cpu = 0;    // user + sys seconds of the child process
    double picoMB = 0; // its resident peak
};

// Runs `programa` with `args` as a child (standard input from `entrada` when
// given, standard output thrown away) and waits for it: its wall time, CPU
// and resident peak. Fails unless it exits with 0.
Medida correHijo(const QString& programa, const QStringList& args, const QString& entrada = {}) {
    std::vector<QByteArray> textos{QFile::encodeName(programa)};
    for (const QString& a : args) {
        textos.push_back(a.toLocal8Bit());
    }
    std::vector<char*> argv;
    for (QByteArray& t : textos) {
        argv.push_back(t.data());
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t acciones;
    posix_spawn_file_actions_init(&acciones);
    const QByteArray rutaEntrada = QFile::encodeName(entrada);
    if (!entrada.isEmpty()) {
        posix_spawn_file_actions_addopen(&acciones, 0, rutaEntrada.constData(), O_RDONLY, 0);
    }
    posix_spawn_file_actions_addopen(&acciones, 1, "/dev/null", O_WRONLY, 0);
    QElapsedTimer t;
    t.start();
    pid_t pid = 0;
    if (posix_spawnp(&pid, argv[0], &acciones, nullptr, argv.data(), environ) != 0) {
        falla("no se pudo iniciar " + programa);
    }
    posix_spawn_file_actions_destroy(&acciones);
    int estado = 0;
    rusage u{};
    wait4(pid, &estado, 0, &u);
    Medida m;
    m.ms = double(t.nsecsElapsed()) / 1e6;
    m.cpu = double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
            double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
    m.picoMB = double(u.ru_maxrss) / 1024.0;
    if (!WIFEXITED(estado) || WEXITSTATUS(estado) != 0) {
        falla(QString("%1 termino con %2").arg(programa).arg(estado));
    }
    return m;
}

// The folder both sides write their files into: the path recorded in
// MV_TARVELO is then the same text.
QString carpetaSalida(const QString& carpeta) {
    const QString s = QDir(carpeta).filePath("salida");
    QDir().mkpath(s);
    return s;
}

QString rutaVentana(const QString& carpeta) {
    return QDir::toNativeSeparators(QDir(carpeta).filePath("CAMBIOS.TXT"));
}

// The program as the nightly run starts it, on base `b`: its files into `salida`.
Medida porPrograma(const Base& b, const QString& salida) {
    const QString linea =
        b.pg ? QString("@Plataforma=POSTGRESQL; @server=%1; @Puerto=%2; @dbname=%3; @usuario=%4; "
                       "@Password=; @UsuarioLogeado=%5")
                   .arg(entorno("TARVELO_PG_HOST", "127.0.0.1"), entorno("TARVELO_PG_PORT", "5432"),
                        b.nombre, entorno("TARVELO_PG_USER", "postgres"), kUsuario)
             : QString("@Plataforma=SQLITE; @server=.; @dbname=%1; @usuario=%2; "
                       "@UsuarioLogeado=%2")
                   .arg(b.nombre, kUsuario);
    return correHijo(TARVELO_LOTE, {"generar", linea, "--lista", kLista, "--carpeta", salida,
                                    "--hoy", kHoy.toString(Qt::ISODate)});
}

// The shell's output (UTF-8, a record a line) as the program writes it:
// Windows-1252, CR LF, flushed and published under the final name. One pass
// over the bytes; only a character beyond ASCII is decoded.
void publica(const QString& salida, const QString& destino) {
    QFile f(salida);
    if (!f.open(QIODevice::ReadOnly)) {
        falla("no se pudo leer " + salida);
    }
    const QByteArray todo = f.readAll();
    f.close();
    QByteArray bytes;
    bytes.reserve(todo.size() + todo.size() / 64 + 2);
    const char* p = todo.constData();
    const char* const fin = p + todo.size();
    while (p < fin) {
        const unsigned char c = static_cast<unsigned char>(*p);
        if (c == '\n') {
            bytes.append("\r\n", 2);
            ++p;
        } else if (c < 0x80) {
            bytes.append(char(c));
            ++p;
        } else {
            const int largo = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : 2;
            bytes += Cp1252::codifica(QString::fromUtf8(p, std::min<qsizetype>(largo, fin - p)));
            p += largo;
        }
    }
    ArchivoPublicado a(destino);
    a.escribe(bytes);
    a.publica();
    QFile::remove(salida);
}

QStringList filasDe(const Base& b, const QString& sql);

// What the program does with its published files: each one's length and
// SHA-256 recorded with the batch, and a copy kept under historial/<list>/<code>/.
void guardaHistorial(const Base& b, const QString& salida) {
    const QString codigo =
        filasDe(b, "SELECT MAX(Codigo) FROM MV_TARVELO").value(0).section('|', 0, 0);
    const QString carpeta = QDir(salida).filePath("historial/" + kLista + "/" + codigo);
    QDir().mkpath(carpeta);
    QStringList filas;
    for (const char* n : {"CAMBIOS.TXT", "BALANZA.TXT"}) {
        QFile f(QDir(salida).filePath(n));
        if (!f.open(QIODevice::ReadOnly)) {
            falla(QString("no se pudo leer ") + n);
        }
        const QByteArray bytes = f.readAll();
        ArchivoPublicado copia(QDir(carpeta).filePath(n));
        copia.escribe(bytes);
        copia.publica();
        filas << QString("(%1, '%2', %3, '%4', '%5', '%6')")
                     .arg(codigo, n)
                     .arg(bytes.size())
                     .arg(QString::fromLatin1(
                         QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex()))
                     .arg(QDir(carpeta).filePath(n),
                          QDateTime::currentDateTime().toString("yyyy-MM-dd HH:mm:ss.zzz"));
    }
    {
        QSqlDatabase db = abre(b, "historial");
        ejecuta(db, "INSERT INTO MV_TARVELO_ARCHIVOS (Codigo, Archivo, Largo, Sha256, Copia, "
                    "Generado) VALUES " +
                        filas.join(", "));
        db.close();
    }
    QSqlDatabase::removeDatabase("historial");
}

// The set-based side on base `b`, its files into `salida`; the script in `trabajo`.
Medida porConjunto(const Base& b, const QString& salida, const QString& trabajo) {
    DatosConjunto d{kLista, rutaVentana(salida), QDir(trabajo).filePath("cambios.utf8"),
                    QDir(trabajo).filePath("balanza.utf8")};
    QFile archivo(QDir(trabajo).filePath(b.pg ? "conjunto.psql" : "conjunto.sqlite"));
    if (!archivo.open(QIODevice::WriteOnly)) {
        falla("no se pudo escribir " + archivo.fileName());
    }
    archivo.write(guion(b.pg, d).toUtf8());
    archivo.close();
    QElapsedTimer t;
    t.start();
    const double cpu0 = cpu(RUSAGE_SELF);
    Medida m;
    if (b.pg) {
        m = correHijo("psql",
                      {"-X", "-q", "-A", "-t", "-h", entorno("TARVELO_PG_HOST", "127.0.0.1"), "-p",
                       entorno("TARVELO_PG_PORT", "5432"), "-U",
                       entorno("TARVELO_PG_USER", "postgres"), "-d", b.nombre, "-f",
                       archivo.fileName()});
    } else {
        m = correHijo("sqlite3", {"-batch", b.nombre}, archivo.fileName());
    }
    publica(d.cambios, QDir(salida).filePath("CAMBIOS.TXT"));
    publica(d.balanza, QDir(salida).filePath("BALANZA.TXT"));
    guardaHistorial(b, salida);
    m.ms = double(t.nsecsElapsed()) / 1e6;
    m.cpu += cpu(RUSAGE_SELF) - cpu0; // the shell's and the file writing
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

// Both sides once, each on its own fresh copy of the template in `carpeta`;
// their outputs compared; one line of figures (a ratio only when equal).
int compara(bool pg, int filas, const QString& carpeta) {
    QTemporaryDir dir(QDir(carpeta).filePath("compara-XXXXXX"));
    Programa::fijaCarpeta(dir.path());
    const Base molde = plantilla(pg, carpeta, filas);
    const Base nuestra = baseEn(pg, dir.path(), "programa");
    const Base otra = baseEn(pg, dir.path(), "conjunto");
    copia(molde, nuestra);
    copia(molde, otra);
    const QString salida = carpetaSalida(carpeta);
    const QString dePrograma = QDir(dir.path()).filePath("programa");
    QDir().mkpath(dePrograma);
    const Medida prog = porPrograma(nuestra, salida);
    for (const char* n : {"CAMBIOS.TXT", "BALANZA.TXT"}) {
        QFile::remove(QDir(dePrograma).filePath(n));
        QFile::rename(QDir(salida).filePath(n), QDir(dePrograma).filePath(n));
    }
    QDir(QDir(dePrograma).filePath("historial")).removeRecursively();
    QDir().rename(QDir(salida).filePath("historial"), QDir(dePrograma).filePath("historial"));
    const Medida conj = porConjunto(otra, salida, dir.path());

    QStringList diferencias;
    for (const char* n : {"CAMBIOS.TXT", "BALANZA.TXT"}) {
        const QString d = difiereArchivo(QDir(dePrograma).filePath(n), QDir(salida).filePath(n));
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
    // The same digests recorded, and copies kept that equal the files.
    const QString huellas =
        "SELECT Codigo, Archivo, Largo, Sha256 FROM MV_TARVELO_ARCHIVOS ORDER BY Archivo";
    if (filasDe(nuestra, huellas) != filasDe(otra, huellas) || filasDe(otra, huellas).size() != 2) {
        diferencias << "MV_TARVELO_ARCHIVOS: " + filasDe(nuestra, huellas).join(" ") + " / " +
                           filasDe(otra, huellas).join(" ");
    }
    const QString codigo =
        filasDe(otra, "SELECT MAX(Codigo) FROM MV_TARVELO").value(0).section('|', 0, 0);
    for (const QString& lado : {dePrograma, salida}) {
        for (const char* n : {"CAMBIOS.TXT", "BALANZA.TXT"}) {
            const QString copia = "historial/" + kLista + "/" + codigo + "/" + n;
            const QString d = difiereArchivo(QDir(lado).filePath(n), QDir(lado).filePath(copia));
            if (!d.isEmpty()) {
                diferencias << lado + "/" + copia + ": " + d;
            }
        }
    }
    const int filasLote = int(filasDe(nuestra, "SELECT ID FROM MV_TARVELO WHERE Codigo = (SELECT "
                                               "MAX(Codigo) FROM MV_TARVELO)")
                                  .size());
    const qint64 bytesCambios = QFileInfo(QDir(dePrograma).filePath("CAMBIOS.TXT")).size();
    const qint64 bytesBalanza = QFileInfo(QDir(dePrograma).filePath("BALANZA.TXT")).size();
    borra(nuestra);
    borra(otra);
    const char* motor = pg ? "postgresql" : "sqlite";
    if (!diferencias.isEmpty()) {
        std::printf("motor=%s filas=%d SALIDAS DISTINTAS, sin razon:\n%s\n", motor, filas,
                    qPrintable(diferencias.join('\n')));
        return 2;
    }
    std::printf("motor=%s filas=%d filas_lote=%d salidas=iguales (CAMBIOS %lld B, BALANZA %lld B, "
                "MV_TARVELO y V_MA_PRECIOS) programa: %.0f ms cpu %.2f s pico %.1f MiB | "
                "conjunto: %.0f ms cpu %.2f s | razon=%.2f cpu %.2f\n",
                motor, filas, filasLote, (long long)bytesCambios, (long long)bytesBalanza, prog.ms,
                prog.cpu, prog.picoMB, conj.ms, conj.cpu, prog.ms / conj.ms, prog.cpu / conj.cpu);
    return 0;
}

// One side alone on a fresh copy of the prepared template, as a whole
// process for an outside timer; the copy is removed afterwards (on
// PostgreSQL by `limpia`: dropping a database costs the server a checkpoint).
int unLado(const QString& lado, bool pg, int filas, const QString& carpeta) {
    QDir().mkpath(carpeta);
    const Base molde = plantilla(pg, carpeta, filas);
    if (lado == "prepara") {
        borra(molde);
        prepara(molde, filas);
        return 0;
    }
    if (lado == "compara") {
        return compara(pg, filas, carpeta);
    }
    if (lado == "limpia") {
        if (pg) {
            for (const QString& n :
                 filasDe(Base{true, "postgres"},
                         "SELECT datname FROM pg_database WHERE datname LIKE 'banco\\_%' AND "
                         "datname NOT LIKE 'banco\\_plantilla\\_%'")) {
                borra(Base{true, n});
            }
        }
        return 0;
    }
    QTemporaryDir dir(QDir(carpeta).filePath("corrida-XXXXXX"));
    Programa::fijaCarpeta(dir.path());
    const Base b = baseEn(pg, dir.path(), lado);
    copia(molde, b);
    const Medida m = lado == "programa" ? porPrograma(b, carpetaSalida(carpeta))
                                        : porConjunto(b, carpetaSalida(carpeta), dir.path());
    if (!pg) {
        borra(b);
    }
    std::printf("%s %s filas=%d %.0f ms cpu %.2f s pico %.1f MiB\n", qPrintable(lado),
                pg ? "postgresql" : "sqlite", filas, m.ms, m.cpu, m.picoMB);
    return 0;
}

// Template, both sides and the comparison in a temporary folder.
int unaCorrida(bool pg, int filas) {
    QTemporaryDir dir;
    const Base molde = plantilla(pg, dir.path(), filas);
    if (pg) {
        borra(molde);
    }
    prepara(molde, filas);
    const int r = compara(pg, filas, dir.path());
    if (pg) {
        borra(molde);
    }
    return r;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList a = app.arguments();
    a.removeFirst();
    const QStringList lados = {"prepara", "programa", "conjunto", "compara", "limpia"};
    if (!a.isEmpty() && lados.contains(a[0])) {
        if (a.size() < 4) {
            falla("uso: bench_lote prepara|programa|conjunto|compara|limpia sqlite|postgresql "
                  "FILAS CARPETA");
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
