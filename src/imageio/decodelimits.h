#pragma once

#include <QSize>
#include <QtGlobal>

namespace avatello {

// Why a file was not loaded: it is no picture the decoder reads (or a hostile one), it is a
// valid picture larger than the bounds, or the file itself could not be read (fileaccess.h has
// the words for each).
enum class Refusal {
    None,
    NotAPicture, // no BMP, GIF or JPEG picture, or a damaged one
    TooLarge,    // a valid picture beyond the bounds
    Missing,     // no such file
    BrokenLink,  // a symbolic link to nothing
    Folder,
    NotRegular, // a named pipe, a device or a socket
    NotAllowed, // the user may not read it
    Unreadable, // the system refused it for another reason
    Remote,     // an address of a file on another computer
    BadName,    // a name no file can have (it holds a NUL byte)
};

// Limits on what one picture may cost to open. Only the top-left 48 x 48 pixels are ever shown,
// so a picture is cut to that corner as it is read; these bounds keep a hostile file from making
// the decoder allocate or work for a picture nobody could see. A file that breaks one of them is
// refused; where only the picture's size breaks them, the user is told why (Refusal::TooLarge).
//
// What the decoders underneath cost, and so why the bounds are what they are:
// - BMP and GIF are decoded whole before the corner is cut: Qt allocates the full picture at
//   4 bytes a pixel. For a GIF that is the logical screen of the header, whatever size the first
//   frame has and whatever QImageReader::size() reports (it ignores a screen over ten times the
//   first frame, the decoder does not): a 41-byte GIF can otherwise claim 144 MB.
// - A sequential JPEG (one scan holding every component) is read only as far as the rows the
//   corner needs, by readJpegCorner or by Qt's reader with a clip rectangle: its cost is one row
//   of blocks across the picture's width (a few MB at the widest JPEG allows), whatever its
//   height. So its only bound is the format's own, and every photo a camera or phone makes loads.
// - A progressive or multi-scan JPEG first buffers every coefficient of the picture (64 of 2 bytes
//   per 8 x 8 block of each component) and runs every scan over the whole of it, so its bound is
//   that buffer's size: 128 MiB (what 4096 x 4096 pixels of four components take), a 4:2:0
//   picture of 44 megapixels or a 4:4:4 one of 22, which also bounds the time the scans take.
// - A GIF's LZW data can expand more than a thousandfold (a 1 MB file into 2.8 gigapixels,
//   12 s of work for a 48 x 48 frame), and Qt decodes every code of the first frame, even past
//   the frame's end.
//
// So: BMP and GIF at most 2^24 pixels (16.7 megapixels: 4096 x 4096, a 5K screenshot), which keeps
// one decoded picture at 64 MiB; at most that many pixels out of the first GIF frame's LZW data;
// a JPEG's scans may visit at most 64 pictures' worth of that bound, and never more than 1000
// scans (a real progressive file has about ten; the most elaborate the JPEG suites hold have 64).
struct DecodeLimits
{
    static constexpr int maxSide = 16384;                       // pixels, either side
    static constexpr qint64 maxPixels = qint64(1) << 24;        // width x height decoded
    static constexpr int allocationLimitMiB = 64;               // one image Qt may allocate
    static constexpr qint64 maxGifCodePixels = maxPixels;       // LZW output of the first frame
    static constexpr int maxJpegScans = 1000;                   // SOS markers in the file
    static constexpr qint64 maxJpegScanPixels = maxPixels * 64; // scans x picture pixels
    static constexpr int maxJpegSide = 65535;                   // the format's own bound
    static constexpr qint64 maxJpegCoefficientBytes = qint64(128) << 20; // progressive buffer
    static constexpr qint64 maxStreamBytes = qint64(64) << 20; // read from a sequential device
    static constexpr int keptSide = 48;                        // the corner that is kept

    // Whether a picture of this size may be decoded at all. The sides are bounded before they
    // multiply, so any pair of sides is safe.
    static constexpr bool allowsSize(qint64 width, qint64 height)
    {
        return width > 0 && height > 0 && width <= maxSide && height <= maxSide &&
               width * height <= maxPixels;
    }
    static constexpr bool allowsSize(QSize size) { return allowsSize(size.width(), size.height()); }
};

} // namespace avatello
