#include "ui/desktop/keepontop.h"

#include <algorithm>
#include <QApplication>
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

void openAboveKeptWindows(QWidget* dialog)
{
    const QWidgetList windows = QApplication::topLevelWidgets();
    const bool kept = std::any_of(windows.begin(), windows.end(), [dialog](const QWidget* window) {
        return window != dialog && window->isVisible() &&
               window->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
    });
    if (kept)
        dialog->setWindowFlag(Qt::WindowStaysOnTopHint, true);
}

} // namespace avatello
