#pragma once

#include <QString>
#include <array>

// One of the eight commands of the toolbar, in the order of its buttons.
enum class ComandoUtilLin { Nuevo, Borrar, Reporte, Consultar, Planilla, Cancelar, Grabar, Cerrar };

// What the toolbar knows about a command. Captions keep their leading blanks:
// the command name sent to the host is the caption trimmed, in capitals.
struct DatosComandoUtilLin {
    ComandoUtilLin comando;
    int id;                 // button id; the icon strip holds the icons in bar order
    const char* titulo;     // caption as shown
    qint16 tecla;           // key code that raises it (Esc also raises CERRAR)
    const char* habilitado; // name of its …Enabled property
    const char* visible;    // name of its …Visible property as persisted
};

inline constexpr std::array<DatosComandoUtilLin, 8> kComandosUtilLin{{
    {ComandoUtilLin::Nuevo, 1, "Nuevo", 114, "NuevoEnabled", "NuevoVisible"},
    {ComandoUtilLin::Borrar, 2, "Borrar", 121, "BorrarEnabled", "BorrarVisible"},
    {ComandoUtilLin::Reporte, 3, " Reporte", 115, "ReporteEnabled", "ReporteVisible"},
    {ComandoUtilLin::Consultar, 6, " Consultar", 116, "ConsultaEnabled", "ConsultarVisible"},
    {ComandoUtilLin::Planilla, 7, "  Planilla", 117, "PlanillaEnabled", "PlanillaVisible"},
    {ComandoUtilLin::Cancelar, 8, "Cancelar", 27, "CancelarEnabled", "CancelarVisible"},
    {ComandoUtilLin::Grabar, 4, "Grabar", 113, "GrabarEnabled", "GrabarVisible"},
    {ComandoUtilLin::Cerrar, 5, "   Cerrar", 27, "CerrarEnabled", "CerrarVisible"},
}};

inline const DatosComandoUtilLin& DatosDe(ComandoUtilLin c) {
    return kComandosUtilLin[static_cast<std::size_t>(c)];
}

// "NUEVO", "BORRAR", …: what the host receives.
inline QString NombreComando(ComandoUtilLin c) {
    return QString::fromLatin1(DatosDe(c).titulo).trimmed().toUpper();
}
