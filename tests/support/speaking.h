#pragma once

// The windows in another language while a test runs, for the tests of the windows.
#include "ui/desktop/translations.h"

#include <QCoreApplication>
#include <QList>
#include <QString>
#include <QTranslator>

namespace avatello::test {

// The translations for the user's languages ("en-GB:de-DE") while a test runs.
struct Speaking
{
    explicit Speaking(const QString& languages)
        : installed(installTranslations(*QCoreApplication::instance(), languages.split(u':')))
    {
    }
    ~Speaking() { qDeleteAll(installed); }
    QList<QTranslator*> installed;
};

// A caption as it is shown, without the '&' that marks its mnemonic.
inline QString shown(QString caption)
{
    return caption.remove(u'&');
}

} // namespace avatello::test
