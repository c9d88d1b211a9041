#pragma once

#include <QString>

// The form of a message that agrees with its count: `uno` for exactly one,
// `varios` (with "%1" for the count) otherwise.
inline QString Plural(qint64 cantidad, const QString& uno, const QString& varios) {
    return cantidad == 1 ? uno : varios.arg(cantidad);
}
