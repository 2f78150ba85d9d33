#pragma once

#include <optional>
#include <QImage>

class QIODevice;

namespace avatello {

// Reads the top-left corner (at most side x side pixels) of a JPEG picture, from the device's
// current position, with libjpeg: the library Qt's own JPEG reader uses, with the settings it
// uses, so the pixels are the ones Qt would give. Qt's reader, even with a clip rectangle,
// decodes the first rows across the picture's whole width; here libjpeg is asked to leave out
// the inverse transforms, upsampling and colour conversion of the columns right of the corner,
// which for a wide photo is most of the cost of a Load. What cannot be skipped is unpacking the
// Huffman-coded data of those rows, which runs the width of the picture.
//
// Returns nothing, leaving the picture to Qt's reader, for anything but a clean 8-bit YCbCr or
// grey picture within the decoder's memory bound: other colour spaces (CMYK, YCCK, RGB), 12-bit
// samples, and any file libjpeg stops on or warns about (damaged, cut short), so those show
// exactly what Qt makes of them.
std::optional<QImage> readJpegCorner(QIODevice* device, int side);

} // namespace avatello
