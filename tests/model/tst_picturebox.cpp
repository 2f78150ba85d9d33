// The picture box: background, unscaled picture, persistent drawn text and snapshots.
#include "imageio/stockpictures.h"
#include "model/colour.h"
#include "model/picturebox.h"
#include "support/pixels.h"
#include "support/testregistry.h"

#include <QGuiApplication>
#include <QImageReader>
#include <QPainter>
#include <QPalette>
#include <QtTest>

using namespace avatello;
using namespace avatello::test;

namespace {

QImage solid(QSize size, QColor colour, QImage::Format format = QImage::Format_ARGB32)
{
    QImage image(size, format);
    image.fill(colour);
    return image;
}

} // namespace

class TestPictureBox : public QObject
{
    Q_OBJECT

private slots:
    void drawingAreaIsInsideTheFrame()
    {
        PictureBox box;
        QCOMPARE(box.Image().size(), QSize(48, 48));
        QCOMPARE(box.Width(), 750.0f);
        QVERIFY(isUniform(box.Image(), resolveColor(vbWindowBackground)));
    }

    void pictureIsDrawnUnscaledFromTheTopLeft_data()
    {
        QTest::addColumn<QSize>("pictureSize");
        QTest::newRow("smaller") << QSize(32, 20);
        QTest::newRow("exact") << QSize(48, 48);
        QTest::newRow("50 x 50 loses two columns and rows") << QSize(50, 50);
        QTest::newRow("large") << QSize(100, 100);
    }
    void pictureIsDrawnUnscaledFromTheTopLeft()
    {
        QFETCH(QSize, pictureSize);
        PictureBox box;
        box.setBackColor(0x00FF0000); // blue
        QImage picture = solid(pictureSize, Qt::yellow);
        // a marker in the picture's last visible pixel shows nothing is scaled
        const QPoint corner(qMin(pictureSize.width(), 48) - 1, qMin(pictureSize.height(), 48) - 1);
        picture.setPixel(corner, qRgb(255, 0, 0));
        box.setPicture(picture);
        const QImage image = box.Image();
        QCOMPARE(image.size(), QSize(48, 48));
        QCOMPARE(rgbAt(image, 0, 0), qRgb(255, 255, 0));
        QCOMPARE(rgbAt(image, corner.x(), corner.y()), qRgb(255, 0, 0));
        const QRect covered(QPoint(0, 0), pictureSize.boundedTo(QSize(48, 48)));
        QCOMPARE(countUnlike(image, covered, Qt::yellow), 1);
        QCOMPARE(countUnlike(image, image.rect(), Qt::blue), covered.width() * covered.height());
    }

    void transparentPixelsShowTheBackColor()
    {
        PictureBox box;
        box.setBackColor(0x0000FF00); // green
        QImage picture = solid(QSize(10, 10), Qt::transparent);
        picture.setPixel(5, 5, qRgba(255, 0, 0, 255));
        box.setPicture(picture);
        const QImage image = box.Image();
        QCOMPARE(rgbAt(image, 5, 5), qRgb(255, 0, 0));
        QCOMPARE(countUnlike(image, image.rect(), Qt::green), 1);
    }

    void settingThePictureErasesDrawnText()
    {
        PictureBox box;
        const QImage fresh = box.Image();
        box.ForeColor = vbBlack;
        box.CurrentX = 150;
        box.CurrentY = 150;
        box.Print(QStringLiteral("Hi"));
        QVERIFY(!samePixels(box.Image(), fresh));
        box.setPicture(QImage());
        QVERIFY(samePixels(box.Image(), fresh));
    }

    void settingTheBackColorErasesTextButKeepsThePicture()
    {
        PictureBox box;
        box.setPicture(solid(QSize(20, 20), Qt::red));
        box.ForeColor = vbBlack;
        box.CurrentX = 0;
        box.CurrentY = 450;
        box.Print(QStringLiteral("WWW"));
        QVERIFY(countUnlike(box.Image(), QRect(0, 20, 48, 28), resolveColor(vbWindowBackground)) >
                0);
        box.setBackColor(0x00FF0000);
        const QImage image = box.Image();
        QVERIFY(isUniform(image, QRect(0, 0, 20, 20), Qt::red));
        QCOMPARE(countUnlike(image, image.rect(), Qt::blue), 400);
    }

