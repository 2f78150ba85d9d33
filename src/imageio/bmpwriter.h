#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

namespace avatello {

// The saved icon: a 48 x 48, 24-bit, uncompressed Windows bitmap with a 40-byte information
// header, bottom row first, 6966 bytes in all.
inline constexpr int iconSide = 48;
inline constexpr int iconBmpHeaderSize = 54;
inline constexpr int iconBmpPixelBytes = iconSide * iconSide * 3;
inline constexpr int iconBmpFileSize = iconBmpHeaderSize + iconBmpPixelBytes;

// Encodes the top-left 48 x 48 pixels of an opaque snapshot (anything missing is black).
QByteArray encodeIconBmp(const QImage& snapshot);

// Writes the bitmap to exactly this path, replacing any file there only once the new one is
// complete; a writable file in a folder that takes no new file is written in place instead, and
// read back. On failure returns false with a reason the user can read; an existing file is then
// left as it was, except after a write in place that does not read back.
bool saveIconBmp(const QImage& snapshot, const QString& path, QString* error);

} // namespace avatello
