#include "utility_library/Programa.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <cstdlib>

namespace {
QString gCarpeta;
QString gNombre;
std::function<void(int)> gTerminacion;
} // namespace

QString Programa::carpeta() {
    if (gCarpeta.isEmpty()) {
        QString c = QCoreApplication::instance() ? QCoreApplication::applicationDirPath()
                                                 : QDir::currentPath();
        fijaCarpeta(c);
    }
    return gCarpeta;
}

void Programa::fijaCarpeta(const QString& carpeta) {
    gCarpeta = QDir::fromNativeSeparators(carpeta);
    if (!gCarpeta.endsWith('/')) {
        gCarpeta += '/';
    }
}

QString Programa::nombreEjecutable() {
    if (gNombre.isEmpty() && QCoreApplication::instance()) {
        return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
    }
    return gNombre.isEmpty() ? QStringLiteral("tarvelo") : gNombre;
}

void Programa::fijaNombreEjecutable(const QString& nombre) { gNombre = nombre; }

void Programa::permiteEventos() {
    if (QCoreApplication::instance()) {
        QCoreApplication::processEvents();
    }
}

void Programa::termina(int codigo) {
    if (gTerminacion) {
        gTerminacion(codigo);
    }
    std::exit(codigo);
}

void Programa::fijaTerminacion(std::function<void(int)> f) { gTerminacion = std::move(f); }
