#pragma once

class QWidget;

namespace avatello {

// Keeps a fixed-size window at its size on a native Wayland desktop. There any compositor may
// maximize any window (Qt's own title bar there always has a maximize box), and a maximized
// window must take exactly the size it is given: weston ends the program's connection
// otherwise. So the window may take that size, and asks at once to be normal again; a resize
// from its frame's edges is undone the same way. Elsewhere it does nothing: an X11 window manager
// honours the fixed size itself.
void keepSizeOnWayland(QWidget* window);

} // namespace avatello
