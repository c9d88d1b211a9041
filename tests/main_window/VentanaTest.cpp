#include "VentanaPrueba.h"

TEST_P(VentanaTest, CodigoPropuestoYNuevo) {
    abre(false);
    EXPECT_EQ(ventana->windowTitle(),
              "Generador de novedades de precios para sucursales / Puntos de Venta");
    EXPECT_EQ(campo("Codigo")->text(), "1");
    EXPECT_EQ(enfocado(), "txtfields_Codigo");
    EXPECT_EQ(etiqueta("lblRuta"), "...");
    EXPECT_FALSE(control("cmdExportar")->isEnabled());
    EsquemaPrueba().filaLote({.codigo = 57, .idLista = "1", .codInterno = "000000001"});
    // A half-prepared batch is dropped by NUEVO: the next code, selected whole.
    enter("Codigo");
    ASSERT_TRUE(campo("Fecha")->isEnabled());
    ventana->UtilLin1_Click("nuevo");
    EXPECT_EQ(campo("Codigo")->text(), "58");
    EXPECT_TRUE(campo("Codigo")->isEnabled());
    EXPECT_FALSE(campo("Fecha")->isEnabled());
    EXPECT_EQ(enfocado(), "txtfields_Codigo");
    EXPECT_EQ(campo("Codigo")->selectedText(), "58");
}

TEST_P(VentanaTest, EnterEnCodigoExistenteONuevo) {
    abre();
    const QString existente =
        EsquemaPrueba().valor("SELECT MAX(Codigo) FROM MV_TARVELO").toString();
    const int filasLote = EsquemaPrueba().cuenta("SELECT COUNT(*) FROM MV_TARVELO");
    ASSERT_FALSE(existente.isEmpty());
    struct Caso {
        QString codigo;
        bool recarga;
    };
    for (const Caso& c : {Caso{existente, true}, Caso{"999", false}}) {
        SCOPED_TRACE(c.codigo.toStdString());
        ventana->UtilLin1_Click("CANCELAR");
        QApplication::processEvents();
        escribeYEnter("Codigo", c.codigo);
        EXPECT_FALSE(campo("Codigo")->isEnabled());
        EXPECT_EQ(campo("Codigo")->text(), c.codigo);
        if (c.recarga) {
            // Regeneration: generate again or print, nothing else.
            EXPECT_EQ(ventana->modeloGrilla().rowCount(), filasLote);
            EXPECT_NE(etiqueta("lblRuta"), "...");
            EXPECT_TRUE(control("cmdExportar")->isEnabled());
            EXPECT_TRUE(control<QToolButton>("CmdEtiquetas")->isEnabled());
            EXPECT_FALSE(control("cmdExaminar")->isEnabled());
            EXPECT_FALSE(control("CmdBuscar")->isEnabled());
            EXPECT_FALSE(campo("Fecha")->isEnabled());
            EXPECT_TRUE(estado.habilitado(ControlVentana::Reporte));
            EXPECT_TRUE(estado.habilitado(ControlVentana::Cancelar));
            EXPECT_FALSE(estado.habilitado(ControlVentana::Cerrar));
            EXPECT_FALSE(estado.habilitado(ControlVentana::Nuevo));
        } else {
            EXPECT_EQ(enfocado(), "txtfields_Fecha");
            EXPECT_TRUE(campo("IdLista")->isEnabled());
            EXPECT_TRUE(control("cmdCargar")->isEnabled());
            EXPECT_FALSE(control("cmdExportar")->isEnabled());
            EXPECT_TRUE(estado.habilitado(ControlVentana::Cancelar));
            EXPECT_FALSE(estado.habilitado(ControlVentana::Cerrar));
        }
    }
    // Back to the initial state, the toolbar is whole again.
    ventana->UtilLin1_Click("CANCELAR");
    EXPECT_TRUE(estado.habilitado(ControlVentana::Nuevo));
    EXPECT_TRUE(estado.habilitado(ControlVentana::Cerrar));
    EXPECT_EQ(ventana->modeloGrilla().rowCount(), 1);
    EXPECT_TRUE(op.sinGuion().isEmpty()) << op.sinGuion().join('|').toStdString();
}

