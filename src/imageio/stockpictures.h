#pragma once

#include <QImage>

namespace avatello {

// The pictures built into the program, decoded by the same decoder as Load.
QImage startupPicture(); // 50 x 50 GIF with a transparent background; also template 1
QImage whiteBitmap();    // 50 x 50 all-white 8-bit bitmap
QImage blackBitmap();    // 50 x 50 all-black GIF

// Decodes a built-in picture by its resource path; a null image if it is missing.
QImage builtInPicture(const QString& resourcePath);

} // namespace avatello
