#pragma once

#include <QColor>

namespace avatello {

// Contrast between two colours as the Web Content Accessibility Guidelines measure it: from 1
// (the same luminance) to 21 (black on white).
double contrastRatio(const QColor& a, const QColor& b);

// Text of at least 4.5:1 reads as normal text; a shape of at least 3:1 is seen.
inline constexpr double textContrast = 4.5;
inline constexpr double shapeContrast = 3.0;

// The program's own colour where it stands out enough from what is behind it; otherwise the
// same colour lightened (on a dark background) or darkened just enough, so a dark or
// high-contrast desktop theme keeps it legible without changing the standard look.
QColor legibleColour(const QColor& wanted, const QColor& background, double minimum);

} // namespace avatello
