#include "ui/desktop/translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace avatello {

namespace {

// One translator for one language, or none when that language has no file there.
QTranslator* loaded(QCoreApplication& app, const QLocale& language, const QString& name,
                    const QString& folder)
{
    auto* translator = new QTranslator(&app);
    if (translator->load(language, name, QStringLiteral("_"), folder))
        return translator;
    delete translator;
    return nullptr;
}

} // namespace

QStringList userLanguages()
{
    QByteArray messages = qgetenv("LC_ALL");
    if (messages.isEmpty())
        messages = qgetenv("LC_MESSAGES");
    if (messages.isEmpty())
        messages = qgetenv("LANG");
    if (messages.isEmpty() || messages == "C" || messages.startsWith("C.") || messages == "POSIX")
        return {QStringLiteral("C")};
    return QLocale::system().uiLanguages();
}

QList<QTranslator*> installTranslations(QCoreApplication& app, const QStringList& languages)
{
    for (const QString& name : languages) {
        const QLocale language(name);
        // The texts are written in English: a user who reads English before any language the
        // program is translated into gets them as written.
        if (language.language() == QLocale::English || language.language() == QLocale::C)
            return {};
        QTranslator* own =
            loaded(app, language, QStringLiteral("avatello"), QStringLiteral(":/i18n"));
        if (!own)
            continue;
        QList<QTranslator*> installed{own};
        // Qt's dialogs in the same language, so that one window never mixes two.
        if (QTranslator* qt = loaded(app, language, QStringLiteral("qtbase"),
                                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
            installed << qt;
        for (QTranslator* translator : installed)
            QCoreApplication::installTranslator(translator);
        return installed;
    }
    return {};
}

} // namespace avatello
