#include "BaseDePrueba.h"
#include "EsquemaPrueba.h"
#include "OperadorGuion.h"
#include "lookups/ArchivoConsultas.h"
#include "lookups/Lib_ClsCons3.h"
#include "lookups_ui/Lib_FrmCons3.h"
#include "lookups_ui/Lib_FrmCons3Tree.h"
#include "lookups_ui/VentanasConsultaQt.h"
#include "utility_library/Programa.h"
#include "utility_library/Reloj.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <functional>
#include <gtest/gtest.h>

namespace {

// Runs `accion`, which opens a modal window, and `enVentana` on that window
// once it is shown. A window the steps left open is closed, so a failing
// test never hangs.
template <typename V>
bool conVentana(const std::function<void()>& accion, const std::function<void(V*)>& enVentana) {
    bool visto = false;
    QTimer t;
    t.setInterval(5);
    QObject::connect(&t, &QTimer::timeout, [&] {
        auto* v = qobject_cast<V*>(QApplication::activeModalWidget());
        if (!v || visto) {
            return;
        }
        visto = true;
        t.stop();
        enVentana(v);
        if (v->isVisible()) {
            ADD_FAILURE() << "the window was left open";
            v->done(0);
        }
    });
    t.start();
    accion();
    return visto;
}

QString seleccion(Lib_FrmCons3* v, int columna) {
    const int f = v->filaSeleccionada();
    return f < 0 ? QString() : v->filas().celda(f, columna);
}

class Ventanas : public PruebaPorMotor {
protected:
    void SetUp() override {
        PruebaPorMotor::SetUp();
        if (IsSkipped() || HasFatalFailure()) {
            return;
        }
        EsquemaPrueba e;
        ASSERT_TRUE(e.creaEsquema());
        e.articulo({.idArticulo = "0001", .descripcion = "QUESO CREMOSO"});
        e.articulo({.idArticulo = "0002", .descripcion = "ABROJO"});
        e.articulo({.idArticulo = "0003", .descripcion = "abeja reina"});
        e.articulo({.idArticulo = "0004", .descripcion = "O'BRIEN WHISKY"});
        e.articulo({.idArticulo = "0005", .descripcion = "OBLEAS"});
        e.articulo({.idArticulo = "0006", .descripcion = "SUSPENDIDO", .suspendido = true});
        viejoTemp_ = qgetenv("temp");
        qputenv("temp", base().carpeta().toLocal8Bit());
        fijaOperador(&op_);
        Lib_ClsCons3::reinicia();
        Lib_ClsCons3::fijaVentanasPrograma(&ventanas_);
        Lib_ClsCons3& m = Lib_ClsCons3::instancia();
        m.gUsarMascarasConsultas = true;
        m.gRutaMascaraConsultas = QDir(base().carpeta()).filePath(QStringLiteral("consultas.kvx"));
        ASSERT_TRUE(ArchivoConsultas::CreaArchivoConsultas(m.gRutaMascaraConsultas));
    }
    void TearDown() override {
        Lib_ClsCons3::reinicia();
        Lib_ClsCons3::fijaVentanasPrograma(nullptr);
        fijaOperador(nullptr);
        qputenv("temp", viejoTemp_);
        PruebaPorMotor::TearDown();
    }
    Lib_ClsCons3& motor() { return Lib_ClsCons3::instancia(); }
    VentanasConsultaQt ventanas_;
    OperadorGuion op_;
    QByteArray viejoTemp_;
};

TEST_P(Ventanas, TypingSelectsAndF5NarrowsOnTheServerWithAnApostrophe) {
    QString sql = QStringLiteral("V_MA_ARTICULOS");
    motor().CampoDevuelto = QStringLiteral("IDARTICULO");
    ASSERT_TRUE(conVentana<Lib_FrmCons3>(
        [&] { motor().ConsultaSearch(sql); },
        [&](Lib_FrmCons3* v) {
            EXPECT_EQ(v->windowTitle(), QStringLiteral("Consulta..."));
            EXPECT_EQ(v->lista()->model()->rowCount(), 5); // the suspended one left out
            EXPECT_EQ(v->tablaConsulta(), QStringLiteral("VT_MA_ARTICULOS"));
            // Box 0 searches the description, box 1 the code.
            // Rows come in the server's order, which ignores case.
            QTest::keyClicks(v->cajaBusqueda(0), QStringLiteral("ab"));
            EXPECT_EQ(seleccion(v, 0), QStringLiteral("abeja reina"));
            QTest::keyClicks(v->cajaBusqueda(0), QStringLiteral("r"));
            EXPECT_EQ(seleccion(v, 0), QStringLiteral("ABROJO"));
            QTest::keyClicks(v->cajaBusqueda(0), QStringLiteral("zz"));
            EXPECT_EQ(seleccion(v, 0), QStringLiteral("ABROJO")); // no match: stays
            v->cajaBusqueda(1)->clear();
            QTest::keyClicks(v->cajaBusqueda(1), QStringLiteral("0001"));
            EXPECT_EQ(seleccion(v, 1), QStringLiteral("0001"));
            // F5 asks the server again with the typed text as a literal.
            v->cajaBusqueda(0)->clear();
            QTest::keyClicks(v->cajaBusqueda(0), QStringLiteral("o'b"));
            QTest::keyClick(v->cajaBusqueda(0), Qt::Key_F5);
            EXPECT_TRUE(v->SQL.contains(QStringLiteral("like 'o''b%'")));
            ASSERT_EQ(v->lista()->model()->rowCount(), 1);
            EXPECT_EQ(v->filas().celda(0, 0), QStringLiteral("O'BRIEN WHISKY"));
            EXPECT_TRUE(v->cajaBusqueda(0)->text().isEmpty());
            // Down goes to the list; Enter there accepts the selected row.
            QTest::keyClicks(v->cajaBusqueda(0), QStringLiteral("o"));
            QTest::keyClick(v->cajaBusqueda(0), Qt::Key_Down);
            QTest::keyClick(v->lista(), Qt::Key_Return);
        }));
    EXPECT_EQ(motor().ValorDevuelto.toString(), QStringLiteral("0004"));
    EXPECT_TRUE(motor().CampoDevuelto.isEmpty());
    EXPECT_TRUE(op_.sinGuion().isEmpty()) << op_.sinGuion().join(" | ").toStdString();
}

TEST_P(Ventanas, LeftWithoutAChoiceReturnsEmpty) {
    motor().ValorDevuelto = QStringLiteral("viejo");
    motor().CampoDevuelto = QStringLiteral("IDLISTA");
    QString sql = QStringLiteral(
        "SELECT IDLISTA,NOMBRE FROM V_MA_PRECIOSCAB WHERE TIPOLISTA = 'V' ORDER BY IDLISTA");
    ASSERT_TRUE(conVentana<Lib_FrmCons3>(
        [&] { motor().ConsultaSearch(sql); },
        [&](Lib_FrmCons3* v) { QTest::keyClick(v->lista(), Qt::Key_Escape); }));
    EXPECT_TRUE(motor().ValorDevuelto.toString().isEmpty());
    EXPECT_FALSE(motor().Valores.has_value());
    // An empty list accepted gives nothing either.
    motor().CampoDevuelto = QStringLiteral("IDLISTA");
    ASSERT_TRUE(conVentana<Lib_FrmCons3>([&] { motor().ConsultaSearch(sql); },
                                         [&](Lib_FrmCons3* v) {
                                             EXPECT_EQ(v->lista()->model()->rowCount(), 0);
                                             QTest::keyClick(v->lista(), Qt::Key_Return);
                                         }));
    EXPECT_TRUE(motor().ValorDevuelto.toString().isEmpty());
}

// The list opens with its first row current; Enter in the list or in a
// search box takes the current row; Esc anywhere leaves with nothing.
TEST_P(Ventanas, PrimeraFilaActualYEnterEnLaBusqueda) {
    EsquemaPrueba e;
    e.lista("3", "LISTA TRES");
    e.lista("5", "LISTA CINCO");
    e.lista("7", "LISTA SIETE");
    const QString sql = QStringLiteral(
        "SELECT IDLISTA,NOMBRE FROM V_MA_PRECIOSCAB WHERE TIPOLISTA = 'V' ORDER BY IDLISTA");
    struct Caso {
        const char* nombre;
        std::function<void(Lib_FrmCons3*)> teclas;
        const char* elegido;
    };
    const Caso casos[] = {
        {"Enter al abrir", [](Lib_FrmCons3* v) { QTest::keyClick(v->lista(), Qt::Key_Return); },
         "3"},
        {"Abajo y Enter",
         [](Lib_FrmCons3* v) {
             QTest::keyClick(v->lista(), Qt::Key_Down);
             QTest::keyClick(v->lista(), Qt::Key_Return);
         },
         "5"},
        {"Enter en la búsqueda",
         [](Lib_FrmCons3* v) {
             QTest::keyClicks(v->cajaBusqueda(1), QStringLiteral("lista si"));
             QTest::keyClick(v->cajaBusqueda(1), Qt::Key_Return);
         },
         "7"},
        {"Esc en la búsqueda",
         [](Lib_FrmCons3* v) {
             QTest::keyClicks(v->cajaBusqueda(1), QStringLiteral("lista si"));
             QTest::keyClick(v->cajaBusqueda(1), Qt::Key_Escape);
         },
         ""},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nombre);
        motor().CampoDevuelto = QStringLiteral("IDLISTA");
        QString sqlCaso = sql;
        ASSERT_TRUE(conVentana<Lib_FrmCons3>([&] { motor().ConsultaSearch(sqlCaso); },
                                             [&](Lib_FrmCons3* v) {
                                                 EXPECT_EQ(v->filaSeleccionada(), 0);
                                                 c.teclas(v);
                                             }));
        EXPECT_EQ(motor().ValorDevuelto.toString().trimmed(), QString(c.elegido));
    }
}

