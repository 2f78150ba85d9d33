#pragma once

#include <QImage>
#include <QString>
#include <optional>

class QIODevice;

namespace avatello {

// Limits on what one picture may cost to open. Only the top-left 48 x 48 pixels are ever shown,
// so a picture is cut to that corner as it is read; these bounds keep a hostile header from
// making the decoder allocate or work for a picture nobody could see.
struct DecodeLimits
{
    static constexpr int maxSide = 16384;           // pixels, either side
    static constexpr qint64 maxPixels = 40'000'000; // width x height the header claims
    static constexpr int allocationLimitMiB = 192;  // what Qt's decoder may allocate
    static constexpr int keptSide = 48;             // the corner that is kept
};

// Reads a BMP, GIF or JPEG picture, recognised by its content whatever the name. Keeps the
// picture's transparency and its top-left corner of at most 48 x 48 pixels, unscaled. Returns
// nothing for anything that is not such a picture or breaks the limits above.
//
// A damaged file that the decoder can still render in part (a truncated JPEG, a GIF whose pixel
// data stops early) is accepted as rendered, the way a web browser shows it: the user sees what
// the file holds rather than nothing.
std::optional<QImage> decodePicture(QIODevice* device);
std::optional<QImage> decodePictureFile(const QString& path);

} // namespace avatello
