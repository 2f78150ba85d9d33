#include "imageio/picturedecoder.h"

#include "imageio/bmpcorner.h"
#include "imageio/gifcost.h"
#include "imageio/jpegcorner.h"
#include "imageio/jpegcost.h"

#include <QBuffer>
#include <QFile>
#include <QImageIOHandler>
#include <QImageReader>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace avatello {

namespace {

// The format a file's first bytes name, the way Qt's own decoders recognise them; empty for
// anything that is not a BMP, GIF or JPEG file. Choosing the decoder from the signature spares
// asking every image plugin installed whether it can read the file.
QByteArray signatureFormat(const QByteArray& signature)
{
    if (signature == "GIF87a" || signature == "GIF89a")
        return QByteArrayLiteral("gif");
    if (signature.startsWith("\xFF\xD8"))
        return QByteArrayLiteral("jpeg");
    if (signature.startsWith("BM"))
        return QByteArrayLiteral("bmp");
    return {};
}

// The checks that need more than the header QImageReader reads.
Refusal costRefusal(QIODevice* device, const QByteArray& format)
{
    const qint64 start = device->pos();
    if (format == "gif")
        return gifWithinLimits(device, start);
    if (format == "jpeg")
        return jpegWithinLimits(device, start);
    return Refusal::None;
}

// Reads the picture with Qt's decoder for its format, keeping at least its top-left corner.
QImage readWithQt(QIODevice* device, const QByteArray& format, qint64 start, Refusal* why)
{
    // An uncompressed bitmap's corner costs what a small bitmap does at any size. Any other
    // bitmap is decoded whole: one beyond the bounds is refused as too large.
    const QByteArray head = format == "bmp" ? device->peek(14 + 124 + 16) : QByteArray();
    if (format == "bmp") {
        if (std::optional<QByteArray> corner = bitmapCorner(device, start)) {
            QBuffer buffer(&*corner);
            buffer.open(QIODevice::ReadOnly);
            QImageReader cornerReader(&buffer, "bmp");
            cornerReader.setAutoDetectImageFormat(false);
            return withFullRangeChannels(readBitmap(cornerReader, &buffer, 0), head);
        }
        const QSize claimed = bitmapClaimedSize(head);
        if (claimed.isValid() && !DecodeLimits::allowsSize(claimed)) {
            *why = Refusal::TooLarge;
            return QImage();
        }
        if (!device->seek(start))
            return QImage();
    }

    QImageReader reader(device, format);
    reader.setAutoDetectImageFormat(false);
    reader.setAllocationLimit(DecodeLimits::allocationLimitMiB);

    // What the header claims; a top-down BMP reports a negative height, whose size is taken in
    // 64 bits (that of INT_MIN is no int). A picture whose size cannot be told is not read at all.
    const QSize reported = reader.size();
    const qint64 width = reported.width();
    const qint64 height = qAbs(qint64(reported.height()));
    if (width <= 0 || height == 0)
        return QImage();
    // A JPEG's cost was weighed on its scans; the others are decoded whole.
    const bool allowed =
        format == "jpeg" ? width <= DecodeLimits::maxJpegSide && height <= DecodeLimits::maxJpegSide
                         : DecodeLimits::allowsSize(width, height);
    if (!allowed) {
        *why = Refusal::TooLarge;
        return QImage();
    }
    // Decoders that can read a region (JPEG) then stop after the rows the corner needs. Others
    // would pad a clip rectangle larger than what they decode, so their corner is cut later.
    if (reader.supportsOption(QImageIOHandler::ClipRect))
        reader.setClipRect(QRect(0, 0, int(qMin<qint64>(width, DecodeLimits::keptSide)),
                                 int(qMin<qint64>(height, DecodeLimits::keptSide))));

    if (format == "gif" || format == "jpeg")
        return reader.read();
    return withFullRangeChannels(readBitmap(reader, device, start), head);
}

std::optional<QImage> decode(QIODevice* device, Refusal* why)
{
    if (!device || !device->isReadable())
        return std::nullopt;

    if (device->isSequential()) {
        // The checks read ahead and come back, which a stream cannot: take it into memory, but
        // only once its first bytes show it can be a picture at all.
        QByteArray data;
        while (data.size() < 6) {
            const QByteArray chunk = device->read(6 - data.size());
            if (chunk.isEmpty())
                break;
            data.append(chunk);
        }
        if (signatureFormat(data).isEmpty())
            return std::nullopt;
        for (;;) {
            const QByteArray chunk = device->read(qint64(1) << 20);
            if (chunk.isEmpty())
                break;
            data.append(chunk);
            if (data.size() > DecodeLimits::maxStreamBytes) {
                *why = Refusal::TooLarge; // it starts as a picture does, a larger one than a load
                                          // takes
                return std::nullopt;
            }
        }
        QBuffer buffer(&data);
        buffer.open(QIODevice::ReadOnly);
        return decode(&buffer, why);
    }

    const qint64 start = device->pos();
    const QByteArray format = signatureFormat(device->peek(6));
    if (format.isEmpty())
        return std::nullopt;
    if (const Refusal cost = costRefusal(device, format); cost != Refusal::None) {
        *why = cost;
        return std::nullopt;
    }

    QImage image;
    if (format == "jpeg")
        image = readJpegCorner(device, DecodeLimits::keptSide).value_or(QImage());
    if (image.isNull() && device->seek(start))
        image = readWithQt(device, format, start, why);
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

} // namespace

std::optional<QImage> decodePicture(QIODevice* device, Refusal* why)
{
    Refusal refusal = Refusal::NotAPicture;
    std::optional<QImage> image = decode(device, &refusal);
    if (why)
        *why = image ? Refusal::None : refusal;
    return image;
}

std::optional<QImage> decodePictureFile(const QByteArray& path, Refusal* why)
{
    Refusal refused = Refusal::None;
    if (!why)
        why = &refused;
    *why = Refusal::NotAPicture;
    // Only a regular file can be a picture on disk. Anything else is refused unread: a named pipe
    // nobody writes would block the open and the read for ever, and a device such as /dev/zero
    // never ends. The open does not wait for a pipe's writer, and what was opened is what is
    // checked.
    const int fd = ::open(path.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        struct stat link = {};
        if (error == ENOENT)
            *why = ::lstat(path.constData(), &link) == 0 && S_ISLNK(link.st_mode)
                       ? Refusal::BrokenLink
                       : Refusal::Missing;
        else if (error == ENOTDIR)
            *why = Refusal::Missing;
        else if (error == EACCES || error == EPERM)
            *why = Refusal::NotAllowed;
        else if (error == ELOOP)
            *why = Refusal::BrokenLink;
        else
            *why = Refusal::Unreadable;
        return std::nullopt;
    }
    QFile file;
    struct stat info = {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) ||
        !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        *why = S_ISDIR(info.st_mode)   ? Refusal::Folder
               : S_ISREG(info.st_mode) ? Refusal::Unreadable
                                       : Refusal::NotRegular;
        ::close(fd);
        return std::nullopt;
    }
    return decodePicture(&file, why);
}

std::optional<QImage> decodePictureFile(const QString& path, Refusal* why)
{
    return decodePictureFile(QFile::encodeName(path), why);
}

} // namespace avatello