// The main window's lookups: the price list, the article range and the
// lists with pending changes, each returning the value Enter then validates.
TEST_P(Ventanas, MainWindowLookupsEndToEnd) {
    EsquemaPrueba e;
    e.lista("7", "LISTA SIETE");
    e.lista("3", "LISTA TRES");
    e.lista("9", "COMPRAS", "C");
    e.precio({.idLista = "3", .idArticulo = "0001", .estado = "0-M", .precios = {10}});
    e.precio({.idLista = "7", .idArticulo = "0002", .estado = "1-M", .precios = {10}});

    auto elige = [&](QString sql, const QString& campo,
                     const std::function<void(Lib_FrmCons3*)>& f) {
        motor().CampoDevuelto = campo;
        EXPECT_TRUE(conVentana<Lib_FrmCons3>([&] { motor().ConsultaSearch(sql); }, f));
        return motor().ValorDevuelto.toString().trimmed();
    };
    EXPECT_EQ(elige(QStringLiteral("SELECT IDLISTA,NOMBRE FROM V_MA_PRECIOSCAB WHERE TIPOLISTA = "
                                   "'V' ORDER BY IDLISTA"),
                    QStringLiteral("IDLISTA"),
                    [](Lib_FrmCons3* v) {
                        EXPECT_EQ(v->lista()->model()->rowCount(), 2);
                        QTest::keyClicks(v->cajaBusqueda(1), QStringLiteral("lista s"));
                        QTest::keyClick(v->lista(), Qt::Key_Enter);
                    }),
              QStringLiteral("7"));
    EXPECT_EQ(elige(QStringLiteral("V_MA_ARTICULOS"), QStringLiteral("IDARTICULO"),
                    [](Lib_FrmCons3* v) {
                        // Letters typed in the list continue the last box's search.
                        v->lista()->setFocus();
                        QTest::keyClicks(v->lista(), QStringLiteral("QU"));
                        EXPECT_EQ(v->cajaBusqueda(0)->text(), QStringLiteral("QU"));
                        QTest::keyClick(v->lista(), Qt::Key_Return);
                    }),
              QStringLiteral("0001"));
    const QString manana = Reloj::hoy().addDays(1).toString(QStringLiteral("dd/MM/yyyy"));
    const QString ayer = Reloj::hoy().addDays(-1).toString(QStringLiteral("dd/MM/yyyy"));
    const QString novedades =
        QStringLiteral("SELECT IDLISTA,NOMBRE FROM V_MA_PRECIOS WHERE TIPOLISTA = 'V' AND (ESTADO "
                       "= '0-C' OR ESTADO = '0-M' OR FHOFERTADESDE = '") +
        manana + QStringLiteral("' OR  FHOFERTAHASTA ='") + ayer +
        QStringLiteral("') GROUP BY IDLISTA,NOMBRE");
    EXPECT_EQ(elige(novedades, QStringLiteral("IDLISTA"),
                    [](Lib_FrmCons3* v) {
                        ASSERT_EQ(v->lista()->model()->rowCount(), 1);
                        // F5 keeps the GROUP BY after the added condition.
                        QTest::keyClicks(v->cajaBusqueda(1), QStringLiteral("LISTA"));
                        QTest::keyClick(v->cajaBusqueda(1), Qt::Key_F5);
                        EXPECT_TRUE(
                            v->SQL.trimmed().endsWith(QStringLiteral("GROUP BY IDLISTA,NOMBRE")));
                        ASSERT_EQ(v->lista()->model()->rowCount(), 1);
                        QTest::keyClick(v->cajaBusqueda(0), Qt::Key_Down);
                        QTest::keyClick(v->lista(), Qt::Key_Down);
                        QTest::keyClick(v->lista(), Qt::Key_Return);
                    }),
              QStringLiteral("3"));
}

