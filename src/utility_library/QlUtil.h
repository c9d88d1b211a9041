#pragma once

#include "utility_library/ErrorKX.h"

#include <QDate>
#include <QString>
#include <QVariant>

// Text, number and dialog services the suite's programs share.
class QlUtil {
public:
    // Cut or padded with blanks on the right to exactly `ancho` characters.
    static QString AjustaTexto(const QString& texto, int ancho);
    // Value as a currency amount (four decimals); empty or unreadable text gives 0.
    static double TextoAMoneda(const QString& texto);
    static double TextoANumero(const QString& texto);
    // The value as text; null gives empty text.
    static QString NoNulo(const QVariant& valor);
    static int CuentaPalabras(const QString& texto);
    // The text without any of the given characters (one to three).
    static QString QuitaCaracteres(const QString& texto, const QString& caracteres);
    // Every occurrence replaced, without regard to case.
    static QString Reemplaza(const QString& texto, const QString& busca, const QString& pone);
    static QString ReemplazaCadena(const QString& texto, const QString& busca,
                                   const QString& pone) {
        return Reemplaza(texto, busca, pone);
    }
    // With a width: trimmed, left-aligned, blank-padded (or cut) to it.
    static QString FormateaCodigo(const QString& codigo, int ancho = -1);
    // The folder ending with a separator.
    static QString AgregaBarra(const QString& carpeta);
    // A date picked by the operator, as short date text; empty when given up.
    static QString EligeFecha();
    // Shows the failure; returns 4 (retry), 5 (go on) or another value (leave).
    static int ReportaError(const ErrorKX& e);
    static QString Encripta(const QString& texto);
    static QString Desencripta(const QString& texto);
};
