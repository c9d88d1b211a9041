#include "main_window/DelegadoCelda.h"

#include <QPainter>

void DelegadoCelda::paint(QPainter* pintor, const QStyleOptionViewItem& opcion,
                          const QModelIndex& indice) const {
    const bool elegida = opcion.state & QStyle::State_Selected;
    if (elegida) {
        pintor->fillRect(opcion.rect, opcion.palette.brush(QPalette::Highlight));
    }
    pintor->setPen(opcion.palette.color(elegida ? QPalette::HighlightedText : QPalette::Text));
    pintor->setFont(opcion.font);
    pintor->drawText(opcion.rect.adjusted(3, 0, -3, 0),
                     Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                     indice.data(Qt::DisplayRole).toString());
}
