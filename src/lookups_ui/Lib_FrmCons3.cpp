#include "lookups_ui/Lib_FrmCons3.h"

#include "db/DB_Dll.h"
#include "db/TextoSql.h"
#include "lookups/AnchosConsultas.h"
#include "lookups/FiltroConsulta.h"
#include "lookups_ui/DelegadoFilasConsulta.h"
#include "lookups_ui/ModeloFilasConsulta.h"
#include "runtime/Configuracion.h"
#include "runtime/ErroresOperador.h"
#include "runtime/MenuExes.h"
#include "utility_library/CarpetasPrograma.h"
#include "utility_library/Operador.h"
#include "utility_library/Pasos.h"
#include "utility_library/Programa.h"
#include "utility_library/QlTexto.h"
#include "utility_library/Regional.h"
#include "utility_library/Reloj.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTableView>
#include <QVBoxLayout>
#include <memory>

namespace {
const char* const kAyudaBusqueda = "F5 realiza nueva busqueda";
// &HFFFF00 in the suite's BGR order, white otherwise.
const char* const kConFoco = "QLineEdit { background: #00FFFF; }";
const char* const kSinFoco = "QLineEdit { background: #FFFFFF; }";

Pasos pasosDe(const char* rutina) {
    return Pasos([rutina](const ErrorKX& e) {
        return ModGlobal::MuestraErrorOperador(e, Operador::ErrorConReintento,
                                               QString::fromLatin1(rutina));
    });
}
} // namespace

DB_Dll& Lib_FrmCons3::segundaBase() {
    static std::unique_ptr<DB_Dll> segunda;
    if (!segunda) {
        segunda = std::make_unique<DB_Dll>();
    }
    DB_Dll& s = *segunda;
    if (!s.gOpenFlag) {
        // Nothing else connects it: it shares the main connection.
        s.gCnn = DB_Dll::instancia().gCnn;
        s.gOpenFlag = DB_Dll::instancia().gOpenFlag;
        s.gPlataforma = DB_Dll::instancia().gPlataforma;
        s.gUsuario = DB_Dll::instancia().gUsuario;
    }
    return s;
}

Lib_FrmCons3::Lib_FrmCons3(QWidget* padre) : QDialog(padre) {
    setWindowTitle(QStringLiteral("Consulta..."));
    creaControles();
}

Lib_FrmCons3::~Lib_FrmCons3() = default;