    void snapshotsAreIndependentAndOpaque()
    {
        PictureBox box;
        box.setPicture(solid(QSize(10, 10), QColor(0, 0, 0, 0)));
        const QImage before = box.Image();
        QVERIFY(!before.hasAlphaChannel());
        box.setBackColor(0x000000FF);
        QVERIFY(isUniform(before, resolveColor(vbWindowBackground)));
        QVERIFY(isUniform(box.Image(), Qt::red));
    }

    void settingTheSameSizeChangesNothing()
    {
        PictureBox box;
        box.ForeColor = vbBlack;
        box.CurrentY = 300;
        box.Print(QStringLiteral("Hi"));
        const QImage drawn = box.Image();
        box.setWidth(750);
        box.setHeight(750);
        QVERIFY(samePixels(box.Image(), drawn));
    }

    void systemColoursAreResolvedWhenDrawn()
    {
        const QPalette original = QGuiApplication::palette();
        PictureBox box;
        box.setBackColor(vbButtonFace);
        QPalette changed = original;
        changed.setColor(QPalette::Button, QColor(1, 2, 3));
        QGuiApplication::setPalette(changed);
        const QImage stale = box.Image();
        box.setBackColor(vbButtonFace);
        const QImage fresh = box.Image();
        QGuiApplication::setPalette(original);
        QVERIFY(isUniform(stale, original.color(QPalette::Button)));
        QVERIFY(isUniform(fresh, QColor(1, 2, 3)));
    }

    void colourValuesAreBgr()
    {
        QCOMPARE(resolveColor(0x000000FF), QColor(255, 0, 0));
        QCOMPARE(resolveColor(0x00C00000), QColor(0, 0, 192));
        QCOMPARE(toOleColor(qRgb(1, 2, 3)), OleColor(0x00030201));
    }

    // A system colour is the colour of its own role in the application's palette: each role is
    // given a colour of its own, so a colour read from the wrong role shows.
    void systemColoursComeFromTheirOwnRoles()
    {
        // the standard scheme: a white window background and black window text
        QCOMPARE(resolveColor(vbWindowBackground), QColor(255, 255, 255));
        QCOMPARE(resolveColor(vbWindowText), QColor(0, 0, 0));

        const QPalette original = QGuiApplication::palette();
        QPalette distinct = original;
        const QList<QPalette::ColorRole> roles{
            QPalette::Window, QPalette::WindowText, QPalette::Base,  QPalette::Text,
            QPalette::Button, QPalette::ButtonText, QPalette::Light, QPalette::Dark};
        for (int i = 0; i < roles.size(); ++i)
            distinct.setColor(roles.at(i), QColor(10 * i + 1, 10 * i + 2, 10 * i + 3));
        QGuiApplication::setPalette(distinct);
        const QColor background = resolveColor(vbWindowBackground);
        const QColor text = resolveColor(vbWindowText);
        const QColor face = resolveColor(vbButtonFace);
        QGuiApplication::setPalette(original);
        QCOMPARE(background, QColor(21, 22, 23)); // Base
        QCOMPARE(text, QColor(31, 32, 33));       // Text
        QCOMPARE(face, QColor(41, 42, 43));       // Button
    }

    void fitPictureBoxGivesBackWhatItHolds()
    {
        PictureBox undo(750, 750, PictureBox::Frame::None, PictureBox::Sizing::FitPicture);
        QImage stored = solid(QSize(48, 48), Qt::cyan, QImage::Format_RGB32);
        stored.setPixel(47, 47, qRgb(9, 9, 9));
        undo.setPicture(stored);
        QVERIFY(samePixels(undo.Image(), stored));
    }

    void stockPictures()
    {
        QImageReader startup(QStringLiteral(":/pictures/startup.gif"));
        QCOMPARE(startup.format(), QByteArray("gif"));
        QCOMPARE(startup.size(), QSize(50, 50));
        QVERIFY(startupPicture().hasAlphaChannel());

        QImageReader white(QStringLiteral(":/pictures/white.bmp"));
        QCOMPARE(white.size(), QSize(50, 50));
        QCOMPARE(white.read().format(), QImage::Format_Indexed8);
        QVERIFY(isUniform(whiteBitmap(), Qt::white));

        QFile black(QStringLiteral(":/pictures/black.gif"));
        QVERIFY(black.open(QIODevice::ReadOnly));
        QCOMPARE(black.peek(6), QByteArray("GIF89a"));
        QVERIFY(isUniform(blackBitmap(), Qt::black));
        QVERIFY(!blackBitmap().hasAlphaChannel());
    }
};

AVATELLO_REGISTER_TEST(TestPictureBox);

#include "tst_picturebox.moc"
