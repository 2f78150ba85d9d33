#pragma once

#include <QString>

namespace avatello::maker {

// Who made the program and where to find it: shown by the link label and the about box.
inline const QString siteName = QStringLiteral("avatello.example.org");
inline const QString webAddress = QStringLiteral("https://avatello.example.org/");
inline const QString authorName = QStringLiteral("the Avatello developers");
inline const QString authorEmail = QStringLiteral("hello@avatello.example.org");
// The page behind the hidden "The Best Page In The Universe" item.
inline const QString bestPageAddress = QStringLiteral("https://avatello.example.org/best-page/");

} // namespace avatello::maker
