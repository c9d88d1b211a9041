#include "main_window/FrmTarvelo.h"

#include "generator/ArchivosCambio.h"
#include "generator/EstadoVentana.h"
#include "generator/FilaNovedad.h"
#include "generator/LoteNovedades.h"
#include "main_window/CamposVentana.h"
#include "main_window/ConsultasVentana.h"
#include "main_window/DelegadoCelda.h"
#include "main_window/EncabezadoFilas.h"
#include "main_window/ModeloGrilla.h"
#include "main_window/ValidaCampo.h"
#include "progress/Dll_Display.h"
#include "runtime/ModGlobal.h"
#include "runtime_ui/Skins.h"
#include "toolbar/UtilLin.h"
#include "utility_library/CarpetasPrograma.h"
#include "utility_library/Operador.h"
#include "utility_library/Pasos.h"
#include "utility_library/Programa.h"
#include "utility_library/QlUtil.h"
#include "utility_library/Regional.h"
#include "utility_library/Reloj.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QSettings>
#include <QStyle>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

const QString FrmTarvelo::kTitulo =
    QStringLiteral("Generador de novedades de precios para sucursales / Puntos de Venta");

namespace {

// Width of each visible cell in characters (the fixed record's layout).
constexpr int kAnchoCeldas[FilaNovedad::Columnas] = {4, 9, 30, 15, 9, 9, 9, 9, 1,
                                                     1, 2, 13, 1,  2, 9, 6, 0, 0};

QPushButton* boton(const QString& nombre, const QString& texto, QWidget* padre) {
    auto* b = new QPushButton(texto, padre);
    b->setObjectName(nombre);
    // Enter on a focused button presses it, so the whole run can be done with keys.
    b->setAutoDefault(true);
    return b;
}

QLabel* etiqueta(const QString& nombre, const QString& texto, QWidget* padre) {
    auto* l = new QLabel(texto, padre);
    l->setObjectName(nombre);
    return l;
}

} // namespace

FrmTarvelo::FrmTarvelo(LoteNovedades& lote, ConsultasVentana* consultas, QWidget* padre)
    : QMainWindow(padre), lote_(lote), consultas_(consultas), campos_(new CamposVentana(this)),
      modelo_(new ModeloGrilla(lote.ventana().grilla, this)) {
    setObjectName(QStringLiteral("FrmTarvelo"));
    setWindowTitle(kTitulo);
    armaControles();
    armaDisposicion();
    conecta();
    campos_->fijaColorFoco(ModGlobal::gColorFondo);
    lote_.ventana().alCambiar = [this](unsigned areas) { muestraEstado(areas); };
    // Before "&Generar" asks, the grid already shows which prices alert.
    lote_.fijaAlertasAlCargar(true);
    muestraEstado(EstadoVentana::Todo);
    ajustaColumnas();
}

FrmTarvelo::~FrmTarvelo() {
    lote_.ventana().alCambiar = nullptr;
}

