#include "imageio/bmpcorner.h"

#include "imageio/decodelimits.h"

#include <array>
#include <climits>
#include <QImageReader>
#include <QIODevice>

namespace avatello {

namespace {

quint32 little32(const QByteArray& bytes, int at)
{
    return quint32(uchar(bytes[at])) | quint32(uchar(bytes[at + 1])) << 8 |
           quint32(uchar(bytes[at + 2])) << 16 | quint32(uchar(bytes[at + 3])) << 24;
}

void putLittle32(QByteArray& bytes, int at, quint32 value)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = char(value >> (8 * i));
}

// A bit-field bitmap's masks start right after the 40 bytes every information header has: inside
// a header of 52 bytes or more (with an alpha mask from 56), or in 12 bytes of their own after a
// header of exactly 40. How many there are; 0 where a header of 41 to 51 bytes leaves no telling.
constexpr int masksAt = 14 + 40;

int bitFieldMasks(quint32 infoSize)
{
    if (infoSize >= 56)
        return 4;
    return infoSize >= 52 || infoSize == 40 ? 3 : 0;
}

} // namespace

// An uncompressed bitmap cut to its top-left corner: its headers, masks and colour table as they
// are, the sizes set to the corner's, and only the bytes of the rows and columns the corner
// shows. Qt's decoder then reads 48 x 48 pixels instead of the whole picture, so a large bitmap
// costs what a small one does. Nothing (the file is read whole, as any other) for a compressed
// bitmap, an old-style header or a file cut short.
std::optional<QByteArray> bitmapCorner(QIODevice* device, qint64 start)
{
    if (!device->seek(start))
        return std::nullopt;
    const QByteArray fixed = device->read(30);
    if (fixed.size() < 30)
        return std::nullopt;
    const qint64 pixelsAt = little32(fixed, 10);
    const quint32 infoSize = little32(fixed, 14);
    if (infoSize < 40 || pixelsAt < 14 + qint64(infoSize) || pixelsAt > 64 * 1024 ||
        !device->seek(start))
        return std::nullopt;
    const QByteArray head = device->read(pixelsAt);
    if (head.size() < pixelsAt)
        return std::nullopt;
    const qint32 width = qint32(little32(head, 18));
    const qint32 height = qint32(little32(head, 22));
    const int bits = uchar(head[28]) | uchar(head[29]) << 8;
    const quint32 compression = little32(head, 30);
    // No bound on the size: only the corner's bytes are read, and the file must hold them all.
    if ((compression != 0 && compression != 3) || width <= 0 || height == 0 ||
        (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32))
        return std::nullopt;
    // Only where the pixels begin after the headers, masks and colour table, as they should.
    const quint32 used = little32(head, 46);
    const qint64 colours = bits <= 8 ? (used == 0 || used > (1u << bits) ? 1 << bits : used) : 0;
    const int maskCount = compression == 3 ? bitFieldMasks(infoSize) : 0;
    if (compression == 3 && maskCount == 0)
        return std::nullopt;
    const qint64 masks = compression == 3 && infoSize == 40 ? 12 : 0;
    if (pixelsAt < 14 + qint64(infoSize) + masks + 4 * colours)
        return std::nullopt;
    const qint64 rows = qAbs(qint64(height));
    const qint64 stride = (qint64(width) * bits + 31) / 32 * 4;
    // Whether the file holds every row, by division: rows x stride can pass 64 bits.
    const qint64 pixelBytes = device->size() - start - pixelsAt;
    if (pixelBytes < 0 || rows > pixelBytes / stride)
        return std::nullopt; // cut short: left to the decoder, which shows what there is
    const int keptColumns = qMin(width, DecodeLimits::keptSide);
    const int keptRows = int(qMin<qint64>(rows, DecodeLimits::keptSide));
    const int keptBytes = (keptColumns * bits + 7) / 8;
    const int keptStride = (keptColumns * bits + 31) / 32 * 4;
    // The corner's rows lie together: the last ones of a bottom-up file, the first of a top-down.
    const qint64 firstRow = height > 0 ? rows - keptRows : 0;
    if (!device->seek(start + pixelsAt + firstRow * stride))
        return std::nullopt;
    const qint64 blockSize = (keptRows - 1) * stride + keptBytes;
    const QByteArray block = device->read(blockSize);
    if (block.size() < blockSize)
        return std::nullopt;
    QByteArray corner = head;
    corner.reserve(head.size() + keptRows * keptStride);
    for (int row = 0; row < keptRows; ++row) {
        corner.append(block.constData() + row * stride, keptBytes);
        corner.append(keptStride - keptBytes, '\0');
    }
    // Qt's decoder loses a bit-field channel wider than 8 bits (a 10-bit channel comes out 0);
    // its top 8 bits are what a picture of 8 bits a channel shows, so only they are kept.
    if (compression == 3) {
        for (int i = 0; i < maskCount; ++i) {
            const quint32 mask = little32(corner, masksAt + 4 * i);
            if (qPopulationCount(mask) > 8) {
                const int top = 31 - qCountLeadingZeroBits(mask);
                putLittle32(corner, masksAt + 4 * i, mask & (0xFFu << (top - 7)));
            }
        }
    }
    putLittle32(corner, 2, quint32(corner.size()));
    putLittle32(corner, 18, quint32(keptColumns));
    putLittle32(corner, 22, quint32(height > 0 ? keptRows : -keptRows));
    putLittle32(corner, 34, quint32(keptRows * keptStride));
    return corner;
}

