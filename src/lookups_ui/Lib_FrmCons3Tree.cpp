#include "lookups_ui/Lib_FrmCons3Tree.h"

#include "db/DB_Dll.h"
#include "lookups/FiltroConsulta.h"
#include "lookups_ui/ModeloArbolConsulta.h"
#include "runtime/ErroresOperador.h"
#include "utility_library/Operador.h"
#include "utility_library/Pasos.h"
#include "utility_library/QlTexto.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

namespace {
Pasos pasosDe(const char* rutina) {
    return Pasos([rutina](const ErrorKX& e) {
        return ModGlobal::MuestraErrorOperador(e, Operador::ErrorConReintento,
                                               QString::fromLatin1(rutina));
    });
}

// A value's text; a text value moved out as it is.
QString tomaTexto(QVariant& v) {
    if (v.typeId() == QMetaType::QString && !v.isNull()) {
        return std::move(*static_cast<QString*>(v.data()));
    }
    return QlUtil::NoNulo(v);
}

// The families' parent is the greatest code before it whose trimmed code is
// shorter; the database computes it, so the rows arrive parents first.
QString sentenciaFamilias() {
    return QStringLiteral("SELECT     TOP 100 PERCENT IdFamilia, Descripcion, ") +
           QStringLiteral("(SELECT     TOP 1 idfamilia FROM @Admin_v_ta_familias a  ") +
           QStringLiteral(" Where a.IdFamilia < b.IdFamilia And (Len(LTrim(RTrim(a.IdFamilia))) "
                          "< Len(LTrim(RTrim(b.IdFamilia)))) ") +
           QStringLiteral(" ORDER BY idfamilia DESC) AS [relative] FROM dbo.V_TA_FAMILIAS b "
                          "Where IdFamilia<>'' ORDER BY IdFamilia");
}
} // namespace

Lib_FrmCons3Tree::Lib_FrmCons3Tree(QWidget* padre) : QDialog(padre) {
    setWindowTitle(QStringLiteral("Consulta..."));
    construye();
}

Lib_FrmCons3Tree::~Lib_FrmCons3Tree() = default;

void Lib_FrmCons3Tree::construye() {
    CmbSearch_ = new QLineEdit(this);
    CmbSearch_->setToolTip(QStringLiteral("F5 realiza nueva busqueda"));
    CmbSearch_->installEventFilter(this);
    TreeV_ = new QTreeView(this);
    modelo_ = new ModeloArbolConsulta(arbol_, this);
    TreeV_->setModel(modelo_);
    TreeV_->setHeaderHidden(true);
    TreeV_->setUniformRowHeights(true); // large trees lay out without measuring every row
    TreeV_->setRootIsDecorated(true);
    TreeV_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    CmdAceptar = new QPushButton(QStringLiteral("&Aceptar"), this);
    CmdCancelar = new QPushButton(QStringLiteral("&Cancelar"), this);
    CmdNueva = new QPushButton(QStringLiteral("&Nueva Busqueda"), this);
    for (QPushButton* b : {CmdAceptar, CmdCancelar, CmdNueva}) {
        b->setAutoDefault(false);
    }
    auto* botones = new QHBoxLayout;
    botones->addWidget(CmdAceptar);
    botones->addStretch(1);
    botones->addWidget(CmdCancelar);
    botones->addStretch(1);
    botones->addWidget(CmdNueva);
    auto* capa = new QVBoxLayout(this);
    capa->addWidget(CmbSearch_);
    capa->addWidget(TreeV_, 1);
    capa->addLayout(botones);
    resize(520, 560);

    connect(CmdAceptar, &QPushButton::clicked, this, [this] { CmdAceptar_Click(); });
    connect(CmdCancelar, &QPushButton::clicked, this, [this] { CmdCancelar_Click(); });
    connect(CmdNueva, &QPushButton::clicked, this, [this] {
        Intenta([&] { arma(SQL.contains(QLatin1String("v_ta_familias"), Qt::CaseInsensitive)); });
    });
    connect(TreeV_, &QTreeView::doubleClicked, this, [this] { CmdAceptar_Click(); });
    connect(CmbSearch_, &QLineEdit::textChanged, this,
            [this](const QString& t) { busquedaIncremental(t); });
}

