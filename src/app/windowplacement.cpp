#include "app/windowplacement.h"

#include "document/twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace avatello {

void placeTwips(QWidget* control, int left, int top, int width, int height)
{
    control->setGeometry(left / twipsPerPixel, top / twipsPerPixel, width / twipsPerPixel,
                         height / twipsPerPixel);
}

void fixClientSizeTwips(QWidget* window, int width, int height)
{
    window->setFixedSize(width / twipsPerPixel, height / twipsPerPixel);
}

void centreOnScreen(QWidget* window)
{
    const QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    QRect frame = window->frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    window->move(frame.topLeft());
}

void centreOver(QWidget* window, const QWidget* owner)
{
    if (!owner) {
        centreOnScreen(window);
        return;
    }
    QRect frame = window->frameGeometry();
    frame.moveCenter(owner->frameGeometry().center());
    window->move(frame.topLeft());
}

} // namespace avatello
