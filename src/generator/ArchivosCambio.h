#pragma once

#include <QFile>
#include <QString>

class ArticulosBalanza;
class GrillaLote;

// The pair of change files of one generation: CAMBIOS.TXT for the points of
// sale and BALANZA.TXT for the scales, in the chosen folder. Windows-1252,
// one record per line ended by CR LF, no header, overwritten every time.
//
// Every record reaches the disk whole with one unbuffered write, or not at
// all: a failed write is cut back to the last whole record, so an abandoned
// generation never leaves half a record behind. The files are closed when the
// pair is closed or destroyed, whatever happened in between.
class ArchivosCambio {
public:
    // `articulos` answers the scale lookups; `unidadKG` is the kilogram unit code.
    ArchivosCambio(ArticulosBalanza& articulos, const QString& unidadKG);
    ~ArchivosCambio();
    ArchivosCambio(const ArchivosCambio&) = delete;
    ArchivosCambio& operator=(const ArchivosCambio&) = delete;

    // Checks the folder of `ruta` (the path label: the folder followed by
    // CAMBIOS.TXT) and creates both files. When the folder is missing, or the
    // path names no folder, the operator is told and false is returned with no
    // file created. A file that cannot be created throws FalloKX.
    bool Abre(const QString& ruta);
    // The point-of-sale record of grid row `fila`, written as one line.
    void EscribeCambios(const GrillaLote& grilla, int fila);
    // The scale record of grid row `fila` when its article code is below
    // 10000; nothing otherwise. The article lookup may throw FalloKX.
    void EscribeBalanza(const GrillaLote& grilla, int fila);
    // Closes the point-of-sale file, then the scale file.
    void Cierra();
    bool abiertos() const { return cambios_.isOpen() || balanza_.isOpen(); }

    // --- the records and paths, for the writer and its tests
    // The cells of every column but the last one, in order, leaving out the
    // columns headed "ID" or "NoMarcar" (any case).
    static QString RegistroCambios(const GrillaLote& grilla, int fila);
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
    void escribe(QFile& archivo, const QString& registro);

    ArticulosBalanza& articulos_;
    QString unidadKG_;
    QFile cambios_;
    QFile balanza_;
};
