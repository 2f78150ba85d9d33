#include "ui/desktop/keyboard.h"

#include "ui/linklabel.h"
#include "ui/pictureboxview.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QApplication>
#include <QComboBox>
#include <QCursor>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QSet>
#include <QShortcut>
#include <QTimer>
#include <QVariant>
#include <utility>

namespace avatello {

namespace {

constexpr char escapeKey[] = "avatello_pressOnEscape";

std::function<void()>& helpCommand()
{
    static std::function<void()> command;
    return command;
}

// Whether the last press came from the keyboard or the mouse, seen before any control reacts.
class InputSource final : public QObject
{
public:
    bool keyboard = false;

    bool eventFilter(QObject*, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::Shortcut:
            keyboard = true;
            break;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
            keyboard = false;
            break;
        default:
            break;
        }
        return false;
    }
};

InputSource& inputSource()
{
    static InputSource* source = [] {
        auto* made = new InputSource;
        made->setParent(QCoreApplication::instance());
        QCoreApplication::instance()->installEventFilter(made);
        return made;
    }();
    return *source;
}

// Whether Qt draws the control's focus mark (buttons, lists, text boxes); the icon views and the
// web link draw none of their own.
bool drawsOwnFocusMark(const QWidget* control)
{
    return qobject_cast<const QAbstractButton*>(control) ||
           qobject_cast<const QComboBox*>(control) || qobject_cast<const QLineEdit*>(control) ||
           qobject_cast<const QAbstractScrollArea*>(control);
}

// The neighbour of a view among the views beside it, in the direction of an arrow key: the
// nearest row (or column) that way first, then the nearest within it.
QWidget* neighbour(QWidget* from, int key)
{
    const QPoint here = from->geometry().center();
    QWidget* best = nullptr;
    std::pair<int, int> bestDistance{INT_MAX, INT_MAX};
    for (QWidget* other : from->parentWidget()->findChildren<PictureBoxView*>(
             QString(), Qt::FindDirectChildrenOnly)) {
        if (other == from || !(other->focusPolicy() & Qt::TabFocus) || !other->isVisibleTo(from))
            continue;
        const QPoint there = other->geometry().center();
        const QPoint step = there - here;
        const int half = from->height() / 2;
        const int halfWide = from->width() / 2;
        std::pair<int, int> distance;
        switch (key) {
        case Qt::Key_Left:
        case Qt::Key_Right:
            if (std::abs(step.y()) > half || (key == Qt::Key_Left ? step.x() >= 0 : step.x() <= 0))
                continue;
            distance = {std::abs(step.x()), 0};
            break;
        default:
            if (key == Qt::Key_Up ? step.y() >= -half : step.y() <= half)
                continue;
            distance = {std::abs(step.y()), std::abs(step.x()) > halfWide ? std::abs(step.x()) : 0};
            break;
        }
        if (distance < bestDistance) {
            bestDistance = distance;
            best = other;
        }
    }
    return best;
}

// Keys and focus marks of the controls that Qt gives neither: the icon views and the web link.
class ViewKeys final : public QObject
{
public:
    using QObject::QObject;

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* control = static_cast<QWidget*>(watched);
        switch (event->type()) {
        case QEvent::FocusIn:
        case QEvent::FocusOut:
            control->update();
            return false;
        case QEvent::Paint:
            return paintWithMark(control, event);
        case QEvent::KeyPress:
            return key(control, static_cast<QKeyEvent*>(event));
        default:
            return false;
        }
    }

private:
    static bool paintWithMark(QWidget* control, QEvent* event)
    {
        // The mark follows Qt's buttons: shown once the keyboard has moved the focus.
        if (!control->hasFocus() || !control->window()->testAttribute(Qt::WA_KeyboardFocusChange))
            return false;
        const QPalette& palette = control->palette();
        if (auto* link = qobject_cast<LinkLabel*>(control)) {
            // The link's text begins at its left edge, where a frame would cut into it: it is
            // shown selected instead, as highlighted text.
            QPainter painter(link);
            painter.setFont(link->font());
            const QRect text =
                painter.boundingRect(link->contentsRect(), int(link->alignment()), link->text());
            painter.fillRect(text.adjusted(0, 0, 2, 0), palette.color(QPalette::Highlight));
            painter.setPen(palette.color(QPalette::HighlightedText));
            painter.drawText(link->contentsRect(), int(link->alignment()), link->text());
            return true;
        }
        static_cast<QObject*>(control)->event(event);
        QPainter painter(control);
        QPen pen(palette.color(QPalette::Highlight), 2);
        pen.setJoinStyle(Qt::MiterJoin);
        painter.setPen(pen);
        painter.drawRect(QRectF(control->rect()).adjusted(1, 1, -1, -1));
        return true;
    }

    static bool key(QWidget* control, QKeyEvent* key)
    {
        if (key->modifiers() & ~Qt::KeypadModifier)
            return false;
        switch (key->key()) {
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_Up:
        case Qt::Key_Down:
            if (qobject_cast<PictureBoxView*>(control)) {
                if (QWidget* next = neighbour(control, key->key()))
                    next->setFocus(Qt::TabFocusReason);
                return true;
            }
            return false;
        case Qt::Key_Space:
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (!key->isAutoRepeat())
                activate(control);
            return true;
        default:
            return false;
        }
    }

