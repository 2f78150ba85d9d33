#include "imageio/jpegcost.h"

#include "imageio/bytescanner.h"
#include "imageio/decodelimits.h"

namespace avatello {

namespace {

bool isStartOfFrame(int marker)
{
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

} // namespace

// Whether the JPEG's scans stay within the limits. A progressive or multi-scan file is decoded
// scan by scan over the whole picture before the first row comes out, so its cost is the number
// of scans times the picture's size. Markers are found the way libjpeg finds them: anything up to
// an 0xFF is skipped, fill bytes are skipped, and 0xFF 0x00 (a stuffed byte in entropy-coded
// data) and the restart markers do not end a scan.
bool jpegWithinLimits(QIODevice* device, qint64 start)
{
    ByteScanner in(device, start);
    if (in.get() != 0xFF || in.get() != 0xD8)
        return true;
    qint64 pixels = 0;
    int scans = 0;
    int components = 0;
    bool progressive = false;
    for (;;) {
        int marker = 0;
        while (marker == 0) {
            if (!in.findByte(0xFF))
                return true;
            do
                marker = in.get();
            while (marker == 0xFF);
        }
        if (marker < 0 || marker == 0xD8 || marker == 0xD9)
            return true; // the end, a second start (an error to libjpeg) or the end of image
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7))
            continue; // markers without a length
        const int length = in.get16be();
        if (length < 2)
            return true;
        qint64 rest = length - 2;
        if (isStartOfFrame(marker) && rest >= 6) {
            in.get(); // sample precision
            const int height = in.get16be();
            const int width = in.get16be();
            components = in.get();
            if (width < 0 || components < 0)
                return true;
            pixels = qMax(pixels, qint64(width) * height);
            progressive = marker == 0xC2 || marker == 0xC6 || marker == 0xCA || marker == 0xCE;
            rest -= 6;
        }
        int scanComponents = -1;
        if (marker == 0xDA && rest >= 1) {
            scanComponents = in.get();
            rest -= 1;
        }
        if (!in.skip(rest))
            return true;
        if (marker == 0xDA) {
            ++scans;
            if (scans > DecodeLimits::maxJpegScans ||
                scans * pixels > DecodeLimits::maxJpegScanPixels)
                return false;
            // A sequential picture whose first scan holds every component is decoded row by
            // row, and only as far as the corner needs: nothing after it is ever read.
            if (!progressive && scans == 1 && scanComponents == components)
                return true;
        }
    }
}

} // namespace avatello
