#pragma once

#include <optional>
#include <QByteArray>
#include <QImage>

class QImageReader;
class QIODevice;

namespace avatello {

// An uncompressed bitmap (from this position of the device) cut to its top-left corner, for Qt's
// decoder to read 48 x 48 pixels instead of the whole picture; nothing when the file is to be
// read whole, as any other.
std::optional<QByteArray> bitmapCorner(QIODevice* device, qint64 start);

// Reads a bitmap with the reader given so that pixels the file leaves unset are the same every
// time (palette entry 0, or black); a null image if it cannot be read.
QImage readBitmap(QImageReader& reader, QIODevice* device, qint64 start);

} // namespace avatello
