#pragma once

#include <QString>
#include <QStringView>
#include <QVariant>
#include <optional>

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
// An amount cell with three implied decimals ("001250500") as thousandths;
// none when it is no amount.
std::optional<qint64> Milesimas(QStringView celda);
// Thousandths as text: at least `decimales` decimals, more when needed to
// show the value exactly ("1250,50" with 2 and ",").
QString TextoMilesimas(qint64 milesimas, int decimales, const QString& separador);
// The folder ending with a separator.
QString AgregaBarra(const QString& carpeta);
} // namespace QlUtil
