#pragma once

class QPoint;

namespace avatello {

// When a single click closes a window, the second half of a double-click meant for it lands on
// whatever lies beneath, often a button or the web link of the main window. This swallows the
// presses and releases that follow within the double-click time and distance of that click.
void swallowRestOfDoubleClick(const QPoint& globalPosition);

} // namespace avatello
