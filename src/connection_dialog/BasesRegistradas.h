#pragma once

#include <QList>
#include <QString>

// The registered connections of "BASES.TXT": five comma-separated fields per
// record (name, database, user, enciphered password, server[:port]).
class BasesRegistradas {
public:
    struct Registro {
        QString nombre, baseDatos, usuario, password, servidor;
    };

    // Reads the file's records, taking the fields five at a time with the
    // comma-separated input rules: a comma or a line end ends a field, leading
    // blanks are skipped, a field may be enclosed in double quotes (then it may
    // hold commas). A line with another number of fields therefore shifts the
    // records after it. Blank lines are skipped; a short last record gets empty
    // fields. False when the file could not be read.
    static bool Lee(const QString& ruta, QList<Registro>& registros);
    // Fields of a text read by the same rules.
    static QList<QString> Campos(const QString& texto);

    // The key under which a connection is registered: "VENTAS / SRV01\SQL2008"
    // (database and server in capitals, trimmed, the server without ":port").
    static QString Clave(const QString& servidor, const QString& baseDatos);
    // "SRV01:1500" -> server "SRV01" (trimmed, capitals) and port "1500".
    // False (and nothing changed) when there is no ":".
    static bool SeparaPuerto(QString& servidor, QString& puerto);
};
