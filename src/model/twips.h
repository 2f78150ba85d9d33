#pragma once

#include <cmath>

namespace avatello {

// Window geometry and text positions are kept in twips. The program always works at 96 dpi,
// 15 twips to the pixel, whatever the screen, so an icon comes out the same on every machine.
inline constexpr int twipsPerPixel = 15;

// Whole pixel for a twip position: rounded to the nearest pixel, halves upwards, so negative
// positions step exactly like positive ones (200 -> 13, 220 -> 15, -20 -> -1).
inline int twipsToPixels(double twips)
{
    return int(std::floor(twips / twipsPerPixel + 0.5));
}

// Font size in points to the pixel height a 96-dpi screen uses for it (8 pt -> 11 px).
inline int pointsToPixels(double points)
{
    const int px = int(std::floor(points * 96.0 / 72.0 + 0.5));
    return px < 1 ? 1 : px;
}

} // namespace avatello
