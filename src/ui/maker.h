#pragma once

#include <QCoreApplication>
#include <QString>

namespace avatello::maker {

// Who made the program and where to find it: shown by the link label and the about box.
inline const QString siteName = QStringLiteral("avatello.example.org");
inline const QString webAddress = QStringLiteral("https://avatello.example.org/");
// The author's name is said in the user's language: QCoreApplication::translate("avatello::maker",
// authorName).
inline constexpr const char* authorName =
    QT_TRANSLATE_NOOP("avatello::maker", "the Avatello developers");
inline const QString authorEmail = QStringLiteral("hello@avatello.example.org");
// The page behind the hidden "The Best Page In The Universe" item.
inline const QString bestPageAddress = QStringLiteral("https://avatello.example.org/best-page/");

} // namespace avatello::maker