TEST_P(Ventanas, CheckMarksQuantitiesAndShortage) {
    EsquemaPrueba e;
    motor().Checks = true;
    motor().CampoDevuelto = QStringLiteral("IDARTICULO");
    QString sql = QStringLiteral("SELECT IDARTICULO, DESCRIPCION, 0 AS \"**Cantidad**\" FROM "
                                 "V_MA_ARTICULOS WHERE SUSPENDIDO = 0 ORDER BY IDARTICULO");
    std::optional<QStringList> cmps;
    QString clave, campo, where, opcional, defecto = QStringLiteral("0002,0005");
    motor().UsaCantidades = true;
    ASSERT_TRUE(conVentana<Lib_FrmCons3>(
        [&] { motor().ConsultaSearch(sql, cmps, clave, campo, where, opcional, false, defecto); },
        [&](Lib_FrmCons3* v) {
            auto* l = v->lista();
            l->setFocus();
            EXPECT_TRUE(v->filas().marcada(1));
            EXPECT_TRUE(v->filas().marcada(4));
            l->selectRow(0);
            QTest::keyClick(l, Qt::Key_Space); // 0001 checked
            QTest::keyClick(l, Qt::Key_Insert);
            QTest::keyClick(l, Qt::Key_Insert);
            EXPECT_EQ(v->filas().celda(0, 2), QStringLiteral("2.0"));
            l->selectRow(4);
            QTest::keyClick(l, Qt::Key_Delete); // 0 - 1: unchecked
            EXPECT_FALSE(v->filas().marcada(4));
            l->selectRow(3);
            op_.respondeTexto(QStringLiteral("3,5"));
            QTest::keyClick(l, Qt::Key_Insert, Qt::ShiftModifier);
            EXPECT_EQ(v->filas().celda(3, 2), QStringLiteral("3.50"));
            // F12: the selected article is reported as a shortage.
            op_.responde(Operador::Si);
            QTest::keyClick(l, Qt::Key_F12);
            QTest::keyClick(l, Qt::Key_Return);
        }));
    EXPECT_EQ(motor().Valores, (QStringList{"0001", "0002", "0004"}));
    ASSERT_GE(op_.preguntas().size(), 2);
    EXPECT_EQ(op_.preguntas()[0].titulo, QStringLiteral("Carga de Datos"));
    EXPECT_EQ(op_.preguntas()[1].texto,
              QStringLiteral("Desea informar el articulo 0004 O'BRIEN WHISKY\r\ncomo un faltante "
                             "de stock?"));
    EXPECT_EQ(e.cuenta(QStringLiteral("SELECT COUNT(*) FROM V_MV_FALTANTES WHERE Descripcion = "
                                      "'O''BRIEN WHISKY' AND IdArticulo = '0004'")),
              1);
}

