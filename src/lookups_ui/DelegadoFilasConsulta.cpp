#include "lookups_ui/DelegadoFilasConsulta.h"

#include "lookups_ui/ModeloFilasConsulta.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>

DelegadoFilasConsulta::DelegadoFilasConsulta(const ModeloFilasConsulta& modelo, QObject* padre)
    : QStyledItemDelegate(padre), modelo_(modelo) {}

void DelegadoFilasConsulta::paint(QPainter* p, const QStyleOptionViewItem& opcion,
                                  const QModelIndex& i) const {
    if (modelo_.conMarcas() && i.column() == 0) {
        QStyledItemDelegate::paint(p, opcion, i);
        return;
    }
    const QStyleOptionViewItem& o = opcion;
    const bool seleccionada = o.state & QStyle::State_Selected;
    const QPalette::ColorGroup grupo = !(o.state & QStyle::State_Enabled) ? QPalette::Disabled
                                       : (o.state & QStyle::State_Active) ? QPalette::Active
                                                                          : QPalette::Inactive;
    QColor color;
    if (seleccionada) {
        p->fillRect(o.rect, o.palette.brush(grupo, QPalette::Highlight));
        color = o.palette.color(grupo, QPalette::HighlightedText);
    } else {
        const QVariant propio = modelo_.data(i, Qt::ForegroundRole);
        color = propio.isValid() ? propio.value<QColor>() : o.palette.color(grupo, QPalette::Text);
    }
    const QWidget* w = o.widget;
    QStyle* estilo = w ? w->style() : QApplication::style();
    const int margen = estilo->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, w) + 1;
    const QRect r = o.rect.adjusted(margen, 0, -margen, 0);
    const QString& texto = modelo_.texto(i);
    p->save();
    p->setFont(o.font);
    p->setPen(color);
    const QFontMetrics fm(o.font);
    p->drawText(r, int(Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine),
                fm.horizontalAdvance(texto) > r.width()
                    ? fm.elidedText(texto, Qt::ElideRight, r.width())
                    : texto);
    p->restore();
}
