#pragma once

#include "generator/RepositorioLote.h"

#include <QByteArray>
#include <QString>
#include <memory>
#include <vector>

class ArticulosBalanza;
class FormatoSalida;
class GrillaLote;

// The change files of one generation, in the chosen folder: one per format
// of Formatos() (CAMBIOS.TXT for the points of sale, BALANZA.TXT for the
// scales), one record per line ended by CR LF, no header, replaced every
// time. The path label names the point-of-sale file; the others go beside it.
//
// The records of a generation go to temporary files in the same folder as
// they are recorded, and only reach the final names when the batch is
// recorded: Escribe() flushes them to disk and Publica() renames them over
// the final names. A link at a final name is replaced, never followed; a
// generation that fails or is killed leaves the previous files as they were
// (and its temporary files are removed by the next one).
class ArchivosCambio {
public:
    // `articulos` answers the scale lookups; `unidadKG` is the kilogram unit code.
    ArchivosCambio(ArticulosBalanza& articulos, const QString& unidadKG);
    ~ArchivosCambio();
    ArchivosCambio(const ArchivosCambio&) = delete;
    ArchivosCambio& operator=(const ArchivosCambio&) = delete;

    // The files a generation writes, in the order they are written and
    // published: the point-of-sale file first. A new output is one more
    // format here.
    static std::vector<std::unique_ptr<FormatoSalida>> Formatos(ArticulosBalanza& articulos,
                                                                const QString& unidadKG);
    // This writer's formats, in that order.
    int CantidadFormatos() const { return int(salidas_.size()); }
    const FormatoSalida& Formato(int i) const;

    // Checks the folder of `ruta` (the path label: the folder followed by
    // CAMBIOS.TXT). When the folder is missing, or the path names no folder,
    // the operator is told and false is returned. Leftovers of a killed
    // generation in that folder are removed.
    bool Abre(const QString& ruta);
    // The lines of grid row `fila`, one per format in order (empty where the
    // row gets no record, e.g. the scale file for article codes of 10000 and
    // above). The article lookup may throw FalloKX.
    using Registros = std::vector<QByteArray>;
    Registros Prepara(const GrillaLote& grilla, int fila);
    // Rows `desde` to `hasta` (excluded) are prepared next: their lookups
    // are asked together. May throw FalloKX.
    void Anticipa(const GrillaLote& grilla, int desde, int hasta);
    // Adds a row's lines to the files to publish (after Abre()). A write
    // that fails is reported by Escribe().
    void Agrega(const Registros& registros);
    // Writes every file whole under its temporary name; throws FalloKX with
    // the system's reason and the file when it cannot, and can be called
    // again to go on.
    void Escribe();
    // Gives every written file its final name.
    void Publica();
    // Drops what was gathered; nothing reaches the final names.
    void Descarta();
    // Where the files go and the temporary files that hold them (after Abre()).
    PublicacionPendiente Pendiente(qint64 codigo) const;
    // Leaves the written temporary files on disk for a later publication.
    void Conserva();
    // Publishes the files of a batch committed by an earlier run whose
    // renames never happened: each temporary file still there takes its
    // final name. Throws FalloKX when a rename fails.
    static void PublicaPendiente(const PublicacionPendiente& p);
    // What each file holds so far, in format order: its name, byte length
    // and SHA-256, for the batch's record of what it published.
    std::vector<ArchivoGrabado> Huellas() const;
    // The records format `i` holds so far.
    int Lineas(int i) const;

    // --- paths
    // The folder of the point-of-sale path, or empty when the path does not
    // end with a folder separator followed by CAMBIOS.TXT (any case).
    static QString Carpeta(const QString& ruta);
    // The path of the file `nombre` beside the point-of-sale path: the
    // point-of-sale path itself when it names that file (in any case), else
    // its folder followed by `nombre`; empty when the path names no folder.
    static QString RutaDe(const QString& ruta, const QString& nombre);
    // The scale file's path: the point-of-sale path with its file name
    // replaced by BALANZA.TXT.
    static QString RutaBalanza(const QString& ruta);
    // The path as this platform's file functions take it.
    static QString RutaLocal(const QString& ruta);

    static const QString kMensajeRuta;

private:
    struct Salida;
    std::vector<std::unique_ptr<Salida>> salidas_;
};