    // What the mouse does to choose: a click on the link; on a view, the events of a double-click
    // (a click, then the double-click), so each view reacts as it does to the mouse.
    static void activate(QWidget* control)
    {
        if (auto* link = qobject_cast<LinkLabel*>(control)) {
            emit link->clicked();
            return;
        }
        QPointer<PictureBoxView> view = qobject_cast<PictureBoxView*>(control);
        if (view)
            emit view->clicked();
        if (view)
            emit view->doubleClicked();
    }
};

// Escape presses the window's Cancel button (see pressOnEscape), or closes the window.
class EscapeCloses final : public QObject
{
public:
    explicit EscapeCloses(QWidget* window) : QObject(window), window_(window) {}

    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != Qt::Key_Escape || key->modifiers() != Qt::NoModifier)
            return false;
        for (QPushButton* button : window_->findChildren<QPushButton*>())
            if (button->property(escapeKey).toBool()) {
                button->click();
                return true;
            }
        window_->close();
        return true;
    }

private:
    QWidget* window_;
};

bool liesOutside(const QWidget* window, const QWidget* control)
{
    return !window->rect().intersects(control->geometry());
}

// The window's own controls that Tab may reach, in reading order; controls outside the window
// are taken off the chain.
QList<QWidget*> tabStops(QWidget* window)
{
    QList<QWidget*> stops;
    for (QWidget* control : window->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (control->isWindow())
            continue;
        if (qobject_cast<LinkLabel*>(control))
            control->setFocusPolicy(Qt::TabFocus);
        // A text only to read passes Tab on instead of taking it as a character.
        if (auto* text = qobject_cast<QPlainTextEdit*>(control); text && text->isReadOnly())
            text->setTabChangesFocus(true);
        if (!(control->focusPolicy() & Qt::TabFocus))
            continue;
        if (liesOutside(window, control) || control->isHidden()) {
            // The box that holds the focus when the window opens keeps it; Tab passes it by.
            control->setFocusPolicy(control == window->focusWidget() ? Qt::ClickFocus
                                                                     : Qt::NoFocus);
            continue;
        }
        stops << control;
    }
    std::stable_sort(stops.begin(), stops.end(), [](const QWidget* a, const QWidget* b) {
        return std::pair(a->y(), a->x()) < std::pair(b->y(), b->x());
    });
    return stops;
}

// "Move Up" becomes "&Move Up": the first word's initial not yet taken in the window, else the
// first free letter anywhere in the caption.
void giveMnemonics(const QList<QWidget*>& stops)
{
    QSet<QString> taken;
    for (QWidget* control : stops) {
        auto* button = qobject_cast<QPushButton*>(control);
        if (!button || button->text().contains(u'&'))
            continue;
        const QString caption = button->text();
        auto freeAt = [&](qsizetype i) {
            return caption.at(i).isLetterOrNumber() && !taken.contains(caption.at(i).toLower());
        };
        qsizetype chosen = -1;
        for (qsizetype i = 0; i < caption.size() && chosen < 0; ++i)
            if ((i == 0 || caption.at(i - 1).isSpace()) && freeAt(i))
                chosen = i;
        for (qsizetype i = 0; i < caption.size() && chosen < 0; ++i)
            if (freeAt(i))
                chosen = i;
        if (chosen < 0)
            continue;
        taken.insert(caption.at(chosen).toLower());
        button->setText(caption.left(chosen) + QLatin1Char('&') + caption.mid(chosen));
    }
}

} // namespace

void applyKeyboardAccess(QWidget* window, Escape escape)
{
    inputSource();
    const QList<QWidget*> stops = tabStops(window);
    // A window opened from the keyboard shows its focus mark at once.
    if (inputSource().keyboard)
        window->setAttribute(Qt::WA_KeyboardFocusChange);
    if (QWidget* start = window->focusWidget(); start && !stops.contains(start) && !stops.isEmpty())
        QWidget::setTabOrder(start, stops.constFirst());
    for (qsizetype i = 0; i + 1 < stops.size(); ++i)
        QWidget::setTabOrder(stops.at(i), stops.at(i + 1));

    auto* keys = new ViewKeys(window);
    for (QWidget* control : stops)
        if (!drawsOwnFocusMark(control))
            control->installEventFilter(keys);
    giveMnemonics(stops);

    auto* help = new QShortcut(QKeySequence::HelpContents, window);
    QObject::connect(help, &QShortcut::activated, window, [] {
        if (helpCommand())
            helpCommand()();
    });
    if (escape == Escape::Closes) {
        // Escape as a key of the window's own controls, not a shortcut: while a list of the
        // window is open, its Escape goes to that list alone and only closes it.
        auto* closes = new EscapeCloses(window);
        window->installEventFilter(closes);
        for (QWidget* control : window->findChildren<QWidget*>())
            if (control->window() == window)
                control->installEventFilter(closes);
    }
}

void pressOnEscape(QPushButton* button)
{
    button->setProperty(escapeKey, true);
}

void setHelpCommand(std::function<void()> command)
{
    helpCommand() = std::move(command);
}

QPoint popupPosition(const QWidget* opener)
{
    if (opener && inputSource().keyboard)
        return opener->mapToGlobal(QPoint(0, opener->height()));
    return QCursor::pos();
}

void popUp(QMenu* menu, const QWidget* opener)
{
    if (opener && inputSource().keyboard) {
        const QList<QAction*> actions = menu->actions();
        const auto first = std::find_if(actions.begin(), actions.end(), [](const QAction* item) {
            return item->isVisible() && item->isEnabled() && !item->isSeparator();
        });
        if (first != actions.end())
            QTimer::singleShot(0, menu, [menu, item = *first] { menu->setActiveAction(item); });
    }
    menu->exec(popupPosition(opener));
}

} // namespace avatello
