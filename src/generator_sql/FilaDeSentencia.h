#pragma once

#include "generator/FilaOrigen.h"
#include "generator/RepositorioLote.h"

#include <QHash>
#include <QStringList>
#include <QVector>
#include <memory>

class SentenciaPreparada;

// A source query's rows for the batch loaders and the reload: read one at a
// time from the statement while it runs, or, where the engine cannot keep a
// result open beside other statements, copied first (only the text and
// number values, in a compact form). Field access by name ignores case; an
// unknown name throws FalloKX (3265), as a result set does. Dates that the
// engine stores as text come back as dates.
class CursorSentencia : public CursorOrigen, private FilaOrigen {
public:
    // `sentencia` has run; `copia` reads every row before the first one is used.
    CursorSentencia(std::unique_ptr<SentenciaPreparada> sentencia, int total, bool copia,
                    bool fechasComoTexto);
    ~CursorSentencia() override;

    int total() const override { return total_; }
    bool hay() const override { return hay_; }
    void siguiente() override;
    const FilaOrigen& fila() const override { return *this; }

private:
    QVariant Campo(const QString& nombre) const override;
    QVariant valor(int i) const;

    std::unique_ptr<SentenciaPreparada> s_;
    int total_ = 0;
    bool hay_ = false;
    bool copia_ = false;
    bool fechasComoTexto_ = false;
    QStringList nombres_;
    mutable QHash<QString, int> indices_;
    QVector<QVector<QVariant>> filas_;
    int pos_ = 0;
};