void Lib_FrmCons3::creaControles() {
    Label1 = new QLabel(QStringLiteral("CONSULTA"), this);
    picFields = new QWidget(this);
    franjaBusqueda = new QWidget(picFields);
    ListView1 = new QTableView(picFields);
    modelo_ = new ModeloFilasConsulta(filas_, this);
    ListView1->setModel(modelo_);
    ListView1->setItemDelegate(new DelegadoFilasConsulta(*modelo_, ListView1));
    ListView1->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListView1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListView1->setEditTriggers(QAbstractItemView::NoEditTriggers); // labels never edited
    ListView1->verticalHeader()->hide();
    ListView1->verticalHeader()->setDefaultSectionSize(ListView1->fontMetrics().height() + 6);
    ListView1->setWordWrap(false);
    ListView1->setShowGrid(false);
    ListView1->horizontalHeader()->setSectionsClickable(true);
    ListView1->installEventFilter(this);
    QFont letra = ListView1->font();
    letra.setBold(true);
    letra.setPointSize(10);
    ListView1->setFont(letra);
    creaCaja(0);

    auto* capaPanel = new QVBoxLayout(picFields);
    capaPanel->setContentsMargins(0, 0, 0, 0);
    capaPanel->setSpacing(0);
    capaPanel->addWidget(franjaBusqueda);
    capaPanel->addWidget(ListView1, 1);

    CmdAceptar = new QPushButton(QStringLiteral("&Aceptar"), this);
    CmdCancelar = new QPushButton(QStringLiteral("&Cancelar"), this);
    CmdNueva = new QPushButton(QStringLiteral("&Nueva Busqueda"), this);
    CmdNuevo = new QPushButton(QStringLiteral("N&uevo"), this);
    CmdTodos = new QPushButton(QStringLiteral("&Marcar"), this);
    for (QPushButton* b : {CmdAceptar, CmdCancelar, CmdNueva, CmdNuevo, CmdTodos}) {
        b->setAutoDefault(false);
    }
    auto* Frame1 = new QHBoxLayout;
    Frame1->addWidget(CmdAceptar);
    Frame1->addWidget(CmdTodos);
    Frame1->addStretch(1);
    Frame1->addWidget(CmdCancelar);
    Frame1->addStretch(1);
    Frame1->addWidget(CmdNuevo);
    Frame1->addWidget(CmdNueva);
    auto* arriba = new QHBoxLayout;
    arriba->addWidget(Label1, 1);
    auto* capa = new QVBoxLayout(this);
    capa->addLayout(arriba);
    capa->addWidget(picFields, 1);
    capa->addLayout(Frame1);

    connect(CmdAceptar, &QPushButton::clicked, this, [this] { CmdAceptar_Click(); });
    connect(CmdCancelar, &QPushButton::clicked, this, [this] { CmdCancelar_Click(); });
    connect(CmdNueva, &QPushButton::clicked, this, [this] { CmdNueva_Click(); });
    connect(CmdNuevo, &QPushButton::clicked, this, [this] { CmdNuevo_Click(); });
    connect(CmdTodos, &QPushButton::clicked, this, [this] { CmdTodos_Click(); });
    connect(ListView1, &QTableView::doubleClicked, this, [this] { CmdAceptar_Click(); });
    connect(ListView1->horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int c) {
        Intenta([&] {
            modelo_->sort(c, ordenAscendente_ ? Qt::AscendingOrder : Qt::DescendingOrder);
            ordenAscendente_ = !ordenAscendente_;
            ultimaCaja_ = -1;
        });
    });
    connect(ListView1->horizontalHeader(), &QHeaderView::sectionResized, this,
            [this] { ubicaCajas(); });
    connect(ListView1->horizontalScrollBar(), &QScrollBar::valueChanged, this,
            [this] { ubicaCajas(); });
}

QLineEdit* Lib_FrmCons3::creaCaja(int i) {
    while (CmbSearch.size() <= i) {
        auto* caja = new QLineEdit(franjaBusqueda);
        const int k = int(CmbSearch.size());
        caja->setToolTip(QString::fromLatin1(kAyudaBusqueda));
        caja->setStyleSheet(QString::fromLatin1(kSinFoco));
        caja->installEventFilter(this);
        connect(caja, &QLineEdit::textChanged, this,
                [this, k](const QString& t) { busquedaIncremental(k, t); });
        CmbSearch.append(caja);
        franjaBusqueda->setFixedHeight(caja->sizeHint().height());
        if (k > 0) {
            setTabOrder(CmbSearch[k - 1], caja);
        }
    }
    return CmbSearch[i];
}

QLineEdit* Lib_FrmCons3::cajaBusqueda(int i) const {
    return i >= 0 && i < CmbSearch.size() ? CmbSearch[i] : nullptr;
}

QPushButton* Lib_FrmCons3::boton(const QString& texto) const {
    for (QPushButton* b : {CmdAceptar, CmdCancelar, CmdNueva, CmdNuevo, CmdTodos}) {
        if (b->text() == texto) {
            return b;
        }
    }
    return nullptr;
}

int Lib_FrmCons3::anchoPixeles(int twips) const {
    return qRound(twips * logicalDpiX() / 1440.0);
}

int Lib_FrmCons3::twipsDe(int pixeles) const {
    return qRound(pixeles * 1440.0 / logicalDpiX());
}

