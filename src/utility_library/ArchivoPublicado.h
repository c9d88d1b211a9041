#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

// A file that takes its final name only when it is whole on disk: written
// under a temporary name in the same folder (created new, never through a
// link), flushed to disk, then renamed over the final name, which replaces
// whatever was there (a link included) without following it. Dropped
// unpublished, the temporary file is removed.
//
// Content is added piece by piece and goes to the temporary file in large
// writes as it comes, so a generation does not hold its files in memory. A
// write that fails (a full disk) keeps what it could not write and is only
// reported by termina(), which can be called again to go on from there.
class ArchivoPublicado {
public:
    explicit ArchivoPublicado(const QString& destino);
    ~ArchivoPublicado();
    ArchivoPublicado(const ArchivoPublicado&) = delete;
    ArchivoPublicado& operator=(const ArchivoPublicado&) = delete;

    // Creates the (empty) temporary file now, so that a folder that cannot
    // take the file is told before anything else is done; throws FalloKX
    // naming the file and the reason.
    void crea();
    // Adds to the content; never throws (a failure waits for termina()).
    void agrega(const QByteArray& contenido);
    // Writes what is still pending and flushes the file to disk. Throws
    // FalloKX with the system's reason and the file ("No space left on
    // device"); called again, it goes on from what was written.
    void termina();
    // The whole content at once: agrega() and termina().
    void escribe(const QByteArray& contenido);
    // Gives the written file its final name.
    void publica();

    const QString& temporal() const { return temporal_; }
    // Keeps the written temporary file on disk when this object goes (the
    // content is committed elsewhere and will be published later).
    void conserva();
    // Renames a whole temporary file left by an earlier run over `destino`.
    // False when `temporal` is not there (published already); throws
    // FalloKX when the rename fails.
    static bool publicaTemporal(const QString& temporal, const QString& destino);
    // Appends to a log-like file, creating it when missing, never through a
    // link (a link there makes the write fail). False when it could not.
    static bool agregaAlFinal(const QString& ruta, const QByteArray& contenido);
    // True when the temporary file `temporal` belongs to another process of
    // this machine that is still running (its generation may still publish it).
    static bool deOtroProcesoVivo(const QString& temporal);
    // Removes the temporary files that a killed run left beside `destino`.
    static void limpiaRestos(const QString& destino);

private:
    // Writes the pending bytes; false (and the failure kept) when it cannot.
    bool vuelca();
    [[noreturn]] void fallaGuardada();

    QString destino_;
    QString temporal_;
    QByteArray pendiente_;
    int fd_ = -1;
    qint64 escritos_ = 0;
    // The last failure: 0, or the system's error number; and whether it came
    // from creating the file.
    int error_ = 0;
    bool errorAlCrear_ = false;
    bool terminado_ = false;
    // The written part could not be cut back after a failure: the file was
    // dropped, and the content with it.
    bool perdido_ = false;
#ifndef Q_OS_UNIX
    QString motivo_;
#endif
};