QSize bitmapClaimedSize(const QByteArray& head)
{
    if (head.size() < 26 || little32(head, 14) < 40)
        return QSize();
    const qint64 width = qint32(little32(head, 18));
    const qint64 height = qAbs(qint64(qint32(little32(head, 22))));
    if (width <= 0 || height <= 0)
        return QSize();
    // Sides beyond what QSize holds are reported as the largest it does: beyond every bound.
    return QSize(int(qMin<qint64>(width, INT_MAX)), int(qMin<qint64>(height, INT_MAX)));
}

// Qt's bitmap decoder leaves the pixels a file does not set (skipped by the delta and end codes of
// RLE data, or missing from a file cut short) as whatever the memory it was given held: the same
// file would show differently from one load to the next, and stray memory could end up in a
// saved icon. It fills a picture handed to it when that has the right size and format, so the
// file is read a second time into a zero-filled one: such pixels become palette entry 0, or
// black (transparent where the bitmap has alpha), every time.
QImage readBitmap(QImageReader& reader, QIODevice* device, qint64 start)
{
    const QImage first = reader.read();
    if (first.isNull() || !device->seek(start))
        return QImage();
    QImageReader again(device, "bmp");
    again.setAutoDetectImageFormat(false);
    again.setAllocationLimit(DecodeLimits::allocationLimitMiB);
    QImage defined(first.size(), first.format());
    if (defined.isNull())
        return QImage();
    defined.fill(0);
    const uchar* const zeroed = defined.constBits();
    if (!again.read(&defined) || defined.constBits() != zeroed)
        return QImage(); // not read into the zero-filled picture after all: show nothing
    return defined;
}

namespace {

// For each 8-bit value Qt gives a channel of n bits (the n bits shifted up), the full-range value.
std::array<uchar, 256> widening(int n)
{
    std::array<uchar, 256> table{};
    const int top = (1 << n) - 1;
    for (int q = 0; q < 256; ++q)
        table[std::size_t(q)] = uchar(((q >> (8 - n)) * 255 + top / 2) / top);
    return table;
}

} // namespace

QImage withFullRangeChannels(const QImage& decoded, const QByteArray& head)
{
    if (decoded.isNull() || head.size() < 54)
        return decoded;
    const quint32 infoSize = little32(head, 14);
    const int bits = uchar(head[28]) | uchar(head[29]) << 8;
    const quint32 compression = little32(head, 30);
    // Red, green, blue and alpha masks: the defaults of a plain 16-bit bitmap, or the bit fields
    // inside a larger header or after a 40-byte one.
    std::array<quint32, 4> masks{0x7C00, 0x03E0, 0x001F, 0};
    if (compression == 3 && (bits == 16 || bits == 32)) {
        const int count = bitFieldMasks(infoSize);
        if (count == 0 || head.size() < masksAt + 4 * count)
            return decoded;
        masks = {0, 0, 0, 0};
        for (int i = 0; i < count; ++i)
            masks[std::size_t(i)] = little32(head, masksAt + 4 * i);
    } else if (!(compression == 0 && bits == 16)) {
        return decoded;
    }
    std::array<int, 4> widths{};
    bool narrow = false;
    for (std::size_t i = 0; i < 4; ++i) {
        widths[i] = qPopulationCount(masks[i]);
        narrow = narrow || (widths[i] >= 1 && widths[i] < 8);
    }
    if (!narrow)
        return decoded;
    QImage image = decoded.convertToFormat(decoded.hasAlphaChannel() ? QImage::Format_ARGB32
                                                                     : QImage::Format_RGB32);
    std::array<std::array<uchar, 256>, 4> tables{};
    for (std::size_t i = 0; i < 4; ++i) {
        for (int q = 0; q < 256; ++q)
            tables[i][std::size_t(q)] = uchar(q);
        if (widths[i] >= 1 && widths[i] < 8)
            tables[i] = widening(widths[i]);
    }
    const bool alpha = image.hasAlphaChannel();
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = line[x];
            line[x] = qRgba(tables[0][qRed(p)], tables[1][qGreen(p)], tables[2][qBlue(p)],
                            alpha ? tables[3][qAlpha(p)] : 255);
        }
    }
    return image;
}

} // namespace avatello
