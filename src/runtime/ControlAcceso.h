#pragma once

#include <QString>

// Records this start in Control_Acceso: workstation, user, program, the task
// under which the rights tables grant the program, and when. Never refuses
// the start; no failure reaches the caller. Empty `programa`: this executable.
void ControlAcceso(const QString& programa = QString());
