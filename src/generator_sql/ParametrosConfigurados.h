#pragma once

#include "generator/ParametrosLote.h"

// The batch parameters of this session: the price classes and VAT rate of
// the configuration table, the kilogram unit and the logged-in user read at
// start-up.
ParametrosLote ParametrosConfigurados();