void FrmTarvelo::armaControles() {
    auto* central = new QWidget(this);
    setCentralWidget(central);

    UtilLin1_ = new UtilLin(central);
    UtilLin1_->setObjectName(QStringLiteral("UtilLin1"));
    // Its properties as the program's settings keep them.
    QSettings ajustes(CarpetasPrograma::escritura() + QStringLiteral("tarvelo.ini"),
                      QSettings::IniFormat);
    ajustes.beginGroup(QStringLiteral("UtilLin1"));
    UtilLin1_->LeePropiedades(ajustes);

    for (int i = 0; i < CamposVentana::Definiciones().size(); ++i) {
        txtfields_ << new QLineEdit(central);
    }
    campos_->Inicializa(txtfields_);

    Frame1_ = new QFrame(central);
    Frame1_->setObjectName(QStringLiteral("Frame1"));
    Frame1_->setFrameShape(QFrame::StyledPanel);
    Frame2_ = new QFrame(central);
    Frame2_->setObjectName(QStringLiteral("Frame2"));
    Frame2_->setFrameShape(QFrame::StyledPanel);

    lblRuta_ = etiqueta(QStringLiteral("lblRuta"), EstadoVentana::kSinRuta, Frame2_);
    // A long path must not widen the window: the tooltip holds it whole.
    lblRuta_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    lblRuta_->setMinimumWidth(80);
    lblRuta_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lblLista_ = etiqueta(QStringLiteral("lblLista"), EstadoVentana::kPrefijoLista, Frame2_);
    lblLista_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    lblLista_->setMinimumWidth(80);
    lblRecuperacion_ = etiqueta(QStringLiteral("lblRecuperacion"), QString(), central);
    lblRecuperacion_->setWordWrap(true);
    {
        QFont f = lblRecuperacion_->font();
        f.setBold(true);
        lblRecuperacion_->setFont(f);
    }
    lblRecuperacion_->hide();
    lblCarga_ = etiqueta(QStringLiteral("lblCarga"), QString(), Frame2_);
    lblCarga_->setStyleSheet(QStringLiteral("color: #b00000; font-weight: bold;"));
    lblCarga_->hide();

    cmdCargar_ = boton(QStringLiteral("cmdCargar"), QStringLiteral("&Cargar"), central);
    cmdManual_ = boton(QStringLiteral("cmdManual"), QStringLiteral("Carga &Manual"), central);
    cmdExaminar_ = boton(QStringLiteral("cmdExaminar"), QStringLiteral("Examinar"), central);
    CmdBuscar_ = boton(QStringLiteral("CmdBuscar"), QStringLiteral("&Buscar Novedades"), central);
    cmdExportar_ = boton(QStringLiteral("cmdExportar"), QStringLiteral("&Generar"), central);

    CmdEtiquetas_ = new QToolButton(Frame2_);
    CmdEtiquetas_->setObjectName(QStringLiteral("CmdEtiquetas"));
    CmdEtiquetas_->setToolTip(QStringLiteral("Etiquetas"));
    CmdEtiquetas_->setIcon(
        QIcon::fromTheme(QStringLiteral("document-print"),
                         style()->standardIcon(QStyle::SP_FileDialogDetailedView)));
    CmdEtiquetas_->setIconSize(QSize(24, 24));
    CmdEtiquetas_->setAutoRaise(false);
    // A tool button draws no focus frame of its own under every style.
    CmdEtiquetas_->setStyleSheet(
        QStringLiteral("QToolButton#CmdEtiquetas:focus { border: 2px solid palette(highlight); }"));

    frmManual_ = new QGroupBox(QStringLiteral(" Ingrese el Rango"), central);
    frmManual_->setObjectName(QStringLiteral("frmManual"));
    CmbTipo_ = new QComboBox(frmManual_);
    CmbTipo_->setObjectName(QStringLiteral("CmbTipo"));
    CmbTipo_->addItems({QStringLiteral("Articulo"), QStringLiteral("Familia")});
    chkNoMarcar_ = new QCheckBox(QStringLiteral("Cambia el estado de novedad"), frmManual_);
    chkNoMarcar_->setObjectName(QStringLiteral("chkNoMarcar"));
    cmdMAceptar_ = boton(QStringLiteral("cmdMAceptar"), QStringLiteral("Aceptar"), frmManual_);
    cmdMCancelar_ = boton(QStringLiteral("cmdMCancelar"), QStringLiteral("X"), frmManual_);
    cmdMCancelar_->setMaximumWidth(cmdMCancelar_->fontMetrics().horizontalAdvance('X') * 4 + 12);
    for (int i = 3; i < txtfields_.size(); ++i) {
        txtfields_[i]->setParent(frmManual_);
    }

    MSFlexGrid1_ = new QTableView(central);
    MSFlexGrid1_->setObjectName(QStringLiteral("MSFlexGrid1"));
    MSFlexGrid1_->setVerticalHeader(new EncabezadoFilas(MSFlexGrid1_));
    MSFlexGrid1_->setModel(modelo_);
    MSFlexGrid1_->setItemDelegate(new DelegadoCelda(MSFlexGrid1_));
    // Fixed-width cells line up as they do in the change file.
    QFont fija = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    if (!QFontInfo(fija).fixedPitch()) {
        fija = QFont(QStringLiteral("DejaVu Sans Mono"));
        fija.setStyleHint(QFont::TypeWriter);
    }
    fija.setFixedPitch(true);
    MSFlexGrid1_->setFont(fija);
    MSFlexGrid1_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Tab leaves the grid for the next control instead of walking its cells.
    MSFlexGrid1_->setTabKeyNavigation(false);
    MSFlexGrid1_->setSelectionBehavior(QAbstractItemView::SelectRows);
    MSFlexGrid1_->setWordWrap(false);
    // Sizes that never depend on the rows: a batch of any length scrolls alike.
    MSFlexGrid1_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    MSFlexGrid1_->verticalHeader()->setDefaultSectionSize(
        QFontMetrics(MSFlexGrid1_->font()).height() + 4);
    MSFlexGrid1_->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    MSFlexGrid1_->horizontalHeader()->setHighlightSections(false);
    // Headers wider than their one-character cells set the column's width:
    // a smaller type lets every visible column fit a 1280-pixel screen.
    QFont titulos = MSFlexGrid1_->horizontalHeader()->font();
    titulos.setPointSizeF(titulos.pointSizeF() * 0.85);
    MSFlexGrid1_->horizontalHeader()->setFont(titulos);

    // The current row's reasons (an alert, a record out of the layout, a row
    // left out), where the keyboard reaches them: hovering is not needed.
    lblMotivo_ = etiqueta(QStringLiteral("lblMotivo"), QString(), central);
    lblMotivo_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    lblMotivo_->setTextInteractionFlags(Qt::TextSelectableByMouse);

    PBar_ = new QProgressBar(central);
    PBar_->setObjectName(QStringLiteral("PBar"));
    PBar_->setTextVisible(false);
    PBar_->setRange(0, 100);
    PBar_->setValue(0);
}