TEST_P(VentanaTest, ValidacionDeCampos) {
    abre();
    struct Caso {
        QString campo, texto, mensaje, textoDespues, lista;
    };
    const QString sinNombre = "Lista de Precios: ";
    const QList<Caso> casos = {
        {"Codigo", "", ValidaCampo::kFaltaCodigo, "", ""},
        {"Fecha", "", "", "10/03/2026", ""},
        {"Fecha", "31/02/26", ValidaCampo::kFechaInvalida, "31/02/26", ""},
        {"IdLista", "", ValidaCampo::kFaltaLista, "", sinNombre},
        {"IdLista", "C1", ValidaCampo::kListaInexistente, "C1", sinNombre},
        {"IdLista", "77", ValidaCampo::kListaInexistente, "77", sinNombre},
        {"IdLista", "1", "", "1", ""},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE((c.campo + "=" + c.texto).toStdString());
        ventana->UtilLin1_Click("CANCELAR");
        if (c.campo != "Codigo") {
            enter("Codigo");
        }
        op.limpia();
        op.responde(Operador::Aceptar);
        escribeYEnter(c.campo, c.texto);
        EXPECT_EQ(campo(c.campo)->text(), c.textoDespues);
        if (c.mensaje.isEmpty()) {
            EXPECT_TRUE(op.preguntas().isEmpty()) << ultimoMensaje().toStdString();
            EXPECT_FALSE(ventana->validacionFallida());
            EXPECT_NE(enfocado(), "txtfields_" + c.campo);
            op.limpia();
        } else {
            ASSERT_EQ(op.preguntas().size(), 1);
            EXPECT_EQ(op.preguntas()[0].texto, c.mensaje);
            EXPECT_EQ(op.preguntas()[0].titulo, "Aviso al operador...");
            EXPECT_EQ(op.preguntas()[0].estilo, Operador::SoloAceptar | Operador::IconoInformacion);
            EXPECT_TRUE(ventana->validacionFallida());
            EXPECT_EQ(enfocado(), "txtfields_" + c.campo);
        }
        if (!c.lista.isEmpty()) {
            EXPECT_EQ(etiqueta("lblLista"), c.lista);
        }
    }
    // The accepted list shows its name.
    EXPECT_TRUE(etiqueta("lblLista").startsWith("Lista de Precios: "));
    EXPECT_GT(etiqueta("lblLista").size(), QString("Lista de Precios: ").size());
}

TEST_P(VentanaTest, TeclasLargosYColorDeFoco) {
    // Red in the blue-green-red packing.
    abre(true, [](EsquemaPrueba& e) { e.configuracion("CFondo", "255"); });
    escribe("Codigo", "a1b-2");
    EXPECT_EQ(campo("Codigo")->text(), "12");
    enter("Codigo");
    struct Caso {
        QString campo, tecleado, queda;
    };
    for (const Caso& c :
         {Caso{"Fecha", "1x0/03/2026999", "10/03/2026"}, Caso{"IdLista", "ab123", "AB12"}}) {
        escribe(c.campo, c.tecleado);
        EXPECT_EQ(campo(c.campo)->text(), c.queda);
    }
    // The focused field takes the configured colour; the one left turns white.
    EXPECT_TRUE(campo("IdLista")->styleSheet().contains(QColor(255, 0, 0).name()));
    EXPECT_TRUE(campo("Fecha")->styleSheet().contains("#ffffff"));
    EXPECT_EQ(CamposVentana::ColorDeBgr(0), QColor(0, 255, 255));
    EXPECT_EQ(CamposVentana::ColorDeBgr(0x00FF8040), QColor(0x40, 0x80, 0xFF));
    // CONSULTAR follows the focused field's lookup.
    EXPECT_TRUE(estado.habilitado(ControlVentana::Consultar));
    clic("cmdManual");
    EXPECT_EQ(enfocado(), "txtfields_ArtDesde");
    EXPECT_TRUE(estado.habilitado(ControlVentana::Consultar));
    escribeYEnter("ArtDesde", "1");
    EXPECT_EQ(enfocado(), "txtfields_ArtHasta");
    escribeYEnter("ArtHasta", "9");
    EXPECT_EQ(enfocado(), "txtfields_Letra");
    EXPECT_FALSE(estado.habilitado(ControlVentana::Consultar));
    escribe("Letra", "mx");
    EXPECT_EQ(campo("Letra")->text(), "MX");
}

