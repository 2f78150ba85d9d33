#pragma once

class QWidget;

namespace avatello {

// Puts a window above every window that is not itself kept on top, keeping its place and size.
void KeepOnTop(QWidget* window);

// A modal dialog opened while a window of the program is kept on top joins it in that band, so
// it opens above that window instead of beneath it, where the window would cover it and could
// not be moved off while the dialog holds the program. Once the dialog closes, the kept windows
// are on top again. Call before the dialog is shown.
void openAboveKeptWindows(QWidget* dialog);

} // namespace avatello