void Lib_FrmCons3::Load() {
    Pasos pasos = pasosDe("FORM_LOAD");
    DB_Dll& db = UsarUDBC ? segundaBase() : DB_Dll::instancia();
    bool vacia = false;
    // Each step alone: the operator may retry it, skip it or leave.
    pasos.pasos({
        [&] {
            EsArticulos = SQL.contains(QLatin1String("articulos"), Qt::CaseInsensitive);
            Valores = QStringList();
            Cantidades = QStringList();
            filas_.limpiaFilas();
            modelo_->recarga();
            vacia = SQL.trimmed().isEmpty();
        },
        [&] {
            if (vacia) {
                return;
            }
            SQL += QLatin1Char(' ');
            TablaConsulta = AnchosConsultas::ClaveTabla(SQL);
            if (primeraCarga_) {
                SQLInicial = SQL;
                primeraCarga_ = false;
            }
            SQLBase = SQL;
        },
        [&] {
            if (!vacia) {
                rs_ = std::make_unique<Recordset>();
                QString s = SQL;
                db.AbrirRecordset(s, *rs_);
            }
        },
        [&] {
            if (!vacia && rs_ && rs_->abierto()) {
                modelo_->fijaMarcas(CheckBoxes);
                Encolumnar();
                Leer(1, 0);
            }
        },
        [&] {
            if (!vacia && OrdenarPorLwv) {
                modelo_->sort(0, Qt::AscendingOrder);
            }
        },
        [&] {
            if (!vacia && !FiltroInicial.trimmed().isEmpty()) {
                CmbSearch[0]->setText(FiltroInicial);
            }
        },
        [&] {
            if (!vacia && rs_) {
                db.CierraRecordset(*rs_);
                rs_.reset();
            }
        },
        [&] {
            if (!vacia) {
                CargaAnchos();
                CalcularAncho();
            }
        },
    });
    rs_.reset();
    ultimaCaja_ = -1;
    // The row of the value the caller's field holds is current, so Enter
    // at once gives that value back; else the first row: the first Down goes
    // to the second row, and Enter at once takes the first.
    const int inicial = filaDeValor(ValorInicial);
    if (inicial >= 0) {
        seleccionaFila(inicial);
    } else if (modelo_->rowCount() > 0 && !ListView1->selectionModel()->currentIndex().isValid()) {
        seleccionaFila(0);
    }
}

void Lib_FrmCons3::Encolumnar() {
    try {
        filas_.encolumnar(*rs_, SQL, ValoresDefault, [](int n) {
            return ModGlobal::Cfg(QStringLiteral("NOM_PCLASE") + QString::number(n));
        });
        for (int i = 0; i < filas_.columnas(); ++i) {
            QLineEdit* caja = creaCaja(i);
            caja->setProperty("campo", filas_.columna(i).campo); // the box's tag
            caja->show();
        }
        for (int i = filas_.columnas(); i < CmbSearch.size(); ++i) {
            CmbSearch[i]->hide();
        }
        modelo_->recarga();
        const QFontMetrics fm(ListView1->font());
        for (int i = 0; i < filas_.columnas(); ++i) {
            ListView1->setColumnWidth(
                i, fm.horizontalAdvance(QString(filas_.columna(i).caracteres, QLatin1Char('X'))));
        }
    } catch (const FalloKX& e) {
        operador().MsgBox(e.error().descripcion, Operador::SoloAceptar, QString());
    }
}

void Lib_FrmCons3::Leer(int Cdesde, int Cuantas) {
    Q_UNUSED(Cdesde);
    Q_UNUSED(Cuantas);
    FilasConsulta::Lectura l;
    l.esArticulos = EsArticulos;
    l.muestraStock = MuestraStock.compare(QLatin1String("SI"), Qt::CaseInsensitive) == 0;
    l.niveles[0] = StkNivel1;
    l.niveles[1] = StkNivel2;
    l.niveles[2] = StkNivel3;
    l.niveles[3] = StkNivel4;
    l.checkBoxes = CheckBoxes;
    l.campoDevuelto = CampoDevuelto;
    l.valoresDefault = ValoresDefault;
    filas_.leer(*rs_, l);
    modelo_->recarga();
    // Columns without a declared size measure their data.
    const QFontMetrics fm(ListView1->font());
    for (int i = 0; i < filas_.columnas(); ++i) {
        if (filas_.columna(i).anchoPorDatos) {
            ListView1->setColumnWidth(
                i, fm.horizontalAdvance(QString(filas_.columna(i).caracteres, QLatin1Char('X'))));
        }
    }
}

