#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

class LoteNovedades;

// What a check of a stored batch found.
struct ResultadoVerificacion {
    enum class Estado {
        Iguales,    // the rebuilt files, their recorded digests and the kept copies agree
        Difieren,   // something differs or is missing (the lines say what)
        NoExiste,   // no batch under that code
        Abandonado, // a failure (told to the operator already)
    };
    Estado estado = Estado::Abandonado;
    // One line per file: equal, or the first difference found.
    QStringList lineas;
};

// Proves which bytes a batch sent: rebuilds its files from MV_TARVELO as a
// regeneration would write them, and compares them with the length and
// SHA-256 recorded when it was published and with the copy kept in the
// output folder's history. A copy that differs names its first differing
// record. Nothing is written.
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
