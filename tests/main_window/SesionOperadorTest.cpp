// Operator sessions by keys: what a slip of the hand or an impatient key
// must never do to a loaded batch.
#include "VentanaPrueba.h"

#include "generator/CabeceraLote.h"
#include "generator/CargadorNovedades.h"
#include "generator/GeneradorLote.h"
#include "toolbar/UtilLin.h"

#include "DialogoModal.h"
#include "lookups/AnchosConsultas.h"
#include "lookups/ArchivoConsultas.h"
#include "runtime_ui/OperadorQt.h"
#include "runtime_ui/Skins.h"

#include <QAction>
#include <QFileDialog>
#include <QMessageBox>
#include <QProcess>
#include <QScrollBar>
#include <QStyle>
#include <QTemporaryDir>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class SesionOperadorTest : public VentanaTest {
protected:
    // A new batch of list `lista`, loaded by Enter on "&Cargar"; the rows loaded.
    int cargaLista(const QString& lista) {
        enter("Codigo");
        enter("Fecha");
        escribeYEnter("IdLista", lista);
        EXPECT_EQ(enfocado(), "cmdCargar");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QApplication::processEvents();
        return estado.FilasCargadas();
    }
    // Keys pressed while the next command runs (from inside its loop, as
    // an impatient operator would).
    void durante(std::function<void()> teclas) { QTimer::singleShot(0, std::move(teclas)); }
    int filasEnBlanco() const {
        int n = 0;
        for (int f = 1; f < estado.grilla.Rows(); ++f) {
            n += FilaNovedad::EnBlanco(estado.grilla, f) ? 1 : 0;
        }
        return n;
    }
    // An access key: the button's click comes a moment later, as on screen
    // (the button is animated first); waits for `hecho` when given.
    static void alt(QWidget* w, Qt::Key tecla, const std::function<bool()>& hecho = {}) {
        QTest::keyClick(w, tecla, Qt::AltModifier);
        if (hecho) {
            EXPECT_TRUE(QTest::qWaitFor(hecho, 5000));
        } else {
            QTest::qWait(400);
        }
    }
    QString descartar(int filas) const { return LoteNovedades::Descartar(filas); }
    int filasDeLista(const QString& lista) {
        return EsquemaPrueba().cuenta("SELECT COUNT(*) FROM MV_TARVELO WHERE IdLista = ?", {lista});
    }
};

// The POSIX locks this process holds on the file, as the kernel lists them
// for every process in /proc/locks ("1: POSIX ADVISORY READ pid maj:min:inode ...").
int candadosPropios(const QString& ruta) {
    struct stat st {};
    if (::stat(QFile::encodeName(ruta).constData(), &st) != 0) {
        return -1;
    }
    QFile f("/proc/locks");
    if (!f.open(QIODevice::ReadOnly)) {
        return -1;
    }
    const QString pid = QString::number(::getpid());
    const QString nodo = ":" + QString::number(st.st_ino);
    int n = 0;
    for (const QByteArray& linea : f.readAll().split('\n')) {
        const QStringList c = QString::fromLatin1(linea).simplified().split(' ');
        if (c.size() >= 6 && c[1] == "POSIX" && c[4] == pid && c[5].endsWith(nodo)) {
            ++n;
        }
    }
    return n;
}

} // namespace

