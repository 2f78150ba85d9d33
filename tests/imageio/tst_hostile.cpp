// Hostile input to the picture decoder behind Load: headers that claim enormous pictures,
// decompression bombs, and pixels a damaged file leaves undefined. Each file is built in memory;
// each must be refused, or decoded cheaply, without allocating for what it claims and without
// hanging.
#include "imageio/picturedecoder.h"
#include "support/cputime.h"
#include "support/documentstate.h"
#include "support/picturefiles.h"
#include "support/testregistry.h"

#include <array>
#include <climits>
#include <cstring>
#include <memory>
#include <QBuffer>
#include <QImageWriter>
#include <QTemporaryDir>
#include <QtTest>
#include <sys/stat.h>
#include <unistd.h>

using namespace avatello;
using namespace avatello::test;

namespace {

// ---- Measuring -------------------------------------------------------------------------------

struct Cost
{
    std::optional<QImage> result;
    Refusal why = Refusal::None;
    qint64 milliseconds = 0;   // processor time, the work done
    qint64 peakGrowthKiB = -1; // how far resident memory rose above where it was; -1: unknown
};

// Decodes the bytes as Load would, measuring the processor time and the rise of the resident
// memory's high-water mark (Linux lets a process reset its own mark through /proc/self/clear_refs).
Cost decodeMeasured(const QByteArray& bytes)
{
    QByteArray data = bytes;
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    const bool reset = clear.open(QIODevice::WriteOnly) && clear.write("5") == 1;
    clear.close();
    const qint64 before = statusKiB("VmRSS:");

    Cost cost;
    const CpuTimer timer;
    cost.result = decodePicture(&buffer, &cost.why);
    cost.milliseconds = timer.elapsed();
    if (reset && before >= 0)
        cost.peakGrowthKiB = statusKiB("VmHWM:") - before;
    return cost;
}

// Refused quickly and without allocating anything like the claimed picture.
void verifyRefusedCheaply(const QByteArray& bytes)
{
    const Cost cost = decodeMeasured(bytes);
    QVERIFY(!cost.result.has_value());
    QVERIFY2(cost.milliseconds < 2000, qPrintable(QStringLiteral("%1 ms").arg(cost.milliseconds)));
    if (cost.peakGrowthKiB >= 0)
        QVERIFY2(cost.peakGrowthKiB < 32 * 1024,
                 qPrintable(QStringLiteral("memory rose by %1 KiB").arg(cost.peakGrowthKiB)));
}

// ---- BMP -------------------------------------------------------------------------------------

// A 24-bit bitmap header claiming width x height, followed by only a few pixels.
QByteArray bitmapClaiming(qint32 width, qint32 height)
{
    QByteArray bytes(54, '\0');
    char* d = bytes.data();
    d[0] = 'B';
    d[1] = 'M';
    qToLittleEndian<quint32>(54 + 64, d + 2);
    qToLittleEndian<quint32>(54, d + 10);
    qToLittleEndian<quint32>(40, d + 14);
    qToLittleEndian<qint32>(width, d + 18);
    qToLittleEndian<qint32>(height, d + 22);
    qToLittleEndian<quint16>(1, d + 26);
    qToLittleEndian<quint16>(24, d + 28);
    bytes.append(64, '\x7F');
    return bytes;
}

// A 4 x 2 RLE8 bitmap whose data sets only some pixels: the bottom row starts with two pixels of
// colour 1, then a delta moves to the top row's third pixel, which gets colour 2, and the data
// ends. Colour 0 of the palette is green, 1 red, 2 blue.
QByteArray bitmapWithUndefinedPixels()
{
    const QByteArray palette("\x00\xFF\x00\x00"  // 0: green (blue, green, red, 0)
                             "\x00\x00\xFF\x00"  // 1: red
                             "\xFF\x00\x00\x00", // 2: blue
                             12);
    const QByteArray rle("\x02\x01"         // two pixels of colour 1
                         "\x00\x02\x00\x01" // delta: right 0, up 1 (to the top row)
                         "\x01\x02"         // one pixel of colour 2
                         "\x00\x01",        // end of bitmap
                         10);
    QByteArray bytes(54, '\0');
    char* d = bytes.data();
    const int offset = 54 + palette.size();
    d[0] = 'B';
    d[1] = 'M';
    qToLittleEndian<quint32>(quint32(offset + rle.size()), d + 2);
    qToLittleEndian<quint32>(quint32(offset), d + 10);
    qToLittleEndian<quint32>(40, d + 14);
    qToLittleEndian<qint32>(4, d + 18);
    qToLittleEndian<qint32>(2, d + 22);
    qToLittleEndian<quint16>(1, d + 26);
    qToLittleEndian<quint16>(8, d + 28);
    qToLittleEndian<quint32>(1, d + 30); // RLE8
    qToLittleEndian<quint32>(quint32(rle.size()), d + 34);
    qToLittleEndian<quint32>(3, d + 46); // colours used
    return bytes + palette + rle;
}

// ---- GIF -------------------------------------------------------------------------------------

// A GIF with a logical screen of the given size and a small first frame of plain pixels.
QByteArray gifWithScreen(QSize screen, QRect frame = QRect(0, 0, 1, 1))
{
    GifPicture gif;
    gif.screen = screen;
    gif.frame = frame;
    gif.palette = {qRgb(255, 0, 0), qRgb(0, 0, 255)};
    gif.indices.assign(std::size_t(frame.width()) * std::size_t(frame.height()), 1);
    return makeGif(gif);
}

// LZW data that expands as much as LZW allows: after a clear code, each code names the entry
// being defined (the previous string plus its first pixel), so the strings of colour 0 grow by
// one pixel a code until the table is full; then the longest entry is repeated, over 4000
// pixels for every 12-bit code. Stops once at least `pixels` pixels are coded.
QByteArray lzwBombData(qint64 pixels, qint64* coded)
{
    constexpr int minimumCodeSize = 2;
    constexpr int clearCode = 1 << minimumCodeSize;
    GifBitWriter writer;
    int codeSize = minimumCodeSize + 1;
    writer.put(clearCode, codeSize);
    writer.put(0, codeSize);
    qint64 total = 1;
    int length = 1; // of the string last put out
    int next = clearCode + 2;
    while (total < pixels && next < 4096) {
        writer.put(next, codeSize);
        ++length;
        total += length;
        ++next;
        if (next == (1 << codeSize) && codeSize < 12)
            ++codeSize;
    }
    while (total < pixels) {
        writer.put(4095, 12);
        total += 4095 - (clearCode + 2) + 2; // the length of entry 4095
    }
    writer.put(clearCode + 1, codeSize);
    *coded = total;
    return writer.finish();
}

// A GIF whose first frame's LZW data expands to at least `pixels` pixels.
QByteArray gifBomb(QSize screen, QRect frame, qint64 pixels, qint64* coded)
{
    QByteArray bytes = gifHeader(screen, {qRgb(0, 0, 0), qRgb(255, 255, 255)});
    bytes.append(gifImageDescriptor(frame, false));
    bytes.append(char(2));
    bytes.append(gifSubBlocks(lzwBombData(pixels, coded)));
    bytes.append(';');
    return bytes;
}

// ---- JPEG ------------------------------------------------------------------------------------

QByteArray jpegOf(QSize size, bool progressive)
{
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y, qRgb(x * 16, y * 16, 128));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setProgressiveScanWrite(progressive);
    return writer.write(image) ? bytes : QByteArray();
}

