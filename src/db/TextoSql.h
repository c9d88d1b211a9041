#pragma once

#include <QString>

// Pieces of SQL text built by concatenation.
class TextoSql {
public:
    // The value between apostrophes, each apostrophe inside it doubled, so the
    // statement stores and compares the text exactly as it is (D'ANGELO).
    static QString Literal(const QString& valor);
    // The value with its apostrophes doubled, for callers that write the
    // surrounding apostrophes themselves.
    static QString Escapa(const QString& valor);
    // True for a whole number written with digits only (blanks around allowed).
    static bool EsEntero(const QString& texto);
};
