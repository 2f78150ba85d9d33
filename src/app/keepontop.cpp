#include "app/keepontop.h"

#include <QWidget>

namespace avatello {

void KeepOnTop(QWidget* window)
{
    if (!window)
        return;
    // Changing the flags of a shown window hides it; show it again where it was.
    const bool shown = window->isVisible();
    const QPoint position = window->pos();
    window->setWindowFlag(Qt::WindowStaysOnTopHint, true);
    if (shown) {
        window->move(position);
        window->show();
    }
}

} // namespace avatello
