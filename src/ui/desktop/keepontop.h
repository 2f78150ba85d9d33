#pragma once

class QWidget;

namespace avatello {

// Puts a window above every window that is not itself kept on top, keeping its place and size.
void KeepOnTop(QWidget* window);

} // namespace avatello
