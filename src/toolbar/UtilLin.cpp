#include "toolbar/UtilLin.h"

#include "runtime_ui/Skins.h"
#include "toolbar/TiraIconos.h"
#include "utility_library/CarpetasPrograma.h"
#include "utility_library/Programa.h"
#include "utility_library/QlTexto.h"

#include <QAction>
#include <QBoxLayout>
#include <QSettings>
#include <QShortcut>
#include <QToolBar>

namespace {
// The keys a window hands to the toolbar, as Qt keys.
constexpr Qt::Key kTeclasBarra[] = {Qt::Key_F2, Qt::Key_F3,  Qt::Key_F4,    Qt::Key_F5,
                                    Qt::Key_F6, Qt::Key_F10, Qt::Key_Escape};

QString TextoTecla(qint16 tecla) {
    return tecla == 27 ? QStringLiteral("Esc") : QStringLiteral("F%1").arg(tecla - 111);
}
} // namespace

UtilLin::UtilLin(QWidget* padre) : QWidget(padre) {
    setObjectName(QStringLiteral("UtilLin"));
    capa_ = new QBoxLayout(QBoxLayout::TopToBottom, this);
    capa_->setContentsMargins(0, 0, 0, 0);
    capa_->setSpacing(0);
    barra_ = new QToolBar(QStringLiteral("Standard"), this);
    barra_->setObjectName(QStringLiteral("Standard"));
    barra_->setMovable(false);
    barra_->setFloatable(false);
    capa_->addWidget(barra_);
    capa_->addStretch(1);
    ActualizarBotones();
}

void UtilLin::ActualizarBotones() {
    conTitulo_ = true;
    enabled_ = true;
    habilitados_.fill(true);
    visibles_.fill(true);
    creaBarra();
    cargaIconos();
    refrescaBotones();
}

void UtilLin::creaBarra() {
    // A rebuilt bar starts from new buttons; the old actions go with their buttons.
    for (QAction*& a : acciones_) {
        delete a;
        a = nullptr;
    }
    for (const auto& d : kComandosUtilLin) {
        // The caption is the text exactly as shown; the key goes in the tooltip
        // only, because keys are the window's (see AtiendeTeclasDe), not the bar's.
        auto* a = new QAction(QString::fromLatin1(d.titulo), barra_);
        a->setObjectName(NombreComando(d.comando));
        a->setData(d.id);
        const bool esCerrar = d.comando == ComandoUtilLin::Cerrar;
        a->setToolTip(QString::fromLatin1(d.titulo).trimmed() + QStringLiteral(" (") +
                      TextoTecla(d.tecla) +
                      (esCerrar ? QStringLiteral(", sin Cancelar)") : QStringLiteral(")")));
        const ComandoUtilLin c = d.comando;
        connect(a, &QAction::triggered, this, [this, c] { alPulsar(c); });
        barra_->addAction(a);
        acciones_[indice(c)] = a;
    }
}

void UtilLin::cargaIconos() {
    archivoTira_ = TiraIconos::ArchivoTira(Skins::ValorEstilo());
    const QList<QIcon> iconos = TiraIconos::CortaTira(
        CarpetasPrograma::lectura() + archivoTira_, int(kComandosUtilLin.size()));
    // Without a strip the buttons carry their captions alone.
    tieneIconos_ = iconos.size() == int(kComandosUtilLin.size());
    for (std::size_t i = 0; i < acciones_.size(); ++i) {
        acciones_[i]->setIcon(tieneIconos_ ? iconos[int(i)] : QIcon());
    }
    if (tieneIconos_) {
        barra_->setIconSize(iconos.first().availableSizes().value(0, QSize(32, 32)));
    }
}

void UtilLin::refrescaBotones() {
    barra_->setToolButtonStyle(conTitulo_ ? Qt::ToolButtonTextUnderIcon : Qt::ToolButtonIconOnly);
    for (std::size_t i = 0; i < acciones_.size(); ++i) {
        acciones_[i]->setEnabled(habilitados_[i]);
        acciones_[i]->setVisible(visibles_[i]);
    }
}

QWidget* UtilLin::boton(ComandoUtilLin c) const {
    return barra_->widgetForAction(accion(c));
}

void UtilLin::fijaHabilitado(ComandoUtilLin c, bool valor) {
    habilitados_[indice(c)] = valor;
    refrescaBotones();
    Q_EMIT PropiedadCambiada(QString::fromLatin1(DatosDe(c).habilitado));
}

void UtilLin::fijaVisible(ComandoUtilLin c, bool valor) {
    visibles_[indice(c)] = valor;
    refrescaBotones();
    Q_EMIT PropiedadCambiada(c == ComandoUtilLin::Consultar
                                 ? QStringLiteral("consultarVisible")
                                 : QString::fromLatin1(DatosDe(c).visible));
}

void UtilLin::fijaConTitulo(bool valor) {
    conTitulo_ = valor;
    refrescaBotones();
    Q_EMIT PropiedadCambiada(QStringLiteral("ConTitulo"));
}

void UtilLin::fijaEnabled(bool valor) {
    enabled_ = valor;
    Q_EMIT PropiedadCambiada(QStringLiteral("Enabled"));
}

void UtilLin::fijaTheme(qint16 valor) {
    theme_ = (valor < 0 || valor > 2) ? qint16(0) : valor;
    Q_EMIT PropiedadCambiada(QStringLiteral("Theme"));
}

void UtilLin::alPulsar(ComandoUtilLin c) {
    const QString nombre = acciones_[indice(c)]->text().trimmed().toUpper();
    if (nombre == QLatin1String("NUEVO")) {
        fijaBorrarEnabled(false);
    } else if (nombre == QLatin1String("GRABAR") || nombre == QLatin1String("CERRAR")) {
        fijaBorrarEnabled(true);
    }
    Q_EMIT Click(nombre);
}

