#pragma once

#include <QByteArray>
#include <QString>

// A file that takes its final name only when it is whole on disk: written
// under a temporary name in the same folder (created new, never through a
// link), flushed to disk, then renamed over the final name, which replaces
// whatever was there (a link included) without following it. Dropped
// unpublished, the temporary file is removed.
class ArchivoPublicado {
public:
    explicit ArchivoPublicado(const QString& destino);
    ~ArchivoPublicado();
    ArchivoPublicado(const ArchivoPublicado&) = delete;
    ArchivoPublicado& operator=(const ArchivoPublicado&) = delete;

    // Writes `contenido` whole and flushes it to disk. Throws FalloKX with
    // the system's reason and the file ("No space left on device").
    void escribe(const QByteArray& contenido);
    // Gives the written file its final name.
    void publica();

    const QString& temporal() const { return temporal_; }
    // Removes the temporary files that a killed run left beside `destino`.
    static void limpiaRestos(const QString& destino);

private:
    QString destino_;
    QString temporal_;
    bool escrito_ = false;
};
