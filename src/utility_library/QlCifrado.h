#pragma once

#include <QString>

// QlUtil's reversible cipher for passwords kept in files (the connection list).
namespace QlUtil {
// Hexadecimal text: no comma and no line break, so it fits a comma-separated line.
QString Encripta(const QString& texto);
QString Desencripta(const QString& texto);
} // namespace QlUtil
