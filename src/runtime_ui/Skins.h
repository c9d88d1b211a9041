#pragma once

#include <QString>

class QWidget;

// The look each workstation user chose for the suite's windows: a number in
// "ve000zi.ini" selects one of the skins shipped in the program folder's "Styles".
namespace Skins {

// The user's style value as written in "ve000zi.ini" (section: user name in
// capitals followed by "Styles", key "Styles"), "1" when absent. The toolbar
// compares this text as it stands; the skin reads it as a number.
QString ValorEstilo();

// The number a style value stands for: the leading number of the text the way
// the suite reads numbers (blanks ignored, reading stops at the first character
// that cannot continue a number, no number gives 0), rounded half to even.
int NumeroSkin(const QString& valor);

// Where a skin lies, relative to the program folder: the skin description, or
// the skin's folder when `ajustes` names the description inside it.
struct ArchivoSkin {
    QString ruta;
    QString ajustes;
};
ArchivoSkin ArchivoDeSkin(int numero);

// Applies the user's skin to the window. A skin that cannot be read leaves the
// window with Qt's own look and appends one line to "KXERR.LOG"; nothing is asked.
// Returns true when the skin was applied.
bool AplicaSkin(QWidget* Ventana);

} // namespace Skins