QPushButton* Lib_FrmCons3Tree::boton(const QString& texto) const {
    for (QPushButton* b : {CmdAceptar, CmdCancelar, CmdNueva}) {
        if (b->text() == texto) {
            return b;
        }
    }
    return nullptr;
}

void Lib_FrmCons3Tree::Load() {
    pasosDe("FORM_LOAD")
        .pasos({
            [&] { Valores = QStringList(); },
            [&] {
                arbol_.limpia();
                modelo_->fijaMarcas(CheckBoxes);
                modelo_->recarga();
            },
            [&] { arma(SQL.contains(QLatin1String("v_ta_familias"), Qt::CaseInsensitive)); },
            // Opens on the caller's code, as typing it in the search box would.
            [&] {
                if (!ValorInicial.trimmed().isEmpty()) {
                    busquedaIncremental(ValorInicial.trimmed());
                }
            },
        });
}

void Lib_FrmCons3Tree::inicioArbol() {
    arbol_.limpia();
}

void Lib_FrmCons3Tree::arma(bool familias) {
    if (familias) {
        ArmarTreeVFamilias();
    } else {
        ArmarTreeVAutomatico();
    }
}

void Lib_FrmCons3Tree::ArmarTreeVFamilias() {
    SQL = sentenciaFamilias();
    ArmarTreeVAutomatico();
}

void Lib_FrmCons3Tree::ArmarTreeVAutomatico() {
    const bool familias = SQL == sentenciaFamilias();
    Pasos pasos = pasosDe("ArmarTreeVAutomatico");
    QVector<ArbolConsulta::Fila> filas;
    Recordset rs;
    DB_Dll& db = DB_Dll::instancia();
    modelo_->fijaMarcas(CheckBoxes);
    pasos.pasos({
        [&] { inicioArbol(); },
        [&] {
            QString s = SQL;
            db.AbrirRecordset(s, rs);
        },
        [&] {
            // The whole result at once, then the tree in memory.
            if (!rs.abierto() || rs.RecordCount() == 0 || rs.CantidadCampos() == 0) {
                return;
            }
            rs.MoveLast();
            rs.MoveFirst();
            filas.reserve(rs.RecordCount());
            const bool conPadre = familias && rs.CantidadCampos() > 2;
            const bool conDescripcion = rs.CantidadCampos() > 1;
            // The rows taken out of the result set: their texts move, none is copied.
            QVector<QVector<QVariant>> todas = rs.TomaFilas();
            for (QVector<QVariant>& v : todas) {
                ArbolConsulta::Fila f;
                f.codigo = tomaTexto(v[0]);
                if (conDescripcion) {
                    f.descripcion = tomaTexto(v[1]);
                }
                if (conPadre && !v[2].isNull()) {
                    f.padre = tomaTexto(v[2]);
                }
                filas.append(std::move(f));
            }
        },
        [&] { Intenta([&] { db.CierraRecordset(rs); }); },
    });
    auto falla = [](int numero, const QString& descripcion) {
        return ModGlobal::MuestraErrorOperador(ErrorKX{numero, descripcion, QString()}, 18,
                                               QStringLiteral("ArmarTreeVAutomatico"));
    };
    if (familias) {
        arbol_.armaFamilias(filas, falla);
    } else {
        arbol_.armaAutomatico(std::move(filas), falla);
    }
    modelo_->recarga();
    TreeV_->expand(modelo_->indiceDeNodo(0));
    // The first node is current from the start, as in the list.
    if (modelo_->rowCount() > 0 && !TreeV_->currentIndex().isValid()) {
        TreeV_->setCurrentIndex(modelo_->index(0, 0));
    }
}

int Lib_FrmCons3Tree::nodoSeleccionado() const {
    return modelo_->nodoDe(TreeV_->currentIndex());
}

void Lib_FrmCons3Tree::busquedaIncremental(const QString& texto) {
    Intenta([&] {
        const int n = arbol_.busca(texto);
        if (n >= 0) {
            const QModelIndex i = modelo_->indiceDeNodo(n);
            TreeV_->setCurrentIndex(i);
            TreeV_->scrollTo(i);
        }
    });
}