// The list field edited after a load: the batch keeps the list it was loaded
// with unless the operator agrees to start over.
TEST_P(SesionOperadorTest, ListaCambiadaTrasLaCarga) {
    abre();
    const int filas = cargaLista("2");
    ASSERT_GT(filas, 0);
    const QString nombre2 = etiqueta("lblLista");

    // Enter on another list: asked, default No; No keeps everything.
    op.limpia();
    op.responde(Operador::No);
    escribeYEnter("IdLista", "1");
    ASSERT_EQ(op.preguntas().size(), 1);
    EXPECT_EQ(op.preguntas()[0].texto, descartar(filas));
    EXPECT_TRUE(op.preguntas()[0].estilo & Operador::SegundoPorDefecto);
    EXPECT_EQ(campo("IdLista")->text(), "2");
    EXPECT_EQ(etiqueta("lblLista"), nombre2);
    EXPECT_EQ(estado.FilasCargadas(), filas);
    EXPECT_EQ(enfocado(), "txtfields_IdLista");

    // Typed without Enter, then "&Generar": the load's list is generated.
    escribe("IdLista", "1");
    op.respondeArchivo(base().carpeta());
    clic("cmdExaminar");
    op.limpia();
    op.respondeSiempre(Operador::No); // no witness; nothing else may be asked
    const QString codigo = campo("Codigo")->text();
    const QString marcadas1 =
        "SELECT COUNT(*) FROM V_MA_PRECIOS WHERE IDLISTA = '1' AND ESTADO = '1-M'";
    const int antes1 = EsquemaPrueba().cuenta(marcadas1);
    alt(ventana.get(), Qt::Key_G, [&] { return op.preguntas().size() >= 1; });
    ASSERT_EQ(op.preguntas().size(), 1);
    EXPECT_EQ(op.preguntas()[0].texto, GeneradorLote::kTestigo);
    const QString sql = "SELECT COUNT(*) FROM MV_TARVELO WHERE Codigo = " + codigo;
    EXPECT_EQ(EsquemaPrueba().cuenta(sql), filas);
    EXPECT_EQ(EsquemaPrueba().cuenta(sql + " AND Nombre = (SELECT Nombre FROM V_MA_PRECIOSCAB "
                                           "WHERE IDLISTA = '2')"),
              filas);
    EXPECT_EQ(EsquemaPrueba().cuenta(marcadas1), antes1);

    // Yes starts over under the new list.
    op.respondeSiempre(0);
    const int filas1 = cargaLista("1");
    ASSERT_GT(filas1, 0);
    const QString nombre1 = etiqueta("lblLista");
    op.limpia();
    op.responde(Operador::Si);
    escribeYEnter("IdLista", "2");
    EXPECT_EQ(op.preguntas().size(), 1);
    EXPECT_EQ(estado.FilasCargadas(), 0);
    EXPECT_FALSE(estado.cabecera.has_value());
    EXPECT_NE(etiqueta("lblLista"), nombre1);
    EXPECT_EQ(enfocado(), "cmdCargar");
    EXPECT_TRUE(op.sinGuion().isEmpty()) << op.sinGuion().join('|').toStdString();
}

// Keys pressed while a load runs start nothing and break nothing.
TEST_P(SesionOperadorTest, TeclasDuranteUnaCarga) {
    abre();
    enter("Codigo");
    enter("Fecha");
    escribeYEnter("IdLista", "1");
    QPushButton* cargar = control("cmdCargar");
    ASSERT_EQ(enfocado(), "cmdCargar");
    struct Caso {
        const char* nombre;
        Qt::Key tecla;
        Qt::KeyboardModifiers mods;
    };
    int filas = -1;
    for (const Caso& c :
         {Caso{"Enter otra vez", Qt::Key_Return, Qt::NoModifier},
          Caso{"Alt+C", Qt::Key_C, Qt::AltModifier}, Caso{"Esc", Qt::Key_Escape, Qt::NoModifier},
          Caso{"F3", Qt::Key_F3, Qt::NoModifier}}) {
        SCOPED_TRACE(c.nombre);
        op.limpia();
        op.respondeSiempre(0);
        if (filas >= 0) {
            // Over loaded rows the operator agrees to load again.
            op.responde(Operador::Si);
        }
        bool habilitadoDurante = true;
        durante([&] {
            habilitadoDurante = cargar->isEnabled() || estado.habilitado(ControlVentana::Cancelar);
            QTest::keyClick(cargar, c.tecla, c.mods);
            QTest::keyClick(ventana.get(), c.tecla, c.mods);
        });
        cargar->setFocus();
        QTest::keyClick(cargar, Qt::Key_Return);
        QApplication::processEvents();
        EXPECT_FALSE(habilitadoDurante);
        const int ahora = estado.FilasCargadas();
        EXPECT_GT(ahora, 0);
        if (filas >= 0) {
            EXPECT_EQ(ahora, filas);
        }
        filas = ahora;
        EXPECT_EQ(ventana->modeloGrilla().rowCount(), filas);
        EXPECT_EQ(filasEnBlanco(), 0);
        EXPECT_EQ(cartel.ventana(), nullptr);
        // No error box, and no question but the one scripted; the one
        // notice is the load's own (the demo's row priced 0 stays pending).
        for (const QString& s : op.sinGuion()) {
            EXPECT_TRUE(s.contains("el precio es 0")) << s.toStdString();
        }
        for (const auto& p : op.preguntas()) {
            if (!p.texto.startsWith(CargadorNovedades::kFilasNoCargadas)) {
                EXPECT_EQ(p.texto, descartar(filas)) << p.texto.toStdString();
            }
        }
        EXPECT_TRUE(cargar->isEnabled());
        EXPECT_TRUE(estado.habilitado(ControlVentana::Cancelar));
    }
}

