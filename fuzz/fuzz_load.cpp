// libFuzzer target: Load's picture decoder on arbitrary bytes, as decodePicture reads a file.
// Whatever the input, it must neither crash, hang nor leak; a picture it accepts must be the small
// RGB32 or ARGB32 corner that the canvas takes, and the same every time.
#include "imageio/picturedecoder.h"
#include "quietapplication.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <QBuffer>
#include <QByteArray>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    makeQuietApplication(); // Qt's image plugins (GIF, JPEG) are found through it
    return 0;
}

namespace {

std::optional<QImage> decode(QByteArray bytes)
{
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::ReadOnly))
        return std::nullopt;
    return avatello::decodePicture(&buffer);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    const std::optional<QImage> picture = decode(bytes);
    if (!picture)
        return 0;
    const bool shaped =
        !picture->isNull() && picture->width() <= avatello::DecodeLimits::keptSide &&
        picture->height() <= avatello::DecodeLimits::keptSide &&
        (picture->format() == QImage::Format_RGB32 || picture->format() == QImage::Format_ARGB32);
    if (!shaped)
        std::abort();
    // The same bytes give the same picture: pixels left to whatever memory held would not.
    const std::optional<QImage> again = decode(bytes);
    if (!again || *again != *picture)
        std::abort();
    return 0;
}
