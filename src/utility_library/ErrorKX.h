#pragma once

#include <QString>
#include <exception>
#include <string>

// A failure as the error dialogs show it: number, description and source.
struct ErrorKX {
    qint32 numero = 0;
    QString descripcion;
    QString fuente;
};

// Thrown by the steps of a routine; the routine's handler turns it into a dialog.
class FalloKX : public std::exception {
public:
    explicit FalloKX(ErrorKX e) : error_(std::move(e)), texto_(error_.descripcion.toStdString()) {}
    FalloKX(qint32 numero, const QString& descripcion, const QString& fuente = QString())
        : FalloKX(ErrorKX{numero, descripcion, fuente}) {}
    const ErrorKX& error() const { return error_; }
    const char* what() const noexcept override { return texto_.c_str(); }

private:
    ErrorKX error_;
    std::string texto_;
};
