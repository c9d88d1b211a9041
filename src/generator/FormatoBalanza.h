#pragma once

#include "generator/FormatoSalida.h"

class ArticulosBalanza;

// BALANZA.TXT, for the scales: a record for each grid row whose article code
// is below 10000 (the scales' PLU range), in Windows-1252, 81 characters:
// category (2), PLU (5) twice, price (8), sale mode (1: "0" for an article
// weighed and sold by the kilogram, "1" otherwise), description (60).
class FormatoBalanza : public FormatoSalida {
public:
    static const QString kNombre; // "BALANZA.TXT"
    static constexpr int kLargo = 81;

    // `articulos` answers whether an article is weighed and its unit;
    // `unidadKG` is the kilogram unit code.
    FormatoBalanza(ArticulosBalanza& articulos, const QString& unidadKG)
        : articulos_(articulos), unidadKG_(unidadKG) {}

    const QString& Nombre() const override { return kNombre; }
    // The article lookup may throw FalloKX.
    std::optional<QString> Registro(const GrillaLote& grilla, int fila) override;
    QByteArray Codifica(const QString& registro) const override;
    // A record that is not 81 characters long.
    std::optional<HallazgoFormato> Revisa(const GrillaLote& grilla, int fila) override;
    // The articles of the rows that get a record, looked up together.
    void Anticipa(const GrillaLote& grilla, int desde, int hasta) override;

private:
    // The row's article code when it gets a record here, and its lookup key.
    static std::optional<double> CodigoDeBalanza(const GrillaLote& grilla, int fila);
    static QString Clave(double codigo);
    ArticulosBalanza& articulos_;
    QString unidadKG_;
};
