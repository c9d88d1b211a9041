// Times the lookup windows on large results, each figure against the same
// work done without the window, outputs compared before any ratio:
//
//   tree:   hierarchical codes built and shown, 50,000 against 100,000
//           (linear growth: the second at most 2.3 times the first);
//   list:   opening the list window on 100,000 articles against the query
//           alone (at most 20% more);
//   search: one character typed in a search box against the query
//           (at most 1% of it).
//
//   bench_consultas [ARTICULOS] [CODIGOS]      (defaults 100000 and 50000)
//
// SQLite database in a temporary folder; prints one line per measure. Times
// are the thread's CPU time, best of several runs.

#include "db/DB_Dll.h"
#include "lookups_ui/Lib_FrmCons3.h"
#include "lookups_ui/Lib_FrmCons3Tree.h"
#include "schema/EsquemaSql.h"
#include "utility_library/OperadorSilencioso.h"
#include "utility_library/Programa.h"

#include <QApplication>
#include <QLineEdit>
#include <QSqlError>
#include <QSqlQuery>
#include <QTableView>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <vector>

namespace {

// CPU time of this thread: the machine is shared, and waiting for a core is
// not work the program does. Everything measured runs on this one thread.
class Cronometro {
public:
    void start() { inicio_ = ahora(); }
    qint64 nsecsElapsed() const { return ahora() - inicio_; }

private:
    static qint64 ahora() {
        timespec t{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
        return qint64(t.tv_sec) * 1000000000 + t.tv_nsec;
    }
    qint64 inicio_ = 0;
};

void falla(const QString& texto) {
    std::fprintf(stderr, "%s\n", qPrintable(texto));
    std::exit(1);
}

void ejecuta(QSqlQuery& q, const QString& sql) {
    if (!q.exec(sql)) {
        falla(sql.left(200) + ": " + q.lastError().text());
    }
}

// The best of several runs: the machine is shared, the minimum is the work.
double mejor(const std::function<double()>& f, int veces = 3) {
    double m = 1e18;
    for (int i = 0; i < veces; ++i) {
        m = std::min(m, f());
    }
    return m;
}

// Codes two digits per level, breadth first, 20 children per node.
QStringList codigosJerarquicos(int n) {
    QStringList r;
    QStringList nivel{QString()};
    while (r.size() < n) {
        QStringList siguiente;
        for (const QString& p : nivel) {
            for (int k = 1; k <= 20 && r.size() < n; ++k) {
                const QString c = p + QStringLiteral("%1").arg(k, 2, 10, QLatin1Char('0'));
                r.append(c);
                siguiente.append(c);
            }
        }
        nivel = siguiente;
    }
    return r;
}

void prepara(int articulos, int codigos) {
    QSqlDatabase db = DB_Dll::instancia().gCnn->baseQt();
    EsquemaSql::crea(db);
    QSqlQuery q(db);
    db.transaction();
    q.prepare(QStringLiteral("INSERT INTO V_MA_ARTICULOS (IdArticulo, Descripcion, SUSPENDIDO, "
                             "Stock, PUNTOPEDIDO) VALUES (?, ?, 0, ?, ?)"));
    for (int i = 0; i < articulos; ++i) {
        // Descriptions in a scrambled order, so the ORDER BY does real work.
        const quint32 h = quint32(i) * 2654435761u;
        q.addBindValue(QStringLiteral("%1").arg(i, 8, 10, QLatin1Char('0')));
        q.addBindValue(
            QStringLiteral("ARTICULO %1 %2").arg(h % 100000, 5, 10, QLatin1Char('0')).arg(i));
        q.addBindValue(i % 17);
        q.addBindValue(i % 5);
        if (!q.exec()) {
            falla(q.lastError().text());
        }
    }
    ejecuta(q, QStringLiteral("CREATE TABLE ARBOL_BANCO (CODIGO VARCHAR(20) PRIMARY KEY, "
                              "DESCRIPCION VARCHAR(40))"));
    q.prepare(QStringLiteral("INSERT INTO ARBOL_BANCO (CODIGO, DESCRIPCION) VALUES (?, ?)"));
    for (const QString& c : codigosJerarquicos(codigos * 2)) {
        q.addBindValue(c);
        q.addBindValue(QStringLiteral("NODO ") + c);
        if (!q.exec()) {
            falla(q.lastError().text());
        }
    }
    db.commit();
}

// Builds and shows the tree of the first n codes; checks every parent.
double arbol(int n) {
    Lib_FrmCons3Tree v;
    v.SQL =
        QStringLiteral("SELECT TOP %1 CODIGO, DESCRIPCION FROM ARBOL_BANCO ORDER BY CODIGO").arg(n);
    Cronometro t;
    t.start();
    v.Load();
    v.show();
    QApplication::processEvents();
    const double ms = double(t.nsecsElapsed()) / 1e6;
    const ArbolConsulta& a = v.arbol();
    if (a.cantidad() != n + 1) {
        falla(QStringLiteral("arbol: %1 nodos en lugar de %2").arg(a.cantidad() - 1).arg(n));
    }
    for (int i = 1; i < a.cantidad(); ++i) {
        const QString c = a.codigo(i);
        if (a.codigo(a.nodo(i).padre) != c.left(c.size() - 2)) {
            falla(QStringLiteral("arbol: padre equivocado para ") + c);
        }
    }
    v.Unload();
    return ms;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    const QStringList a = app.arguments();
    const int articulos = a.size() > 1 ? a[1].toInt() : 100000;
    const int codigos = a.size() > 2 ? a[2].toInt() : 50000;
    QTemporaryDir dir;
    Programa::fijaCarpeta(dir.path());
    OperadorSilencioso op;
    fijaOperador(&op);
    DB_Dll& db = DB_Dll::instancia();
    db.gPlataforma = Plataforma::Sqlite;
    db.gDBName = dir.filePath(QStringLiteral("banco.db"));
    db.gCreaArchivo = true;
    db.OpenServerADODB(false, 3, QString(), false, false);
    if (!db.gOpenFlag) {
        falla(QStringLiteral("no se pudo abrir la base de prueba"));
    }
    prepara(articulos, codigos);

    // --- tree: n against 2n
    arbol(codigos); // warm-up: the database's pages in memory
    // Interleaved, so a busy moment of the machine does not fall on one size only.
    double t1 = 1e18, t2 = 1e18;
    for (int i = 0; i < 5; ++i) {
        t1 = std::min(t1, arbol(codigos));
        t2 = std::min(t2, arbol(codigos * 2));
    }
    auto soloConsulta = [&](int n) {
        return mejor(
            [&] {
                Cronometro t;
                t.start();
                Recordset rs;
                DB_Dll::instancia().AbrirRecordset(
                    QStringLiteral("SELECT TOP %1 CODIGO, DESCRIPCION FROM ARBOL_BANCO ORDER BY "
                                   "CODIGO")
                        .arg(n),
                    rs);
                return double(t.nsecsElapsed()) / 1e6;
            },
            5);
    };
    const double q1 = soloConsulta(codigos), q2 = soloConsulta(codigos * 2);
    // The builder alone, on rows already in memory.
    auto soloArbol = [&](int n) {
        QVector<ArbolConsulta::Fila> filas;
        QStringList c = codigosJerarquicos(n);
        c.sort();
        for (const QString& x : c) {
            filas.append({x, QStringLiteral("NODO ") + x, {}});
        }
        return mejor(
            [&] {
                ArbolConsulta a;
                Cronometro t;
                t.start();
                a.armaAutomatico(filas, nullptr);
                return double(t.nsecsElapsed()) / 1e6;
            },
            3);
    };
    // A few milliseconds each: more runs, interleaved, so the minimum is the work.
    double b1 = 1e18, b2 = 1e18;
    for (int i = 0; i < 4; ++i) {
        b1 = std::min(b1, soloArbol(codigos));
        b2 = std::min(b2, soloArbol(codigos * 2));
    }
    std::printf("arbol: armado solo %.1f ms y %.1f ms (razon %.2f)\n", b1, b2, b2 / b1);
    std::printf("arbol: consulta sola %.1f ms y %.1f ms (razon %.2f)\n", q1, q2, q2 / q1);
    std::printf("arbol: %d codigos %.1f ms, %d codigos %.1f ms, razon %.2f (limite 2.30; %s 1 s)\n",
                codigos, t1, codigos * 2, t2, t2 / t1, t1 < 1000 ? "bajo" : "SOBRE");

    // --- list: the query alone against the window opened on it
    const QString sql = QStringLiteral("SELECT TOP %1 DESCRIPCION,IDARTICULO FROM VT_MA_ARTICULOS  "
                                       "with(nolock)  WHERE SUSPENDIDO = 0 ORDER BY DESCRIPCION")
                            .arg(articulos);
    QString primera, ultima;
    int filas = 0;
    auto consulta = [&] {
        Cronometro t;
        t.start();
        Recordset rs;
        QString s = sql;
        db.AbrirRecordset(s, rs);
        const double ms = double(t.nsecsElapsed()) / 1e6;
        filas = rs.RecordCount();
        rs.MoveFirst();
        primera = rs.Campo(0).toString();
        rs.MoveLast();
        ultima = rs.Campo(0).toString();
        db.CierraRecordset(rs);
        return ms;
    };
    consulta();
    Lib_FrmCons3* ventana = nullptr;
    auto abre = [&] {
        delete ventana;
        ventana = new Lib_FrmCons3;
        ventana->SQL = sql;
        ventana->CampoDevuelto = QStringLiteral("IDARTICULO");
        Cronometro t;
        t.start();
        ventana->Load();
        ventana->show();
        QApplication::processEvents();
        return double(t.nsecsElapsed()) / 1e6;
    };
    // Interleaved like the trees, so a busy moment of the machine does not
    // fall on one side only.
    double tConsulta = 1e18, tVentana = 1e18;
    for (int i = 0; i < 5; ++i) {
        tConsulta = std::min(tConsulta, consulta());
        tVentana = std::min(tVentana, abre());
    }
    const FilasConsulta& f = ventana->filas();
    if (f.filas() != filas || f.celda(0, 0) != primera.trimmed() ||
        f.celda(filas - 1, 0) != ultima.trimmed()) {
        falla(QStringLiteral("lista: la ventana no muestra lo que da la consulta"));
    }
    std::printf(
        "lista: %d articulos, consulta %.1f ms, ventana %.1f ms, razon %.3f (limite 1.20)\n", filas,
        tConsulta, tVentana, tVentana / tConsulta);

    // --- search: typing the last row's text, the worst case (whole column)
    QLineEdit* caja = ventana->cajaBusqueda(0);
    const QString buscado = ultima.trimmed();
    // The first search in a column also folds the column once.
    Cronometro t0;
    t0.start();
    caja->setText(buscado.left(1));
    QApplication::processEvents();
    const double tPrimera = double(t0.nsecsElapsed()) / 1e6;
    double tBusqueda = 0;
    for (int i = 0; i < 5; ++i) {
        caja->clear();
        Cronometro t;
        t.start();
        caja->setText(buscado);
        QApplication::processEvents();
        const double ms = double(t.nsecsElapsed()) / 1e6;
        tBusqueda = i == 0 ? ms : std::min(tBusqueda, ms);
        if (ventana->filaSeleccionada() != filas - 1) {
            falla(QStringLiteral("busqueda: fila %1 en lugar de %2")
                      .arg(ventana->filaSeleccionada())
                      .arg(filas - 1));
        }
    }
    std::printf("busqueda: %.2f ms contra la consulta %.1f ms, razon %.4f (limite 0.0100); "
                "primera tecla de la columna %.2f ms (razon %.4f)\n",
                tBusqueda, tConsulta, tBusqueda / tConsulta, tPrimera, tPrimera / tConsulta);
    delete ventana;
    db.gCnn->Close();
    return 0;
}