// The segments of a JPEG file after its start marker, each with its marker, and a scan with its
// entropy-coded data.
QList<QByteArray> jpegSegments(const QByteArray& jpeg)
{
    QList<QByteArray> segments;
    qsizetype at = 2;
    const auto byte = [&jpeg](qsizetype i) { return uchar(jpeg.at(i)); };
    while (at + 4 <= jpeg.size() && byte(at) == 0xFF && byte(at + 1) != 0xD9) {
        const int marker = byte(at + 1);
        qsizetype end = at + 2 + (byte(at + 2) << 8 | byte(at + 3));
        if (marker == 0xDA) {
            while (end + 1 < jpeg.size() && !(byte(end) == 0xFF && byte(end + 1) != 0 &&
                                              (byte(end + 1) < 0xD0 || byte(end + 1) > 0xD7)))
                ++end;
        }
        segments.append(jpeg.mid(at, end - at));
        at = end;
    }
    return segments;
}

// The JPEG with the size in its frame header replaced.
QByteArray withFrameSize(const QByteArray& jpeg, int width, int height)
{
    QByteArray out("\xFF\xD8", 2);
    for (QByteArray segment : jpegSegments(jpeg)) {
        const int marker = uchar(segment.at(1));
        if (marker == 0xC0 || marker == 0xC1 || marker == 0xC2) {
            qToBigEndian<quint16>(quint16(height), segment.data() + 5);
            qToBigEndian<quint16>(quint16(width), segment.data() + 7);
        }
        out.append(segment);
    }
    return out.append("\xFF\xD9", 2);
}

