#pragma once

#include <QImage>

namespace avatello {

// Messengers show buddy icons at 96 to 512 pixels and blur a 48 x 48 one they scale up. A larger
// icon is the same icon with each pixel an N x N block, as sharp as the original.
inline constexpr int largestIconScale = 8;

// The top-left 48 x 48 pixels of an opaque snapshot (anything missing is black), each pixel an
// N x N block: (48 N) x (48 N) pixels, N from 1 to largestIconScale.
QImage scaledIcon(const QImage& snapshot, int scale);

} // namespace avatello
