#pragma once

#include "utility_library/ErrorKX.h"

#include <QPalette>
#include <QString>

class QWidget;

// One skin read from disk: a palette and a style sheet, described by an INI file
//
//   [Skin]
//   Nombre=Vista
//   HojaEstilo=Vista.qss
//   [Paleta]
//   Window=#dde6f0
//
// The style sheet lies beside the description (or at an absolute path); the
// palette takes any QPalette colour role by name and any colour Qt reads.
// Loading either takes the whole skin or nothing, so a window never ends up
// half skinned.
class SkinVentana {
public:
    // `ruta` is the description, or the skin's folder when `ajustes` names the
    // description file inside it. False (with `error()`) when it cannot be used.
    bool CargaSkin(const QString& ruta, const QString& ajustes);
    const ErrorKX& error() const { return error_; }
    const QString& nombre() const { return nombre_; }
    const QPalette& paleta() const { return paleta_; }
    const QString& hojaEstilo() const { return hoja_; }

    // Gives the window (and the widgets and dialogs it parents) this skin.
    void AplicaVentana(QWidget* ventana) const;
    // Back to Qt's own look.
    static void QuitaSkin(QWidget* ventana);

private:
    bool falla(qint32 numero, const QString& descripcion);

    ErrorKX error_;
    QString nombre_;
    QPalette paleta_;
    QString hoja_;
};
