#include "main_window/CamposVentana.h"

#include "utility_library/QlFields.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QWidget>

const QList<CamposVentana::Definicion>& CamposVentana::Definiciones() {
    static const QList<Definicion> d = {
        {"Codigo", "", 0, 0},
        {"Fecha", "Fecha", 10, 1},
        {"IdLista", "V_MA_PRECIOS", 4, 2},
        {"ArtDesde", "V_MA_ARTICULOS", 25, 19},
        {"Letra", "", 4, 21},
        {"ArtHasta", "V_MA_ARTICULOS", 25, 20},
    };
    return d;
}

CamposVentana::CamposVentana(QObject* padre) : QObject(padre) {}

void CamposVentana::Inicializa(const QList<QLineEdit*>& campos) {
    campos_ = campos;
    const auto& defs = Definiciones();
    for (int i = 0; i < campos_.size(); ++i) {
        QLineEdit* e = campos_[i];
        e->setObjectName(QStringLiteral("txtfields_") + QLatin1String(defs[i].campo));
        e->setProperty("campoDeDatos", QLatin1String(defs[i].campo));
        e->setProperty("consulta", QLatin1String(defs[i].consulta));
        e->setMaxLength(defs[i].largo > 0 ? defs[i].largo : 32767);
        e->installEventFilter(this);
        pinta(e, Qt::white);
    }
}

int CamposVentana::IndiceCampo(const QString& nombre) const {
    QStringList nombres;
    for (const Definicion& d : Definiciones()) {
        nombres << QLatin1String(d.campo);
    }
    return QlFields::IndiceCampo(nombre, nombres);
}

QString CamposVentana::Consulta(int indice) const {
    return indice >= 0 && indice < Definiciones().size()
               ? QString::fromLatin1(Definiciones()[indice].consulta)
               : QString();
}

QColor CamposVentana::ColorDeBgr(quint32 bgr) {
    if ((bgr & 0xFFFFFF) == 0) {
        return QColor(0, 255, 255);
    }
    return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}

void CamposVentana::fijaColorFoco(quint32 bgr) {
    colorFoco_ = ColorDeBgr(bgr);
}

bool CamposVentana::TeclaAcepta(int tecla) {
    return QlFields::TeclaAcepta(tecla);
}

QChar CamposVentana::FiltraTecla(int indice, QChar c) const {
    const QString nombre = QLatin1String(Definiciones().value(indice).campo);
    if (c.unicode() < 32) {
        return c;
    }
    if (nombre == QLatin1String("Codigo")) {
        // The batch code is a whole number written with digits alone, the
        // only form the batch reload reads (no sign, no separators).
        return c >= QLatin1Char('0') && c <= QLatin1Char('9') ? c : QChar();
    }
    if (nombre == QLatin1String("Fecha")) {
        return c.isDigit() || c == QLatin1Char('/') || c == QLatin1Char('-') ||
                       c == QLatin1Char('.')
                   ? c
                   : QChar();
    }
    // Codes of lists and articles and the kind of change are kept in capitals.
    return QlFields::FiltraTecla(c, false, true);
}

void CamposVentana::MueveFoco(int indice, bool atras) {
    QLineEdit* e = campo(indice);
    if (!e) {
        return;
    }
    // The next control of the window's tab chain that can take the focus.
    QWidget* w = e;
    for (int paso = 0; paso < 64; ++paso) {
        w = atras ? w->previousInFocusChain() : w->nextInFocusChain();
        if (!w || w == e) {
            return;
        }
        if (w->isEnabled() && w->isVisibleTo(e->window()) && (w->focusPolicy() & Qt::TabFocus)) {
            w->setFocus(atras ? Qt::BacktabFocusReason : Qt::TabFocusReason);
            return;
        }
    }
}

void CamposVentana::TeclaEnCampo(int indice, int tecla, bool mayuscula) {
    if (TeclaAcepta(tecla)) {
        const bool aceptado = alAceptar ? alAceptar(indice) : true;
        if (aceptado) {
            MueveFoco(indice, mayuscula);
        }
    }
}

void CamposVentana::pinta(QLineEdit* e, const QColor& c) {
    // A style sheet of its own, so that the window's skin cannot hide the colour.
    e->setStyleSheet(QStringLiteral("QLineEdit:enabled { background-color: %1; }").arg(c.name()));
}

bool CamposVentana::eventFilter(QObject* objeto, QEvent* evento) {
    auto* e = qobject_cast<QLineEdit*>(objeto);
    const int indice = e ? int(campos_.indexOf(e)) : -1;
    if (indice < 0) {
        return QObject::eventFilter(objeto, evento);
    }
    switch (evento->type()) {
    case QEvent::FocusIn: {
        actual_ = indice;
        pinta(e, colorFoco_);
        e->setSelection(0, int(e->text().trimmed().size()));
        if (alEnfocar) {
            alEnfocar(indice);
        }
        break;
    }
    case QEvent::FocusOut:
        pinta(e, Qt::white);
        break;
    case QEvent::KeyPress: {
        auto* k = static_cast<QKeyEvent*>(evento);
        if (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) {
            TeclaEnCampo(indice, 13, k->modifiers() & Qt::ShiftModifier);
            return true;
        }
        if ((k->key() == Qt::Key_Tab || k->key() == Qt::Key_Backtab) &&
            !(k->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) && alSalir &&
            !alSalir(indice)) {
            // Refused: the focus stays where the message sent it.
            return true;
        }
        const QString t = k->text();
        if (t.size() == 1 && !(k->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
            const QChar filtrado = FiltraTecla(indice, t.at(0));
            if (filtrado.isNull()) {
                return true;
            }
            if (filtrado != t.at(0)) {
                e->insert(QString(filtrado));
                return true;
            }
        }
        break;
    }
    default:
        break;
    }
    return QObject::eventFilter(objeto, evento);
}
