#include "runtime_ui/IdiomaQt.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

bool IdiomaQt::Instala(QCoreApplication& app) {
    const QLocale espanol(QLocale::Spanish, QLocale::Argentina);
    QLocale::setDefault(espanol);
    // One translator for the life of the program, owned by the application.
    auto* qt = new QTranslator(&app);
    if (!qt->load(espanol, QStringLiteral("qtbase"), QStringLiteral("_"),
                  QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete qt;
        return false;
    }
    QCoreApplication::installTranslator(qt);
    return true;
}
