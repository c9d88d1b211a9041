#pragma once

#include <QString>
#include <system_error>

// Why a file operation failed, in the operator's language: the C library
// speaks the process's locale (English on most servers), and a message that
// names a file the operator chose must be read by the operator.
QString MotivoSistema(int numeroError);
QString MotivoSistema(const std::error_code& error);
