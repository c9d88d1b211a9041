#pragma once

#include <QString>

// Reads INI files of the program folder ("ve000zi.ini"): sections and keys
// without regard to case, ";" comments, Windows-1252 text.
class QlIni {
public:
    static QString LeeValor(const QString& archivo, const QString& seccion, const QString& clave,
                            const QString& porDefecto);
    // Full path of an INI file name without folder.
    static QString Ruta(const QString& archivo);
};
