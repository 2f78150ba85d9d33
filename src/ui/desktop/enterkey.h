#pragma once

class QPushButton;

namespace avatello {

// Enter (either key) presses the button while it has the focus, as Space does. The program's
// buttons are never default buttons, so that Enter presses nothing while a hidden text box
// holds a window's focus; Qt's own buttons answer Enter only as default buttons.
void pressOnEnter(QPushButton* button);

} // namespace avatello
