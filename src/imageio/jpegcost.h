#pragma once

#include <QtGlobal>

class QIODevice;

namespace avatello {

// Whether the JPEG's scans, from this position, stay within the decoder's limits: a progressive
// or multi-scan file is decoded scan by scan over the whole picture before its first row comes
// out.
bool jpegWithinLimits(QIODevice* device, qint64 start);

} // namespace avatello