// The list draws its plain cells itself: an article's stock colour and the
// selected row's colours must still reach the screen.
TEST_P(Ventanas, StockColourAndSelectionArePainted) {
    Lib_FrmCons3 v;
    v.SQL = QStringLiteral("SELECT DESCRIPCION, IDARTICULO, Stock, PUNTOPEDIDO FROM "
                           "V_MA_ARTICULOS WHERE SUSPENDIDO = 0 ORDER BY IDARTICULO");
    v.MuestraStock = QStringLiteral("SI");
    // 0x0000FF in the suite's BGR order: red, whatever level the stock is at.
    v.StkNivel1 = v.StkNivel2 = v.StkNivel3 = v.StkNivel4 = 255;
    v.Load();
    v.show();
    QApplication::processEvents();
    QTableView* l = v.lista();
    l->selectRow(0);
    QApplication::processEvents();
    const QImage imagen = l->viewport()->grab().toImage();
    auto cuenta = [&](int fila, const std::function<bool(QColor)>& es) {
        const QRect r = l->visualRect(l->model()->index(fila, 0));
        int n = 0;
        for (int y = r.top(); y <= r.bottom(); ++y) {
            for (int x = r.left(); x <= r.right(); ++x) {
                n += es(imagen.pixelColor(x * imagen.width() / l->viewport()->width(),
                                          y * imagen.height() / l->viewport()->height()))
                         ? 1
                         : 0;
            }
        }
        return n;
    };
    auto rojo = [](QColor c) { return c.red() > 200 && c.green() < 80 && c.blue() < 80; };
    const QColor resaltado = l->palette().color(QPalette::Active, QPalette::Highlight);
    EXPECT_GT(cuenta(1, rojo), 0) << "the stock colour of an unselected row";
    EXPECT_GT(cuenta(0, [&](QColor c) { return c == resaltado; }), 0) << "the selected row";
    EXPECT_EQ(cuenta(0, rojo), 0) << "the selected row's text takes the selection's colour";
    v.Unload();
}

