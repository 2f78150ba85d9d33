#pragma once

#include "imageio/decodelimits.h"

#include <QtGlobal>

class QIODevice;

namespace avatello {

// Whether what Qt's GIF decoder would do with the file from this position stays within the
// decoder's limits: the picture it allocates (the logical screen; TooLarge beyond the bounds) and
// the pixels the first frame's LZW data expands to (NotAPicture: a decompression bomb).
Refusal gifWithinLimits(QIODevice* device, qint64 start);

} // namespace avatello