void FrmTarvelo::armaDisposicion() {
    QWidget* central = centralWidget();
    auto* capa = new QVBoxLayout(central);
    capa->setContentsMargins(6, 0, 6, 6);
    capa->setSpacing(6);
    capa->addWidget(UtilLin1_);

    // Header frame: the three fields under their labels' left column.
    auto* cabecera = new QGridLayout(Frame1_);
    cabecera->setContentsMargins(6, 4, 6, 4);
    cabecera->setVerticalSpacing(2);
    const QStringList titulos = {QStringLiteral("Código:"), QStringLiteral("Fecha:"),
                                 QStringLiteral("Lista:")};
    for (int i = 0; i < 3; ++i) {
        auto* l = etiqueta(QStringLiteral("Label%1").arg(i + 1), titulos[i], Frame1_);
        l->setBuddy(txtfields_[i]);
        txtfields_[i]->setParent(Frame1_);
        const int ancho =
            txtfields_[i]->fontMetrics().horizontalAdvance(QLatin1Char('0')) * (i == 0   ? 8
                                                                                : i == 1 ? 10
                                                                                         : 5) +
            16;
        txtfields_[i]->setFixedWidth(ancho);
        cabecera->addWidget(l, i, 0);
        cabecera->addWidget(txtfields_[i], i, 1);
    }

    // Path frame: the output path and the list's name.
    auto* ruta = new QGridLayout(Frame2_);
    ruta->setContentsMargins(6, 4, 6, 4);
    ruta->addWidget(
        etiqueta(QStringLiteral("Label4"), QStringLiteral("Ubicación del Archivo:"), Frame2_), 0,
        0);
    ruta->addWidget(lblRuta_, 1, 0);
    ruta->addWidget(lblLista_, 2, 0);
    ruta->addWidget(lblCarga_, 3, 0);
    ruta->addWidget(CmdEtiquetas_, 0, 1, 4, 1, Qt::AlignRight | Qt::AlignVCenter);
    ruta->setColumnStretch(0, 1);

    // The five buttons in one row at the right, "&Cargar" first.
    auto* botones = new QHBoxLayout;
    botones->setSpacing(4);
    for (QPushButton* b : {cmdCargar_, cmdManual_, cmdExaminar_, CmdBuscar_, cmdExportar_}) {
        botones->addWidget(b);
    }

    auto* superior = new QHBoxLayout;
    superior->addWidget(Frame1_, 0);
    superior->addWidget(Frame2_, 1);
    superior->addLayout(botones, 0);
    superior->setAlignment(botones, Qt::AlignRight | Qt::AlignTop);
    capa->addLayout(superior);

    // Range frame: kind, no-mark box, from, kind of change, to, and its buttons.
    auto* rango = new QHBoxLayout(frmManual_);
    rango->setContentsMargins(6, 4, 6, 4);
    rango->addWidget(CmbTipo_);
    rango->addWidget(chkNoMarcar_);
    const auto agrega = [&](const QString& titulo, QLineEdit* e, int caracteres) {
        auto* l = new QLabel(titulo, frmManual_);
        l->setBuddy(e);
        rango->addWidget(l);
        e->setMinimumWidth(e->fontMetrics().horizontalAdvance(QLatin1Char('0')) * caracteres + 12);
        rango->addWidget(e, caracteres);
    };
    // On screen in the order the keys go: from, to, then the kind of change.
    agrega(QStringLiteral("Desde:"), txtfields_[3], 10);
    agrega(QStringLiteral("Hasta:"), txtfields_[5], 10);
    agrega(QStringLiteral("TipoMov."), txtfields_[4], 3);
    rango->addWidget(cmdMAceptar_);
    rango->addWidget(cmdMCancelar_);
    capa->addWidget(frmManual_);
    frmManual_->hide();

    capa->addWidget(lblRecuperacion_);
    capa->addWidget(MSFlexGrid1_, 1);
    capa->addWidget(lblMotivo_);
    capa->addWidget(PBar_);

    // The tab order of the fields' table, then the buttons and the grid.
    QList<QWidget*> orden = {
        txtfields_[0], txtfields_[1], txtfields_[2], cmdCargar_,    cmdManual_,   cmdExaminar_,
        CmdBuscar_,    cmdExportar_,  CmdEtiquetas_, CmbTipo_,      chkNoMarcar_, txtfields_[3],
        txtfields_[5], txtfields_[4], cmdMAceptar_,  cmdMCancelar_, MSFlexGrid1_};
    for (int i = 0; i + 1 < orden.size(); ++i) {
        setTabOrder(orden[i], orden[i + 1]);
    }
    CmdEtiquetas_->setFocusPolicy(Qt::StrongFocus);
    // Every visible column of the grid at once on a 1280 x 800 screen.
    resize(1280, 740);
}

