#include "imageio/picturedecoder.h"

#include "imageio/bmpcorner.h"
#include "imageio/gifcost.h"
#include "imageio/jpegcorner.h"
#include "imageio/jpegcost.h"

#include <QBuffer>
#include <QFile>
#include <QImageIOHandler>
#include <QImageReader>

namespace avatello {

namespace {

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
    if (!DecodeLimits::allowsSize(claimed))
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