#include "ui/desktop/keepontop.h"

#include <QWidget>

namespace avatello {

void KeepOnTop(QWidget* window)
{
    if (!window)
        return;
    // Changing the flags of a window re-creates it, hidden; put it back where it was, as it was.
    const bool shown = window->isVisible();
    const QRect geometry = window->geometry();
    window->setWindowFlag(Qt::WindowStaysOnTopHint, true);
    window->setGeometry(geometry);
    if (shown)
        window->show();
}

} // namespace avatello