void FrmTarvelo::conecta() {
    EstadoVentana& v = lote_.ventana();
    for (int i = 0; i < txtfields_.size(); ++i) {
        connect(txtfields_[i], &QLineEdit::textChanged, this, [&v, i](const QString& t) {
            v.campos[i] = t;
            v.avisa();
        });
    }
    connect(CmbTipo_, &QComboBox::currentTextChanged, this, [&v](const QString& t) {
        v.tipoRango = t;
        v.avisa();
    });
    connect(chkNoMarcar_, &QCheckBox::toggled, this, [&v](bool b) {
        v.rangoSinMarcar = b;
        v.avisa();
    });
    campos_->alAceptar = [this](int indice) { return aceptaCampo(indice); };
    campos_->alSalir = [this](int indice) { return aceptaAlSalir(indice); };
    campos_->alEnfocar = [this](int indice) {
        lote_.ventana().fijaConsultaPorFoco(!campos_->Consulta(indice).isEmpty());
        lote_.ventana().avisa();
    };
    connect(cmdExaminar_, &QPushButton::clicked, this, &FrmTarvelo::cmdExaminar_Click);
    connect(CmdBuscar_, &QPushButton::clicked, this, &FrmTarvelo::CmdBuscar_Click);
    connect(cmdCargar_, &QPushButton::clicked, this, &FrmTarvelo::cmdCargar_Click);
    connect(cmdManual_, &QPushButton::clicked, this, &FrmTarvelo::cmdManual_Click);
    connect(cmdMAceptar_, &QPushButton::clicked, this, &FrmTarvelo::cmdMAceptar_Click);
    connect(cmdMCancelar_, &QPushButton::clicked, this, &FrmTarvelo::cmdMCancelar_Click);
    connect(cmdExportar_, &QPushButton::clicked, this, &FrmTarvelo::cmdExportar_Click);
    connect(CmdEtiquetas_, &QToolButton::clicked, this, &FrmTarvelo::CmdEtiquetas_Click);
    connect(modelo_, &ModeloGrilla::columnasCambiadas, this, &FrmTarvelo::ajustaColumnas);
    connect(MSFlexGrid1_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this] { muestraMotivo(); });
    connect(modelo_, &QAbstractItemModel::modelReset, this, [this] { muestraFilaActual(); });
    connect(modelo_, &QAbstractItemModel::rowsInserted, this, [this] { muestraFilaActual(); });
    // The window hears every key before its controls: the toolbar's keys.
    UtilLin1_->AtiendeTeclasDe(this);
    connect(UtilLin1_, &UtilLin::Click, this, &FrmTarvelo::UtilLin1_Click);
}

void FrmTarvelo::muestraEstado(unsigned areas) {
    const EstadoVentana& v = lote_.ventana();
    if (areas & EstadoVentana::Campos) {
        for (int i = 0; i < txtfields_.size(); ++i) {
            if (txtfields_[i]->text() != v.campos.value(i)) {
                txtfields_[i]->setText(v.campos.value(i));
            }
        }
    }
    if (areas & EstadoVentana::Habilitacion) {
        for (int i = 0; i < txtfields_.size(); ++i) {
            txtfields_[i]->setEnabled(v.campoHabilitado(i));
        }
        using C = ControlVentana;
        cmdExaminar_->setEnabled(v.habilitado(C::Examinar));
        CmdBuscar_->setEnabled(v.habilitado(C::Buscar));
        cmdManual_->setEnabled(v.habilitado(C::Manual));
        cmdCargar_->setEnabled(v.habilitado(C::Cargar));
        cmdExportar_->setEnabled(v.habilitado(C::Generar));
        CmdEtiquetas_->setEnabled(v.habilitado(C::Etiquetas));
        const std::pair<ComandoUtilLin, C> comandos[] = {
            {ComandoUtilLin::Nuevo, C::Nuevo},       {ComandoUtilLin::Borrar, C::Borrar},
            {ComandoUtilLin::Reporte, C::Reporte},   {ComandoUtilLin::Consultar, C::Consultar},
            {ComandoUtilLin::Planilla, C::Planilla}, {ComandoUtilLin::Cancelar, C::Cancelar},
            {ComandoUtilLin::Grabar, C::Grabar},     {ComandoUtilLin::Cerrar, C::Cerrar},
        };
        for (const auto& [comando, control] : comandos) {
            UtilLin1_->fijaHabilitado(comando, v.habilitado(control));
        }
    }
    if (areas & EstadoVentana::Etiquetas) {
        lblLista_->setText(v.textoLista);
        lblRuta_->setText(v.textoRuta);
        lblRuta_->setToolTip(v.ayudaRuta);
        lblRecuperacion_->setText(v.textoRecuperacion);
        lblRecuperacion_->setVisible(!v.textoRecuperacion.isEmpty());
        lblCarga_->setText(v.cargaIncompleta);
        lblCarga_->setVisible(!v.cargaIncompleta.isEmpty());
    }
    if (areas & EstadoVentana::RangoManual) {
        frmManual_->setVisible(v.rangoVisible);
        if (CmbTipo_->currentText() != v.tipoRango) {
            CmbTipo_->setCurrentText(v.tipoRango);
        }
        chkNoMarcar_->setChecked(v.rangoSinMarcar);
    }
    if (areas & EstadoVentana::Progreso) {
        PBar_->setRange(v.progresoMin, std::max(v.progresoMin + 1, v.progresoMax));
        PBar_->setValue(v.progresoValor);
    }
}

