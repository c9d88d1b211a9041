#pragma once

// The suite's QlUtil, whole, under the name its callers know. Each topic has
// its own header; new code includes the one it needs.
#include "utility_library/QlCifrado.h"
#include "utility_library/QlDialogos.h"
#include "utility_library/QlTexto.h"
