#include "document/picturedecoder.h"

#include "document/jpegcorner.h"

#include <array>
#include <cstring>
#include <QBuffer>
#include <QFile>
#include <QImageIOHandler>
#include <QImageReader>
#include <vector>

namespace avatello {

namespace {

bool withinSizeBounds(QSize size)
{
    return DecodeLimits::allowsSize(size.width(), size.height());
}

// Reads a random-access device forward from a given position, in blocks, and puts the device
// back where it stood when done, so the picture decoder afterwards starts where it would have.
class ByteScanner
{
public:
    ByteScanner(QIODevice* device, qint64 from) : device_(device), restore_(device->pos())
    {
        ok_ = device_->seek(from);
    }
    ~ByteScanner() { device_->seek(restore_); }
    ByteScanner(const ByteScanner&) = delete;
    ByteScanner& operator=(const ByteScanner&) = delete;

    // The next byte, or -1 at the end of the data.
    int get()
    {
        if (at_ == size_ && !refill())
            return -1;
        return buffer_[std::size_t(at_++)];
    }

    // A little-endian or big-endian 16-bit number, or -1 at the end of the data.
    int get16le()
    {
        const int low = get();
        const int high = get();
        return low < 0 || high < 0 ? -1 : high << 8 | low;
    }
    int get16be()
    {
        const int high = get();
        const int low = get();
        return low < 0 || high < 0 ? -1 : high << 8 | low;
    }

    // Skips count bytes; false if the data ends first.
    bool skip(qint64 count)
    {
        const qint64 buffered = size_ - at_;
        if (count <= buffered) {
            at_ += int(count);
            return true;
        }
        count -= buffered;
        at_ = size_ = 0;
        const qint64 target = device_->pos() + count;
        return target <= device_->size() && device_->seek(target);
    }

    // Moves to the next byte of this value, leaving it unread; false at the end of the data.
    bool findByte(uchar value)
    {
        for (;;) {
            if (at_ == size_ && !refill())
                return false;
            const void* hit = std::memchr(buffer_.data() + at_, value, std::size_t(size_ - at_));
            if (hit) {
                at_ = int(static_cast<const uchar*>(hit) - buffer_.data());
                return true;
            }
            at_ = size_;
        }
    }

private:
    bool refill()
    {
        at_ = size_ = 0;
        if (!ok_)
            return false;
        const qint64 got =
            device_->read(reinterpret_cast<char*>(buffer_.data()), qint64(buffer_.size()));
        size_ = got > 0 ? int(got) : 0;
        return size_ > 0;
    }

    QIODevice* device_;
    qint64 restore_;
    bool ok_ = false;
    std::vector<uchar> buffer_ = std::vector<uchar>(64 * 1024);
    int at_ = 0;
    int size_ = 0;
};

// How many pixels the LZW data of a GIF frame would produce, without producing them. It follows
// Qt's decoder (its code sizes, table growth, clear and end codes, and a code past the table,
// which repeats the previous string plus one pixel) closely enough to bound its work. Where a
// malformed stream uses a table entry it has not defined since the last clear, it assumes the
// longest string Qt's decoder would put out before giving up.
class LzwOutputCounter
{
public:
    explicit LzwOutputCounter(int minimumCodeSize)
        : minimumCodeSize_(minimumCodeSize), clearCode_(1 << minimumCodeSize)
    {
        lengths_.fill(longest);
        restart();
    }

    // Takes one byte of the data; false once the end code has been read (Qt then ignores the
    // rest of the frame's data) or a code that stops Qt's decoder.
    bool feed(uchar byte)
    {
        accumulator_ |= int(byte) << bits_;
        bits_ += 8;
        while (bits_ >= codeSize_) {
            const int code = accumulator_ & ((1 << codeSize_) - 1);
            accumulator_ >>= codeSize_;
            bits_ -= codeSize_;
            if (!take(code))
                return false;
        }
        return true;
    }

    qint64 pixels() const { return pixels_; }

private:
    static constexpr int tableSize = 4096; // 12-bit codes
    static constexpr int longest = 8193;   // Qt's decoder stops on a longer string

    int length(int code) const
    {
        if (code < clearCode_ + 2)
            return 1;
        return code < tableSize ? lengths_[std::size_t(code)] : longest;
    }

