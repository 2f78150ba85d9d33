// The twelve built-in gallery pictures as stored in the program: format, size, transparency and
// the colours they are known by.
#include "gallery.h"
#include "imageio/stockpictures.h"
#include "support/pixels.h"
#include "support/testregistry.h"

#include <optional>
#include <QFile>
#include <QtEndian>
#include <QtTest>

using namespace avatello;
using namespace avatello::test;

namespace {

QByteArray storedBytes(int n)
{
    QFile file(templatePath(n));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The interlace flag of a GIF's first image, read from its image descriptor; nothing if the
// blocks before it do not parse.
std::optional<bool> firstImageInterlaced(const QByteArray& gif)
{
    const auto byte = [&gif](qsizetype at) { return at < gif.size() ? quint8(gif[at]) : -1; };
    if (!gif.startsWith("GIF89a") || gif.size() < 13)
        return std::nullopt;
    qsizetype at = 13; // header and logical screen descriptor
    if (byte(10) & 0x80)
        at += 3 * (2 << (byte(10) & 0x07)); // global colour table
    while (at < gif.size()) {
        const int block = byte(at);
        if (block == 0x2C) // image descriptor: its flags follow position and size
            return byte(at + 9) >= 0 ? std::optional<bool>(byte(at + 9) & 0x40) : std::nullopt;
        if (block != 0x21)
            return std::nullopt;
        at += 2; // extension introducer and label, then sub-blocks up to an empty one
        while (byte(at) > 0)
            at += byte(at) + 1;
        if (byte(at) < 0)
            return std::nullopt;
        ++at;
    }
    return std::nullopt;
}

double transparentShare(const QImage& picture)
{
    int clear = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            clear += qAlpha(picture.pixel(x, y)) == 0;
    return 100.0 * clear / (picture.width() * picture.height());
}

bool shows(const QImage& picture, QColor colour)
{
    return countUnlike(picture, QRect(0, 0, 48, 48), colour) < 48 * 48;
}

} // namespace

class TestTemplatePictures : public QObject
{
    Q_OBJECT

private slots:
    void stored_data()
    {
        QTest::addColumn<int>("n");
        QTest::addColumn<QByteArray>("format");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("transparentPercent"); // roughly; 0 for an opaque picture
        QTest::addColumn<bool>("interlaced");
        QTest::addColumn<QList<QColor>>("colours"); // colours it is known by, where exact

        const QSize large(50, 50);
        const QSize small(48, 48);
        const QColor white(255, 255, 255);
        QTest::newRow("1 figure in flames")
            << 1 << QByteArray("gif") << large << 85 << false << QList<QColor>{};
        QTest::newRow("2 figure in a burst")
            << 2 << QByteArray("gif") << large << 89 << false << QList<QColor>{};
        QTest::newRow("3 lightning bolt")
            << 3 << QByteArray("gif") << large << 94 << true << QList<QColor>{white};
        QTest::newRow("4 leaf") << 4 << QByteArray("gif") << large << 0 << false
                                << QList<QColor>{white};
        QTest::newRow("5 hand") << 5 << QByteArray("gif") << large << 91 << false
                                << QList<QColor>{white, QColor(0, 0, 0)};
        QTest::newRow("6 hanging from a beam")
            << 6 << QByteArray("jpeg") << small << 0 << false << QList<QColor>{};
        QTest::newRow("7 on a cord")
            << 7 << QByteArray("bmp") << small << 0 << false << QList<QColor>{white};
        QTest::newRow("8 two figures")
            << 8 << QByteArray("bmp") << small << 0 << false << QList<QColor>{white};
        QTest::newRow("9 rabbit") << 9 << QByteArray("gif") << large << 0 << false
                                  << QList<QColor>{white, QColor(255, 156, 173)};
        QTest::newRow("10 star") << 10 << QByteArray("gif") << small << 0 << false
                                 << QList<QColor>{white, QColor(222, 189, 255)};
        QTest::newRow("11 heart") << 11 << QByteArray("gif") << small << 0 << false
                                  << QList<QColor>{white, QColor(255, 189, 255)};
        QTest::newRow("12 two hearts") << 12 << QByteArray("gif") << large << 0 << false
                                       << QList<QColor>{white, QColor(255, 198, 255)};
    }

    void stored()
    {
        QFETCH(int, n);
        QFETCH(QByteArray, format);
        QFETCH(QSize, size);
        QFETCH(int, transparentPercent);
        QFETCH(bool, interlaced);
        QFETCH(QList<QColor>, colours);

        QImageReader reader(templatePath(n));
        QCOMPARE(reader.format(), format);
        QCOMPARE(reader.size(), size);

        const QByteArray bytes = storedBytes(n);
        if (format == "gif") {
            QVERIFY(bytes.startsWith("GIF89a"));
            const std::optional<bool> flag = firstImageInterlaced(bytes);
            QVERIFY(flag.has_value());
            QCOMPARE(*flag, interlaced);
        } else if (format == "jpeg") {
            QVERIFY(bytes.startsWith("\xFF\xD8"));
            QCOMPARE(bytes.mid(6, 5), QByteArray("JFIF", 5));
        } else {
            QVERIFY(bytes.startsWith("BM"));
            QCOMPARE(qFromLittleEndian<quint16>(bytes.constData() + 28), quint16(24));
            QCOMPARE(qFromLittleEndian<quint32>(bytes.constData() + 30), quint32(0)); // BI_RGB
        }

        const QImage picture = storedPicture(n);
        QCOMPARE(picture.size(), size);
        const double share = transparentShare(picture);
        if (transparentPercent == 0)
            QCOMPARE(share, 0.0);
        else
            QVERIFY2(qAbs(share - transparentPercent) <= 5,
                     qPrintable(QStringLiteral("%1 % transparent").arg(share)));
        for (const QColor& colour : colours)
            QVERIFY2(shows(picture, colour), qPrintable(colour.name()));
    }

    // The program's decoder keeps the top-left 48 x 48 pixels and the transparency.
    void decoded_data() { stored_data(); }
    void decoded()
    {
        QFETCH(int, n);
        QFETCH(int, transparentPercent);

        const QImage decoded = builtInPicture(templatePath(n));
        QCOMPARE(decoded.size(), QSize(48, 48));
        QCOMPARE(decoded.hasAlphaChannel(), transparentPercent > 0);
        const QImage corner = storedPicture(n).copy(0, 0, 48, 48);
        QCOMPARE(decoded.convertToFormat(QImage::Format_ARGB32), corner);
    }

    void firstTemplateIsTheStartupPicture()
    {
        QFile startup(QStringLiteral(":/pictures/startup.gif"));
        QVERIFY(startup.open(QIODevice::ReadOnly));
        QCOMPARE(storedBytes(1), startup.readAll());
    }
};

AVATELLO_REGISTER_TEST(TestTemplatePictures);

#include "tst_templatepictures.moc"