// Esc during the range load is the banner's cancel: the rows read so far
// stay, the banner goes, nothing is asked.
TEST_P(SesionOperadorTest, EscCancelaLaCargaPorRango) {
    abre();
    enter("Codigo");
    enter("Fecha");
    escribeYEnter("IdLista", "1");
    alt(ventana.get(), Qt::Key_M, [&] { return enfocado() == "txtfields_ArtDesde"; });
    ASSERT_EQ(enfocado(), "txtfields_ArtDesde");
    const int todas =
        EsquemaPrueba().cuenta("SELECT COUNT(*) FROM V_MA_PRECIOS WHERE IDLISTA = '1'");
    ASSERT_GT(todas, 3);
    op.limpia();
    durante([&] { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape); });
    QTest::keyClick(control("cmdMAceptar"), Qt::Key_Return);
    QApplication::processEvents();
    const int filas = estado.FilasCargadas();
    EXPECT_GE(filas, 1);
    EXPECT_LT(filas, todas);
    EXPECT_EQ(filasEnBlanco(), 0);
    EXPECT_EQ(cartel.ventana(), nullptr);
    EXPECT_TRUE(op.preguntas().isEmpty());
    EXPECT_FALSE(control<QWidget>("frmManual")->isVisible());
    EXPECT_TRUE(control("cmdManual")->isEnabled());
}

// Esc, F3, a new load and closing the window ask before dropping loaded
// rows; Esc closes the range frame first.
TEST_P(SesionOperadorTest, NadaSeDescartaSinPregunta) {
    abre();
    const int filas = cargaLista("1");
    ASSERT_GT(filas, 0);
    QTableView* grilla = control<QTableView>("MSFlexGrid1");
    struct Caso {
        const char* nombre;
        std::function<void()> teclas;
    };
    const Caso casos[] = {
        {"Esc", [&] { QTest::keyClick(grilla, Qt::Key_Escape); }},
        {"F3", [&] { QTest::keyClick(grilla, Qt::Key_F3); }},
        {"Alt+C", [&] { alt(grilla, Qt::Key_C, [&] { return !op.preguntas().isEmpty(); }); }},
        {"cerrar", [&] { ventana->close(); }},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nombre);
        grilla->setFocus();
        op.limpia();
        op.responde(Operador::No);
        c.teclas();
        QApplication::processEvents();
        ASSERT_EQ(op.preguntas().size(), 1);
        EXPECT_EQ(op.preguntas()[0].texto, descartar(filas));
        EXPECT_TRUE(op.preguntas()[0].estilo & Operador::SegundoPorDefecto);
        EXPECT_EQ(estado.FilasCargadas(), filas);
        EXPECT_TRUE(ventana->isVisible());
    }

    // The range frame open: Esc closes it, and only it.
    alt(grilla, Qt::Key_M, [&] { return enfocado() == "txtfields_ArtDesde"; });
    ASSERT_TRUE(control<QWidget>("frmManual")->isVisible());
    EXPECT_EQ(enfocado(), "txtfields_ArtDesde");
    op.limpia();
    QTest::keyClick(campo("ArtDesde"), Qt::Key_Escape);
    EXPECT_FALSE(control<QWidget>("frmManual")->isVisible());
    EXPECT_TRUE(op.preguntas().isEmpty());
    EXPECT_EQ(estado.FilasCargadas(), filas);
    EXPECT_EQ(enfocado(), "cmdManual");
    // F5 now looks nothing up for the hidden range fields.
    consultas.pedidos.clear();
    QTest::keyClick(ventana.get(), Qt::Key_F5);
    EXPECT_TRUE(consultas.pedidos.isEmpty());

    // Scrolled away, then Esc and Yes: a new batch from its first row and column.
    grilla->horizontalScrollBar()->setValue(grilla->horizontalScrollBar()->maximum());
    op.responde(Operador::Si);
    QTest::keyClick(grilla, Qt::Key_Escape);
    EXPECT_EQ(estado.FilasCargadas(), 0);
    EXPECT_EQ(grilla->horizontalScrollBar()->value(), 0);
    EXPECT_EQ(enfocado(), "txtfields_Codigo");
    // Nothing loaded: Esc closes the window without a question.
    op.limpia();
    QTest::keyClick(campo("Codigo"), Qt::Key_Escape);
    EXPECT_FALSE(ventana->isVisible());
    EXPECT_TRUE(op.preguntas().isEmpty());
}

