// Larger icons for messengers: each pixel of the 48 x 48 icon an N x N block, in a bitmap or a
// PNG, and the 48 x 48 file unchanged.
#include "imageio/bmpwriter.h"
#include "imageio/iconscale.h"
#include "support/testregistry.h"

#include <QBuffer>
#include <QImageReader>
#include <QtEndian>
#include <QtTest>

using namespace avatello;

namespace {

QImage distinctSnapshot(int width = 48, int height = 48)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(x * 5 + 1, y * 5 + 2, 250 - x - y));
    return image;
}

QImage decoded(const QByteArray& bytes, const char* format)
{
    QBuffer buffer;
    buffer.setData(bytes);
    QImageReader reader(&buffer, format);
    return reader.read().convertToFormat(QImage::Format_RGB32);
}

// Every N x N block is one colour, that of the icon's pixel.
bool isBlockCopy(const QImage& scaled, const QImage& icon, int scale)
{
    if (scaled.size() != icon.size() * scale)
        return false;
    for (int y = 0; y < scaled.height(); ++y)
        for (int x = 0; x < scaled.width(); ++x)
            if ((scaled.pixel(x, y) | 0xFF000000u) !=
                (icon.pixel(x / scale, y / scale) | 0xFF000000u))
                return false;
    return true;
}

} // namespace

class TestIconScale : public QObject
{
    Q_OBJECT

private slots:
    void eachPixelIsABlock_data()
    {
        QTest::addColumn<int>("scale");
        for (const int scale : {1, 2, 3, 4, 8})
            QTest::addRow("x%d", scale) << scale;
    }
    void eachPixelIsABlock()
    {
        QFETCH(int, scale);
        const QImage icon = distinctSnapshot();
        const QImage scaled = scaledIcon(icon, scale);
        QCOMPARE(scaled.size(), QSize(48 * scale, 48 * scale));
        QVERIFY(isBlockCopy(scaled, icon, scale));
        QCOMPARE(scaled.dotsPerMeterX(), icon.dotsPerMeterX());

        const QByteArray bmp = encodeIconBmp(icon, scale);
        QCOMPARE(bmp.size(), 54 + 48 * scale * 48 * scale * 3);
        QCOMPARE(qFromLittleEndian<quint32>(bmp.constData() + 2), quint32(bmp.size()));
        QCOMPARE(qFromLittleEndian<qint32>(bmp.constData() + 18), 48 * scale);
        QCOMPARE(qFromLittleEndian<qint32>(bmp.constData() + 22), 48 * scale);
        QCOMPARE(qFromLittleEndian<quint32>(bmp.constData() + 34), quint32(bmp.size() - 54));
        QVERIFY(isBlockCopy(decoded(bmp, "bmp"), icon, scale));
        QVERIFY(isBlockCopy(decoded(encodeIconPng(icon, scale), "png"), icon, scale));
    }

    // Only the top-left 48 x 48 pixels are the icon; what a smaller picture lacks is black.
    void scalesTheIconNotThePicture()
    {
        const QImage large = distinctSnapshot(60, 50);
        QVERIFY(isBlockCopy(scaledIcon(large, 2), large.copy(0, 0, 48, 48), 2));
        const QImage small = distinctSnapshot(30, 20);
        const QImage scaled = scaledIcon(small, 3);
        QCOMPARE(scaled.pixel(29 * 3 + 2, 19 * 3 + 2), small.pixel(29, 19));
        QCOMPARE(scaled.pixel(30 * 3, 0) | 0xFF000000u, 0xFF000000u);
        QCOMPARE(scaled.pixel(0, 20 * 3) | 0xFF000000u, 0xFF000000u);
    }

    void outOfRangeScalesAreBounded()
    {
        QCOMPARE(scaledIcon(distinctSnapshot(), 0).size(), QSize(48, 48));
        QCOMPARE(scaledIcon(distinctSnapshot(), 99).size(), QSize(384, 384));
    }
};

AVATELLO_REGISTER_TEST(TestIconScale);

#include "tst_iconscale.moc"
