#include "runtime/ValoresGlobales.h"

namespace ModGlobal {
QString gUsuarioLogeado;
QString gCaja = QStringLiteral("1");
quint32 gColorFondo = 0xFFFFFF;
int gKXTimeOut = 360;
QString gDsnReportes;
QString gTablaCfg;
QString gUnidadKG;
QString gArchivoAyuda;
DB_Dll* gDBEstadisticas = nullptr;
} // namespace ModGlobal
