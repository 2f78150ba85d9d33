#pragma once

// Helpers of the load, save, corpus and hostile-input tests: small picture files made in code,
// the canvas a loaded picture must give, and a record of everything a failed Load must leave as
// it was.

#include "support/documentstate.h"

#include <csignal>
#include <malloc.h>
#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QList>
#include <QRect>
#include <QString>
#include <QtEndian>
#include <sys/resource.h>
#include <vector>

namespace avatello::test {

// ---- GIF files -------------------------------------------------------------------------------

// One frame of a GIF file. Qt writes no GIF, so the tests encode their own: a 16-colour palette
// and LZW data of literal codes only, with a clear code every ten pixels so that the codes stay
// five bits wide. Any GIF decoder reads that as the plain pixels given.
struct GifPicture
{
    QSize screen;              // logical screen
    QRect frame;               // the first (only) frame, on the screen
    QList<QRgb> palette;       // at most 16 colours
    int transparentIndex = -1; // a graphic control extension names it when >= 0
    bool interlaced = false;
    std::vector<uchar> indices; // frame.width() x frame.height(), row by row from the top
};

inline void appendLe16(QByteArray& bytes, int value)
{
    bytes.append(char(value & 0xFF));
    bytes.append(char((value >> 8) & 0xFF));
}

// Packs codes least significant bit first, as GIF does.
class GifBitWriter
{
public:
    void put(int code, int width)
    {
        accumulator_ |= quint32(code) << bits_;
        bits_ += width;
        while (bits_ >= 8) {
            bytes_.append(char(accumulator_ & 0xFF));
            accumulator_ >>= 8;
            bits_ -= 8;
        }
    }
    QByteArray finish()
    {
        if (bits_ > 0)
            bytes_.append(char(accumulator_ & 0xFF));
        accumulator_ = 0;
        bits_ = 0;
        return bytes_;
    }

private:
    QByteArray bytes_;
    quint32 accumulator_ = 0;
    int bits_ = 0;
};

// Splits LZW data into sub-blocks of at most 255 bytes, ending with the empty block.
inline QByteArray gifSubBlocks(const QByteArray& data)
{
    QByteArray out;
    for (qsizetype at = 0; at < data.size(); at += 255) {
        const QByteArray block = data.mid(at, 255);
        out.append(char(block.size()));
        out.append(block);
    }
    out.append('\0');
    return out;
}

inline QByteArray gifHeader(QSize screen, const QList<QRgb>& palette)
{
    QByteArray bytes("GIF89a");
    appendLe16(bytes, screen.width());
    appendLe16(bytes, screen.height());
    bytes.append(char(0x80 | 0x03)); // a global colour table of 16 entries
    bytes.append('\0');              // background colour index
    bytes.append('\0');              // aspect ratio
    for (int i = 0; i < 16; ++i) {
        const QRgb colour = i < palette.size() ? palette.at(i) : qRgb(0, 0, 0);
        bytes.append(char(qRed(colour)));
        bytes.append(char(qGreen(colour)));
        bytes.append(char(qBlue(colour)));
    }
    return bytes;
}

inline QByteArray gifImageDescriptor(QRect frame, bool interlaced)
{
    QByteArray bytes(",");
    appendLe16(bytes, frame.x());
    appendLe16(bytes, frame.y());
    appendLe16(bytes, frame.width());
    appendLe16(bytes, frame.height());
    bytes.append(char(interlaced ? 0x40 : 0x00));
    return bytes;
}

inline QByteArray makeGif(const GifPicture& picture)
{
    QByteArray bytes = gifHeader(picture.screen, picture.palette);
    if (picture.transparentIndex >= 0) {
        bytes.append("\x21\xF9\x04\x01\x00\x00", 6); // graphic control: transparency, no delay
        bytes.append(char(picture.transparentIndex));
        bytes.append('\0');
    }
    bytes.append(gifImageDescriptor(picture.frame, picture.interlaced));

    // Rows in the order they are stored: the four passes of an interlaced frame, or top down.
    QList<int> rows;
    const int height = picture.frame.height();
    if (picture.interlaced) {
        for (const auto& [first, step] : {std::pair{0, 8}, {4, 8}, {2, 4}, {1, 2}})
            for (int y = first; y < height; y += step)
                rows.append(y);
    } else {
        for (int y = 0; y < height; ++y)
            rows.append(y);
    }

    constexpr int minimumCodeSize = 4;
    constexpr int clearCode = 1 << minimumCodeSize;
    constexpr int codeWidth = minimumCodeSize + 1;
    GifBitWriter writer;
    int sinceClear = 0;
    writer.put(clearCode, codeWidth);
    for (const int y : rows) {
        for (int x = 0; x < picture.frame.width(); ++x) {
            if (sinceClear == 10) {
                writer.put(clearCode, codeWidth);
                sinceClear = 0;
            }
            writer.put(picture.indices[std::size_t(y * picture.frame.width() + x)], codeWidth);
            ++sinceClear;
        }
    }
    writer.put(clearCode + 1, codeWidth); // end of information
    bytes.append(char(minimumCodeSize));
    bytes.append(gifSubBlocks(writer.finish()));
    bytes.append(';');
    return bytes;
}

// ---- Files -----------------------------------------------------------------------------------

inline bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

inline QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Runs f with the size a file may grow to lowered to `bytes`. A write past it fails (EFBIG) for
// every user, root included, so it stands in for a disk that fills up during a save. False if
// the limit could not be set (f has not run then).
template <typename F> bool withFileSizeLimit(rlim_t bytes, F&& f)
{
    rlimit previous{};
    if (getrlimit(RLIMIT_FSIZE, &previous) != 0)
        return false;
    rlimit lowered = previous;
    lowered.rlim_cur = bytes;
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN); // else the write kills us
    if (setrlimit(RLIMIT_FSIZE, &lowered) != 0) {
        std::signal(SIGXFSZ, previousHandler);
        return false;
    }
    f();
    setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previousHandler);
    return true;
}

