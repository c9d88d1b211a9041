#pragma once

#include <QString>

// One entry of a connection's error list.
struct ErrorADO {
    QString sqlState;
    qint32 numero = 0; // ADO-style number (see NumerosADO)
    QString descripcion;
    qint32 nativo = 0; // the engine's own error code
};

// The ADO numbers the program reacts to.
namespace NumerosADO {
constexpr qint32 FalloNoEspecificado = qint32(0x80004005); // provider failure / link lost
constexpr qint32 ConexionCerrada = 3709;                   // connection closed or invalid
constexpr qint32 ObjetoAbierto = 3705;
constexpr qint32 ObjetoCerrado = 3704;
constexpr qint32 NoPermitido = 3219;
constexpr qint32 ItemNoEncontrado = 3265;       // field name not in the result
constexpr qint32 ErrorSql = qint32(0x80040E14); // statement rejected by the engine
constexpr qint32 Truncado = 8152;               // native: data would be truncated
} // namespace NumerosADO
