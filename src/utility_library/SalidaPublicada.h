#pragma once

#include "utility_library/ArchivoPublicado.h"

#include <QIODevice>

// A write-only device over an ArchivoPublicado, for writers that take a
// QIODevice (a PDF writer): what they write goes to the temporary file beside
// the target, and the target only changes when publica() succeeds.
class SalidaPublicada : public QIODevice {
    Q_OBJECT
public:
    explicit SalidaPublicada(const QString& destino, QObject* padre = nullptr);

    // Flushes what was written and gives the file its final name; throws
    // FalloKX with the system's reason. Without it the target is untouched
    // and the temporary file is removed.
    void publica();
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char* data, qint64 maximo) override;
    qint64 writeData(const char* data, qint64 largo) override;

private:
    ArchivoPublicado archivo_;
};
