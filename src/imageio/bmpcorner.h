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

// The width and height a bitmap's header (from its first bytes) claims, the height as a count of
// rows; an empty size if the header cannot tell.
QSize bitmapClaimedSize(const QByteArray& head);

// Reads a bitmap with the reader given so that pixels the file leaves unset are the same every
// time (palette entry 0, or black); a null image if it cannot be read.
QImage readBitmap(QImageReader& reader, QIODevice* device, qint64 start);

// Qt's bitmap decoder widens a bit-field channel of fewer than 8 bits by shifting it up: a 5-bit
// channel's full 31 comes out as 248, not 255, and a 1-bit alpha as 128, half transparent. Given
// the file's first bytes (its headers and masks), this spreads every such channel of the decoded
// picture over the full range, as the format means and as other decoders read it.
QImage withFullRangeChannels(const QImage& decoded, const QByteArray& head);

} // namespace avatello