void Lib_FrmCons3Tree::nuevaBusqueda() {
    const FiltroConsulta::Resultado r = FiltroConsulta::Arbol(SQL, CmbSearch_->text());
    SQLOrden_ = r.orden;
    SQL = r.sql;
    {
        const QSignalBlocker b(CmbSearch_);
        CmbSearch_->clear();
    }
    SQLBase_ = SQL;
    Load();
}

bool Lib_FrmCons3Tree::eventFilter(QObject* o, QEvent* e) {
    if (o == CmbSearch_ && e->type() == QEvent::KeyPress) {
        switch (static_cast<QKeyEvent*>(e)->key()) {
        case Qt::Key_F5:
            nuevaBusqueda();
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            // Enter takes the node the search put under the cursor.
            CmdAceptar_Click();
            return true;
        case Qt::Key_Down:
        case Qt::Key_Up:
        case Qt::Key_PageDown:
        case Qt::Key_PageUp:
            TreeV_->setFocus();
            return true;
        default:
            break;
        }
    }
    return QDialog::eventFilter(o, e);
}

void Lib_FrmCons3Tree::CmdAceptar_Click() {
    DB_Dll& db = DB_Dll::instancia();
    const QString campo = CampoDevuelto.trimmed();
    auto es = [&](const char* n) {
        return campo.compare(QLatin1String(n), Qt::CaseInsensitive) == 0;
    };
    // The row of `tabla` whose `columna` is the code, giving CampoDevuelto's value.
    auto busca = [&](const QString& tabla, const QString& columna, const QString& codigo,
                     QString* valor) {
        Recordset rs;
        const bool hay = db.ExisteEnTabla(tabla, codigo, columna, &rs, 8, QString(), true);
        if (hay) {
            *valor = QlUtil::NoNulo(rs.Campo(CampoDevuelto));
        }
        Intenta([&] { db.CierraRecordset(rs); });
        return hay;
    };
    pasosDe("HScroll1_Change")
        .pasos({
            [&] {
                if (CheckBoxes) {
                    if (!Valores) {
                        Valores = QStringList();
                    }
                    for (int n : arbol_.marcados()) {
                        const QString codigo = arbol_.codigo(n);
                        if (es("IDFAMILIA") || es("CODIGO")) {
                            Valores->append(codigo.trimmed());
                        } else if (es("IDPOSICION")) {
                            QString v;
                            if (busca(QStringLiteral("MA_POSICIONES"), QStringLiteral("IDPOSICION"),
                                      codigo, &v)) {
                                Valores->append(v);
                            }
                        }
                    }
                    return;
                }
                const int n = nodoSeleccionado();
                if (n < 0) {
                    throw FalloKX(91,
                                  QStringLiteral("Object variable or With block variable not set"));
                }
                const QString codigo = arbol_.codigo(n);
                QString v;
                if (es("IDFAMILIA")) {
                    ValorDevuelto = busca(QStringLiteral("@admin_V_TA_FAMILIAS"),
                                          QStringLiteral("IDFAMILIA"), codigo, &v)
                                        ? v
                                        : QString();
                } else if (es("IDPOSICION")) {
                    ValorDevuelto = busca(QStringLiteral("MA_POSICIONES"),
                                          QStringLiteral("IDPOSICION"), codigo, &v)
                                        ? v
                                        : QString();
                } else if (es("CODIGO")) {
                    ValorDevuelto =
                        busca(QStringLiteral("TA_CCOSTO"), QStringLiteral("CODIGO"), codigo, &v) ||
                                busca(QStringLiteral("MA_CUENTAS"), QStringLiteral("CODIGO"),
                                      codigo, &v)
                            ? v
                            : QString();
                }
            },
            [&] { accept(); },
        });
}

void Lib_FrmCons3Tree::CmdCancelar_Click() {
    ValorDevuelto = QString();
    CmpsDevueltos.reset();
    Valores.reset();
    QDialog::reject();
}

void Lib_FrmCons3Tree::reject() {
    CmdCancelar_Click();
}

void Lib_FrmCons3Tree::Unload() {
    try {
        arbol_.limpia();
        modelo_->recarga();
    } catch (const FalloKX& e) {
        operador().MsgBox(e.error().descripcion, Operador::SoloAceptar | Operador::IconoCritico,
                          QStringLiteral("Aviso al Operador"));
    }
}