    void restart()
    {
        codeSize_ = minimumCodeSize_ + 1;
        nextCode_ = clearCode_ + 2;
        codeSizeLimit_ = 2 * clearCode_;
    }

    bool take(int code)
    {
        if (code == clearCode_) {
            if (!expectFirst_)
                restart();
            expectFirst_ = true;
            return true;
        }
        if (code == clearCode_ + 1)
            return false;
        if (expectFirst_) {
            expectFirst_ = false;
            previous_ = code;
            pixels_ += 1;
            return true;
        }
        int produced = 0;
        int expanded = code;
        if (code >= nextCode_) {
            produced = 1;
            expanded = previous_;
            if (expanded >= clearCode_ + 2 && expanded >= nextCode_)
                return false; // Qt's decoder stops at such a code with an error
        }
        produced += length(expanded);
        if (nextCode_ < tableSize) {
            lengths_[std::size_t(nextCode_)] = qMin(length(previous_) + 1, longest);
            ++nextCode_;
            if (nextCode_ >= codeSizeLimit_ && codeSizeLimit_ < tableSize) {
                codeSizeLimit_ *= 2;
                ++codeSize_;
            }
        }
        previous_ = code;
        pixels_ += produced;
        return true;
    }

    const int minimumCodeSize_;
    const int clearCode_;
    std::array<int, tableSize> lengths_{};
    int codeSize_ = 0;
    int nextCode_ = 0;
    int codeSizeLimit_ = 0;
    int previous_ = 0;
    bool expectFirst_ = true;
    int accumulator_ = 0;
    int bits_ = 0;
    qint64 pixels_ = 0;
};

// Skips a chain of data sub-blocks up to and including its empty block; false at the end.
bool skipSubBlocks(ByteScanner& in)
{
    for (;;) {
        const int size = in.get();
        if (size < 0)
            return false;
        if (size == 0)
            return true;
        if (!in.skip(size))
            return false;
    }
}

// Whether what Qt's GIF decoder would do with this file stays within the limits: the picture it
// allocates (the logical screen) and the pixels the first frame's LZW data expands to. The walk
// up to the first frame's data follows Qt's decoder, which is the only one that will read it;
// anything it could not get past costs nothing and is left to it.
bool gifWithinLimits(QIODevice* device, qint64 start)
{
    ByteScanner in(device, start);
    std::array<int, 13> header{}; // signature, version, logical screen descriptor
    for (int& byte : header)
        if ((byte = in.get()) < 0)
            return true;
    const int screenWidth = header[6] | header[7] << 8;
    const int screenHeight = header[8] | header[9] << 8;
    const int flags = header[10];
    if ((flags & 0x80) && !in.skip(3 * (2 << (flags & 7))))
        return true;

    // Extensions before the first image.
    for (;;) {
        const int introducer = in.get();
        if (introducer == ',')
            break;
        if (introducer != '!')
            return true; // the trailer, junk or the end: no image follows
        const int label = in.get();
        if (label < 0)
            return true;
        if (label == 0xF9 || label == 0xFF) {
            // Qt reads the first block of a graphic control or application extension whole,
            // even when its size is 0, and only then looks for the end of the chain.
            const int size = in.get();
            if (size < 0 || !in.skip(size))
                return true;
        }
        if (!skipSubBlocks(in))
            return true;
    }

    // The image descriptor. The picture is the logical screen; Qt uses the first frame's extent
    // only for a side of 0.
    const int left = in.get16le();
    const int top = in.get16le();
    const int width = in.get16le();
    const int height = in.get16le();
    const int frameFlags = in.get();
    if (frameFlags < 0)
        return true;
    const QSize allocated(screenWidth > 0 ? screenWidth : left + width,
                          screenHeight > 0 ? screenHeight : top + height);
    if (!withinSizeBounds(allocated))
        return false;
    if ((frameFlags & 0x80) && !in.skip(3 * (2 << (frameFlags & 7))))
        return true;
    const int minimumCodeSize = in.get();
    if (minimumCodeSize < 0 || minimumCodeSize > 12)
        return true;

    LzwOutputCounter counter(minimumCodeSize);
    for (;;) {
        const int size = in.get();
        if (size <= 0)
            return true; // the frame's data ends
        for (int i = 0; i < size; ++i) {
            const int byte = in.get();
            if (byte < 0 || !counter.feed(uchar(byte)))
                return true;
            if (counter.pixels() > DecodeLimits::maxGifCodePixels)
                return false;
        }
    }
}

bool isStartOfFrame(int marker)
{
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

// Whether the JPEG's scans stay within the limits. A progressive or multi-scan file is decoded
// scan by scan over the whole picture before the first row comes out, so its cost is the number
// of scans times the picture's size. Markers are found the way libjpeg finds them: anything up to
// an 0xFF is skipped, fill bytes are skipped, and 0xFF 0x00 (a stuffed byte in entropy-coded
// data) and the restart markers do not end a scan.
bool jpegWithinLimits(QIODevice* device, qint64 start)
{
    ByteScanner in(device, start);
    if (in.get() != 0xFF || in.get() != 0xD8)
        return true;
    qint64 pixels = 0;
    int scans = 0;
    int components = 0;
    bool progressive = false;
    for (;;) {
        int marker = 0;
        while (marker == 0) {
            if (!in.findByte(0xFF))
                return true;
            do
                marker = in.get();
            while (marker == 0xFF);
        }
        if (marker < 0 || marker == 0xD8 || marker == 0xD9)
            return true; // the end, a second start (an error to libjpeg) or the end of image
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7))
            continue; // markers without a length
        const int length = in.get16be();
        if (length < 2)
            return true;
        qint64 rest = length - 2;
        if (isStartOfFrame(marker) && rest >= 6) {
            in.get(); // sample precision
            const int height = in.get16be();
            const int width = in.get16be();
            components = in.get();
            if (width < 0 || components < 0)
                return true;
            pixels = qMax(pixels, qint64(width) * height);
            progressive = marker == 0xC2 || marker == 0xC6 || marker == 0xCA || marker == 0xCE;
            rest -= 6;
        }
        int scanComponents = -1;
        if (marker == 0xDA && rest >= 1) {
            scanComponents = in.get();
            rest -= 1;
        }
        if (!in.skip(rest))
            return true;
        if (marker == 0xDA) {
            ++scans;
            if (scans > DecodeLimits::maxJpegScans ||
                scans * pixels > DecodeLimits::maxJpegScanPixels)
                return false;
            // A sequential picture whose first scan holds every component is decoded row by
            // row, and only as far as the corner needs: nothing after it is ever read.
            if (!progressive && scans == 1 && scanComponents == components)
                return true;
        }
    }
}

// The format a file's first bytes name, the way Qt's own decoders recognise them; empty for
// anything that is not a BMP, GIF or JPEG file. Choosing the decoder from the signature spares
// asking every image plugin installed whether it can read the file.
QByteArray signatureFormat(QIODevice* device)
{
    const QByteArray signature = device->peek(6);
    if (signature == "GIF87a" || signature == "GIF89a")
        return QByteArrayLiteral("gif");
    if (signature.startsWith("\xFF\xD8"))
        return QByteArrayLiteral("jpeg");
    if (signature.startsWith("BM"))
        return QByteArrayLiteral("bmp");
    return {};
}

// The checks that need more than the header QImageReader reads.
bool withinCostLimits(QIODevice* device, const QByteArray& format)
{
    const qint64 start = device->pos();
    if (format == "gif")
        return gifWithinLimits(device, start);
    if (format == "jpeg")
        return jpegWithinLimits(device, start);
    return true;
}

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

// An uncompressed bitmap cut to its top-left corner: its headers, masks and colour table as they
// are, the sizes set to the corner's, and only the bytes of the rows and columns the corner
// shows. Qt's decoder then reads 48 x 48 pixels instead of the whole picture, so a large bitmap
// costs what a small one does. Nothing (the file is read whole, as any other) for a compressed
// bitmap, an old-style header, a size beyond the bounds or a file cut short.
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
    if ((compression != 0 && compression != 3) || width <= 0 || height == 0 ||
        width > DecodeLimits::maxSide || qAbs(qint64(height)) > DecodeLimits::maxSide ||
        (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32))
        return std::nullopt;
    // Only where the pixels begin after the headers, masks and colour table, as they should.
    const quint32 used = little32(head, 46);
    const qint64 colours = bits <= 8 ? (used == 0 || used > (1u << bits) ? 1 << bits : used) : 0;
    const qint64 masks = compression == 3 && infoSize == 40 ? 12 : 0;
    if (pixelsAt < 14 + qint64(infoSize) + masks + 4 * colours)
        return std::nullopt;
    const qint64 rows = qAbs(qint64(height));
    const qint64 stride = (qint64(width) * bits + 31) / 32 * 4;
    if (device->size() - start < pixelsAt + rows * stride)
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
    putLittle32(corner, 2, quint32(corner.size()));
    putLittle32(corner, 18, quint32(keptColumns));
    putLittle32(corner, 22, quint32(height > 0 ? keptRows : -keptRows));
    putLittle32(corner, 34, quint32(keptRows * keptStride));
    return corner;
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

// Reads the picture with Qt's decoder for its format, keeping at least its top-left corner.
QImage readWithQt(QIODevice* device, const QByteArray& format, qint64 start)
{
    QImageReader reader(device, format);
    reader.setAutoDetectImageFormat(false);
    reader.setAllocationLimit(DecodeLimits::allocationLimitMiB);

    // What the header claims; a top-down BMP reports a negative height. A picture whose size
    // cannot be told is not read at all.
    const QSize reported = reader.size();
    if (reported.width() <= 0 || reported.height() == 0)
        return QImage();
    const QSize claimed(reported.width(), qAbs(reported.height()));
    if (!withinSizeBounds(claimed))
        return QImage();
    // Decoders that can read a region (JPEG) then stop after the rows the corner needs. Others
    // would pad a clip rectangle larger than what they decode, so their corner is cut later.
    if (reader.supportsOption(QImageIOHandler::ClipRect))
        reader.setClipRect(QRect(QPoint(0, 0), claimed.boundedTo(QSize(DecodeLimits::keptSide,
                                                                       DecodeLimits::keptSide))));

    if (format == "gif" || format == "jpeg")
        return reader.read();
    if (std::optional<QByteArray> corner = bitmapCorner(device, start)) {
        QBuffer buffer(&*corner);
        buffer.open(QIODevice::ReadOnly);
        QImageReader cornerReader(&buffer, "bmp");
        cornerReader.setAutoDetectImageFormat(false);
        return readBitmap(cornerReader, &buffer, 0);
    }
    if (!device->seek(start))
        return QImage();
    return readBitmap(reader, device, start);
}

} // namespace