void Lib_FrmCons3::CalcularAncho() {
    Intenta([&] {
        int w = 0;
        for (int i = 0; i < filas_.columnas(); ++i) {
            w += ListView1->columnWidth(i);
        }
        ubicaCajas();
        const int ancho = w + ListView1->verticalScrollBar()->sizeHint().width() + 24;
        const QRect pantalla = screen() ? screen()->availableGeometry() : QRect(0, 0, 1280, 800);
        resize(ancho + 24 >= pantalla.width() ? pantalla.width() - 32 : std::max(ancho, 360),
               std::max(height(), 420));
    });
}

void Lib_FrmCons3::ubicaCajas() {
    Intenta([&] {
        QHeaderView* h = ListView1->horizontalHeader();
        const int margen = ListView1->frameWidth();
        for (int i = 0; i < filas_.columnas() && i < CmbSearch.size(); ++i) {
            CmbSearch[i]->setGeometry(margen + h->sectionViewportPosition(i), 0,
                                      std::max(h->sectionSize(i) - 3, 8), franjaBusqueda->height());
        }
    });
}

void Lib_FrmCons3::resizeEvent(QResizeEvent* e) {
    QDialog::resizeEvent(e);
    ubicaCajas();
}

void Lib_FrmCons3::CargaAnchos() {
    TablaConsulta = AnchosConsultas::ClaveAnchos(TablaConsulta);
    const QList<int> anchos =
        AnchosConsultas::CargaAnchos(CarpetasPrograma::escritura(), TablaConsulta);
    for (int i = 0; i < anchos.size() && i < filas_.columnas(); ++i) {
        ListView1->setColumnWidth(i, anchoPixeles(anchos[i]));
    }
}

void Lib_FrmCons3::GrabaAnchos() {
    QList<int> anchos;
    for (int i = 0; i < filas_.columnas(); ++i) {
        anchos.append(twipsDe(ListView1->columnWidth(i)));
    }
    if (!AnchosConsultas::GrabaAnchos(CarpetasPrograma::escritura(), TablaConsulta,
                                      anchos)) {
        throw FalloKX(75, QStringLiteral("No se pudo grabar ") +
                              AnchosConsultas::RutaAnchos(CarpetasPrograma::escritura()));
    }
}

void Lib_FrmCons3::Unload() {
    try {
        UsarUDBC = false;
        if (GrabarCfg && filas_.columnas() > 0) {
            GrabaAnchos();
        }
        filas_.limpiaFilas();
        modelo_->recarga();
    } catch (const FalloKX& e) {
        operador().MsgBox(e.error().descripcion, Operador::SoloAceptar | Operador::IconoCritico,
                          QStringLiteral("Aviso al Operador"));
    }
}

void Lib_FrmCons3::desmarcaTodo() {
    for (int f = 0; f < filas_.filas(); ++f) {
        filas_.marca(f, false);
    }
    modelo_->recarga();
}

int Lib_FrmCons3::Busqueda(int Clave, const QString& QueValor) const {
    return filas_.Busqueda(Clave, QueValor);
}

int Lib_FrmCons3::IndiceColumna(const QString& Columna) const {
    return filas_.IndiceColumna(Columna);
}

int Lib_FrmCons3::filaSeleccionada() const {
    const QModelIndexList s = ListView1->selectionModel()->selectedRows();
    return s.isEmpty() ? -1 : s.first().row();
}

int Lib_FrmCons3::filaDeValor(const QString& valor) const {
    const QString buscado = valor.trimmed();
    if (buscado.isEmpty() || CampoDevuelto.trimmed().isEmpty()) {
        return -1;
    }
    int col = -1;
    for (int c = 0; c < filas_.columnas() && col < 0; ++c) {
        if (filas_.columna(c).campo.trimmed().compare(CampoDevuelto.trimmed(),
                                                      Qt::CaseInsensitive) == 0) {
            col = c;
        }
    }
    if (col < 0) {
        return -1;
    }
    // The row as the model shows it (sorted or not).
    for (int f = 0; f < modelo_->rowCount(); ++f) {
        if (modelo_->index(f, col).data().toString().trimmed().compare(buscado,
                                                                       Qt::CaseInsensitive) == 0) {
            return f;
        }
    }
    return -1;
}

