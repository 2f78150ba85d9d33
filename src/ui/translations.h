#pragma once

#include <QList>
#include <QLocale>
#include <QStringList>

class QCoreApplication;
class QTranslator;

namespace avatello {

// Makes the windows speak the first of the user's languages (BCP 47 names, most wanted first)
// that the program speaks: English, the language its texts are written in, or one of the
// translations built into it. For a translation, Qt's own dialogs (file, colour, text prompt,
// message box) speak it too, from Qt's translations on the system. English or the C locale loads
// nothing, so every text stays exactly as written. Call before any window exists. Gives back the
// translators it installed, owned by the application; deleting them returns to English.
QList<QTranslator*>
installTranslations(QCoreApplication& app,
                    const QStringList& languages = QLocale::system().uiLanguages());

} // namespace avatello
