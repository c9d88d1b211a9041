#pragma once

#include "utility_library/ErrorKX.h"

#include <QString>

// The questions QlUtil asks the operator (through the operator seam).
namespace QlUtil {
// A date picked by the operator, as short date text; empty when given up.
QString EligeFecha();
// Shows the failure; returns 4 (retry), 5 (go on) or another value (leave).
int ReportaError(const ErrorKX& e);
} // namespace QlUtil
