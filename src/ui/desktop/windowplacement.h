#pragma once

#include <QRect>
#include <QString>
#include <Qt>

class QPushButton;
class QWidget;

namespace avatello {

// A window of its own with a title bar and a close box, and no minimize or maximize box; its
// size is fixed by fixClientSizeTwips.
inline constexpr Qt::WindowFlags fixedWindowFlags =
    Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
    Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint;

// Lays a control out at a position and size given in twips.
void placeTwips(QWidget* control, int left, int top, int width, int height);

// Gives a window a fixed client area in twips: the user cannot resize or maximize it.
void fixClientSizeTwips(QWidget* window, int width, int height);

// A secondary window: named, captioned, with a fixed client area in twips, and discarded when
// closed (the next command that needs it builds a new one).
void setUpSecondaryWindow(QWidget* window, const QString& name, const QString& title, int width,
                          int height);

// A button whose caption is longer in a translation than its place allows grows to the right, as
// far as the window leaves a margin, rather than cutting its caption.
void widenToFitCaption(QPushButton* button);

void centreOnScreen(QWidget* window);
void centreOver(QWidget* window, const QWidget* owner);

// Centres the window on the screen, or over the owner if one is given, when it is first shown:
// only then does it know the size of its frame. Later showings leave it where the user put it.
void centreWhenFirstShown(QWidget* window, const QWidget* owner = nullptr);

} // namespace avatello
