#pragma once

#include <QRect>

class QWidget;

namespace avatello {

// Lays a control out at a position and size given in twips.
void placeTwips(QWidget* control, int left, int top, int width, int height);

// Gives a window a fixed client area in twips: the user cannot resize or maximize it.
void fixClientSizeTwips(QWidget* window, int width, int height);

void centreOnScreen(QWidget* window);
void centreOver(QWidget* window, const QWidget* owner);

} // namespace avatello