TEST_P(VentanaTest, ExaminarElijeSoloLaCarpeta) {
    abre();
    enter("Codigo");
    struct Caso {
        QString elegido, ruta;
    };
    const QString carpeta = base().carpeta();
    // A folder is chosen; the change file is CAMBIOS.TXT in it.
    for (const Caso& c :
         {Caso{"", "..."}, Caso{carpeta, carpeta + "/CAMBIOS.TXT"},
          Caso{"", carpeta + "/CAMBIOS.TXT"}, Caso{carpeta + "/", carpeta + "/CAMBIOS.TXT"}}) {
        SCOPED_TRACE(c.elegido.toStdString());
        op.respondeArchivo(c.elegido);
        clic("cmdExaminar");
        EXPECT_EQ(etiqueta("lblRuta"), c.ruta);
        EXPECT_EQ(control<QLabel>("lblRuta")->toolTip(), c.ruta);
        EXPECT_EQ(control("cmdExportar")->isEnabled(), c.ruta != "...");
        EXPECT_EQ(control<QToolButton>("CmdEtiquetas")->isEnabled(), c.ruta != "...");
    }
}

TEST_P(VentanaTest, ConsultasYSuEnter) {
    abre();
    enter("Codigo");
    // The date picker, then Enter: the date stays and the focus moves to the list.
    op.respondeFecha(QDate(2026, 3, 20));
    campo("Fecha")->setFocus();
    ventana->UtilLin1_Click("CONSULTAR");
    EXPECT_EQ(campo("Fecha")->text(), "20/03/2026");
    EXPECT_EQ(enfocado(), "txtfields_IdLista");

    struct Caso {
        QString respuesta, texto, mensaje;
    };
    // A lookup left without a choice leaves the accepted list as it was.
    for (const Caso& c : {Caso{"1", "1", ""}, Caso{"", "1", ""}}) {
        SCOPED_TRACE(c.respuesta.toStdString());
        op.limpia();
        consultas.pedidos.clear();
        consultas.respuestas = {c.respuesta};
        campo("IdLista")->setFocus();
        ventana->UtilLin1_Click("CONSULTAR");
        ASSERT_EQ(consultas.pedidos.size(), 1);
        EXPECT_EQ(consultas.pedidos[0].consulta,
                  "SELECT IDLISTA,NOMBRE FROM V_MA_PRECIOSCAB WHERE TIPOLISTA = 'V' ORDER BY "
                  "IDLISTA");
        EXPECT_EQ(consultas.pedidos[0].campoDevuelto, "IDLISTA");
        EXPECT_EQ(campo("IdLista")->text(), c.texto);
        EXPECT_EQ(ultimoMensaje(), c.mensaje);
    }

    // "&Buscar Novedades" while the date was the last field: the list is
    // filled and validated, and the date keeps its own lookup.
    campo("Fecha")->setFocus();
    consultas.pedidos.clear();
    consultas.respuestas = {"2"};
    clic("CmdBuscar");
    ASSERT_EQ(consultas.pedidos.size(), 1);
    EXPECT_EQ(consultas.pedidos[0].tipo, "NOVEDADES");
    EXPECT_EQ(consultas.pedidos[0].consulta,
              "SELECT IDLISTA,NOMBRE FROM V_MA_PRECIOS WHERE TIPOLISTA = 'V' AND (ESTADO = "
              "'0-C' OR ESTADO = '0-M' OR FHOFERTADESDE = '11/03/2026' OR  FHOFERTAHASTA "
              "='09/03/2026') GROUP BY IDLISTA,NOMBRE");
    EXPECT_EQ(campo("IdLista")->text(), "2");
    EXPECT_TRUE(etiqueta("lblLista").contains("MAYORISTA"));
    op.respondeFecha(QDate(2026, 3, 12));
    campo("Fecha")->setFocus();
    ventana->UtilLin1_Click("CONSULTAR");
    EXPECT_EQ(campo("Fecha")->text(), "12/03/2026");

    // Articles: the chosen code, trimmed, in the range frame.
    clic("cmdManual");
    EXPECT_EQ(enfocado(), "txtfields_ArtDesde");
    consultas.respuestas = {"  000123  "};
    ventana->UtilLin1_Click("CONSULTAR");
    EXPECT_EQ(consultas.pedidos.last().consulta, "V_MA_ARTICULOS");
    EXPECT_EQ(consultas.pedidos.last().campoDevuelto, "IDARTICULO");
    EXPECT_EQ(campo("ArtDesde")->text(), "000123");
    EXPECT_EQ(enfocado(), "txtfields_ArtHasta");
}