// One access letter per button, Tab through every control, focus always shown.
TEST_P(SesionOperadorTest, TeclasYFoco) {
    abre();
    enter("Codigo");
    enter("Fecha");
    escribeYEnter("IdLista", "1");
    QTableView* grilla = control<QTableView>("MSFlexGrid1");
    // Alt+C loads from anywhere in the window.
    grilla->setFocus();
    // (Done once the keyboard is back from the banner's window.)
    alt(grilla, Qt::Key_C, [&] {
        return estado.FilasCargadas() > 0 && !estado.ocupado() &&
               QApplication::activeWindow() == ventana.get();
    });
    const int filas = estado.FilasCargadas();
    EXPECT_GT(filas, 0);
    // Alt+M opens the range frame, whose fields go as they stand on screen.
    alt(grilla, Qt::Key_M, [&] { return enfocado() == "txtfields_ArtDesde"; });
    ASSERT_EQ(enfocado(), "txtfields_ArtDesde");
    QStringList orden;
    int x = -1;
    for (int i = 0; i < 3; ++i) {
        QWidget* w = QApplication::focusWidget();
        orden << w->objectName();
        const int izquierda = w->mapTo(ventana.get(), QPoint(0, 0)).x();
        EXPECT_GT(izquierda, x) << w->objectName().toStdString();
        x = izquierda;
        QTest::keyClick(w, Qt::Key_Tab);
    }
    EXPECT_EQ(orden, QStringList({"txtfields_ArtDesde", "txtfields_ArtHasta", "txtfields_Letra"}));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);

    // Tab and Shift+Tab leave the grid.
    for (Qt::KeyboardModifiers m : {Qt::NoModifier, Qt::ShiftModifier}) {
        grilla->setFocus();
        QTest::keyClick(grilla, Qt::Key_Tab, m);
        EXPECT_NE(QApplication::focusWidget(), grilla);
    }
    // The labels button takes the focus by Tab and shows it.
    op.respondeArchivo(base().carpeta());
    clic("cmdExaminar");
    auto* etiquetas = control<QToolButton>("CmdEtiquetas");
    control("cmdExportar")->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), etiquetas);
    EXPECT_TRUE(etiquetas->styleSheet().contains(":focus"));
    // PLANILLA does nothing here and is never offered.
    EXPECT_FALSE(estado.habilitado(ControlVentana::Planilla));
    EXPECT_EQ(estado.FilasCargadas(), filas);
}

// At its default size the window shows every visible column of the grid.
TEST_P(SesionOperadorTest, TamanoInicialMuestraTodasLasColumnas) {
    abre();
    cargaLista("1");
    QTableView* grilla = control<QTableView>("MSFlexGrid1");
    QApplication::processEvents();
    int ancho = 0;
    for (int c = 0; c < grilla->model()->columnCount(); ++c) {
        ancho += grilla->isColumnHidden(c) ? 0 : grilla->columnWidth(c);
    }
    EXPECT_LE(ventana->width(), 1280);
    EXPECT_LE(ventana->height(), 800);
    EXPECT_LE(ancho, grilla->viewport()->width());
    EXPECT_EQ(grilla->horizontalScrollBar()->maximum(), 0);

    // A flagged row's number is red in the row header, whatever the skin
    // (a skin's style sheet colours the header sections).
    grilla->setStyleSheet("QHeaderView::section { color: black; background: white; }");
    const auto rojos = [&] {
        const QImage img = grilla->verticalHeader()->grab().toImage();
        int n = 0;
        for (int y = 0; y < img.height(); ++y) {
            for (int x = 0; x < img.width(); ++x) {
                const QColor c = img.pixelColor(x, y);
                n += c.red() > 180 && c.green() < 80 && c.blue() < 80 ? 1 : 0;
            }
        }
        return n;
    };
    ASSERT_EQ(rojos(), 0);
    estado.grilla.FijaMarcada(1, true);
    QApplication::processEvents();
    EXPECT_GT(rojos(), 0);
}

