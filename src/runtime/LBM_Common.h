#pragma once

// The suite's LBM_Common, whole, under the name its callers know. Each topic
// has its own header; new code includes the one it needs.
#include "runtime/ExisteArchivo.h"
#include "runtime/FormatosFecha.h"
#include "runtime/ListaBases.h"
#include "runtime/ScriptSql.h"
