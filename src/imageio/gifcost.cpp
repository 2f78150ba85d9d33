#include "imageio/gifcost.h"

#include "imageio/bytescanner.h"
#include "imageio/decodelimits.h"

#include <array>

namespace avatello {

namespace {

// How many pixels the LZW data of a GIF frame would produce, without producing them. It follows
// Qt's decoder (its code sizes, table growth, clear and end codes, and a code past the table,
// which repeats the previous string plus one pixel) closely enough to bound its work. Where a
// malformed stream uses a table entry it has not defined since the last clear, it assumes the
// longest string Qt's decoder would put out before giving up.
class LzwOutputCounter
{
public:
    explicit LzwOutputCounter(int minimumCodeSize)
        : minimumCodeSize_(minimumCodeSize), clearCode_(1 << minimumCodeSize)
    {
        lengths_.fill(longest);
        restart();
    }

    // Takes one byte of the data; false once the end code has been read (Qt then ignores the
    // rest of the frame's data) or a code that stops Qt's decoder.
    bool feed(uchar byte)
    {
        accumulator_ |= int(byte) << bits_;
        bits_ += 8;
        while (bits_ >= codeSize_) {
            const int code = accumulator_ & ((1 << codeSize_) - 1);
            accumulator_ >>= codeSize_;
            bits_ -= codeSize_;
            if (!take(code))
                return false;
        }
        return true;
    }

    qint64 pixels() const { return pixels_; }

private:
    static constexpr int tableSize = 4096; // 12-bit codes
    static constexpr int longest = 8193;   // Qt's decoder stops on a longer string

    int length(int code) const
    {
        if (code < clearCode_ + 2)
            return 1;
        return code < tableSize ? lengths_[std::size_t(code)] : longest;
    }

    void restart()
    {
        codeSize_ = minimumCodeSize_ + 1;
        nextCode_ = clearCode_ + 2;
        codeSizeLimit_ = 2 * clearCode_;
    }

    bool take(int code)
    {
        if (code == clearCode_) {
            if (!expectFirst_)
                restart();
            expectFirst_ = true;
            return true;
        }
        if (code == clearCode_ + 1)
            return false;
        if (expectFirst_) {
            expectFirst_ = false;
            previous_ = code;
            pixels_ += 1;
            return true;
        }
        int produced = 0;
        int expanded = code;
        if (code >= nextCode_) {
            produced = 1;
            expanded = previous_;
            if (expanded >= clearCode_ + 2 && expanded >= nextCode_)
                return false; // Qt's decoder stops at such a code with an error
        }
        produced += length(expanded);
        if (nextCode_ < tableSize) {
            lengths_[std::size_t(nextCode_)] = qMin(length(previous_) + 1, longest);
            ++nextCode_;
            if (nextCode_ >= codeSizeLimit_ && codeSizeLimit_ < tableSize) {
                codeSizeLimit_ *= 2;
                ++codeSize_;
            }
        }
        previous_ = code;
        pixels_ += produced;
        return true;
    }

    const int minimumCodeSize_;
    const int clearCode_;
    std::array<int, tableSize> lengths_{};
    int codeSize_ = 0;
    int nextCode_ = 0;
    int codeSizeLimit_ = 0;
    int previous_ = 0;
    bool expectFirst_ = true;
    int accumulator_ = 0;
    int bits_ = 0;
    qint64 pixels_ = 0;
};

// Skips a chain of data sub-blocks up to and including its empty block; false at the end.
bool skipSubBlocks(ByteScanner& in)
{
    for (;;) {
        const int size = in.get();
        if (size < 0)
            return false;
        if (size == 0)
            return true;
        if (!in.skip(size))
            return false;
    }
}

} // namespace

// Whether what Qt's GIF decoder would do with this file stays within the limits: the picture it
// allocates (the logical screen) and the pixels the first frame's LZW data expands to. The walk
// up to the first frame's data follows Qt's decoder, which is the only one that will read it;
// anything it could not get past costs nothing and is left to it.
Refusal gifWithinLimits(QIODevice* device, qint64 start)
{
    ByteScanner in(device, start);
    std::array<int, 13> header{}; // signature, version, logical screen descriptor
    for (int& byte : header)
        if ((byte = in.get()) < 0)
            return Refusal::None;
    const int screenWidth = header[6] | header[7] << 8;
    const int screenHeight = header[8] | header[9] << 8;
    const int flags = header[10];
    if ((flags & 0x80) && !in.skip(3 * (2 << (flags & 7))))
        return Refusal::None;

    // Extensions before the first image.
    for (;;) {
        const int introducer = in.get();
        if (introducer == ',')
            break;
        if (introducer != '!')
            return Refusal::None; // the trailer, junk or the end: no image follows
        const int label = in.get();
        if (label < 0)
            return Refusal::None;
        if (label == 0xF9 || label == 0xFF) {
            // Qt reads the first block of a graphic control or application extension whole,
            // even when its size is 0, and only then looks for the end of the chain.
            const int size = in.get();
            if (size < 0 || !in.skip(size))
                return Refusal::None;
        }
        if (!skipSubBlocks(in))
            return Refusal::None;
    }

    // The image descriptor. The picture is the logical screen; Qt uses the first frame's extent
    // only for a side of 0. (Sums of 16-bit numbers: no overflow.)
    const int left = in.get16le();
    const int top = in.get16le();
    const int width = in.get16le();
    const int height = in.get16le();
    const int frameFlags = in.get();
    if (frameFlags < 0)
        return Refusal::None;
    const QSize allocated(screenWidth > 0 ? screenWidth : left + width,
                          screenHeight > 0 ? screenHeight : top + height);
    if (!DecodeLimits::allowsSize(allocated))
        return Refusal::TooLarge;
    if ((frameFlags & 0x80) && !in.skip(3 * (2 << (frameFlags & 7))))
        return Refusal::None;
    const int minimumCodeSize = in.get();
    if (minimumCodeSize < 0 || minimumCodeSize > 12)
        return Refusal::None;

    LzwOutputCounter counter(minimumCodeSize);
    for (;;) {
        const int size = in.get();
        if (size <= 0)
            return Refusal::None; // the frame's data ends
        for (int i = 0; i < size; ++i) {
            const int byte = in.get();
            if (byte < 0 || !counter.feed(uchar(byte)))
                return Refusal::None;
            if (counter.pixels() > DecodeLimits::maxGifCodePixels)
                return Refusal::NotAPicture;
        }
    }
}

} // namespace avatello
