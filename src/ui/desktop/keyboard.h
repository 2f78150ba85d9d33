#pragma once

#include <functional>

class QMenu;
class QPoint;
class QPushButton;
class QWidget;

namespace avatello {

// Every step by keyboard alone. Applied once to each window of the program when it is built,
// after its controls are laid out:
// - Tab visits the controls that are shown, in reading order (top to bottom, left to right). A
//   box that lies outside the window keeps the focus it was given when the window opens, but Tab
//   never comes back to it; other controls outside the window take no focus at all.
// - Every stop shows a focus mark: the icon views and the web link draw one of their own.
// - Arrow keys move among the icon views beside each other (the template pictures); Space or
//   Enter on one acts as a double-click on it does, and on the web link as a click does.
// - Each button's caption gets an Alt+letter mnemonic, underlined, none used twice in a window.
// - F1 runs the help command (see setHelpCommand).
// - Escape, where the window closes on it: presses the button given to pressOnEscape, or
//   closes the window.
enum class Escape { Ignored, Closes };
void applyKeyboardAccess(QWidget* window, Escape escape);

// Escape presses this button (a Cancel) instead of closing its window.
void pressOnEscape(QPushButton* button);

// What F1 does in every window of the program.
void setHelpCommand(std::function<void()> command);

// Where a pop-up menu opened by this button appears: below the button when the keyboard opened
// it, at the mouse pointer when the mouse did.
QPoint popupPosition(const QWidget* opener);

// Opens a pop-up menu for its button and waits for it to close: at popupPosition, and, when the
// keyboard opened it, with its first item already chosen, so the keys go on from there and a
// screen reader says that item as the menu opens.
void popUp(QMenu* menu, const QWidget* opener);

} // namespace avatello