void FrmTarvelo::ajustaColumnas() {
    const GrillaLote& g = lote_.ventana().grilla;
    const QFontMetrics fm(MSFlexGrid1_->font());
    const QFontMetrics fh(MSFlexGrid1_->horizontalHeader()->font());
    for (int c = 0; c < g.Cols(); ++c) {
        if (g.ColWidth(c) == 0 || c >= FilaNovedad::Columnas || kAnchoCeldas[c] == 0) {
            MSFlexGrid1_->setColumnHidden(c, g.ColWidth(c) == 0 || c >= FilaNovedad::Columnas);
            continue;
        }
        MSFlexGrid1_->setColumnHidden(c, false);
        const int celdas = fm.horizontalAdvance(QString(kAnchoCeldas[c], QLatin1Char('0')));
        const int encabezado = g.Rows() > 0 ? fh.horizontalAdvance(g.Texto(0, c)) : 0;
        MSFlexGrid1_->setColumnWidth(c, std::max(celdas, encabezado) + 10);
    }
}

void FrmTarvelo::muestraFilaActual() {
    // The grid always has a current cell once it has a row: the focus that
    // lands on it is seen, and the first Down goes to the second row.
    const QModelIndex actual = MSFlexGrid1_->currentIndex();
    if (!actual.isValid() && modelo_->rowCount() > 0) {
        int columna = 0;
        while (columna < modelo_->columnCount() && MSFlexGrid1_->isColumnHidden(columna)) {
            ++columna;
        }
        MSFlexGrid1_->selectionModel()->setCurrentIndex(
            modelo_->index(0, std::min(columna, modelo_->columnCount() - 1)),
            QItemSelectionModel::NoUpdate);
    }
    muestraMotivo();
}

void FrmTarvelo::muestraMotivo() {
    const QModelIndex actual = MSFlexGrid1_->currentIndex();
    const GrillaLote& g = lote_.ventana().grilla;
    const QString motivos = actual.isValid() ? g.Motivos(actual.row() + 1) : QString();
    lblMotivo_->setText(motivos.isEmpty() ? QString()
                                          : QStringLiteral("Fila %1: %2")
                                                .arg(actual.row() + 1)
                                                .arg(QString(motivos).replace(
                                                    QLatin1Char('\n'), QStringLiteral("; "))));
}

void FrmTarvelo::enfoca(QLineEdit* campo, bool todo) {
    if (campo && ocupado()) {
        // Disabled until the command ends: the focus goes there then.
        focoPedido_ = campo;
        if (todo) {
            campo->setSelection(0, int(campo->text().size()));
        }
        return;
    }
    if (!campo || !campo->isEnabled()) {
        return;
    }
    campo->setFocus(Qt::OtherFocusReason);
    if (todo) {
        campo->setSelection(0, int(campo->text().size()));
    }
}

class FrmTarvelo::Ocupacion {
public:
    explicit Ocupacion(FrmTarvelo& v) : v_(v) {
        if (v_.ocupado_++ > 0) {
            return;
        }
        foco_ = QApplication::focusWidget();
        v_.lote_.ventana().fijaOcupado(true);
        v_.lote_.ventana().avisa();
        // Esc belongs to the banner while the command runs.
        qApp->installEventFilter(&v_);
    }
    ~Ocupacion() {
        if (--v_.ocupado_ > 0) {
            return;
        }
        qApp->removeEventFilter(&v_);
        v_.lote_.ventana().fijaOcupado(false);
        v_.lote_.ventana().avisa();
        // Where the command asked for the focus, or where it was before.
        QWidget* pedido = v_.focoPedido_;
        v_.focoPedido_ = nullptr;
        if (pedido && pedido->isEnabled() && pedido->isVisible()) {
            pedido->setFocus(Qt::OtherFocusReason);
        } else if (foco_ && foco_->isEnabled() && foco_->isVisible()) {
            foco_->setFocus(Qt::OtherFocusReason);
        } else {
            v_.focoPorDefecto();
        }
    }
    Ocupacion(const Ocupacion&) = delete;
    Ocupacion& operator=(const Ocupacion&) = delete;

private:
    FrmTarvelo& v_;
    QPointer<QWidget> foco_;
};

