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

// Encodes the top-left 48 x 48 pixels of an opaque snapshot (anything missing is black); with a
// scale N above 1 (up to 8), each pixel as an N x N block of a (48 N) x (48 N) bitmap.
QByteArray encodeIconBmp(const QImage& snapshot, int scale = 1);

// The same snapshot as a PNG file, for the command line's --format png; scaled the same way.
QByteArray encodeIconPng(const QImage& snapshot, int scale = 1);

// Writes the bitmap to exactly this path by the one rule for every written file
// (writeWholeFile in fileaccess.h): only a regular file, or one behind an allowed link, is
// replaced, and only by the complete new content. On failure returns false with a reason the
// user can read.
bool saveIconBmp(const QImage& snapshot, const QString& path, QString* error);

} // namespace avatello
