#include "document/picturedecoder.h"

#include <QFile>
#include <QImageReader>

namespace avatello {

namespace {

bool isAcceptedFormat(const QByteArray& format)
{
    return format == "bmp" || format == "gif" || format == "jpeg" || format == "jpg";
}

} // namespace

std::optional<QImage> decodePicture(QIODevice* device)
{
    if (!device || !device->isReadable())
        return std::nullopt;

    QImageReader reader(device);
    reader.setDecideFormatFromContent(true);
    reader.setAllocationLimit(DecodeLimits::allocationLimitMiB);
    if (!isAcceptedFormat(reader.format()))
        return std::nullopt;

    const QSize claimed = reader.size();
    if (claimed.isValid()) {
        if (claimed.width() > DecodeLimits::maxSide || claimed.height() > DecodeLimits::maxSide ||
            qint64(claimed.width()) * claimed.height() > DecodeLimits::maxPixels)
            return std::nullopt;
        // Decoders that can read a region (JPEG) then stop after the rows the corner needs.
        reader.setClipRect(QRect(QPoint(0, 0), claimed.boundedTo(QSize(DecodeLimits::keptSide,
                                                                       DecodeLimits::keptSide))));
    }

    QImage image = reader.read();
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
