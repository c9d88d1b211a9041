#pragma once

#include "utility_library/ErrorKX.h"

#include <QString>
#include <QStringList>

class DB_Dll;

// The program's shared runtime values, set by start-up and read afterwards.
namespace ModGlobal {
extern QString gUsuarioLogeado;
extern QString gCaja;       // "1" when absent
extern quint32 gColorFondo; // 0x00BBGGRR
extern int gKXTimeOut;      // seconds
extern QString gDsnReportes;
extern QString gTablaCfg;
extern QString gUnidadKG;       // kilogram unit code (configuration)
extern QString gArchivoAyuda;   // help file
extern DB_Dll* gDBEstadisticas; // statistics connection (may stay closed)

// --- configuration store
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

// --- error dialog and logs: returns 3 Abort, 4 Retry or 5 Ignore
int MuestraErrorOperador(const ErrorKX& ErrObj, int Botones = 18,
                         const QString& Rutina = QString());
// Folder of "KXERR.LOG": environment "temp", then "tmp", then the system's; ends with a separator.
QString CarpetaLogErrores();
void GrabaErrorAux(const QString& sentencia, const QString& proceso, qint32 numero,
                   const QString& descripcion);
} // namespace ModGlobal