// A progressive JPEG of the given size whose DC refinement scan is repeated until the file holds
// `scans` scans: every scan runs over the whole picture, however little data it carries.
QByteArray jpegWithScans(QSize size, int scans)
{
    const QList<QByteArray> segments = jpegSegments(jpegOf(QSize(16, 16), true));
    QByteArray out("\xFF\xD8", 2);
    QByteArray refinement;
    int kept = 0;
    for (const QByteArray& segment : segments) {
        const bool isScan = uchar(segment.at(1)) == 0xDA;
        if (isScan) {
            const int components = uchar(segment.at(4));
            const int spectral = 5 + 2 * components;
            const bool dcRefinement = uchar(segment.at(spectral)) == 0 &&
                                      uchar(segment.at(spectral + 1)) == 0 &&
                                      (uchar(segment.at(spectral + 2)) >> 4) != 0;
            if (dcRefinement && refinement.isEmpty())
                refinement = segment;
            if (kept == 0) {
                out.append(segment); // the first scan, with everything before it
                ++kept;
            }
        } else if (kept == 0) {
            out.append(segment);
        }
    }
    if (refinement.isEmpty())
        return QByteArray();
    for (; kept < scans; ++kept)
        out.append(refinement);
    out.append("\xFF\xD9", 2);
    return withFrameSize(out, size.width(), size.height());
}

// A device that can only be read forward, like a pipe.
class StreamDevice final : public QIODevice
{
public:
    explicit StreamDevice(QByteArray data) : data_(std::move(data)) {}
    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override
    {
        return data_.size() - at_ + QIODevice::bytesAvailable();
    }

protected:
    qint64 readData(char* out, qint64 size) override
    {
        const qint64 n = qMin(size, qint64(data_.size()) - at_);
        if (n <= 0)
            return -1;
        std::memcpy(out, data_.constData() + at_, size_t(n));
        at_ += n;
        return n;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    QByteArray data_;
    qint64 at_ = 0;
};

// A device like /dev/zero that counts the bytes it serves.
class EndlessZeros final : public QIODevice
{
public:
    bool isSequential() const override { return true; }
    qint64 served() const { return served_; }

protected:
    qint64 readData(char* out, qint64 size) override
    {
        std::memset(out, 0, size_t(size));
        served_ += size;
        return size;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    qint64 served_ = 0;
};

} // namespace

Q_DECLARE_METATYPE(avatello::Refusal)

class TestHostile : public QObject
{
    Q_OBJECT

private slots:
    // ---- Headers claiming huge pictures --------------------------------------------------

    void bitmapClaimingAHugePictureIsRefused_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::newRow("30000 x 30000") << 30000 << 30000;
        QTest::newRow("30000 x 30000 top-down") << 30000 << -30000;
        QTest::newRow("16384 x 16384 (sides allowed, too many pixels)") << 16384 << 16384;
        QTest::newRow("20000 x 1 (too wide)") << 20000 << 1;
        QTest::newRow("-5 x 5") << -5 << 5;
        // rows x bytes a row pass 64 bits; a height whose size is no int
        QTest::newRow("2147483647 x 2147483647") << INT_MAX << INT_MAX;
        QTest::newRow("1 x -2147483648 top-down") << 1 << INT_MIN;
    }

    void bitmapClaimingAHugePictureIsRefused()
    {
        QFETCH(int, width);
        QFETCH(int, height);
        verifyRefusedCheaply(bitmapClaiming(width, height));
    }

    void gifScreenOfTheLargestSizeIsRefused()
    {
        verifyRefusedCheaply(gifWithScreen(QSize(65535, 65535)));
    }

