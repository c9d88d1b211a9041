#pragma once

#include <QStyledItemDelegate>

class ModeloFilasConsulta;

// Draws the list window's plain cells straight from the rows: the selection's
// colours, the row's stock colour and the text cut with "..." when it does
// not fit. A jump to a far row repaints the whole list, so each cell must be
// cheap. Cells with a check box are left to the usual drawing.
class DelegadoFilasConsulta : public QStyledItemDelegate {
    Q_OBJECT
public:
    DelegadoFilasConsulta(const ModeloFilasConsulta& modelo, QObject* padre = nullptr);

    void paint(QPainter* p, const QStyleOptionViewItem& opcion,
               const QModelIndex& i) const override;

private:
    const ModeloFilasConsulta& modelo_;
};
