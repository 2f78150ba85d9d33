#include "ui/desktop/doubleclicktail.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QPoint>
#include <QTimer>

namespace avatello {

namespace {

class DoubleClickTail : public QObject
{
public:
    explicit DoubleClickTail(const QPoint& at) : QObject(qApp), at_(at)
    {
        clock_.start();
        qApp->installEventFilter(this);
        QTimer::singleShot(QApplication::doubleClickInterval(), this, &QObject::deleteLater);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const QEvent::Type type = event->type();
        if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonDblClick &&
            type != QEvent::MouseButtonRelease)
            return QObject::eventFilter(watched, event);
        if (clock_.elapsed() > QApplication::doubleClickInterval())
            return QObject::eventFilter(watched, event);
        const QPoint at = static_cast<QMouseEvent*>(event)->globalPosition().toPoint();
        if ((at - at_).manhattanLength() > QApplication::startDragDistance())
            return QObject::eventFilter(watched, event);
        if (type == QEvent::MouseButtonRelease) { // the double-click is over
            qApp->removeEventFilter(this);
            deleteLater();
        }
        return true;
    }

private:
    QPoint at_;
    QElapsedTimer clock_;
};

} // namespace

void swallowRestOfDoubleClick(const QPoint& globalPosition)
{
    new DoubleClickTail(globalPosition);
}

} // namespace avatello
