#include "model/defaultfont.h"

#include <QFontDatabase>
#include <QString>

namespace avatello {

void ensureDefaultFont()
{
    if (QFontDatabase::hasFamily(QStringLiteral("Tahoma")))
        return;
    QFontDatabase::addApplicationFont(QStringLiteral("/usr/share/wine/fonts/tahoma.ttf"));
}

} // namespace avatello