void Lib_FrmCons3::seleccionaFila(int fila) {
    const QModelIndex i = modelo_->index(fila, 0);
    ListView1->selectionModel()->setCurrentIndex(i, QItemSelectionModel::ClearAndSelect |
                                                        QItemSelectionModel::Rows);
    ListView1->scrollTo(i);
}

void Lib_FrmCons3::busquedaIncremental(int caja, const QString& texto) {
    Intenta([&] {
        const QString t = texto.trimmed();
        // A longer text can only match at or after the row the shorter one found.
        const int desde = caja == ultimaCaja_ && ultimaFila_ > 0 && !ultimoTexto_.isEmpty() &&
                                  t.startsWith(ultimoTexto_, Qt::CaseInsensitive)
                              ? ultimaFila_ - 1
                              : 0;
        const int fila = filas_.Busqueda(caja, t, desde);
        ultimaCaja_ = caja;
        ultimoTexto_ = t;
        ultimaFila_ = fila;
        if (fila > 0) {
            seleccionaFila(fila - 1);
        }
    });
}

void Lib_FrmCons3::nuevaBusqueda(int caja) {
    QLineEdit* c = CmbSearch[caja];
    const FiltroConsulta::Resultado r = FiltroConsulta::Lista(
        SQL, SQLBase, c->property("campo").toString(), c->text(), CfgUsaConsultaLIKE);
    SQLOrden = r.orden;
    SQL = r.sql;
    {
        const QSignalBlocker b(c);
        c->clear();
    }
    SQLBase = SQL;
    Load();
}

void Lib_FrmCons3::keyPressEvent(QKeyEvent* e) {
    // F12 anywhere in the window: only article lists answer it.
    if (e->key() == Qt::Key_F12 && EsArticulos) {
        informaFaltante();
        return;
    }
    QDialog::keyPressEvent(e);
}

bool Lib_FrmCons3::eventFilter(QObject* o, QEvent* e) {
    if (e->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(e)->key() == Qt::Key_F12 &&
        EsArticulos) {
        informaFaltante();
        return true;
    }
    const int caja = CmbSearch.indexOf(qobject_cast<QLineEdit*>(o));
    if (caja >= 0) {
        if (e->type() == QEvent::FocusIn) {
            IndiceBusqueda = caja;
            CmbSearch[caja]->setStyleSheet(QString::fromLatin1(kConFoco));
        } else if (e->type() == QEvent::FocusOut) {
            CmbSearch[caja]->setStyleSheet(QString::fromLatin1(kSinFoco));
        } else if (e->type() == QEvent::KeyPress) {
            auto* k = static_cast<QKeyEvent*>(e);
            switch (k->key()) {
            case Qt::Key_F5:
                nuevaBusqueda(caja);
                return true;
            case Qt::Key_Return:
            case Qt::Key_Enter:
                // The search has put a row under the cursor: Enter takes it,
                // as it does in the list.
                CmdAceptar_Click();
                return true;
            case Qt::Key_Down:
            case Qt::Key_Up:
            case Qt::Key_PageDown:
            case Qt::Key_PageUp:
                ListView1->setFocus();
                return true;
            default:
                break;
            }
        }
    } else if (o == ListView1 && e->type() == QEvent::KeyPress) {
        return teclaLista(static_cast<QKeyEvent*>(e));
    }
    return QDialog::eventFilter(o, e);
}

