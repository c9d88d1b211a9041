#pragma once

#include <QChar>
#include <QString>
#include <QStringList>

// Services for a window's input fields, found by their data field names.
class QlFields {
public:
    // Index of the field bound to `campo` (without regard to case); -1 when none.
    static int IndiceCampo(const QString& campo, const QStringList& camposDeDatos);
    // True when the key ends a field's entry (Enter).
    static bool TeclaAcepta(int tecla) { return tecla == 13; }
    // The typed character, possibly changed; a null QChar cancels it.
    // `soloNumeros`: fields that take whole numbers only.
    static QChar FiltraTecla(QChar c, bool soloNumeros, bool mayusculas);
};
