#include "app/uifont.h"

#include "document/twips.h"

#include <QFontDatabase>

namespace avatello {

QFont uiFont(const QString& family, double points, bool bold)
{
    QFont font(family);
    font.setPixelSize(pointsToPixels(points));
    font.setBold(bold);
    return font;
}

void ensureDefaultFont()
{
    if (QFontDatabase::hasFamily(QStringLiteral("Tahoma")))
        return;
    QFontDatabase::addApplicationFont(QStringLiteral("/usr/share/wine/fonts/tahoma.ttf"));
}

} // namespace avatello
