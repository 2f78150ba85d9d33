#include "ui/desktop/waylandsize.h"

#include <QEvent>
#include <QGuiApplication>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace avatello {

namespace {

constexpr Qt::WindowStates sizedByCompositor = Qt::WindowMaximized | Qt::WindowFullScreen;

class WaylandSize : public QObject
{
public:
    explicit WaylandSize(QWidget* window) : QObject(window), window_(window)
    {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::Show:
            // Qt holds a window to its fixed size, and so would answer "maximized" with the
            // wrong size; only the widget keeps the fixed size.
            if (QWindow* handle = window_->windowHandle())
                handle->setMaximumSize(QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
            break;
        case QEvent::WindowStateChange:
        case QEvent::Resize:
            // After the event: the state asked for goes to the compositor, which answers.
            QTimer::singleShot(0, this, &WaylandSize::restore);
            break;
        default:
            break;
        }
        return false;
    }

private:
    void restore()
    {
        QWindow* handle = window_->windowHandle();
        if (!handle)
            return;
        // The widget's state is the compositor's word; the window's is what was last asked.
        // Until the compositor has let go, the window keeps the size it was given, and only
        // the compositor is asked: the widget would put its own size back at once.
        if (window_->windowState() & sizedByCompositor) {
            if (handle->windowStates() & sizedByCompositor)
                handle->setWindowStates(handle->windowStates() & ~sizedByCompositor);
        } else if (window_->size() != window_->minimumSize()) {
            window_->resize(window_->minimumSize());
        }
    }

    QWidget* window_;
};

} // namespace

void keepSizeOnWayland(QWidget* window)
{
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        new WaylandSize(window);
}

} // namespace avatello
