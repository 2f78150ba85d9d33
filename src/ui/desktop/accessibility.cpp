#include "ui/desktop/accessibility.h"

#include "ui/linklabel.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QVariant>

namespace avatello {

namespace {

enum class Presentation { Qt, Hidden, NamedList, Link };

constexpr char presentationKey[] = "avatello_presentation";

class HiddenControl : public QAccessibleWidget
{
public:
    using QAccessibleWidget::QAccessibleWidget;

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.invisible = true;
        return state;
    }
};

// Qt's presentation of a pick-only list with the name it was given: one child, the pop-up list,
// and the actions that open and close it.
// Its choice is also its text: where a screen reader (Orca) reads the value of a list, and a
// change of choice is a change of that text, which it says.
class NamedList : public QAccessibleWidget, public QAccessibleTextInterface
{
public:
    explicit NamedList(QComboBox* list) : QAccessibleWidget(list, QAccessible::ComboBox) {}

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }
    QString text(QAccessible::Text kind) const override
    {
        return kind == QAccessible::Value ? list()->currentText() : QAccessibleWidget::text(kind);
    }
    QString text(int start, int end) const override
    {
        return list()->currentText().mid(start, end < 0 ? -1 : end - start);
    }
    int characterCount() const override { return int(list()->currentText().size()); }
    // The choice is all selected, as in a list that can be typed in: a screen reader then says
    // a new choice as it arrives.
    void selection(int, int* start, int* end) const override
    {
        *start = 0;
        *end = characterCount();
    }
    int selectionCount() const override { return characterCount() > 0 ? 1 : 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int, int* start, int* end) const override
    {
        *start = 0;
        *end = characterCount();
        return {};
    }
    int childCount() const override { return 1; }
    QAccessibleInterface* child(int index) const override
    {
        return index == 0 ? QAccessible::queryAccessibleInterface(list()->view()) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        return child && child->object() == list()->view() ? 0 : -1;
    }
    QStringList actionNames() const override { return {showMenuAction(), pressAction()}; }
    void doAction(const QString& action) override
    {
        if (action != showMenuAction() && action != pressAction())
            return;
        if (list()->view()->isVisible())
            list()->hidePopup();
        else
            list()->showPopup();
    }

protected:
    QComboBox* list() const { return static_cast<QComboBox*>(widget()); }
};

#if QT_VERSION >= QT_VERSION_CHECK(6, 5, 0)
// From Qt 6.5 on, Qt reports a new choice as a change of the list's selection, and a screen
// reader (Orca 48) then says the item now selected: the choice is also the one selected item.
class SelectingNamedList : public NamedList, public QAccessibleSelectionInterface
{
public:
    using NamedList::NamedList;

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::SelectionInterface)
            return static_cast<QAccessibleSelectionInterface*>(this);
        return NamedList::interface_cast(type);
    }
    int selectedItemCount() const override { return int(selectedItems().size()); }
    QList<QAccessibleInterface*> selectedItems() const override
    {
        QAccessibleInterface* items = QAccessible::queryAccessibleInterface(list()->view());
        QAccessibleInterface* chosen =
            items && list()->currentIndex() >= 0 ? items->child(list()->currentIndex()) : nullptr;
        return chosen ? QList<QAccessibleInterface*>{chosen} : QList<QAccessibleInterface*>{};
    }
    // The choice is made with the keys or the pop-up list, not by a screen reader's selection.
    bool select(QAccessibleInterface*) override { return false; }
    bool unselect(QAccessibleInterface*) override { return false; }
    bool selectAll() override { return false; }
    bool clear() override { return false; }
};
using PresentedList = SelectingNamedList;
#else
using PresentedList = NamedList;
#endif

class Link : public QAccessibleWidget
{
public:
    explicit Link(LinkLabel* label) : QAccessibleWidget(label, QAccessible::Link) {}

    QString text(QAccessible::Text kind) const override
    {
        const QString text = QAccessibleWidget::text(kind);
        return kind == QAccessible::Name && text.isEmpty() ? label()->text() : text;
    }
    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.linked = true;
        return state;
    }
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& action) override
    {
        if (action == pressAction())
            emit label()->clicked();
    }

private:
    LinkLabel* label() const { return static_cast<LinkLabel*>(widget()); }
};

QAccessibleInterface* marked(const QString& /*className*/, QObject* object)
{
    auto* control = qobject_cast<QWidget*>(object);
    if (!control)
        return nullptr;
    switch (Presentation(control->property(presentationKey).toInt())) {
    case Presentation::Hidden:
        return new HiddenControl(control);
    case Presentation::NamedList:
        return new PresentedList(static_cast<QComboBox*>(control));
    case Presentation::Link:
        return new Link(static_cast<LinkLabel*>(control));
    case Presentation::Qt:
        break;
    }
    return nullptr;
}

void mark(QWidget* control, Presentation how)
{
    // Tried before Qt's own presentations, which the application installed before any window.
    static const bool installed = (QAccessible::installFactory(marked), true);
    Q_UNUSED(installed);
    control->setProperty(presentationKey, int(how));
    // While a screen reader listens, Qt may already have made an interface for the control; the
    // next question then makes the marked one.
    if (QAccessibleInterface* made = QAccessible::queryAccessibleInterface(control))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(made));
}

} // namespace

void hideFromAssistiveTechnology(QWidget* control)
{
    mark(control, Presentation::Hidden);
}

void setAccessibleListName(QComboBox* list, const QString& name)
{
    mark(list, Presentation::NamedList);
    list->setAccessibleName(name);
    // Said as the new text alone: an update would first say that the old one was deleted.
    QObject::connect(list, &QComboBox::currentTextChanged, list, [list](const QString& now) {
        QAccessibleTextInsertEvent inserted(list, 0, now);
        QAccessible::updateAccessibility(&inserted);
    });
}

void presentAsLink(LinkLabel* label, const QString& address)
{
    mark(label, Presentation::Link);
    label->setAccessibleDescription(address);
}

} // namespace avatello
