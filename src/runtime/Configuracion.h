#pragma once

#include <QString>

// The configuration store of ModGlobal: keys of the configuration table and
// the program's INI values.
namespace ModGlobal {
// VALOR of key `Clave` on the main connection; a missing key gives " ".
QString Cfg(const QString& Clave, QString* ValorAux = nullptr);
QString CfgKX(const QString& Clave, QString* ValorAux = nullptr);
void GrabaCfgKX(const QString& Clave, const QString& Valor, const QString& ValorAux,
                bool PoliticaNegocio, const QString& Grupo, bool TrimValor = true);
bool TextoABooleano(const QString& Texto, bool PorDefectoVerdadero = true);
void CargaConfiguracion(const QString& CarpetaPrograma);
// The "CFondo" rule: the text as a whole number, 0 (or no number) giving 0xFFFF00;
// a number that does not fit a colour leaves `actual`.
quint32 ColorDeTexto(const QString& texto, quint32 actual);
} // namespace ModGlobal
