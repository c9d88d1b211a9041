#pragma once

#include <QString>
#include <QVariant>

// The text and number helpers of the suite's QlUtil.
namespace QlUtil {
// Cut or padded with blanks on the right to exactly `ancho` characters.
QString AjustaTexto(const QString& texto, int ancho);
// Value as a currency amount (four decimals); empty or unreadable text gives 0.
double TextoAMoneda(const QString& texto);
double TextoANumero(const QString& texto);
// The value as text; null gives empty text.
QString NoNulo(const QVariant& valor);
int CuentaPalabras(const QString& texto);
// The text without any of the given characters (one to three).
QString QuitaCaracteres(const QString& texto, const QString& caracteres);
// Every occurrence replaced, without regard to case.
QString Reemplaza(const QString& texto, const QString& busca, const QString& pone);
inline QString ReemplazaCadena(const QString& texto, const QString& busca, const QString& pone) {
    return Reemplaza(texto, busca, pone);
}
// With a width: trimmed, left-aligned, blank-padded (or cut) to it.
QString FormateaCodigo(const QString& codigo, int ancho = -1);
// The folder ending with a separator.
QString AgregaBarra(const QString& carpeta);
} // namespace QlUtil
