#pragma once

#include <QString>

class DB_Dll;

// The program's shared runtime values (the suite's ModGlobal), set by
// start-up and read afterwards.
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
} // namespace ModGlobal
