#include "ui/desktop/windowplacement.h"

#include "model/twips.h"
#include "ui/desktop/waylandsize.h"

#include <QEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionButton>
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
    keepSizeOnWayland(window);
}

void setUpSecondaryWindow(QWidget* window, const QString& name, const QString& title, int width,
                          int height)
{
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setObjectName(name);
    window->setWindowTitle(title);
    fixClientSizeTwips(window, width, height);
}

void widenToFitCaption(QPushButton* button)
{
    QStyleOptionButton option;
    option.initFrom(button);
    const QRect room =
        button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
    // A little air on both sides, so the caption does not touch the frame.
    const int missing =
        button->fontMetrics().horizontalAdvance(QString(button->text()).remove(u'&')) + 6 -
        room.width();
    if (missing <= 0 || !button->parentWidget())
        return;
    const int margin = button->parentWidget()->width() - button->geometry().right() - 1;
    button->resize(button->width() + qMin(missing, qMax(0, margin - 8)), button->height());
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

namespace {

class FirstShowCentring : public QObject
{
public:
    FirstShowCentring(QWidget* window, const QWidget* owner) : QObject(window), owner_(owner)
    {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show) {
            auto* window = static_cast<QWidget*>(watched);
            window->removeEventFilter(this);
            if (owner_)
                centreOver(window, owner_);
            else
                centreOnScreen(window);
            deleteLater();
        }
        return false;
    }

private:
    QPointer<const QWidget> owner_;
};

} // namespace

void centreWhenFirstShown(QWidget* window, const QWidget* owner)
{
    new FirstShowCentring(window, owner);
}

} // namespace avatello
