#pragma once

#include "generator/FilaOrigen.h"
#include "generator/RepositorioLote.h"

#include <QHash>
#include <QStringList>
#include <QVector>
#include <memory>
#include <optional>

class SentenciaPreparada;

// A source query's rows for the batch loaders and the reload: read one at a
// time from the statement while it runs; or fetched in blocks from a cursor
// declared on the server, where the client library would hold a whole
// result; or, where the engine cannot keep a result open beside other
// statements, copied first. Field access by name ignores case; an
// unknown name throws FalloKX (3265), as a result set does. Dates that the
// engine stores as text come back as dates.
class CursorSentencia : public CursorOrigen, private FilaOrigen {
public:
    // `sentencia` has run; `copia` reads every row before the first one is used.
    CursorSentencia(std::unique_ptr<SentenciaPreparada> sentencia, int total, bool copia,
                    bool fechasComoTexto);
    // `trae` fetches the server cursor's next block (each run a result read
    // whole, at most `bloque` rows); `cierra` lets the cursor go.
    CursorSentencia(std::unique_ptr<SentenciaPreparada> trae, int bloque,
                    std::unique_ptr<SentenciaPreparada> cierra, int total, bool fechasComoTexto);
    ~CursorSentencia() override;

    // Keeps `*registro` pointing at this cursor until it is destroyed.
    void registraEn(CursorSentencia** registro);
    // The article data the current row brought (columns KXA_*), when the row
    // is the one of article `idArticulo`: the article, or nullopt inside
    // when there is no such article. Empty when the row cannot say.
    std::optional<std::optional<ArticuloLote>> articulo(const QString& idArticulo) const;

    int total() const override { return total_; }
    bool hay() const override { return hay_; }
    void siguiente() override;
    const FilaOrigen& fila() const override { return *this; }

private:
    QVariant Campo(const QString& nombre) const override;
    QVariant valor(int i) const;

    bool leeFila();

    int indice(const QString& nombre) const;

    std::unique_ptr<SentenciaPreparada> s_;
    std::unique_ptr<SentenciaPreparada> cierra_;
    CursorSentencia** registro_ = nullptr;
    int bloque_ = 0;
    int filasDelBloque_ = 0;
    int total_ = 0;
    bool hay_ = false;
    bool copia_ = false;
    bool fechasComoTexto_ = false;
    QStringList nombres_;
    mutable QHash<QString, int> indices_;
    QVector<QVector<QVariant>> filas_;
    int pos_ = 0;
};
