#pragma once

#include <QHeaderView>

// The grid's row header. A skin styles the header sections, and a style
// sheet overrides the colour the model gives a section; the rows flagged for
// the operator must stay red whatever the skin, so their text is drawn here.
class EncabezadoFilas : public QHeaderView {
    Q_OBJECT
public:
    explicit EncabezadoFilas(QWidget* padre = nullptr);

protected:
    void paintSection(QPainter* pintor, const QRect& rect, int seccion) const override;
};
