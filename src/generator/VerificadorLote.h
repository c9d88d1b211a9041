#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

class LoteNovedades;

// What a check of a stored batch found.
struct ResultadoVerificacion {
    enum class Estado {
        Iguales,    // the rebuilt files, every recorded digest and kept copy agree, and
                    // each folder the batch went to holds its files or a later batch's
        Difieren,   // something differs or is missing (the lines say what)
        NoExiste,   // no batch under that code
        Abandonado, // a failure (told to the operator already)
    };
    Estado estado = Estado::Abandonado;
    // Per file: its publications (equal, or each difference), then one line
    // per folder it went to.
    QStringList lineas;
};

// Proves which bytes a batch sent: rebuilds its files from MV_TARVELO as a
// regeneration would write them, and compares them with the length and
// SHA-256 recorded at each of its publications and with each copy kept in
// an output folder's history. Then each folder the batch went to: its file
// is this batch's, or the bytes a later publication of another batch put
// there (said, with that batch's code: the branches moved on, no
// difference), or anything else (a difference). A copy or file that differs
// names its first differing record. Nothing is written.
class VerificadorLote {
public:
    explicit VerificadorLote(LoteNovedades& lote) : lote_(lote) {}
    ResultadoVerificacion Verifica(qint64 codigo);

    // The first record (from 1) where two files of CR LF records differ, and
    // the two records; 0 when they are equal.
    struct PrimeraDiferencia {
        int registro = 0;
        QByteArray esperado, encontrado;
    };
    static PrimeraDiferencia Compara(const QByteArray& esperado, const QByteArray& encontrado);

private:
    LoteNovedades& lote_;
};
