#pragma once

#include "imageio/decodelimits.h"

#include <QtGlobal>

class QIODevice;

namespace avatello {

// Whether the JPEG, from this position, stays within the decoder's limits. A sequential picture
// costs a row of blocks at any size the format allows. A progressive or multi-scan file is decoded
// scan by scan over the whole picture before its first row comes out: its coefficients must fit
// the memory bound (TooLarge otherwise), and its scans the work bound (NotAPicture otherwise).
Refusal jpegWithinLimits(QIODevice* device, qint64 start);

} // namespace avatello
