#pragma once

#include "imageio/decodelimits.h"

#include <optional>
#include <QImage>
#include <QString>

class QIODevice;

namespace avatello {

// Reads a BMP, GIF or JPEG picture, recognised by its content whatever the name. Keeps the
// picture's transparency and its top-left corner of at most 48 x 48 pixels, unscaled. Returns
// nothing for anything that is not such a picture or breaks the limits of DecodeLimits.
//
// A damaged file that the decoder can still render in part (a truncated JPEG, a GIF whose pixel
// data stops early) is accepted as rendered, the way a web browser shows it: the user sees what
// the file holds rather than nothing. Pixels that a damaged or RLE bitmap leaves unset are its
// palette entry 0 (or black), the same every time.
//
// When nothing is returned, why (if given) says whether the file is simply no such picture or a
// valid one larger than the bounds.
std::optional<QImage> decodePicture(QIODevice* device, Refusal* why = nullptr);
// The same for a file, named by the system's bytes (fileaccess.h): only a regular file is read;
// a pipe, a device or a folder is refused without reading a byte, and why says which.
std::optional<QImage> decodePictureFile(const QByteArray& path, Refusal* why = nullptr);
std::optional<QImage> decodePictureFile(const QString& path, Refusal* why = nullptr);

} // namespace avatello