void FrmTarvelo::correSolo(const QString& rutina, const std::function<void()>& trabajo) {
    if (ocupado()) {
        return;
    }
    const Ocupacion ocupacion(*this);
    corre(rutina, trabajo);
}

void FrmTarvelo::focoPorDefecto() {
    for (QWidget* w : std::initializer_list<QWidget*>{txtfields_[0], cmdExportar_, cmdCargar_}) {
        if (w->isEnabled() && w->isVisible()) {
            w->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
    MSFlexGrid1_->setFocus(Qt::OtherFocusReason);
}

void FrmTarvelo::corre(const QString& rutina, const std::function<void()>& trabajo) {
    const Pasos pasos(
        [&rutina](const ErrorKX& e) { return LoteNovedades::ReportaError(e, rutina); });
    pasos.paso(trabajo);
    modelo_->sincroniza();
    // Reasons may have come or gone with the command.
    muestraFilaActual();
    recuperaTeclado();
}

void FrmTarvelo::recuperaTeclado() {
    // The banner of a load is a window of its own: once it is gone the
    // keyboard comes back here, so the run can go on with keys alone.
    if (isVisible() && !isActiveWindow()) {
        activateWindow();
    }
}

void FrmTarvelo::Carga() {
    Skins::AplicaSkin(this);
    // A batch an earlier run committed and never published goes out first.
    const QStringList avisos = lote_.PublicaPendientes();
    if (!avisos.isEmpty()) {
        operador().MsgBox(avisos.join(QStringLiteral("\r\n")),
                          Operador::SoloAceptar | Operador::IconoExclamacion,
                          QStringLiteral("Aviso al operador..."));
    }
    InicializaFormulario();
}

void FrmTarvelo::InicializaFormulario() {
    lote_.InicializaFormulario();
    modelo_->sincroniza();
    // A new batch starts at its first row and first column.
    MSFlexGrid1_->scrollToTop();
    MSFlexGrid1_->horizontalScrollBar()->setValue(0);
    enfoca(txtfields_[0], false);
}

bool FrmTarvelo::aceptaCampo(int indice) {
    CampoValida(txtfields_.value(indice));
    return !validacionFallida_;
}

void FrmTarvelo::CampoValida(QLineEdit* campo) {
    validacionFallida_ = false;
    const int indice = int(txtfields_.indexOf(campo));
    if (indice < 0) {
        return;
    }
    lote_.ventana().campos[indice] = campo->text();
    if (!aceptaCambioDeCabecera(indice)) {
        validacionFallida_ = true;
        enfoca(campo, false);
        return;
    }
    // A code reloads a stored batch, with its banner: one command at a time.
    const Ocupacion ocupacion(*this);
    ValidaCampo valida(lote_);
    const ValidaCampo::Resultado r = valida.Valida(indice);
    modelo_->sincroniza();
    recuperaTeclado();
    switch (r) {
    case ValidaCampo::Resultado::Rechazado:
        validacionFallida_ = true;
        operador().MsgBox(valida.mensaje(), Operador::SoloAceptar | Operador::IconoInformacion,
                          QStringLiteral("Aviso al operador..."));
        enfoca(campo, false);
        break;
    case ValidaCampo::Resultado::CodigoNuevo:
        enfoca(txtfields_[1], false);
        break;
    case ValidaCampo::Resultado::Aceptado:
    case ValidaCampo::Resultado::LoteRecargado:
        break;
    }
}

bool FrmTarvelo::aceptaCambioDeCabecera(int indice) {
    EstadoVentana& v = lote_.ventana();
    const QString nombre = EstadoVentana::kCamposDeDatos.value(indice);
    // The code field is only open while nothing is loaded.
    if (!v.cabecera || nombre.compare(QLatin1String("Codigo"), Qt::CaseInsensitive) == 0 ||
        !CabeceraLote::EsDeCabecera(nombre) || v.cabecera->Coincide(nombre, v.campos[indice]) ||
        lote_.FilasSinGenerar() == 0) {
        return true;
    }
    if (lote_.ConfirmaDescartar()) {
        // Starting over under the new value.
        lote_.ArmaGrilla();
        modelo_->sincroniza();
        return true;
    }
    lote_.MuestraCabecera(*v.cabecera);
    return false;
}

void FrmTarvelo::ConsultaCampo() {
    const int indice = campos_->indiceActual();
    const QString tipo = campos_->Consulta(indice).toUpper();
    // A field the operator cannot see or use (the range frame closed) is no
    // longer the one a lookup is for.
    QLineEdit* destino = txtfields_.value(indice);
    if (tipo.isEmpty() || !destino || !destino->isVisible() || !destino->isEnabled()) {
        return;
    }
    EstadoVentana& v = lote_.ventana();
    QString valor;
    if (tipo == QLatin1String("FECHA")) {
        valor = QlUtil::EligeFecha();
    } else if (!consultas_) {
        return;
    } else if (tipo == QLatin1String("V_MA_PRECIOS")) {
        valor = consultas_->Consulta({tipo, lote_.repositorio().ConsultaListasDeVenta(),
                                      QStringLiteral("IDLISTA"), v.campos.value(indice)});
    } else if (tipo == QLatin1String("NOVEDADES")) {
        CmdBuscar_Click();
        return;
    } else if (tipo == QLatin1String("V_MA_ARTICULOS") &&
               v.tipoRango.compare(QLatin1String("Familia"), Qt::CaseInsensitive) == 0) {
        // A range of families is chosen among families, in their tree.
        valor =
            consultas_
                ->Consulta({QStringLiteral("V_TA_FAMILIAS"), lote_.repositorio().ConsultaFamilias(),
                            QStringLiteral("IDFAMILIA"), v.campos.value(indice), true})
                .trimmed();
    } else if (tipo == QLatin1String("V_MA_ARTICULOS")) {
        valor = consultas_
                    ->Consulta({tipo, QStringLiteral("V_MA_ARTICULOS"),
                                QStringLiteral("IDARTICULO"), v.campos.value(indice)})
                    .trimmed();
    } else {
        return;
    }
    // Leaving the lookup without a choice leaves the field as it was.
    if (valor.trimmed().isEmpty()) {
        return;
    }
    v.campos[indice] = valor;
    v.avisa();
    QLineEdit* campo = txtfields_[indice];
    if (campo->isEnabled()) {
        campo->setFocus(Qt::OtherFocusReason);
    }
    campos_->TeclaEnCampo(indice, 13, false);
}

void FrmTarvelo::UtilLin1_Click(const QString& boton) {
    const QString b = boton.toUpper();
    if (ocupado()) {
        return;
    }
    // Esc closes the innermost thing open: the range frame before the batch.
    if (b == QLatin1String("CANCELAR") && lote_.ventana().rangoVisible) {
        cierraRangoManual();
        return;
    }
    corre(QStringLiteral("UtilLin1_Click"), [&] {
        if (b == QLatin1String("NUEVO") || b == QLatin1String("CANCELAR")) {
            if (!lote_.ConfirmaDescartar()) {
                return;
            }
            InicializaFormulario();
            enfoca(txtfields_[0], true);
        } else if (b == QLatin1String("CONSULTAR")) {
            ConsultaCampo();
        } else if (b == QLatin1String("REPORTE")) {
            lote_.ImprimeTestigo(false);
        } else if (b == QLatin1String("CERRAR")) {
            close();
        }
    });
}

bool FrmTarvelo::eventFilter(QObject* objeto, QEvent* evento) {
    // Only while a command runs, and only for this window's keys: a question
    // asked meanwhile answers its own Esc.
    const bool tecla =
        evento->type() == QEvent::KeyPress || evento->type() == QEvent::ShortcutOverride;
    if (!ocupado() || !tecla || QApplication::activeModalWidget() != nullptr) {
        return QMainWindow::eventFilter(objeto, evento);
    }
    auto* k = static_cast<QKeyEvent*>(evento);
    auto* w = qobject_cast<QWidget*>(objeto);
    if (k->key() != Qt::Key_Escape || !w || w->window() != this) {
        return QMainWindow::eventFilter(objeto, evento);
    }
    if (evento->type() == QEvent::KeyPress && !k->isAutoRepeat()) {
        // The pending load offers no cancel: Esc then does nothing at all.
        lote_.cartel().PideCancelar();
    }
    k->accept();
    return true;
}

void FrmTarvelo::closeEvent(QCloseEvent* e) {
    // A command that runs finishes first; loaded rows are not dropped unasked.
    if (ocupado() || !lote_.ConfirmaDescartar()) {
        e->ignore();
        return;
    }
    hide();
    e->accept();
    Q_EMIT descargada();
}

void FrmTarvelo::cmdExaminar_Click() {
    corre(QStringLiteral("cmdExaminar_Click"), [&] {
        EstadoVentana& v = lote_.ventana();
        const QString actual =
            v.hayRuta() ? QFileInfo(ArchivosCambio::RutaLocal(v.textoRuta)).path() : QString();
        const QString elegida =
            operador().EligeCarpeta(QStringLiteral("Ubicación del Archivo"), actual);
        // Leaving the dialog without a choice keeps the path as it was.
        if (elegida.trimmed().isEmpty()) {
            return;
        }
        v.fijaRuta(LoteNovedades::RutaDeCarpeta(elegida));
        v.avisa();
    });
}

void FrmTarvelo::CmdBuscar_Click() {
    if (!consultas_) {
        return;
    }
    corre(QStringLiteral("CmdBuscar_Click"), [&] {
        const QString sql = lote_.repositorio().ConsultaListasConNovedades(Reloj::hoy());
        const int indice = campos_->IndiceCampo(QStringLiteral("IdLista"));
        EstadoVentana& v = lote_.ventana();
        const QString valor = consultas_->Consulta(
            {QStringLiteral("NOVEDADES"), sql, QStringLiteral("IDLISTA"), v.campos.value(indice)});
        if (valor.trimmed().isEmpty()) {
            return;
        }
        v.campos[indice] = valor;
        v.avisa();
        campos_->fijaActual(indice);
        if (txtfields_[indice]->isEnabled()) {
            txtfields_[indice]->setFocus(Qt::OtherFocusReason);
        }
        campos_->TeclaEnCampo(indice, 13, false);
    });
}

void FrmTarvelo::cmdCargar_Click() {
    if (ocupado() || !lote_.ConfirmaDescartar()) {
        return;
    }
    correSolo(QStringLiteral("cmdCargar_Click"), [&] { enfocaRechazado(lote_.Carga()); });
}

void FrmTarvelo::enfocaRechazado(const ResultadoCarga& r) {
    // A header field the load refused is where the operator goes on.
    if (r.estado == ResultadoCarga::Estado::Rechazado && !r.campo.isEmpty()) {
        const int indice = campos_->IndiceCampo(r.campo);
        if (QLineEdit* campo = txtfields_.value(indice)) {
            enfoca(campo, true);
        }
    }
}

bool FrmTarvelo::confirmaCabeceraCambiada() {
    // A header field edited after a load and left without Enter is
    // accepted now, as Enter would: a range never goes under a header the
    // fields do not show.
    const EstadoVentana& v = lote_.ventana();
    for (const char* nombre : {"Fecha", "IdLista"}) {
        const int indice = campos_->IndiceCampo(QLatin1String(nombre));
        if (v.cabecera && lote_.FilasSinGenerar() > 0 &&
            !v.cabecera->Coincide(QLatin1String(nombre), v.campos.value(indice))) {
            CampoValida(txtfields_[indice]);
            if (validacionFallida_) {
                return false;
            }
        }
    }
    return true;
}

bool FrmTarvelo::aceptaAlSalir(int indice) {
    // Tab and Shift+Tab accept a header field as Enter does when it holds a
    // new value; an empty one is left as it is (the load says what it lacks).
    const QString nombre = EstadoVentana::kCamposDeDatos.value(indice);
    const EstadoVentana& v = lote_.ventana();
    const QString texto = v.campos.value(indice).trimmed();
    if (texto.isEmpty()) {
        return true;
    }
    if (nombre == QLatin1String("IdLista")) {
        if (v.lista() && v.lista()->codigo.compare(texto, Qt::CaseInsensitive) == 0 &&
            (!v.cabecera || v.cabecera->Coincide(nombre, texto))) {
            return true;
        }
    } else if (nombre != QLatin1String("Fecha")) {
        return true;
    }
    CampoValida(txtfields_[indice]);
    return !validacionFallida_;
}

void FrmTarvelo::cmdManual_Click() {
    corre(QStringLiteral("cmdManual_Click"), [&] {
        lote_.AbreRangoManual();
        enfoca(txtfields_[3], false);
    });
}

void FrmTarvelo::cmdMAceptar_Click() {
    if (ocupado() || !confirmaCabeceraCambiada()) {
        return;
    }
    correSolo(QStringLiteral("cmdMAceptar_Click"), [&] {
        const ResultadoCarga r = lote_.AceptaRangoManual();
        if (r.estado == ResultadoCarga::Estado::Rechazado && !r.campo.isEmpty()) {
            enfocaRechazado(r);
            return;
        }
        // The range frame is gone: the next range is one key away.
        focoPedido_ = cmdManual_;
    });
}

void FrmTarvelo::cmdMCancelar_Click() {
    cierraRangoManual();
}

void FrmTarvelo::cierraRangoManual() {
    corre(QStringLiteral("cmdMCancelar_Click"), [&] {
        lote_.CierraRangoManual();
        // Its fields are gone: CONSULTAR has nothing to look up.
        lote_.ventana().fijaConsultaPorFoco(false);
        lote_.ventana().avisa();
    });
    if (cmdManual_->isEnabled()) {
        cmdManual_->setFocus(Qt::OtherFocusReason);
    }
}

void FrmTarvelo::cmdExportar_Click() {
    correSolo(QStringLiteral("cmdExportar_Click"), [&] {
        const ResultadoGeneracion r = lote_.Genera();
        if (r.estado == ResultadoGeneracion::Estado::Generado ||
            r.estado == ResultadoGeneracion::Estado::Regenerado) {
            enfoca(txtfields_[0], false);
        }
    });
}

void FrmTarvelo::CmdEtiquetas_Click() {
    correSolo(QStringLiteral("CmdEtiquetas_Click"), [&] { lote_.ImprimeTestigo(true); });
}
