#include "ui/uifont.h"

#include "model/twips.h"

namespace avatello {

QFont uiFont(const QString& family, double points, bool bold)
{
    QFont font(family);
    font.setPixelSize(pointsToPixels(points));
    font.setBold(bold);
    return font;
}

} // namespace avatello
