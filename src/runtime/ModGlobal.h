#pragma once

// The suite's ModGlobal, whole, under the name its callers know. Each topic
// has its own header; new code includes the one it needs.
#include "runtime/Configuracion.h"
#include "runtime/ErroresOperador.h"
#include "runtime/ValoresGlobales.h"
