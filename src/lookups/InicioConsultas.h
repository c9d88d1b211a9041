#pragma once

#include <QString>

// Start-up's part for the lookups: the engine gets the connection text and
// the path of "consultas.kvx" in the program folder, and the definitions
// file is written with the shipped records when it is missing.
void PreparaConsultasInicio(const QString& carpetaPrograma, const QString& connString);

// Makes start-up (IniciaAplicacion) run PreparaConsultasInicio once the
// connection is open. A program that uses the lookups calls it before start-up.
void InstalaConsultasEnInicio();