void UtilLin::levanta(ComandoUtilLin c) {
    Q_EMIT Click(NombreComando(c));
}

void UtilLin::KeyAnalisis(qint16 KeyCode) {
    if (KeyCode == 27) {
        if (CancelarEnabled()) {
            levanta(ComandoUtilLin::Cancelar);
        } else if (CerrarEnabled()) {
            levanta(ComandoUtilLin::Cerrar);
        }
        return;
    }
    for (const auto& d : kComandosUtilLin) {
        if (d.tecla == KeyCode) {
            if (habilitado(d.comando)) {
                levanta(d.comando);
            }
            return;
        }
    }
}

qint16 UtilLin::CodigoTecla(int teclaQt) {
    if (teclaQt >= Qt::Key_F1 && teclaQt <= Qt::Key_F24) {
        return qint16(112 + (teclaQt - Qt::Key_F1));
    }
    if ((teclaQt >= Qt::Key_A && teclaQt <= Qt::Key_Z) ||
        (teclaQt >= Qt::Key_0 && teclaQt <= Qt::Key_9) || teclaQt == Qt::Key_Space) {
        return qint16(teclaQt);
    }
    switch (teclaQt) {
    case Qt::Key_Escape:
        return 27;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 13;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return 9;
    case Qt::Key_Backspace:
        return 8;
    case Qt::Key_PageUp:
        return 33;
    case Qt::Key_PageDown:
        return 34;
    case Qt::Key_End:
        return 35;
    case Qt::Key_Home:
        return 36;
    case Qt::Key_Left:
        return 37;
    case Qt::Key_Up:
        return 38;
    case Qt::Key_Right:
        return 39;
    case Qt::Key_Down:
        return 40;
    case Qt::Key_Insert:
        return 45;
    case Qt::Key_Delete:
        return 46;
    default:
        return 0;
    }
}

void UtilLin::AtiendeTeclasDe(QWidget* ventana) {
    for (const auto& atajo : std::as_const(atajos_)) {
        delete atajo.data();
    }
    atajos_.clear();
    if (ventana == nullptr) {
        return;
    }
    // A window shortcut sees the key before the focused field does, and does
    // not care whether the command's button is shown.
    for (const Qt::Key tecla : kTeclasBarra) {
        auto* atajo = new QShortcut(QKeySequence(tecla), ventana);
        atajo->setContext(Qt::WindowShortcut);
        atajo->setAutoRepeat(false);
        const qint16 codigo = CodigoTecla(tecla);
        connect(atajo, &QShortcut::activated, this, [this, codigo] { KeyAnalisis(codigo); });
        connect(this, &QObject::destroyed, atajo, &QObject::deleteLater);
        atajos_.append(atajo);
    }
}

const QStringList& UtilLin::PropiedadesPersistidas() {
    static const QStringList nombres = [] {
        QStringList n{QStringLiteral("ConTitulo"), QStringLiteral("Enabled")};
        for (const auto& d : kComandosUtilLin) {
            n << QString::fromLatin1(d.habilitado);
        }
        for (const auto& d : kComandosUtilLin) {
            n << QString::fromLatin1(d.visible);
        }
        return n;
    }();
    return nombres;
}

bool UtilLin::leePropiedad(const QString& nombre) const {
    if (nombre == QLatin1String("ConTitulo")) {
        return conTitulo_;
    }
    if (nombre == QLatin1String("Enabled")) {
        return enabled_;
    }
    for (const auto& d : kComandosUtilLin) {
        if (nombre == QLatin1String(d.habilitado)) {
            return habilitado(d.comando);
        }
        if (nombre == QLatin1String(d.visible)) {
            return visible(d.comando);
        }
    }
    return true;
}

void UtilLin::fijaPropiedad(const QString& nombre, bool valor) {
    if (nombre == QLatin1String("ConTitulo")) {
        fijaConTitulo(valor);
        return;
    }
    if (nombre == QLatin1String("Enabled")) {
        fijaEnabled(valor);
        return;
    }
    for (const auto& d : kComandosUtilLin) {
        if (nombre == QLatin1String(d.habilitado)) {
            fijaHabilitado(d.comando, valor);
            return;
        }
        if (nombre == QLatin1String(d.visible)) {
            fijaVisible(d.comando, valor);
            return;
        }
    }
}

void UtilLin::GuardaPropiedades(QSettings& ajustes) const {
    for (const QString& nombre : PropiedadesPersistidas()) {
        if (leePropiedad(nombre)) {
            ajustes.remove(nombre);
        } else {
            ajustes.setValue(nombre, false);
        }
    }
}

void UtilLin::LeePropiedades(QSettings& ajustes) {
    for (const QString& nombre : PropiedadesPersistidas()) {
        const QVariant v = ajustes.value(nombre);
        bool valor = true;
        if (v.isValid()) {
            const QString texto = v.toString().trimmed();
            // "false", "0" and the suite's "Falso" switch a property off; anything else keeps it
            // on.
            valor = !(texto.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0 ||
                      texto == QLatin1String("0") ||
                      texto.compare(QLatin1String("falso"), Qt::CaseInsensitive) == 0);
        }
        fijaPropiedad(nombre, valor);
    }
}

void UtilLin::ajustaOrientacion() {
    const bool vertical = height() > width();
    const Qt::Orientation o = vertical ? Qt::Vertical : Qt::Horizontal;
    if (barra_->orientation() != o) {
        barra_->setOrientation(o);
        capa_->setDirection(vertical ? QBoxLayout::LeftToRight : QBoxLayout::TopToBottom);
    }
}

void UtilLin::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    ajustaOrientacion();
}

void UtilLin::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    ajustaOrientacion();
}