TEST_P(Ventanas, TreeFromCodesWithAndWithoutGaps) {
    EsquemaPrueba e;
    for (const char* c : {"1", "11", "1101", "110102", "12", "1203", "2", "210305"}) {
        e.ejecuta(
            QStringLiteral("INSERT INTO MA_CUENTAS (CODIGO, DESCRIPCION) VALUES ('%1', '%2')")
                .arg(QString::fromLatin1(c), QStringLiteral("CUENTA ") + QString::fromLatin1(c)));
    }
    e.ejecuta(QStringLiteral("INSERT INTO TA_CCOSTO (CODIGO, Descripcion) VALUES ('12', 'CC')"));
    QString sql = QStringLiteral("SELECT CODIGO, DESCRIPCION FROM MA_CUENTAS ORDER BY CODIGO");
    std::optional<QStringList> cmps;
    QString clave, campo, where, opcional, defecto;
    motor().CampoDevuelto = QStringLiteral("CODIGO");
    ASSERT_TRUE(conVentana<Lib_FrmCons3Tree>(
        [&] { motor().ConsultaSearch(sql, cmps, clave, campo, where, opcional, true, defecto); },
        [&](Lib_FrmCons3Tree* v) {
            EXPECT_EQ(v->windowTitle(), QStringLiteral("Consulta..."));
            const ArbolConsulta& a = v->arbol();
            ASSERT_EQ(a.cantidad(), 9);
            auto padre = [&](const char* c) {
                return a.codigo(
                    a.nodo(a.indice(QStringLiteral("A") + QString::fromLatin1(c))).padre);
            };
            EXPECT_EQ(padre("1"), QString());
            EXPECT_EQ(padre("1101"), QStringLiteral("11"));
            EXPECT_EQ(padre("110102"), QStringLiteral("1101"));
            EXPECT_EQ(padre("1203"), QStringLiteral("12"));
            EXPECT_EQ(padre("210305"), QStringLiteral("2")); // the gap skips to 2
            QTest::keyClicks(v->CmbSearch(), QStringLiteral("cuenta 12"));
            EXPECT_EQ(a.codigo(v->nodoSeleccionado()), QStringLiteral("12"));
            QTest::keyClicks(v->CmbSearch(), QStringLiteral("0"));
            EXPECT_EQ(a.codigo(v->nodoSeleccionado()), QStringLiteral("1203"));
            v->CmbSearch()->clear();
            QTest::keyClicks(v->CmbSearch(), QStringLiteral("1101"));
            v->boton(QStringLiteral("&Aceptar"))->click();
        }));
    // 1101 is no cost centre: the account answers.
    EXPECT_EQ(motor().ValorDevuelto.toString(), QStringLiteral("1101"));

    // F5 narrows with the text kept inside the literal; Escape gives nothing back.
    motor().CampoDevuelto = QStringLiteral("CODIGO");
    ASSERT_TRUE(conVentana<Lib_FrmCons3Tree>(
        [&] { motor().ConsultaSearch(sql, cmps, clave, campo, where, opcional, true, defecto); },
        [&](Lib_FrmCons3Tree* v) {
            QTest::keyClicks(v->CmbSearch(), QStringLiteral("nta 1'"));
            QTest::keyClick(v->CmbSearch(), Qt::Key_F5);
            EXPECT_EQ(v->arbol().cantidad(), 1); // only the root
            QTest::keyClick(v->CmbSearch(), Qt::Key_Escape);
        }));
    EXPECT_TRUE(motor().ValorDevuelto.toString().isEmpty());
    EXPECT_FALSE(motor().Valores.has_value());
}