// Nothing the window does with files may close a descriptor of the SQLite
// file behind SQLite's back: its locks would go, and another program could
// then delete the journal of a connection still open, losing its batches.
TEST_P(SesionOperadorTest, LaBaseSigueBloqueadaMientrasLaVentanaTrabaja) {
    if (GetParam() != Plataforma::Sqlite) {
        GTEST_SKIP() << "locks of a database file";
    }
    abre();
    const QString archivo = base().nombre();
    const int filas = cargaLista("1");
    ASSERT_GT(filas, 0);
    ASSERT_GT(candadosPropios(archivo), 0);
    const QString codigo = campo("Codigo")->text();

    // The real folder dialog, shown on the database's own folder for a while.
    OperadorQt pantalla(ventana.get());
    fijaOperador(&pantalla);
    alAparecer([&](QWidget* w) {
        auto* d = qobject_cast<QFileDialog*>(w);
        ASSERT_TRUE(d);
        d->setDirectory(base().carpeta());
        QTimer::singleShot(600, d, [d] { QMetaObject::invokeMethod(d, "accept"); });
    });
    clic("cmdExaminar");
    fijaOperador(&op);
    EXPECT_EQ(etiqueta("lblRuta"), base().carpeta() + "/CAMBIOS.TXT");
    EXPECT_GT(candadosPropios(archivo), 0) << "the folder dialog";

    // The skin read again, the lookup files written beside the database, and
    // a nightly run of another list beside the window.
    Skins::AplicaSkin(ventana.get());
    EXPECT_GT(candadosPropios(archivo), 0) << "the skin";
    ASSERT_TRUE(ArchivoConsultas::CreaArchivoConsultas(base().carpeta() + "/consultas.kvx"));
    ASSERT_TRUE(AnchosConsultas::GrabaAnchos(base().carpeta(), QStringLiteral("T"), {5}));
    EXPECT_TRUE(ArchivoConsultas::BuscaDefinicion(base().carpeta() + "/consultas.kvx",
                                                  QStringLiteral("VT_PROVEEDORES")));
    EXPECT_GT(candadosPropios(archivo), 0) << "the lookup files";
    QTemporaryDir otra;
    QProcess lote;
    lote.setProgram(QStringLiteral(TARVELO_LOTE));
    lote.setArguments({"generar", base().lineaSuite(), "--hoy", "2026-03-10", "--lista", "2",
                       "--carpeta", otra.path()});
    lote.start();
    ASSERT_TRUE(lote.waitForFinished(60000));
    EXPECT_EQ(lote.exitCode(), 0) << lote.readAllStandardError().toStdString();
    const int codigoLote = QString::fromUtf8(lote.readAllStandardOutput())
                               .section(QRegularExpression("[^0-9]+"), 1, 1)
                               .toInt();

    // The window's own generation, its files beside the database: the code it
    // proposed was taken meanwhile, and the next one is accepted (the demo's
    // short record is sent anyway, as the nightly run does).
    ASSERT_EQ(codigoLote, codigo.toInt());
    op.limpia();
    op.responde(Operador::Si).responde(Operador::Si);
    op.respondeSiempre(Operador::No);
    alt(ventana.get(), Qt::Key_G, [&] { return op.preguntas().size() >= 3; });
    EXPECT_GT(candadosPropios(archivo), 0) << "the generation";
    EXPECT_TRUE(QFile::exists(base().carpeta() + "/CAMBIOS.TXT"));

    // Both batches are still there once the window has let the database go.
    ventana.reset();
    BaseDePrueba::cierra(DB_Dll::instancia());
    ASSERT_TRUE(base().abre(DB_Dll::instancia()));
    EXPECT_EQ(EsquemaPrueba().cuenta("SELECT COUNT(*) FROM MV_TARVELO WHERE Codigo = ? AND "
                                     "IdLista = '1'",
                                     {codigoLote + 1}),
              filas);
    EXPECT_GT(EsquemaPrueba().cuenta("SELECT COUNT(*) FROM MV_TARVELO WHERE Codigo = ? AND "
                                     "IdLista = '2'",
                                     {codigoLote}),
              0);
}