    // QImageReader::size() believes the first frame when the logical screen is over ten times
    // larger, but Qt's decoder still allocates the whole screen: 144 MB for a 50-byte file.
    void gifScreenBehindASmallFrameIsRefused()
    {
        QByteArray bytes = gifWithScreen(QSize(6000, 6000));
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        QImageReader reader(&buffer);
        QCOMPARE(reader.size(), QSize(1, 1)); // what the header check alone would see
        verifyRefusedCheaply(bytes);
    }

    void gifFrameBeyondAnEmptyScreenIsRefused()
    {
        // a screen of 0 x 0: the decoder takes the first frame's extent instead
        verifyRefusedCheaply(gifWithScreen(QSize(0, 0), QRect(30000, 30000, 1, 1)));
    }

    void gifAtTheBoundsIsDecoded()
    {
        // 4096 x 4096 is exactly the pixel bound: one 64 MiB picture, within the allocation limit
        const Cost cost = decodeMeasured(gifWithScreen(QSize(4096, 4096), QRect(0, 0, 2, 2)));
        QVERIFY(cost.result.has_value());
        QCOMPARE(cost.result->size(), QSize(48, 48));
        QCOMPARE(cost.result->pixel(1, 1), qRgb(0, 0, 255));
        QVERIFY(cost.milliseconds < 10000);

        verifyRefusedCheaply(gifWithScreen(QSize(4097, 4096), QRect(0, 0, 2, 2)));
    }

    // A sequential JPEG's corner costs a row of blocks at any size the format allows; a
    // progressive one buffers every coefficient, so it is refused, as too large, beyond the
    // memory bound.
    void jpegFrameClaimingAHugePictureIsRefused_data()
    {
        QTest::addColumn<bool>("progressive");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<bool>("refused");
        QTest::addColumn<int>("maxGrowthMiB");
        QTest::newRow("baseline 65500 x 65500") << false << QSize(65500, 65500) << false << 32;
        QTest::newRow("baseline 6000 x 4000 (a camera photo)")
            << false << QSize(6000, 4000) << false << 32;
        QTest::newRow("progressive 65500 x 65500") << true << QSize(65500, 65500) << true << 0;
        QTest::newRow("progressive 16384 x 16384") << true << QSize(16384, 16384) << true << 0;
        // within the coefficient bound (46 MiB in a plain build, twice that under AddressSanitizer)
        QTest::newRow("progressive 4097 x 4096") << true << QSize(4097, 4096) << false << 128;
    }

    void jpegFrameClaimingAHugePictureIsRefused()
    {
        QFETCH(bool, progressive);
        QFETCH(QSize, size);
        QFETCH(bool, refused);
        QFETCH(int, maxGrowthMiB);
        const QByteArray jpeg = jpegOf(QSize(16, 16), progressive);
        QVERIFY(!jpeg.isEmpty());
        const QByteArray claiming = withFrameSize(jpeg, size.width(), size.height());
        if (refused) {
            verifyRefusedCheaply(claiming);
            QCOMPARE(decodeMeasured(claiming).why, Refusal::TooLarge);
            return;
        }
        const Cost cost = decodeMeasured(claiming);
        QVERIFY(cost.result.has_value());
        QCOMPARE(cost.result->size(), QSize(48, 48));
        if (cost.peakGrowthKiB >= 0)
            QVERIFY2(cost.peakGrowthKiB < maxGrowthMiB * 1024,
                     qPrintable(QStringLiteral("memory rose by %1 KiB").arg(cost.peakGrowthKiB)));
    }

    void jpegAtTheBoundsIsDecodedCheaply()
    {
        // the picture's data runs out at once: libjpeg fills in the rest
        const QByteArray jpeg = withFrameSize(jpegOf(QSize(16, 16), true), 4096, 4096);
        const Cost cost = decodeMeasured(jpeg);
        QVERIFY(cost.result.has_value());
        QCOMPARE(cost.result->size(), QSize(48, 48));
        QVERIFY2(cost.milliseconds < 10000, qPrintable(QString::number(cost.milliseconds)));
    }

    // ---- Decompression bombs -------------------------------------------------------------