// A lookup opened from a field that holds a value opens on that value's row
// (or node), so Enter at once gives the same value back; without one, or with
// a value no row has, it opens on the first.
TEST_P(Ventanas, OpensOnTheFieldsValue) {
    EsquemaPrueba e;
    e.lista("1", "UNO");
    e.lista("2", "DOS");
    e.lista("10", "DIEZ");
    QString sql = QStringLiteral(
        "SELECT IDLISTA,NOMBRE FROM V_MA_PRECIOSCAB WHERE TIPOLISTA = 'V' ORDER BY IDLISTA");
    for (const auto& [inicial, esperado] :
         QList<QPair<QString, QString>>{{"2", "2"}, {"1", "1"}, {"", "1"}, {"77", "1"}}) {
        SCOPED_TRACE(inicial.toStdString());
        motor().CampoDevuelto = QStringLiteral("IDLISTA");
        motor().ValorInicial = inicial;
        ASSERT_TRUE(conVentana<Lib_FrmCons3>(
            [&] { motor().ConsultaSearch(sql); },
            [&](Lib_FrmCons3* v) { QTest::keyClick(v->lista(), Qt::Key_Return); }));
        EXPECT_EQ(motor().ValorDevuelto.toString().trimmed(), esperado);
        EXPECT_TRUE(motor().ValorInicial.isEmpty());
    }

    e.familia("01", "ALMACEN");
    e.familia("0101", "BEBIDAS");
    e.familia("02", "LIMPIEZA");
    QString familias = QStringLiteral("SELECT IdFamilia, Descripcion FROM V_TA_FAMILIAS");
    std::optional<QStringList> cmps;
    QString clave, campo, where, opcional, defecto;
    motor().CampoDevuelto = QStringLiteral("IDFAMILIA");
    motor().ValorInicial = QStringLiteral("0101");
    ASSERT_TRUE(conVentana<Lib_FrmCons3Tree>(
        [&] {
            motor().ConsultaSearch(familias, cmps, clave, campo, where, opcional, true, defecto);
        },
        [&](Lib_FrmCons3Tree* v) {
            EXPECT_EQ(v->arbol().codigo(v->nodoSeleccionado()), QStringLiteral("0101"));
            v->boton(QStringLiteral("&Aceptar"))->click();
        }));
    EXPECT_EQ(motor().ValorDevuelto.toString().trimmed(), QStringLiteral("0101"));
}

TEST_P(Ventanas, FamiliesTreeWithCheckBoxes) {
    EsquemaPrueba e;
    e.familia("01", "ALMACEN");
    e.familia("0101", "BEBIDAS");
    e.familia("010101", "GASEOSAS");
    e.familia("02", "LIMPIEZA");
    QString sql = QStringLiteral("SELECT IdFamilia, Descripcion FROM V_TA_FAMILIAS");
    std::optional<QStringList> cmps;
    QString clave, campo, where, opcional, defecto;
    motor().CampoDevuelto = QStringLiteral("IDFAMILIA");
    motor().Checks = true;
    ASSERT_TRUE(conVentana<Lib_FrmCons3Tree>(
        [&] { motor().ConsultaSearch(sql, cmps, clave, campo, where, opcional, true, defecto); },
        [&](Lib_FrmCons3Tree* v) {
            const ArbolConsulta& a = v->arbol();
            ASSERT_EQ(a.cantidad(), 5);
            EXPECT_EQ(a.codigo(a.nodo(a.indice("A010101")).padre), QStringLiteral("0101"));
            EXPECT_EQ(a.nodo(a.indice("A02")).padre, 0);
            auto* m = v->TreeV()->model();
            const QModelIndex uno = m->index(0, 0, m->index(0, 0));
            EXPECT_EQ(m->data(uno).toString(), QStringLiteral("01 - ALMACEN"));
            m->setData(uno, Qt::Checked, Qt::CheckStateRole);
            v->boton(QStringLiteral("&Aceptar"))->click();
        }));
    EXPECT_EQ(motor().Valores, (QStringList{"01", "0101", "010101"}));
}

