// The saved icon file: a 48 x 48, 24-bit, uncompressed Windows bitmap of 6966 bytes.
#include "imageio/bmpwriter.h"
#include "support/picturefiles.h"
#include "support/testregistry.h"

#include <functional>
#include <QBuffer>
#include <QDir>
#include <QImageReader>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace avatello;
using namespace avatello::test;

namespace {

// A different colour in every pixel, with red, green and blue each telling something else apart,
// so that any mix-up of rows, columns or channels shows.
QRgb distinctColour(int x, int y)
{
    return qRgb(x * 5 + 1, y * 5 + 2, 250 - x - y);
}

QImage distinctSnapshot(int width = 48, int height = 48)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, distinctColour(x, y));
    return image;
}

quint32 fieldAt(const QByteArray& bytes, int offset, int size)
{
    const auto* at = reinterpret_cast<const uchar*>(bytes.constData()) + offset;
    return size == 2 ? qFromLittleEndian<quint16>(at) : qFromLittleEndian<quint32>(at);
}

// The three bytes stored for pixel (x, y) of the picture: rows bottom first, 144 bytes a row.
QByteArray storedPixel(const QByteArray& bytes, int x, int y)
{
    return bytes.mid(54 + (47 - y) * 144 + x * 3, 3);
}

QByteArray bgr(QRgb colour)
{
    const char bytes[] = {char(qBlue(colour)), char(qGreen(colour)), char(qRed(colour))};
    return QByteArray(bytes, 3);
}

// Runs the step as an ordinary user: as this process when it is not root, else in a child that
// gives up root for nobody (65534), whom a folder's permissions bind. True if the step returned
// true.
bool asOrdinaryUser(const std::function<bool()>& step)
{
    if (::geteuid() != 0)
        return step();
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(::setgid(65534) == 0 && ::setuid(65534) == 0 && step() ? 0 : 1);
    int status = 0;
    return child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}

} // namespace

class TestBmpWriter : public QObject
{
    Q_OBJECT

private slots:
    void sizes()
    {
        QCOMPARE(iconBmpFileSize, 6966);
        QCOMPARE(iconBmpHeaderSize, 54);
        QCOMPARE(iconBmpPixelBytes, 6912);
        QCOMPARE(encodeIconBmp(distinctSnapshot()).size(), 6966);
    }

    void headerField_data()
    {
        QTest::addColumn<int>("offset");
        QTest::addColumn<int>("size");
        QTest::addColumn<quint32>("value");
        QTest::newRow("signature") << 0 << 2 << quint32('B' | 'M' << 8);
        QTest::newRow("file size") << 2 << 4 << quint32(6966);
        QTest::newRow("reserved") << 6 << 4 << quint32(0);
        QTest::newRow("offset of the pixel rows") << 10 << 4 << quint32(54);
        QTest::newRow("information header size") << 14 << 4 << quint32(40);
        QTest::newRow("width") << 18 << 4 << quint32(48);
        QTest::newRow("height (positive: bottom row first)") << 22 << 4 << quint32(48);
        QTest::newRow("planes") << 26 << 2 << quint32(1);
        QTest::newRow("bits per pixel") << 28 << 2 << quint32(24);
        QTest::newRow("compression (none)") << 30 << 4 << quint32(0);
        QTest::newRow("size of the pixel rows") << 34 << 4 << quint32(6912);
        QTest::newRow("horizontal resolution") << 38 << 4 << quint32(0);
        QTest::newRow("vertical resolution") << 42 << 4 << quint32(0);
        QTest::newRow("colours used") << 46 << 4 << quint32(0);
        QTest::newRow("important colours") << 50 << 4 << quint32(0);
    }

    void headerField()
    {
        QFETCH(int, offset);
        QFETCH(int, size);
        QFETCH(quint32, value);
        const QByteArray bytes = encodeIconBmp(distinctSnapshot());
        QCOMPARE(fieldAt(bytes, offset, size), value);
    }

    void headerIsTheSameWhateverThePixels()
    {
        QImage black(48, 48, QImage::Format_RGB32);
        black.fill(Qt::black);
        QCOMPARE(encodeIconBmp(black).left(54), encodeIconBmp(distinctSnapshot()).left(54));
    }

    void rowsBottomFirstInBlueGreenRedOrder()
    {
        const QByteArray bytes = encodeIconBmp(distinctSnapshot());
        for (int y = 0; y < 48; ++y)
            for (int x = 0; x < 48; ++x)
                QCOMPARE(storedPixel(bytes, x, y), bgr(distinctColour(x, y)));
        // spot checks written out: the first stored pixel is the bottom-left one, the last the
        // top-right one
        QCOMPARE(bytes.mid(54, 3), bgr(distinctColour(0, 47)));
        QCOMPARE(bytes.mid(6966 - 3, 3), bgr(distinctColour(47, 0)));
        // a row is 144 bytes with no fill: row 46 starts right after row 47
        QCOMPARE(bytes.mid(54 + 144, 3), bgr(distinctColour(0, 46)));
    }