    // A 1 MB GIF of a 48 x 48 picture whose LZW data expands to nearly three gigapixels: Qt's
    // decoder works through every one (about 12 s), so it is refused before decoding.
    void gifLzwBombIsRefused()
    {
        qint64 coded = 0;
        const QByteArray bomb = gifBomb(QSize(48, 48), QRect(0, 0, 48, 48), 2'800'000'000, &coded);
        QVERIFY(bomb.size() < 1'100'000);
        QVERIFY(coded >= 2'800'000'000);
        verifyRefusedCheaply(bomb);
    }

    void gifLzwBombUnderFuzzingSizeIsRefused()
    {
        qint64 coded = 0;
        const QByteArray bomb = gifBomb(QSize(48, 48), QRect(0, 0, 48, 48), 100'000'000, &coded);
        QVERIFY(bomb.size() < 65536);
        verifyRefusedCheaply(bomb);
    }

    void gifWithModestlyTooMuchDataIsDecoded()
    {
        // LZW data for far more pixels than the frame holds, but within the bound: decoded (the
        // extra pixels fall outside the picture)
        qint64 coded = 0;
        const QByteArray gif = gifBomb(QSize(48, 48), QRect(0, 0, 48, 48), 4'000'000, &coded);
        QVERIFY(coded <= DecodeLimits::maxGifCodePixels);
        const Cost cost = decodeMeasured(gif);
        QVERIFY(cost.result.has_value());
        QCOMPARE(cost.result->size(), QSize(48, 48));
        QCOMPARE(cost.result->pixel(0, 0), qRgb(0, 0, 0));
        QVERIFY(cost.milliseconds < 5000);
    }

    // The decoder counts exactly what the LZW data codes for: up to the bound it is decoded, one
    // string more and it is refused.
    void gifLzwOutputBoundIsExact()
    {
        qint64 coded = 0;
        const QByteArray under = gifBomb(QSize(48, 48), QRect(0, 0, 48, 48),
                                         DecodeLimits::maxGifCodePixels - 4091, &coded);
        QVERIFY(coded <= DecodeLimits::maxGifCodePixels);
        const Cost cost = decodeMeasured(under);
        QVERIFY(cost.result.has_value());
        QVERIFY2(cost.milliseconds < 10000, qPrintable(QString::number(cost.milliseconds)));

        const QByteArray over =
            gifBomb(QSize(48, 48), QRect(0, 0, 48, 48), DecodeLimits::maxGifCodePixels + 1, &coded);
        QVERIFY(coded > DecodeLimits::maxGifCodePixels);
        verifyRefusedCheaply(over);
    }

    void jpegWithTooManyScansIsRefused()
    {
        const QByteArray few = jpegWithScans(QSize(16, 16), 999);
        QVERIFY(!few.isEmpty());
        const Cost cost = decodeMeasured(few);
        QVERIFY(cost.result.has_value()); // a small picture may have many scans
        QCOMPARE(cost.result->size(), QSize(16, 16));

        verifyRefusedCheaply(jpegWithScans(QSize(16, 16), 1001));
    }

    void jpegScansOverALargePictureAreRefused()
    {
        // 65 scans over 4096 x 4096 pixels: more work than 64 scans of the largest picture
        verifyRefusedCheaply(jpegWithScans(QSize(4096, 4096), 65));
        // 4000 such scans would take seconds even with no data in them
        verifyRefusedCheaply(jpegWithScans(QSize(4096, 4096), 4000));
    }

    // ---- Through the Load button ---------------------------------------------------------

    // Pictures too large to open are told apart (the user is told so); the rest are no pictures.
    void loadOfHostileFilesChangesNothing_data()
    {
        qint64 coded = 0;
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<Refusal>("why");
        QTest::newRow("BMP 30000 x 30000") << bitmapClaiming(30000, 30000) << Refusal::TooLarge;
        QTest::newRow("GIF screen 65535 x 65535")
            << gifWithScreen(QSize(65535, 65535)) << Refusal::TooLarge;
        QTest::newRow("GIF screen behind a small frame")
            << gifWithScreen(QSize(6000, 6000)) << Refusal::TooLarge;
        QTest::newRow("GIF LZW bomb")
            << gifBomb(QSize(48, 48), QRect(0, 0, 48, 48), 100'000'000, &coded)
            << Refusal::NotAPicture;
        QTest::newRow("JPEG 65500 x 65500")
            << withFrameSize(jpegOf(QSize(16, 16), true), 65500, 65500) << Refusal::TooLarge;
        QTest::newRow("JPEG with 1001 scans")
            << jpegWithScans(QSize(16, 16), 1001) << Refusal::NotAPicture;
        QTest::newRow("text") << QByteArray("not a picture\n") << Refusal::NotAPicture;
        // 55 bytes found by fuzzing: 1684799615 x 1699225633 pixels of 32 bits
        QTest::newRow("BMP whose pixel bytes pass 64 bits")
            << QByteArray::fromBase64(
                   "Qk02fwAAAAAAADYAAAAoAAAAfwBsZCEgSGVsACAAAAAAAAApKSQEMTIkJDo6JC"
                   "z6+AkyRQEAOw==")
            << Refusal::TooLarge;
        // 59 bytes: bit fields with a 41-byte header, whose masks would lie past the file's end
        QTest::newRow("BMP bit fields after a 41-byte header")
            << QByteArray::fromBase64("Qk07AAAAAAAAADcAAAApAAAAAQAAAAEAAAABABAAAwAAAAQAAAAAAAAAAA"
                                      "AAAAAAAAAAAAAA////AAA=")
            << Refusal::NotAPicture;
    }

    void loadOfHostileFilesChangesNothing()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(Refusal, why);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("hostile.gif"));
        QVERIFY(writeFile(path, bytes));
        IconDocument document;
        document.start();
        const DocumentState before = DocumentState::of(document);
        const CpuTimer timer;
        Refusal refusal = Refusal::None;
        QVERIFY(!document.loadFile(path, &refusal));
        QCOMPARE(refusal, why);
        QVERIFY2(timer.elapsed() < 2000, qPrintable(QStringLiteral("%1 ms").arg(timer.elapsed())));
        const QString difference = DocumentState::of(document).differenceFrom(before);
        QVERIFY2(difference.isEmpty(), qPrintable(difference));
    }

