#include "imageio/jpegcost.h"

#include "imageio/bytescanner.h"

#include <QList>

namespace avatello {

namespace {

bool isStartOfFrame(int marker)
{
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

qint64 roundUp(qint64 value, qint64 step)
{
    return (value + step - 1) / step * step;
}

// What a frame header says the decoder will need.
struct Frame
{
    qint64 pixels = 0;
    qint64 coefficientBytes = 0; // the whole picture's coefficients, as libjpeg buffers them
    int components = 0;
    bool progressive = false;
};

// Reads the rest of a start-of-frame segment (after its length); false if it is cut short.
bool readFrame(ByteScanner& in, int marker, qint64 rest, Frame* frame)
{
    if (rest < 6)
        return in.skip(rest);
    in.get(); // sample precision
    const int height = in.get16be();
    const int width = in.get16be();
    const int components = in.get();
    if (height < 0 || width < 0 || components < 0)
        return false;
    rest -= 6;
    struct Sampling
    {
        int h = 1, v = 1;
    };
    QList<Sampling> sampling;
    int maxH = 1, maxV = 1;
    for (int i = 0; i < components && rest >= 3; ++i, rest -= 3) {
        in.get(); // component id
        const int factors = in.get();
        in.get(); // quantisation table
        if (factors < 0)
            return false;
        const Sampling s{qMax(1, factors >> 4), qMax(1, factors & 15)};
        maxH = qMax(maxH, s.h);
        maxV = qMax(maxV, s.v);
        sampling.append(s);
    }
    // Each component's blocks, padded to whole MCUs as libjpeg allocates them: 64 coefficients
    // of 2 bytes a block. Sides of 16 bits keep a component under 2^34 bytes, and 255 of them
    // under 2^42: no overflow.
    qint64 bytes = 0;
    for (const Sampling& s : sampling) {
        const qint64 columns = roundUp((qint64(width) * s.h + maxH * 8 - 1) / (maxH * 8), s.h);
        const qint64 rows = roundUp((qint64(height) * s.v + maxV * 8 - 1) / (maxV * 8), s.v);
        bytes += columns * rows * 128;
    }
    frame->pixels = qMax(frame->pixels, qint64(width) * height);
    frame->coefficientBytes = qMax(frame->coefficientBytes, bytes);
    frame->components = components;
    frame->progressive = marker == 0xC2 || marker == 0xC6 || marker == 0xCA || marker == 0xCE;
    return in.skip(rest);
}

} // namespace

// Markers are found the way libjpeg finds them: anything up to an 0xFF is skipped, fill bytes are
// skipped, and 0xFF 0x00 (a stuffed byte in entropy-coded data) and the restart markers do not
// end a scan. A file the walk cannot follow costs nothing here and is left to the decoder.
Refusal jpegWithinLimits(QIODevice* device, qint64 start)
{
    ByteScanner in(device, start);
    if (in.get() != 0xFF || in.get() != 0xD8)
        return Refusal::None;
    Frame frame;
    int scans = 0;
    for (;;) {
        int marker = 0;
        while (marker == 0) {
            if (!in.findByte(0xFF))
                return Refusal::None;
            do
                marker = in.get();
            while (marker == 0xFF);
        }
        if (marker < 0 || marker == 0xD8 || marker == 0xD9)
            return Refusal::None; // the end, a second start (an error to libjpeg) or the end
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7))
            continue; // markers without a length
        const int length = in.get16be();
        if (length < 2)
            return Refusal::None;
        const qint64 rest = length - 2;
        if (isStartOfFrame(marker)) {
            if (!readFrame(in, marker, rest, &frame))
                return Refusal::None;
            continue;
        }
        int scanComponents = -1;
        if (marker == 0xDA && rest >= 1)
            scanComponents = in.get();
        if (!in.skip(marker == 0xDA && rest >= 1 ? rest - 1 : rest))
            return Refusal::None;
        if (marker != 0xDA)
            continue;
        ++scans;
        // A sequential picture whose first scan holds every component is decoded row by row,
        // and only as far as the corner needs: nothing after it is ever read.
        if (!frame.progressive && scans == 1 && scanComponents == frame.components)
            return Refusal::None;
        if (frame.coefficientBytes > DecodeLimits::maxJpegCoefficientBytes)
            return Refusal::TooLarge;
        // The count is bounded before it multiplies: at most 1000 x 2^32.
        if (scans > DecodeLimits::maxJpegScans ||
            scans * frame.pixels > DecodeLimits::maxJpegScanPixels)
            return Refusal::NotAPicture;
    }
}

} // namespace avatello
