#pragma once

#include "generator/RepositorioLote.h"

#include <QByteArray>
#include <QCryptographicHash>
#include <memory>
#include <vector>

class ArchivoPublicado;
#include <QString>

class ArticulosBalanza;
class GrillaLote;

// The pair of change files of one generation: CAMBIOS.TXT for the points of
// sale and BALANZA.TXT for the scales, in the chosen folder. Windows-1252,
// one record per line ended by CR LF, no header, replaced every time.
//
// The records of a generation go to temporary files in the same folder as
// they are recorded, and only reach the final names when the batch is
// recorded: Escribe() flushes them to disk and Publica() renames them over
// CAMBIOS.TXT and BALANZA.TXT. A link at either name is replaced, never
// followed; a generation that fails or is killed leaves the previous files as
// they were (and its temporary files are removed by the next one).
class ArchivosCambio {
public:
    // `articulos` answers the scale lookups; `unidadKG` is the kilogram unit code.
    ArchivosCambio(ArticulosBalanza& articulos, const QString& unidadKG);
    ~ArchivosCambio();
    ArchivosCambio(const ArchivosCambio&) = delete;
    ArchivosCambio& operator=(const ArchivosCambio&) = delete;

    // Checks the folder of `ruta` (the path label: the folder followed by
    // CAMBIOS.TXT). When the folder is missing, or the path names no folder,
    // the operator is told and false is returned. Leftovers of a killed
    // generation in that folder are removed.
    bool Abre(const QString& ruta);
    // The records of grid row `fila`: the point-of-sale record, and the scale
    // record when its article code is below 10000 (empty otherwise). The
    // article lookup may throw FalloKX.
    struct Registros {
        QByteArray cambios;
        QByteArray balanza;
    };
    Registros Prepara(const GrillaLote& grilla, int fila);
    // Adds a row's records to the files to publish (after Abre()). A write
    // that fails is reported by Escribe().
    void Agrega(const Registros& registros);
    // Writes both files whole under their temporary names; throws FalloKX
    // with the system's reason and the file when it cannot, and can be
    // called again to go on.
    void Escribe();
    // Gives both written files their final names.
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
    int registrosCambios() const { return lineasCambios_; }
    // What each file holds so far: its byte length and SHA-256, for the
    // batch's record of what it published.
    ArchivoGrabado HuellaCambios() const;
    ArchivoGrabado HuellaBalanza() const;
    static const QString kCambios; // "CAMBIOS.TXT"
    static const QString kBalanza; // "BALANZA.TXT"

    // --- the records and paths, for the writer and its tests
    // The cells of every column but the last one, in order, leaving out the
    // columns headed "ID" or "NoMarcar" (any case).
    static QString RegistroCambios(const GrillaLote& grilla, int fila);
    // The columns RegistroCambios takes, in order.
    static std::vector<int> ColumnasCambios(const GrillaLote& grilla);
    // False when the row gets no scale record (article code 10000 or above).
    static bool RegistroBalanza(const GrillaLote& grilla, int fila, ArticulosBalanza& articulos,
                                const QString& unidadKG, QString& registro);
    // The folder of the point-of-sale path, or empty when the path does not
    // end with a folder separator followed by CAMBIOS.TXT (any case).
    static QString Carpeta(const QString& ruta);
    // The scale file's path: the point-of-sale path with its file name
    // replaced by BALANZA.TXT.
    static QString RutaBalanza(const QString& ruta);
    // The path as this platform's file functions take it.
    static QString RutaLocal(const QString& ruta);

    static const QString kMensajeRuta;

private:
    ArticulosBalanza& articulos_;
    QString unidadKG_;
    QString rutaCambios_, rutaBalanza_;
    std::unique_ptr<ArchivoPublicado> archivoCambios_, archivoBalanza_;
    // The record's columns, read off the header row at the first record.
    std::vector<int> columnas_;
    bool columnasLeidas_ = false;
    int lineasCambios_ = 0;
    QCryptographicHash shaCambios_{QCryptographicHash::Sha256};
    QCryptographicHash shaBalanza_{QCryptographicHash::Sha256};
    qint64 largoCambios_ = 0, largoBalanza_ = 0;
};
