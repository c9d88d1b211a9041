#pragma once

#include <QString>
#include <QStringList>

// Reading a PDF back with the tools a user has: poppler, zbar and qpdf.
namespace HerramientasPdf {
// What qpdf --check finds wrong in the file's structure, streams and fonts;
// empty when it finds nothing (no error, no warning).
QString revisa(const QString& pdf);
// The fonts the file uses, one "name type embedded" line each (pdffonts).
QStringList fuentes(const QString& pdf);
// The text of the PDF, laid out (pdftotext -layout), or of one page (from
// 1) when `pagina` is given; empty on failure.
QString texto(const QString& pdf, int pagina = 0);
// Number of pages (pdfinfo); -1 on failure.
int paginas(const QString& pdf);
// Every bar code found on the pages rendered at `ppp` dots per inch, as
// zbarimg writes them ("EAN-13:4006381333931"), sorted.
QStringList codigos(const QString& pdf, int ppp = 300);
// Copies the program's report definitions into `carpeta`/reports.
bool copiaReportes(const QString& carpeta);
} // namespace HerramientasPdf
