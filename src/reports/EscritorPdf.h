#pragma once

#include "reports/FuentePdf.h"

#include <QByteArray>
#include <QCryptographicHash>
#include <QDateTime>
#include <QHash>
#include <QPageLayout>
#include <QPainterPath>
#include <QRawFont>
#include <QString>
#include <map>
#include <memory>
#include <vector>

class QIODevice;

// A PDF document written as its pages are drawn: each page's content is
// compressed and written when the next one starts, the fonts (cut down to
// the glyphs used) at the end. Coordinates are device dots of `ppp` dots per
// inch from the top-left corner of the printable area, as on Qt's paged
// devices. Texts are whole glyph runs of embedded faces (TrueType, or
// OpenType with CFF outlines), so a page holds a line of text as one short
// string instead of one positioned glyph after another. A face whose licence
// forbids embedding has its glyphs drawn as outlines, its text written
// unseen over them so that it can still be searched and copied.
//
// The document carries an /ID drawn from its bytes, and the creation date
// given (the same report with the same date gives the same file).
class EscritorPdf {
public:
    // One face at one size: its resource name and the widths its pages use.
    struct Tamano {
        QByteArray recurso; // "F3"
        QRawFont fuente;
        FuentePdf* cara = nullptr;
        int objeto = 0;
        std::map<quint32, double> anchos; // thousandths of the size
        // The outline of each glyph drawn, at this size, from its origin.
        std::map<quint32, QPainterPath> contornos;
    };

    // `creacion` invalid: now.
    EscritorPdf(QIODevice& salida, const QPageLayout& disposicion, double ppp,
                const QString& titulo, const QString& creador,
                const QDateTime& creacion = QDateTime());
    ~EscritorPdf();
    EscritorPdf(const EscritorPdf&) = delete;
    EscritorPdf& operator=(const EscritorPdf&) = delete;

    // The content of the page being drawn (the first one is open from the start).
    QByteArray& contenido() { return contenido_; }
    void nuevaPagina();
    // The face and size of `fuente`; null when the face has no outlines to
    // embed or draw.
    Tamano* fuente(const QRawFont& fuente);
    // Writes the last page, the fonts and the document's index. Throws
    // FalloKX (ErroresReporte::kSalida, the device's reason) when the device
    // refuses what is written; so does starting a page.
    void termina();
    int paginas() const { return int(paginas_.size()); }

private:
    int reserva();
    void abre(int objeto);
    void escribe(const QByteArray& datos);
    void flujo(int objeto, const QByteArray& datos, int nivel,
               const QByteArray& diccionario = {});
    void cierraPagina();

    QIODevice& salida_;
    qint64 posicion_ = 0;
    std::vector<qint64> objetos_{0};
    std::vector<int> paginas_;
    QByteArray contenido_;
    QByteArray encabezadoPagina_;
    QByteArray caja_;
    QString titulo_, creador_;
    QDateTime creacion_;
    QCryptographicHash huella_{QCryptographicHash::Md5};
    // Faces by their content; sizes by face and size; both by the raw font
    // asked for (null: no outlines).
    std::map<QByteArray, std::unique_ptr<FuentePdf>> caras_;
    std::vector<std::unique_ptr<Tamano>> tamanos_;
    std::map<std::pair<QByteArray, double>, Tamano*> porCaraYTamano_;
    QHash<QRawFont, Tamano*> porFuente_;
    bool terminado_ = false;
};
