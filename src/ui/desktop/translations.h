#pragma once

#include <QList>
#include <QLocale>
#include <QStringList>

class QCoreApplication;
class QTranslator;

namespace avatello {

// The user's languages, most wanted first, as the environment gives them. As with gettext, a C
// or POSIX locale means the texts as written whatever LANGUAGE lists (Qt would follow LANGUAGE).
QStringList userLanguages();

// Makes the windows speak the first of the user's languages (BCP 47 names, most wanted first)
// that the program speaks: English, the language its texts are written in, or one of the
// translations built into it. For a translation, Qt's own dialogs (file, colour, text prompt,
// message box) speak it too, from Qt's translations on the system. English or the C locale loads
// nothing, so every text stays exactly as written. Call before any window exists. Gives back the
// translators it installed, owned by the application; deleting them returns to English.
QList<QTranslator*> installTranslations(QCoreApplication& app,
                                        const QStringList& languages = userLanguages());

} // namespace avatello