TEST_P(Ventanas, WidthsRememberedPerTableAndNewLaunchesTheSuiteProgram) {
    Programa::fijaCarpeta(base().carpeta());
    {
        Lib_FrmCons3 v;
        v.SQL = QStringLiteral("SELECT IDARTICULO, DESCRIPCION FROM Stk_ma_articulos ");
        base().ejecutaDirecto(QStringLiteral("CREATE VIEW Stk_ma_articulos AS SELECT IdArticulo, "
                                             "Descripcion FROM V_MA_ARTICULOS"));
        v.GrabarCfg = true;
        v.Load();
        EXPECT_EQ(v.tablaConsulta(), QStringLiteral("VT_MA_ARTICULOS"));
        v.lista()->setColumnWidth(0, 200);
        v.lista()->setColumnWidth(1, 50);
        v.Unload();
    }
    Lib_FrmCons3 w;
    w.SQL = QStringLiteral("SELECT IDARTICULO, DESCRIPCION FROM VT_MA_ARTICULOS");
    w.Load();
    EXPECT_NEAR(w.lista()->columnWidth(0), 200, 1);
    EXPECT_NEAR(w.lista()->columnWidth(1), 50, 1);
#ifdef REGISTRA_LINEA
    // "N&uevo": the articles' maintenance program of the suite, with the connection.
    const QString programa = QDir(base().carpeta()).filePath(QStringLiteral("V_MA_ARTICULOS"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(REGISTRA_LINEA), programa));
    w.boton(QStringLiteral("N&uevo"))->click();
    QFile args(programa + QStringLiteral(".args"));
    for (int i = 0; i < 200 && !args.exists(); ++i) {
        QTest::qWait(10);
    }
    ASSERT_TRUE(args.open(QIODevice::ReadOnly));
    EXPECT_TRUE(args.readAll().contains("@ParametroAdicional=;"));
#endif
    Programa::fijaCarpeta(QString());
}

TEST_P(Ventanas, PickersShowTheirOptions) {
    std::optional<QStringList> nada;
    ASSERT_TRUE(conVentana<Lib_FrmCons3>(
        [&] {
            motor().CheckOpciones(QStringLiteral("Sucursales"), nada,
                                  {"1Centro", "0Norte", "1Sur"});
        },
        [&](Lib_FrmCons3* v) {
            EXPECT_EQ(v->windowTitle(), QStringLiteral("Sucursales"));
            ASSERT_EQ(v->lista()->model()->rowCount(), 3);
            EXPECT_EQ(v->filas().celda(1, 0), QStringLiteral("Norte"));
            v->lista()->selectRow(2);
            QTest::keyClick(v->lista(), Qt::Key_Space); // Sur unchecked
            QTest::keyClick(v->lista(), Qt::Key_Return);
        }));
    EXPECT_EQ(motor().Valores, QStringList{QStringLiteral("Centro")});
    QString elegido;
    ASSERT_TRUE(conVentana<Lib_FrmCons3>(
        [&] {
            elegido = motor().MenuOpciones(QStringLiteral("Menu"), {"Uno", "Dos"});
        },
        [&](Lib_FrmCons3* v) {
            QTest::keyClicks(v->cajaBusqueda(0), QStringLiteral("d"));
            QTest::keyClick(v->lista(), Qt::Key_Return);
        }));
    EXPECT_EQ(elegido, QStringLiteral("Dos"));
}

INSTANTIATE_TEST_SUITE_P(Motores, Ventanas, valoresMotores(), nombreMotor);

} // namespace
