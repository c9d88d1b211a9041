#pragma once

#include "reports/Plantilla.h"

#include <QColor>
#include <QFont>
#include <QHash>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QRectF>
#include <QString>
#include <QVector>

// One thing drawn in a band of a report: a text, a bar code or a line.
// Measures in millimetres from the band's top-left corner.
struct ElementoReporte {
    enum class Tipo { Texto, Barras, Linea };
    Tipo tipo = Tipo::Texto;
    QRectF caja; // a line goes from the top-left to the bottom-right corner
    QString fuente;
    Qt::Alignment alineacion = Qt::AlignLeft | Qt::AlignVCenter;
    bool ajuste = false; // the text wraps inside its box
    double grosor = 0.2; // lines, mm
    Plantilla plantilla;
};

// A column of a list's detail: its heading and the value of every row.
struct ColumnaReporte {
    double x = 0, ancho = 0;
    QString fuente;
    Qt::Alignment alineacion = Qt::AlignLeft | Qt::AlignVCenter;
    QString titulo;
    Plantilla plantilla;
};

// A report definition file: a text an administrator edits. Sections in
// brackets, "key = value" lines, "#" or ";" at the start of a line for a
// comment. Measures in millimetres (a point as decimal separator), fonts in
// points. See resources/reports/RP_Tarvelo.txt for every key.
struct DefinicionReporte {
    enum class Tipo { Listado, Etiquetas };

    QString archivo;
    Tipo tipo = Tipo::Listado;
    QString titulo;
    QPageSize tamano = QPageSize(QPageSize::A4);
    QPageLayout::Orientation orientacion = QPageLayout::Portrait;
    QMarginsF margenes{10, 10, 10, 10};
    QHash<QString, QFont> fuentes; // by lower-case name
    QString separadorDecimal = QStringLiteral(",");
    int decimales = 2;
    double limiteVariacion = 50; // percent; a larger change is marked

    // A list: header and footer on every page, the column headings, one line
    // per row and the totals after the last row.
    double altoEncabezado = 0;
    QVector<ElementoReporte> encabezado;
    double altoTitulos = 0;
    QString fuenteTitulos;
    double altoFila = 4;
    QColor resaltado; // background of a marked row; invalid: none
    QVector<ColumnaReporte> columnas;
    double altoTotales = 0;
    QVector<ElementoReporte> totales;
    double altoPie = 0;
    QVector<ElementoReporte> pie;

    // Labels: a grid of labels per page, one per row.
    double anchoEtiqueta = 0, altoEtiqueta = 0;
    int columnasEtiquetas = 1, filasEtiquetas = 1;
    double separacionH = 0, separacionV = 0;
    bool bordeEtiqueta = false;
    QVector<ElementoReporte> etiqueta;

    // Reads and checks a definition; throws FalloKX naming the file (and the
    // line) when it is missing or wrong.
    static DefinicionReporte lee(const QString& archivo);
    // The same from a text (`archivo` only names it in messages).
    static DefinicionReporte deTexto(const QString& texto, const QString& archivo);

    QPageLayout disposicion() const;
    // The named font; the default font of the report for an empty name.
    QFont fuente(const QString& nombre) const;
};