bool Lib_FrmCons3::teclaLista(QKeyEvent* k) {
    const int fila = filaSeleccionada();
    const bool shift = k->modifiers() & Qt::ShiftModifier;
    if (k->key() == Qt::Key_Space && CheckBoxes) {
        if (fila >= 0) {
            filas_.marca(fila, !filas_.marcada(fila));
            modelo_->filaCambiada(fila);
        }
        return true;
    }
    if (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) {
        CmdAceptar_Click();
        return true;
    }
    if (UsaCantidades && k->key() == Qt::Key_Insert) {
        cantidad(fila, shift ? 0 : 1);
        return true;
    }
    if (UsaCantidades && !shift && k->key() == Qt::Key_Delete) {
        cantidad(fila, -1);
        return true;
    }
    // Letters, digits, blank and backspace continue the search in the last box.
    const QString t = k->text();
    const bool escribe = k->key() == Qt::Key_Backspace ||
                         (!t.isEmpty() && t.at(0).isPrint() &&
                          !(k->modifiers() & (Qt::ControlModifier | Qt::AltModifier)));
    if (escribe) {
        QLineEdit* c = CmbSearch.value(IndiceBusqueda, CmbSearch[0]);
        c->setFocus();
        QKeyEvent copia(k->type(), k->key(), k->modifiers(), k->text());
        QCoreApplication::sendEvent(c, &copia);
        return true;
    }
    return false;
}

void Lib_FrmCons3::cantidad(int fila, int modo) {
    const int col =
        IndiceColumna(QStringLiteral("**") + QStringLiteral("Cantidad") + QStringLiteral("**"));
    if (fila < 0 || col <= 0) {
        return;
    }
    const double actual = QlUtil::TextoANumero(filas_.celda(fila, col - 1));
    QString nuevo;
    bool marca = true;
    if (modo == 0) {
        QString respuesta = QString::number(actual, 'f', 2);
        if (!operador().InputBox(QStringLiteral("Ingrese la Cantidad del Articulo..."),
                                 QStringLiteral("Carga de Datos"), respuesta)) {
            return; // given up: the row stays as it was
        }
        const double v = QlUtil::TextoANumero(respuesta);
        nuevo = QString::number(v, 'f', 2);
        marca = v > 0;
    } else {
        const double v = actual + modo;
        if (v <= 0) {
            nuevo = QStringLiteral("0.00");
            marca = false;
        } else {
            nuevo = QString::number(v, 'f', 1);
        }
    }
    filas_.fijaCelda(fila, col - 1, nuevo);
    filas_.marca(fila, marca);
    modelo_->filaCambiada(fila);
}

void Lib_FrmCons3::CmdAceptar_Click() {
    Pasos pasos = pasosDe("HScroll1_Change");
    pasos.pasos({
        [&] {
            if (CheckBoxes) {
                if (CampoDevuelto.isEmpty() && filas_.columnas() > 0) {
                    CampoDevuelto = filas_.columna(0).encabezado;
                }
                const int n = IndiceColumna(CampoDevuelto);
                if (!Valores) {
                    Valores = QStringList();
                }
                for (int f = 0; f < filas_.filas(); ++f) {
                    if (filas_.marcada(f)) {
                        Valores->append(n == 0 ? QString() : filas_.celda(f, n - 1));
                    }
                }
                return;
            }
            const int fila = filaSeleccionada();
            if (fila < 0) {
                return;
            }
            QString v;
            if (CmpsDevueltos) {
                if (!Valores) {
                    Valores = QStringList();
                }
                for (const QString& nombre : *CmpsDevueltos) {
                    const int c = IndiceColumna(nombre);
                    v = c == 0 ? QString() : filas_.celda(fila, c - 1);
                    Valores->append(v);
                }
            }
            if (!CampoDevuelto.trimmed().isEmpty()) {
                const int c = IndiceColumna(CampoDevuelto);
                v = c == 0 ? QString() : filas_.celda(fila, c - 1);
            }
            ValorDevuelto = v;
        },
        [&] { accept(); },
    });
}

void Lib_FrmCons3::CmdCancelar_Click() {
    ValorDevuelto = QString();
    CmpsDevueltos.reset();
    Valores.reset();
    QDialog::reject();
}

void Lib_FrmCons3::reject() {
    // Escape and the window's close box give up the lookup like "&Cancelar".
    CmdCancelar_Click();
}

void Lib_FrmCons3::CmdNueva_Click() {
    Intenta([&] {
        SQL = SQLInicial;
        Load();
        CmbSearch[0]->setFocus();
    });
}

void Lib_FrmCons3::CmdTodos_Click() {
    for (int f = 0; f < filas_.filas(); ++f) {
        filas_.marca(f, !filas_.marcada(f));
    }
    modelo_->recarga();
}

