#pragma once

#include <QString>
#include <QStringList>

// A folder below a base folder, reached one name at a time without following
// a link: each missing folder is created, and a link (or anything that is not
// a folder) where a name should be stops the way there. The folder stays
// open while this object lives, and the paths it hands out go through the
// open folder itself, so nothing swapped in on the way afterwards redirects
// a write.
class CarpetaSinEnlaces {
public:
    // Throws FalloKX with the system's reason and the path.
    CarpetaSinEnlaces(const QString& base, const QStringList& nombres);
    ~CarpetaSinEnlaces();
    CarpetaSinEnlaces(const CarpetaSinEnlaces&) = delete;
    CarpetaSinEnlaces& operator=(const CarpetaSinEnlaces&) = delete;

    // A path to the file `nombre` in this folder, for the file functions.
    QString ruta(const QString& nombre) const;
    // The folder as the operator reads it: the base and the names.
    const QString& visible() const { return visible_; }

private:
    int fd_ = -1;
    QString visible_;
};