    // ---- Undefined pixels and other devices ----------------------------------------------

    // Pixels an RLE bitmap skips are palette entry 0 every time, whatever the memory held.
    void bitmapPixelsTheFileDoesNotSetAreColourZero()
    {
        const QByteArray bytes = bitmapWithUndefinedPixels();
        for (int round = 0; round < 5; ++round) {
            // leave freed memory full of a pattern the decoder could pick up
            for (int i = 0; i < 64; ++i)
                std::make_unique<std::array<char, 64>>()->fill(char(0xA5 + round));
            QByteArray data = bytes;
            QBuffer buffer(&data);
            buffer.open(QIODevice::ReadOnly);
            const std::optional<QImage> image = decodePicture(&buffer);
            QVERIFY(image.has_value());
            QCOMPARE(image->size(), QSize(4, 2));
            const QRgb green = qRgb(0, 255, 0), red = qRgb(255, 0, 0), blue = qRgb(0, 0, 255);
            // bottom row: red, red, then undefined; top row: undefined, undefined, blue, ...
            QCOMPARE(image->pixel(0, 1), red);
            QCOMPARE(image->pixel(1, 1), red);
            QCOMPARE(image->pixel(2, 1), green);
            QCOMPARE(image->pixel(3, 1), green);
            QCOMPARE(image->pixel(0, 0), green);
            QCOMPARE(image->pixel(1, 0), green);
            QCOMPARE(image->pixel(2, 0), blue);
            QCOMPARE(image->pixel(3, 0), green);
        }
    }

    void streamsAreDecodedLikeFiles()
    {
        GifPicture gif;
        gif.screen = QSize(3, 2);
        gif.frame = QRect(0, 0, 3, 2);
        gif.palette = {qRgb(10, 20, 30), qRgb(200, 100, 50)};
        gif.indices = {0, 1, 0, 1, 0, 1};
        StreamDevice stream(makeGif(gif));
        stream.open(QIODevice::ReadOnly);
        const std::optional<QImage> image = decodePicture(&stream);
        QVERIFY(image.has_value());
        QCOMPARE(image->size(), QSize(3, 2));
        QCOMPARE(image->pixel(1, 0), qRgb(200, 100, 50));

        StreamDevice hostile(gifWithScreen(QSize(6000, 6000)));
        hostile.open(QIODevice::ReadOnly);
        QVERIFY(!decodePicture(&hostile).has_value());
    }