TEST_P(VentanaTest, CargaManualSeCancelaDesdeElCartel) {
    abre();
    nuevoLoteConLista();
    clic("cmdManual");
    ASSERT_TRUE(control<QWidget>("frmManual")->isVisible());
    // Every article of the list: the banner's cancel stops the load after its first row.
    QTimer::singleShot(0, [&] {
        if (cartel.ventana()) {
            QTest::mouseClick(cartel.ventana()->CmdDisplayCancelar(), Qt::LeftButton);
        }
    });
    clic("cmdMAceptar");
    EXPECT_FALSE(control<QWidget>("frmManual")->isVisible());
    const int todas =
        EsquemaPrueba().cuenta("SELECT COUNT(*) FROM V_MA_PRECIOS WHERE IDLISTA = '1'");
    EXPECT_GT(todas, 3);
    EXPECT_LE(ventana->modeloGrilla().rowCount(), 2);
    EXPECT_EQ(cartel.ventana(), nullptr);
}

// The whole run by keys and clicks gives the files of the unattended command.
TEST_P(VentanaTest, CorridaCompletaIgualAlLote) {
    abre();
    QTemporaryDir dirVentana, dirLote;
    nuevoLoteConLista();
    EXPECT_EQ(enfocado(), "cmdCargar");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QApplication::processEvents();
    const int filas = ventana->modeloGrilla().rowCount();
    ASSERT_GT(filas, 1);
    // The grid on screen: headers, hidden columns, the cells of the model.
    QTableView* grilla = control<QTableView>("MSFlexGrid1");
    const QStringList encabezados = FilaNovedad::Encabezados();
    for (int c = 0; c < FilaNovedad::Columnas; ++c) {
        EXPECT_EQ(grilla->model()->headerData(c, Qt::Horizontal).toString(), encabezados[c]);
        EXPECT_EQ(grilla->isColumnHidden(c), c >= 16) << c;
    }
    EXPECT_EQ(grilla->model()->index(filas - 1, 1).data().toString(),
              estado.grilla.Texto(filas, 1));
    EXPECT_TRUE(QFontInfo(grilla->font()).fixedPitch());

    op.respondeArchivo(dirVentana.path());
    clic("cmdExaminar");
    // The demo list holds a record one character short (a one-letter
    // category): generate anyway, as the unattended command does, then no
    // witness report. The row is flagged in the grid's row header.
    op.responde(Operador::Si).responde(Operador::No);
    clic("cmdExportar");
    // The load's one notice: the demo's row priced 0 stays pending.
    ASSERT_EQ(op.sinGuion().size(), 1) << op.sinGuion().join('|').toStdString();
    EXPECT_TRUE(op.sinGuion()[0].contains("el precio es 0"));
    ASSERT_GE(op.preguntas().size(), 2);
    EXPECT_TRUE(op.preguntas()[op.preguntas().size() - 2].texto.contains("formato fijo"));
    // A hasty Enter on that question generates nothing.
    EXPECT_TRUE(op.preguntas()[op.preguntas().size() - 2].estilo & Operador::SegundoPorDefecto);
    EXPECT_EQ(control<QProgressBar>("PBar")->maximum(), filas);
    // Back to the start, nothing to generate until a folder is chosen again.
    EXPECT_EQ(etiqueta("lblRuta"), "...");
    EXPECT_FALSE(control("cmdExportar")->isEnabled());
    EXPECT_EQ(enfocado(), "txtfields_Codigo");

    // The same demo on a fresh database, through tarvelo-lote generar.
    ventana.reset();
    lote.reset();
    repositorio.reset();
    BaseDePrueba otra(GetParam());
    BaseDePrueba::cierra(DB_Dll::instancia());
    ASSERT_TRUE(otra.abre(DB_Dll::instancia()));
    ASSERT_GT(EsquemaPrueba().creaConDemo(kHoy).pendientes, 0);
    BaseDePrueba::cierra(DB_Dll::instancia());
    const QString linea = GetParam() == Plataforma::Sqlite
                              ? "@Plataforma=SQLITE; @server=.; @dbname=" + otra.nombre() +
                                    "; @usuario=DEMO; @Password=; @UsuarioLogeado=DEMO; @Caja=1"
                              : "@Plataforma=POSTGRESQL; @server=" + otra.servidor() +
                                    "; @Puerto=" + QString::number(otra.puerto()) +
                                    "; @dbname=" + otra.nombre() + "; @usuario=" + otra.usuario() +
                                    "; @Password=; @UsuarioLogeado=DEMO";
    QString out, err;
    QTextStream o(&out), e(&err);
    ASSERT_EQ(ComandoGenerar({"generar", linea, "--hoy", "2026-03-10", "--lista", "1", "--carpeta",
                              dirLote.path()},
                             o, e),
              CodigoLote::Generado)
        << err.toStdString();
    for (const char* archivo : {"/CAMBIOS.TXT", "/BALANZA.TXT"}) {
        const QByteArray ventanaTxt = lee(dirVentana.path() + archivo);
        EXPECT_GT(ventanaTxt.size(), 0) << archivo;
        EXPECT_EQ(ventanaTxt, lee(dirLote.path() + archivo)) << archivo;
    }
}

