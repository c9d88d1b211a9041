#pragma once

#include "generator/FormatoSalida.h"

// CAMBIOS.TXT, for the points of sale: one record per grid row, the cells of
// the record's columns (kColumnasGrilla) one after the other, in
// Windows-1252. The branches read it by fixed positions: 126 characters.
class FormatoCambios : public FormatoSalida {
public:
    static const QString kNombre; // "CAMBIOS.TXT"
    static constexpr int kLargo = 126;

    const QString& Nombre() const override { return kNombre; }
    std::optional<QString> Registro(const GrillaLote& grilla, int fila) override;
    QByteArray Codifica(const QString& registro) const override;
    // A record that is not 126 characters long.
    std::optional<HallazgoFormato> Revisa(const GrillaLote& grilla, int fila) override;
};