    void decoderStartsWhereTheDeviceStands()
    {
        // A picture after some other bytes is read from the device's position, which the checks
        // that read ahead (and the bitmap's second reading) put back. (Qt's GIF reader always
        // looks for the header at the start of the device, so GIFs are left out.)
        QByteArray bitmap = QByteArray("prefix") + bitmapWithUndefinedPixels();
        QBuffer bitmapBuffer(&bitmap);
        bitmapBuffer.open(QIODevice::ReadOnly);
        bitmapBuffer.seek(6);
        const std::optional<QImage> image = decodePicture(&bitmapBuffer);
        QVERIFY(image.has_value());
        QCOMPARE(image->size(), QSize(4, 2));
        QCOMPARE(image->pixel(2, 0), qRgb(0, 0, 255));
        QCOMPARE(image->pixel(3, 0), qRgb(0, 255, 0));

        QByteArray jpeg = QByteArray("xy") + jpegOf(QSize(20, 10), true);
        QBuffer jpegBuffer(&jpeg);
        jpegBuffer.open(QIODevice::ReadOnly);
        jpegBuffer.seek(2);
        const std::optional<QImage> picture = decodePicture(&jpegBuffer);
        QVERIFY(picture.has_value());
        QCOMPARE(picture->size(), QSize(20, 10));
    }

    // What is not a regular file is refused without reading it: a pipe nobody writes (whose
    // open and read would wait for ever), endless devices, a folder. Each refusal says which.
    void specialFilesAreRefusedUnread_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<Refusal>("expected");
        QTest::newRow("pipe") << QStringLiteral("pipe") << Refusal::NotRegular;
        QTest::newRow("/dev/zero") << QStringLiteral("/dev/zero") << Refusal::NotRegular;
        QTest::newRow("/dev/urandom") << QStringLiteral("/dev/urandom") << Refusal::NotRegular;
        QTest::newRow("folder") << QStringLiteral(".") << Refusal::Folder;
        QTest::newRow("no such file") << QStringLiteral("absent.gif") << Refusal::Missing;
        QTest::newRow("in no such folder") << QStringLiteral("absent/a.gif") << Refusal::Missing;
        QTest::newRow("broken link") << QStringLiteral("broken") << Refusal::BrokenLink;
        QTest::newRow("not allowed") << QStringLiteral("locked") << Refusal::NotAllowed;
    }

    void specialFilesAreRefusedUnread()
    {
        QFETCH(QString, path);
        QFETCH(Refusal, expected);
        if (expected == Refusal::NotAllowed && ::geteuid() == 0)
            QSKIP("the superuser may read any file");
        QTemporaryDir dir;
        const QString pipe = dir.filePath(QStringLiteral("pipe"));
        QCOMPARE(::mkfifo(pipe.toLocal8Bit().constData(), 0600), 0);
        QVERIFY(QFile::link(dir.filePath(QStringLiteral("gone")),
                            dir.filePath(QStringLiteral("broken"))));
        QVERIFY(writeFile(dir.filePath(QStringLiteral("locked")), QByteArray("GIF89a")));
        QVERIFY(QFile::setPermissions(dir.filePath(QStringLiteral("locked")), {}));
        const QString file = path.startsWith(QLatin1Char('/')) ? path : dir.filePath(path);
        Refusal why = Refusal::None;
        QVERIFY(!decodePictureFile(file, &why).has_value());
        QCOMPARE(why, expected);
    }

    // A stream whose first bytes are no picture's is given up there.
    void endlessStreamIsGivenUpAtItsSignature()
    {
        EndlessZeros zeros;
        zeros.open(QIODevice::ReadOnly | QIODevice::Unbuffered);
        QVERIFY(!decodePicture(&zeros).has_value());
        QVERIFY2(zeros.served() <= 16, qPrintable(QString::number(zeros.served())));
    }

    void nullAndUnreadableDevicesAreRefused()
    {
        QVERIFY(!decodePicture(nullptr).has_value());
        QBuffer closed;
        QVERIFY(!decodePicture(&closed).has_value());
        QVERIFY(!decodePictureFile(QStringLiteral("/nonexistent/picture.gif")).has_value());
    }
};

AVATELLO_REGISTER_TEST(TestHostile);

#include "tst_hostile.moc"
