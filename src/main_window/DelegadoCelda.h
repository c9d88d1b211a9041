#pragma once

#include <QStyledItemDelegate>

// Paints a grid cell as plain text on its background: the batch grid shows
// only text, and skipping the style's item machinery keeps every scroll step
// of a long batch well within one frame.
class DelegadoCelda : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* pintor, const QStyleOptionViewItem& opcion,
               const QModelIndex& indice) const override;
};
