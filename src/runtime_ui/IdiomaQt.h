#pragma once

class QCoreApplication;

// Qt's own texts in Spanish: the buttons of message boxes, the file and folder
// dialogs, the calendar's month and day names. Loads the Qt translation that
// the system ships (Debian: qt6-translations-l10n) and makes Spanish the
// default locale. False when the translation file is not installed (the
// program still runs, with Qt's texts in English).
namespace IdiomaQt {
bool Instala(QCoreApplication& app);
} // namespace IdiomaQt