// The picture Qt's own reader makes of a file, recognised by content, converted to ARGB32;
// null when it decodes nothing. Qt's bitmap decoder leaves pixels the file does not set (RLE
// skips, short files) as the memory held them; a picture of the right size and format handed to
// it is reused, so here, as in Load, a bitmap is read into a zero-filled one to make those
// pixels palette entry 0 (or black) rather than chance.
inline QImage qtReading(const QString& path)
{
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    const QByteArray format = reader.format(); // before reading: afterwards it is gone
    QImage image = reader.read();
    if (!image.isNull() && format == "bmp") {
        QImage defined(image.size(), image.format());
        defined.fill(0);
        QImageReader again(path, "bmp");
        image = again.read(&defined) ? defined : QImage();
    }
    if (image.isNull())
        return image;
    // A picture without an alpha channel is opaque: a palette index beyond the palette is
    // opaque black then, not transparent.
    if (!image.hasAlphaChannel())
        image = image.convertToFormat(QImage::Format_RGB32);
    return image.convertToFormat(QImage::Format_ARGB32);
}

// ---- Memory -----------------------------------------------------------------------------------

// A field of /proc/self/status in KiB ("VmRSS:", "VmHWM:"); -1 if there is none.
inline qint64 statusKiB(const QByteArray& field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly | QIODevice::Text))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(field.size()).trimmed().split(' ').value(0).toLongLong();
    return -1;
}

// How far the resident memory's high-water mark rose above where it was while the step ran
// (Linux lets a process reset its own mark through /proc/self/clear_refs); -1: unknown.
// Under AddressSanitizer freed memory waits in a quarantine instead of being reused, so the
// buffers one decode allocates one after the other are all resident at once: a memory bound
// measured there allows for that.
#if defined(__SANITIZE_ADDRESS__)
inline constexpr int sanitizerMemoryFactor = 2;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
inline constexpr int sanitizerMemoryFactor = 2;
#else
inline constexpr int sanitizerMemoryFactor = 1;
#endif
#else
inline constexpr int sanitizerMemoryFactor = 1;
#endif

template <typename Step> qint64 peakGrowthKiB(Step step)
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    const bool reset = clear.open(QIODevice::WriteOnly) && clear.write("5") == 1;
    clear.close();
    const qint64 before = statusKiB("VmRSS:");
    step();
    return reset && before >= 0 ? statusKiB("VmHWM:") - before : -1;
}

// ---- The canvas a Load must give -------------------------------------------------------------

// A picture as the canvas must show it after Load: its top-left 48 x 48 pixels, unscaled, over
// white, each pixel alpha-composited onto the white.
inline QImage overWhite(const QImage& picture)
{
    QImage canvas(48, 48, QImage::Format_RGB32);
    canvas.fill(Qt::white);
    const QImage argb = picture.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < qMin(48, argb.height()); ++y) {
        for (int x = 0; x < qMin(48, argb.width()); ++x) {
            const QRgb p = argb.pixel(x, y);
            const int a = qAlpha(p);
            const auto mix = [a](int c) { return (c * a + 255 * (255 - a) + 127) / 255; };
            canvas.setPixel(x, y, qRgb(mix(qRed(p)), mix(qGreen(p)), mix(qBlue(p))));
        }
    }
    return canvas;
}

// Whether two pictures have the same size and every channel of every pixel within tolerance
// (compositing rounds a little differently from one path to another). On a mismatch, describes
// the first differing pixel.
inline bool nearlySame(const QImage& actual, const QImage& expected, int tolerance,
                       QString* why = nullptr)
{
    if (actual.size() != expected.size()) {
        if (why)
            *why = QStringLiteral("size %1x%2, expected %3x%4")
                       .arg(actual.width())
                       .arg(actual.height())
                       .arg(expected.width())
                       .arg(expected.height());
        return false;
    }
    for (int y = 0; y < actual.height(); ++y) {
        for (int x = 0; x < actual.width(); ++x) {
            const QRgb a = actual.pixel(x, y);
            const QRgb e = expected.pixel(x, y);
            if (qAbs(qRed(a) - qRed(e)) > tolerance || qAbs(qGreen(a) - qGreen(e)) > tolerance ||
                qAbs(qBlue(a) - qBlue(e)) > tolerance) {
                if (why)
                    *why = QStringLiteral("pixel (%1,%2) is #%3, expected #%4")
                               .arg(x)
                               .arg(y)
                               .arg(a & 0xFFFFFF, 6, 16, QLatin1Char('0'))
                               .arg(e & 0xFFFFFF, 6, 16, QLatin1Char('0'));
                return false;
            }
        }
    }
    return true;
}

} // namespace avatello::test