// A list whose last batch of pending changes was three days ago: the load
// says above the grid which days it caught up on; a new batch clears it.
TEST_P(VentanaTest, LosDiasRecuperadosSeVenSobreLaGrilla) {
    abre(true, [](EsquemaPrueba& e) {
        e.ejecuta("INSERT INTO MV_TARVELO_CARGAS (Codigo, IdLista, Dia) VALUES (900, '1', "
                  "'2026-03-07')");
    });
    QLabel* aviso = control<QLabel>("lblRecuperacion");
    ASSERT_TRUE(aviso);
    EXPECT_FALSE(aviso->isVisible());
    nuevoLoteConLista();
    clic("cmdCargar");
    EXPECT_TRUE(aviso->isVisible());
    EXPECT_EQ(aviso->text(), "Se incluyen las ofertas de los días sin novedad: del 08/03 al 09/03");
    const QWidget* grilla = control<QWidget>("MSFlexGrid1");
    EXPECT_LE(aviso->mapTo(ventana.get(), QPoint(0, aviso->height())).y(),
              grilla->mapTo(ventana.get(), QPoint(0, 0)).y());
    op.responde(Operador::Si); // drop the loaded rows
    ventana->UtilLin1_Click("NUEVO");
    EXPECT_FALSE(aviso->isVisible());
}

TEST_P(VentanaTest, DisposicionYCierre) {
    abre();
    nuevoLoteConLista();
    clic("cmdManual");
    ventana->resize(ventana->minimumSizeHint());
    QTest::qWait(20);
    QApplication::processEvents();
    const QStringList nombres = {"UtilLin1",  "Frame1",      "Frame2",    "cmdCargar",
                                 "cmdManual", "cmdExaminar", "CmdBuscar", "cmdExportar",
                                 "frmManual", "MSFlexGrid1", "PBar"};
    QList<QRect> zonas;
    for (const QString& n : nombres) {
        QWidget* w = control<QWidget>(n);
        ASSERT_TRUE(w) << n.toStdString();
        zonas << QRect(w->mapTo(ventana.get(), QPoint(0, 0)), w->size());
        {
            EXPECT_TRUE(w->width() > 0 && w->height() > 0) << n.toStdString();
            EXPECT_TRUE(ventana->rect().contains(zonas.last())) << n.toStdString();
        }
    }
    for (int i = 0; i < zonas.size(); ++i) {
        for (int j = i + 1; j < zonas.size(); ++j) {
            EXPECT_FALSE(zonas[i].intersects(zonas[j]))
                << nombres[i].toStdString() << " / " << nombres[j].toStdString();
        }
    }
    // The five buttons right-aligned, "&Generar" last.
    for (int i = 3; i < 7; ++i) {
        EXPECT_LT(zonas[i].right(), zonas[i + 1].left());
    }
    // The header frame left, the path frame right of it, the grid below both.
    EXPECT_LT(zonas[1].right(), zonas[2].left());
    EXPECT_GT(zonas[9].top(), zonas[1].bottom());
    EXPECT_GT(zonas[10].top(), zonas[9].bottom());

    QSignalSpy descargada(ventana.get(), &FrmTarvelo::descargada);
    ventana->UtilLin1_Click("CERRAR");
    EXPECT_EQ(descargada.count(), 1);
    EXPECT_FALSE(ventana->isVisible());
}