std::optional<QImage> decodePicture(QIODevice* device)
{
    if (!device || !device->isReadable())
        return std::nullopt;

    if (device->isSequential()) {
        // The checks read ahead and come back, which a stream cannot: take it into memory.
        QByteArray data;
        for (;;) {
            const QByteArray chunk = device->read(qint64(1) << 20);
            if (chunk.isEmpty())
                break;
            data.append(chunk);
            if (data.size() > DecodeLimits::maxStreamBytes)
                return std::nullopt;
        }
        QBuffer buffer(&data);
        buffer.open(QIODevice::ReadOnly);
        return decodePicture(&buffer);
    }

    const qint64 start = device->pos();
    const QByteArray format = signatureFormat(device);
    if (format.isEmpty() || !withinCostLimits(device, format))
        return std::nullopt;

    QImage image;
    if (format == "jpeg")
        image = readJpegCorner(device, DecodeLimits::keptSide).value_or(QImage());
    if (image.isNull() && device->seek(start))
        image = readWithQt(device, format, start);
    if (image.isNull())
        return std::nullopt;
    if (image.width() > DecodeLimits::keptSide || image.height() > DecodeLimits::keptSide)
        image = image.copy(0, 0, qMin(image.width(), DecodeLimits::keptSide),
                           qMin(image.height(), DecodeLimits::keptSide));
    if (image.format() != QImage::Format_ARGB32 && image.format() != QImage::Format_RGB32)
        image = image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32
                                                              : QImage::Format_RGB32);
    return image;
}

std::optional<QImage> decodePictureFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return decodePicture(&file);
}

} // namespace avatello
