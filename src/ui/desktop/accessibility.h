#pragma once

class QComboBox;
class QString;
class QWidget;

namespace avatello {

class LinkLabel;

// How the windows present themselves to assistive technology (screen readers) where Qt's own
// presentation of a control would mislead a listener. Each call marks one control; the first
// installs the interfaces behind the marks.

// The control stays on its window and keeps its keyboard behaviour, but is presented as not
// showing: for scratch controls that lie outside their window, where no one sees them, and for
// decoration.
void hideFromAssistiveTechnology(QWidget* control);

// A drop-down list presented under a name that says what it chooses, its choice as its value. On
// Linux Qt names a list by its current choice ("Tahoma") and expects a label beside it to say
// what it is for; these lists have none.
void setAccessibleListName(QComboBox* list, const QString& name);

// The label presented as a link: its text as its name, the address as its description, and a
// press action that follows it as a click does.
void presentAsLink(LinkLabel* label, const QString& address);

} // namespace avatello
