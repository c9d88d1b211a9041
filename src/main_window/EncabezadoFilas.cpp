#include "main_window/EncabezadoFilas.h"

#include <QPainter>
#include <QStyleOptionHeader>

EncabezadoFilas::EncabezadoFilas(QWidget* padre) : QHeaderView(Qt::Vertical, padre) {}

void EncabezadoFilas::paintSection(QPainter* pintor, const QRect& rect, int seccion) const {
    const QVariant color =
        model() ? model()->headerData(seccion, orientation(), Qt::ForegroundRole) : QVariant();
    if (!color.canConvert<QColor>() || !color.value<QColor>().isValid()) {
        QHeaderView::paintSection(pintor, rect, seccion);
        return;
    }
    // The section's frame and background as the style draws them, then the text.
    QStyleOptionHeader opcion;
    initStyleOption(&opcion);
    opcion.rect = rect;
    opcion.section = seccion;
    opcion.text.clear();
    pintor->save();
    style()->drawControl(QStyle::CE_HeaderSection, &opcion, pintor, this);
    pintor->setPen(color.value<QColor>());
    QFont negrita = font();
    negrita.setBold(true);
    pintor->setFont(negrita);
    pintor->drawText(rect.adjusted(2, 0, -2, 0), Qt::AlignCenter,
                     model()->headerData(seccion, orientation(), Qt::DisplayRole).toString());
    pintor->restore();
}
