#pragma once

#include <QtGlobal>

class QIODevice;

namespace avatello {

// Whether what Qt's GIF decoder would do with the file from this position stays within the
// decoder's limits: the picture it allocates (the logical screen) and the pixels the first
// frame's LZW data expands to.
bool gifWithinLimits(QIODevice* device, qint64 start);

} // namespace avatello
