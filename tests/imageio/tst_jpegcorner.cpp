// The JPEG corner reader: Qt's pixels exactly, only as much of the file as the corner needs, and
// every file it does not read cleanly left to Qt's reader.
#include "imageio/jpegcorner.h"
#include "imageio/picturedecoder.h"
#include "support/picturefiles.h"
#include "support/testregistry.h"

#include <QBuffer>
#include <QImageReader>
#include <QImageWriter>
#include <QRandomGenerator>
#include <QtTest>

using namespace avatello;
using namespace avatello::test;

namespace {

// Detailed enough that no block compresses to nothing, like a photo.
QImage noisyPicture(int width, int height, QImage::Format format = QImage::Format_RGB32)
{
    QImage picture(width, height, QImage::Format_RGB32);
    QRandomGenerator random(width * 7919 + height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.setPixel(x, y,
                             qRgb((x * 5 + random.bounded(40)) & 255,
                                  (y * 3 + random.bounded(40)) & 255, random.bounded(256)));
    return picture.convertToFormat(format);
}

QByteArray jpegOf(const QImage& picture, bool progressive = false, int quality = 90)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(quality);
    writer.setProgressiveScanWrite(progressive);
    return writer.write(picture) ? bytes : QByteArray();
}

// What Qt's own reader gives for the corner, as the picture decoder used to ask for it.
QImage qtCorner(QByteArray bytes)
{
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "jpeg");
    const QSize size = reader.size();
    reader.setClipRect(QRect(0, 0, qMin(size.width(), 48), qMin(size.height(), 48)));
    return reader.read().convertToFormat(QImage::Format_RGB32);
}

std::optional<QImage> cornerOf(QByteArray bytes)
{
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    return readJpegCorner(&buffer, 48);
}

// The frame's width and height in the first SOF marker, set to other values.
QByteArray withFrameSize(QByteArray bytes, int width, int height)
{
    for (int i = 2; i + 8 < bytes.size(); ++i) {
        if (uchar(bytes[i]) == 0xFF &&
            (uchar(bytes[i + 1]) == 0xC0 || uchar(bytes[i + 1]) == 0xC2)) {
            bytes[i + 5] = char(height >> 8);
            bytes[i + 6] = char(height);
            bytes[i + 7] = char(width >> 8);
            bytes[i + 8] = char(width);
            return bytes;
        }
    }
    return {};
}

} // namespace

class TestJpegCorner : public QObject
{
    Q_OBJECT

private slots:
    void sameAsQt_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<bool>("grey");
        QTest::addColumn<bool>("progressive");
        QTest::newRow("1 x 1") << QSize(1, 1) << false << false;
        QTest::newRow("smaller than the corner") << QSize(47, 33) << false << false;
        QTest::newRow("exactly the corner") << QSize(48, 48) << false << false;
        QTest::newRow("one more each way") << QSize(49, 49) << false << false;
        QTest::newRow("odd sizes") << QSize(83, 61) << false << false;
        QTest::newRow("wide and short") << QSize(1500, 20) << false << false;
        QTest::newRow("narrow and tall") << QSize(7, 300) << false << false;
        QTest::newRow("wide, cut to the corner") << QSize(1234, 120) << false << false;
        QTest::newRow("grey") << QSize(301, 77) << true << false;
        QTest::newRow("progressive") << QSize(400, 90) << false << true;
        QTest::newRow("progressive grey") << QSize(65, 65) << true << true;
    }

    // Every pixel as Qt's reader gives it, including the corner's right edge, where smooth
    // upsampling looks at the columns beyond it.
    void sameAsQt()
    {
        QFETCH(QSize, size);
        QFETCH(bool, grey);
        QFETCH(bool, progressive);
        const QByteArray bytes =
            jpegOf(noisyPicture(size.width(), size.height(),
                                grey ? QImage::Format_Grayscale8 : QImage::Format_RGB32),
                   progressive);
        QVERIFY(!bytes.isEmpty());
        const std::optional<QImage> corner = cornerOf(bytes);
        QVERIFY(corner);
        QCOMPARE(corner->size(), size.boundedTo(QSize(48, 48)));
        QCOMPARE(corner->format(), QImage::Format_RGB32);
        QCOMPARE(*corner, qtCorner(bytes));
    }

    // The reader starts where the device stands, as the picture decoder hands it over.
    void readsFromTheDevicesPosition()
    {
        const QByteArray jpeg = jpegOf(noisyPicture(60, 50));
        QByteArray bytes = QByteArray(100, 'x') + jpeg;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        QVERIFY(buffer.seek(100));
        const std::optional<QImage> corner = readJpegCorner(&buffer, 48);
        QVERIFY(corner);
        QCOMPARE(*corner, qtCorner(jpeg));
    }

    // A wide picture is read only as far as the corner's rows: the rest of the file stays unread.
    void readsOnlyTheRowsTheCornerNeeds()
    {
        QByteArray bytes = jpegOf(noisyPicture(1600, 600));
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        QVERIFY(readJpegCorner(&buffer, 48));
        QVERIFY2(buffer.pos() < bytes.size() / 4,
                 qPrintable(QStringLiteral("%1 of %2 bytes").arg(buffer.pos()).arg(bytes.size())));
    }

    void filesLeftToQt_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray good = jpegOf(noisyPicture(200, 120));
        QTest::newRow("cut short") << good.left(good.size() / 2);
        QTest::newRow("cut inside the header") << good.left(100);
        QTest::newRow("only the start marker") << QByteArray("\xFF\xD8", 2);
        QTest::newRow("garbage after the start marker")
            << QByteArray("\xFF\xD8", 2) + QByteArray(500, char(0x5A));
        QTest::newRow("wider than the bounds") << withFrameSize(good, 16385, 10);
        QTest::newRow("more pixels than the bounds") << withFrameSize(good, 16384, 16384);
        QTest::newRow("zero width") << withFrameSize(good, 0, 10);
        QTest::newRow("corrupt data")
            << good.left(good.size() / 3) + QByteArray(64, char(0xFF)) + good.mid(good.size() / 3);
        const QString corpus = QStringLiteral(QT_TESTCASE_SOURCEDIR "/data/corpus/");
        QTest::newRow("CMYK") << readFile(corpus + QStringLiteral("pillow/pil_sample_cmyk.jpg"));
        QTest::newRow("12-bit samples")
            << readFile(corpus + QStringLiteral("libjpeg-turbo-testimages/monkey12.jpg"));
    }

    // Anything but a clean 8-bit YCbCr or grey picture within the bounds is not read here, so
    // the picture decoder gives exactly what Qt's reader makes of it (or refuses it).
    void filesLeftToQt()
    {
        QFETCH(QByteArray, bytes);
        QVERIFY(!bytes.isEmpty());
        QVERIFY(!cornerOf(bytes));
    }

    void nothingForNoCorner()
    {
        QByteArray bytes = jpegOf(noisyPicture(10, 10));
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        QVERIFY(!readJpegCorner(&buffer, 0));
        QVERIFY(!readJpegCorner(nullptr, 48));
    }

    // Through the decoder: a file cut short still shows what Qt renders of it.
    void aFileCutShortShowsWhatQtRenders()
    {
        QByteArray bytes = jpegOf(noisyPicture(300, 200));
        bytes.truncate(bytes.size() / 3);
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        const std::optional<QImage> picture = decodePicture(&buffer);
        QVERIFY(picture);
        QCOMPARE(*picture, qtCorner(bytes));
    }
};

AVATELLO_REGISTER_TEST(TestJpegCorner);

#include "tst_jpegcorner.moc"