void Lib_FrmCons3::CmdNuevo_Click() {
    Intenta([&] {
        const QString t = TablaConsulta.trimmed();
        auto es = [&](const char* n) {
            return t.compare(QLatin1String(n), Qt::CaseInsensitive) == 0;
        };
        // The suite's maintenance program for the table; the list is not reloaded.
        QString comando = QStringLiteral("SHELL:V_TA_TABLAS"), parametro = TablaConsulta;
        if (es("VT_CLIENTES") || es("VT_PROVEEDORES")) {
            comando = QStringLiteral("SHELL:V_MA_CLIENTES");
            parametro = es("VT_CLIENTES") ? QStringLiteral("1") : QStringLiteral("0");
        } else if (es("V_TA_Tecnicos")) {
            comando = QStringLiteral("SHELL:V_TA_Tecnicos");
            parametro.clear();
        } else if (es("V_TA_VENDEDORES")) {
            comando = QStringLiteral("SHELL:V_TA_VENDEDORES");
            parametro.clear();
        } else if (es("V_MA_ARTICULOS") || es("VT_MA_ARTICULOS")) {
            comando = QStringLiteral("SHELL:V_MA_ARTICULOS");
            parametro.clear();
        }
        qint64 id = 0;
        MenuExes(comando, parametro, id);
    });
}

void Lib_FrmCons3::informaFaltante() {
    if (!EsArticulos) {
        return;
    }
    Intenta([&] {
        const int fila = filaSeleccionada();
        auto valor = [&](const char* encabezado) {
            const int c = IndiceColumna(QString::fromLatin1(encabezado));
            return fila < 0 || c == 0 ? QString() : filas_.celda(fila, c - 1);
        };
        const QString codigo = valor("idarticulo").trimmed();
        const QString descripcion = valor("Descripcion").trimmed();
        const int r = operador().MsgBox(
            QStringLiteral("Desea informar el articulo ") + codigo + QLatin1Char(' ') +
                descripcion + QStringLiteral("\r\n") + QStringLiteral("como un faltante de stock?"),
            Operador::SiNo | Operador::IconoPregunta, QString::fromUtf8("Atención!"));
        if (r != Operador::Si) {
            return;
        }
        DB_Dll& db = DB_Dll::instancia();
        db.EjecutaConsultaSQL(
            QStringLiteral("INSERT INTO V_MV_FALTANTES (FechaHora,IdArticulo,Descripcion,Usuario) "
                           "values(") +
            TextoSql::Literal(Regional::fechaHoraGeneral(Reloj::ahora())) + QLatin1Char(',') +
            TextoSql::Literal(QlUtil::FormateaCodigo(codigo, 25)) + QLatin1Char(',') +
            TextoSql::Literal(descripcion) + QLatin1Char(',') + TextoSql::Literal(db.gUsuario) +
            QLatin1Char(')'));
    });
}

void Lib_FrmCons3::preparaOpciones(const PedidoOpciones& p) {
    SQL.clear();
    Load();
    setWindowTitle(p.Titulo);
    CmdNueva->hide();
    OrdenarPorLwv = true;
    gConnString.clear();
    CampoDevuelto = p.Titulo;
    CheckBoxes = p.tipo == PedidoOpciones::Tipo::Marcas;
    modelo_->fijaMarcas(CheckBoxes);
    FilasConsulta::Columna c;
    c.campo = p.Titulo;
    c.encabezado = p.Titulo;
    filas_.fijaColumnas({c});
    for (int i = 0; i < p.textos.size(); ++i) {
        filas_.agregaFila({p.textos[i]}, p.marcadas.value(i));
    }
    creaCaja(0)->setProperty("campo", p.Titulo);
    for (int i = 1; i < CmbSearch.size(); ++i) {
        CmbSearch[i]->hide();
    }
    // The options keep the order the caller gave them.
    modelo_->recarga();
    const int ancho = anchoPixeles(p.anchoTwips);
    ListView1->setColumnWidth(0, std::max(ancho - 40, 120));
    resize(std::max(ancho, 320), 420);
    ubicaCajas();
}