TEST_P(VentanaTest, LineaDeComandoIlegible) {
    abre(false);
    struct Caso {
        QStringList args;
        int codigo;
        QString salida, error;
    };
    const QList<Caso> casos = {
        {{"--help"}, 0, "Uso: tarvelo", ""},
        {{"--verboso"}, 2, "", "Opcion desconocida: --verboso"},
        {{"@Plataforma=FOXPRO;", "@dbname=x"}, 2, "", "Plataforma desconocida"},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        op.limpia();
        op.responde(Operador::Aceptar);
        QString out, err;
        QTextStream o(&out), e(&err);
        const auto fin = ArrancaTarvelo(c.args, o, e);
        ASSERT_TRUE(fin.has_value());
        EXPECT_EQ(*fin, c.codigo);
        EXPECT_TRUE(c.salida.isEmpty() ? out.isEmpty() : out.contains(c.salida));
        if (c.error.isEmpty()) {
            EXPECT_TRUE(op.preguntas().isEmpty());
        } else {
            EXPECT_TRUE(err.contains(c.error)) << err.toStdString();
            ASSERT_EQ(op.preguntas().size(), 1);
            EXPECT_TRUE(op.preguntas()[0].texto.contains(c.error));
        }
    }
}

// The toolbar hears the window's keys: each key raises its command only
// where the window's mode enables it.
TEST_P(VentanaTest, TeclasDeLaBarraSegunElModo) {
    abre();
    const QString existente =
        EsquemaPrueba().valor("SELECT MAX(Codigo) FROM MV_TARVELO").toString();
    QSignalSpy descargada(ventana.get(), &FrmTarvelo::descargada);
    struct Caso {
        QString nombre;
        std::function<void()> prepara;
        Qt::Key tecla;
        std::function<void()> verifica;
    };
    const QList<Caso> casos = {
        {"F5 en Fecha abre el calendario",
         [&] {
             enter("Codigo");
             op.respondeFecha(QDate(2026, 3, 15));
         },
         Qt::Key_F5, [&] { EXPECT_EQ(campo("Fecha")->text(), "15/03/2026"); }},
        {"Esc editando cancela",
         [&] {
             enter("Codigo");
             escribe("IdLista", "1");
         },
         Qt::Key_Escape,
         [&] {
             EXPECT_TRUE(campo("Codigo")->isEnabled());
             EXPECT_EQ(campo("IdLista")->text(), "");
             EXPECT_EQ(descargada.count(), 0);
         }},
        {"F3 en regeneracion no hace nada", [&] { escribeYEnter("Codigo", existente); }, Qt::Key_F3,
         [&] {
             EXPECT_FALSE(campo("Codigo")->isEnabled());
             EXPECT_EQ(campo("Codigo")->text(), existente);
         }},
        {"F3 editando empieza de nuevo", [&] { enter("Codigo"); }, Qt::Key_F3,
         [&] {
             EXPECT_TRUE(campo("Codigo")->isEnabled());
             EXPECT_EQ(enfocado(), "txtfields_Codigo");
         }},
        {"Esc en el estado inicial cierra", [] {}, Qt::Key_Escape,
         [&] {
             EXPECT_EQ(descargada.count(), 1);
             EXPECT_FALSE(ventana->isVisible());
         }},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nombre.toStdString());
        ventana->UtilLin1_Click("CANCELAR");
        QApplication::processEvents();
        c.prepara();
        QWidget* foco = QApplication::focusWidget();
        ASSERT_TRUE(foco);
        QTest::keyClick(foco, c.tecla);
        QApplication::processEvents();
        c.verifica();
    }
    EXPECT_TRUE(op.sinGuion().isEmpty()) << op.sinGuion().join('|').toStdString();
}

INSTANTIATE_TEST_SUITE_P(Motores, VentanaTest, valoresMotores(), nombreMotor);