// Without a screen to show a box on, a start-up failure is said on standard
// error and the program ends with its code at once instead of waiting.
TEST(ArranqueSinPantalla, TerminaConSuCodigo) {
    struct Caso {
        const char* plataforma;
        QString linea;
        int codigo;
        const char* dice;
    };
    const Caso casos[] = {
        {"offscreen", "@Plataforma=NADA", 2, "Plataforma desconocida"},
        {"minimal", "@Plataforma=NADA", 2, "Plataforma desconocida"},
        {"offscreen", "--opcion", 2, "Opcion desconocida"},
        {"offscreen", "@Plataforma=SQLITE; @server=.; @dbname=/no/existe.db; @usuario=DEMO", 3,
         "unable to open database file"},
        {"offscreen", "@Plataforma=SQLITE; @server=.; @usuario=DEMO", 2, "@dbname"},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(std::string(c.plataforma) + " " + c.linea.toStdString());
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", c.plataforma);
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(TARVELO), {c.linea});
        ASSERT_TRUE(p.waitForFinished(20000)) << "still waiting";
        EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(p.exitCode(), c.codigo);
        EXPECT_TRUE(QString::fromUtf8(p.readAllStandardError()).contains(c.dice));
    }
}

INSTANTIATE_TEST_SUITE_P(Motores, SesionOperadorTest, valoresMotores(), nombreMotor);

// A price below cost: the real question comes up with No as its default, so a
// hasty Enter writes nothing; the row stays flagged with its reason.
TEST_P(SesionOperadorTest, UnPrecioConAlertaPreguntaConNoPorDefecto) {
    abre();
    EsquemaPrueba().ejecuta("UPDATE V_MA_PRECIOS SET COSTO = 999999 WHERE ID = (SELECT MIN(ID) "
                            "FROM V_MA_PRECIOS WHERE IDLISTA = '1' AND ESTADO = '0-M' AND "
                            "SUSPENDIDO = 0 AND precio1 > 0 AND FHOFERTADESDE IS NULL)");
    ASSERT_GT(cargaLista("1"), 0);
    const QString codigo = campo("Codigo")->text();
    QTemporaryDir salida;
    op.respondeArchivo(salida.path());
    clic("cmdExaminar");

    OperadorQt pantalla(ventana.get());
    fijaOperador(&pantalla);
    QString pregunta;
    bool noPorDefecto = false;
    // The demo list's record out of the fixed layout is accepted first.
    alAparecer([&](QWidget* w) {
        auto* caja = qobject_cast<QMessageBox*>(w);
        ASSERT_TRUE(caja);
        alAparecer([&](QWidget* w2) {
            auto* alerta = qobject_cast<QMessageBox*>(w2);
            ASSERT_TRUE(alerta);
            pregunta = alerta->text();
            noPorDefecto = alerta->defaultButton() == alerta->button(QMessageBox::No);
            QTest::keyClick(alerta, Qt::Key_Return);
        });
        caja->button(QMessageBox::Yes)->click();
    });
    QTest::keyClick(ventana.get(), Qt::Key_G, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !pregunta.isEmpty() && !estado.ocupado(); }, 10000));
    fijaOperador(&op);
    EXPECT_TRUE(pregunta.startsWith("1 precio con alerta: ¿generar de todos modos?"))
        << pregunta.toStdString();
    EXPECT_TRUE(noPorDefecto);
    EXPECT_EQ(EsquemaPrueba().cuenta("SELECT COUNT(*) FROM MV_TARVELO WHERE Codigo = ?", {codigo}),
              0);
    EXPECT_FALSE(QFile::exists(salida.path() + "/CAMBIOS.TXT"));
    // The rows stay, the alerted one flagged with its reason.
    QTableView* grilla = control<QTableView>("MSFlexGrid1");
    QStringList motivos;
    for (int f = 0; f < grilla->model()->rowCount(); ++f) {
        const QString m = grilla->model()->headerData(f, Qt::Vertical, Qt::ToolTipRole).toString();
        if (m.contains("Alerta: ")) {
            motivos << m;
        }
    }
    ASSERT_EQ(motivos.size(), 1);
    EXPECT_TRUE(motivos[0].contains("bajo costo 999999,00")) << motivos[0].toStdString();
    EXPECT_GT(estado.FilasCargadas(), 0);
}