    void readsBackWithQtsBitmapReader()
    {
        const QImage snapshot = distinctSnapshot();
        QByteArray bytes = encodeIconBmp(snapshot);
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        QImageReader reader(&buffer);
        reader.setDecideFormatFromContent(true);
        QCOMPARE(reader.format(), QByteArray("bmp"));
        QCOMPARE(reader.size(), QSize(48, 48));
        const QImage image = reader.read();
        QVERIFY2(!image.isNull(), qPrintable(reader.errorString()));
        QVERIFY(!image.hasAlphaChannel());
        QCOMPARE(image.convertToFormat(QImage::Format_RGB32), snapshot);
    }

    void onlyTheTopLeftCornerOfALargerPicture()
    {
        const QImage large = distinctSnapshot(50, 50);
        QCOMPARE(encodeIconBmp(large), encodeIconBmp(large.copy(0, 0, 48, 48)));
    }

    void missingPixelsOfASmallerPictureAreBlack()
    {
        const QImage small = distinctSnapshot(30, 20);
        const QByteArray bytes = encodeIconBmp(small);
        QCOMPARE(bytes.size(), 6966);
        QCOMPARE(storedPixel(bytes, 29, 19), bgr(distinctColour(29, 19)));
        QCOMPARE(storedPixel(bytes, 30, 0), QByteArray(3, '\0'));
        QCOMPARE(storedPixel(bytes, 0, 20), QByteArray(3, '\0'));
        QCOMPARE(storedPixel(bytes, 47, 47), QByteArray(3, '\0'));
    }

    void otherPixelFormatsGiveTheSameFile()
    {
        const QImage snapshot = distinctSnapshot();
        const QByteArray expected = encodeIconBmp(snapshot);
        QCOMPARE(encodeIconBmp(snapshot.convertToFormat(QImage::Format_RGB888)), expected);
        QCOMPARE(encodeIconBmp(snapshot.convertToFormat(QImage::Format_ARGB32)), expected);
    }

    // The PNG of the command line's --format png holds the same pixels.
    void pngHoldsTheSamePixels()
    {
        const QImage png = QImage::fromData(encodeIconPng(distinctSnapshot()), "PNG");
        QCOMPARE(png.convertToFormat(QImage::Format_RGB32), distinctSnapshot());
    }

    void saveWritesExactlyTheEncodedBytes()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("icon.gif"));
        QString error;
        QVERIFY(saveIconBmp(distinctSnapshot(), path, &error));
        QCOMPARE(readFile(path), encodeIconBmp(distinctSnapshot()));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{QStringLiteral("icon.gif")});
    }

    // A write that fails part-way must not replace the old file with a short one (Qt's
    // QSaveFile::commit() alone does not notice a write that fails only when flushed).
    void saveFailingPartWayKeepsTheOldFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("icon.bmp"));
        const QByteArray original(10000, 'o');
        QVERIFY(writeFile(path, original));
        bool saved = true;
        QString error;
        QVERIFY(withFileSizeLimit(4096,
                                  [&] { saved = saveIconBmp(distinctSnapshot(), path, &error); }));
        QVERIFY(!saved);
        QVERIFY(!error.isEmpty());
        QCOMPARE(readFile(path), original);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{QStringLiteral("icon.bmp")});
    }

    void failedSaveReportsAReasonAndKeepsTheOldFile()
    {
        QTemporaryDir dir;
        const QString blocker = dir.filePath(QStringLiteral("file"));
        QVERIFY(writeFile(blocker, QByteArray("old")));
        QString error;
        QVERIFY(!saveIconBmp(distinctSnapshot(), blocker + QStringLiteral("/icon.bmp"), &error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(readFile(blocker), QByteArray("old"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{QStringLiteral("file")});
        // a null error pointer is allowed
        QVERIFY(!saveIconBmp(distinctSnapshot(), blocker + QStringLiteral("/icon.bmp"), nullptr));
    }

    // A folder that takes no new file: a writable file in it is replaced in place, completely;
    // a new file there still fails with a reason.
    void writableFileInAReadOnlyFolderIsReplaced()
    {
        QTemporaryDir dir;
        const QString folder = dir.filePath(QStringLiteral("locked"));
        const QString path = folder + QStringLiteral("/icon.bmp");
        QVERIFY(QDir().mkdir(folder));
        QVERIFY(writeFile(path, QByteArray(10000, 'o')));
        const uid_t owner = ::geteuid() == 0 ? 65534 : ::geteuid();
        QCOMPARE(::chown(path.toLocal8Bit().constData(), owner, owner), 0);
        QCOMPARE(::chmod(path.toLocal8Bit().constData(), 0644), 0);
        QCOMPARE(::chmod(folder.toLocal8Bit().constData(), 0555), 0);
        QCOMPARE(::chmod(dir.path().toLocal8Bit().constData(), 0755), 0);

        QVERIFY(asOrdinaryUser([&] { return saveIconBmp(distinctSnapshot(), path, nullptr); }));
        QCOMPARE(readFile(path), encodeIconBmp(distinctSnapshot()));
        QVERIFY(asOrdinaryUser([&] {
            QString error;
            return !saveIconBmp(distinctSnapshot(), folder + QStringLiteral("/new.bmp"), &error) &&
                   !error.isEmpty();
        }));
        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden),
                 QStringList{QStringLiteral("icon.bmp")});
        QCOMPARE(::chmod(folder.toLocal8Bit().constData(), 0755), 0); // so it can be removed
    }
};

AVATELLO_REGISTER_TEST(TestBmpWriter);

#include "tst_bmpwriter.moc"
