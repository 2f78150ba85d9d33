#include "model/colour.h"

#include <QGuiApplication>
#include <QPalette>

namespace avatello {

namespace {

// The one place where system colour numbers meet the platform's palette.
QColor systemColor(quint32 index)
{
    const QPalette palette = QGuiApplication::palette();
    switch (index) {
    case 0x05: // window background
        return palette.color(QPalette::Active, QPalette::Base);
    case 0x06: // window frame
    case 0x08: // window text
        return palette.color(QPalette::Active, QPalette::Text);
    case 0x0F: // button face
        return palette.color(QPalette::Active, QPalette::Button);
    case 0x10: // button shadow
        return palette.color(QPalette::Active, QPalette::Dark);
    case 0x12: // button text
        return palette.color(QPalette::Active, QPalette::ButtonText);
    case 0x14: // button highlight
        return palette.color(QPalette::Active, QPalette::Light);
    default:
        return Qt::black;
    }
}

} // namespace

QColor resolveColor(OleColor c)
{
    if (isSystemColor(c))
        return systemColor(c & 0xFFu);
    return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

} // namespace avatello
