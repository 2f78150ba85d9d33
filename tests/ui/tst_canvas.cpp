// The canvas, the finished view and the undo copy as the main window holds them.
#include "imageio/stockpictures.h"
#include "model/colour.h"
#include "support/documentstate.h"
#include "support/fixture.h"
#include "support/pixels.h"
#include "support/testregistry.h"

#include <QtTest>

using namespace avatello;
using namespace avatello::test;

namespace {

// The start-up picture as the canvas must show it: its top-left 48 x 48 pixels over the
// window-background colour.
QImage expectedStartupCanvas()
{
    QImage expected(48, 48, QImage::Format_RGB32);
    expected.fill(resolveColor(vbWindowBackground));
    const QImage picture = startupPicture();
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 48; ++x)
            if (qAlpha(picture.pixel(x, y)) == 255)
                expected.setPixel(x, y, picture.pixel(x, y));
    return expected;
}

} // namespace

class TestCanvas : public QObject
{
    Q_OBJECT

private slots:
    void startUpState()
    {
        Program program;
        QVERIFY(samePixels(program->document.Image1.Image(), expectedStartupCanvas()));
        const QImage canvas = program->document.Image1.Image();
        QVERIFY(countUnlike(canvas, canvas.rect(), resolveColor(vbWindowBackground)) > 100);
        QVERIFY(isUniform(program->document.Image2.Image(), resolveColor(vbWindowBackground)));
        QVERIFY(program->document.Image2.Picture().isNull());
        QVERIFY(program->document.temp.Picture().isNull());
        QVERIFY(!program->hehe333->isEnabled());
        QCOMPARE(program->document.textstring, QString());
        QCOMPARE(program->document.textcolor, QStringLiteral("0"));
        QCOMPARE(program->document.textfont, QStringLiteral("Tahoma"));
        QCOMPARE(program->document.textsize, QStringLiteral("8"));
        QCOMPARE(program->textx->text(), QStringLiteral("200"));
        QCOMPARE(program->texty->text(), QStringLiteral("500"));
        QCOMPARE(program->document.Image1.BackColor(), vbWindowBackground);
        QCOMPARE(program->document.Image1.ForeColor, vbWindowText);
    }

    void finishedCopiesTheCanvasWithItsText()
    {
        Program program;
        program->Command3_Click();
        QVERIFY(samePixels(program->document.Image2.Image(), expectedStartupCanvas()));

        printOn(program->document.Image1, QStringLiteral("Hi"), 200, 500);
        const QImage withText = program->document.Image1.Image();
        QVERIFY(!samePixels(withText, expectedStartupCanvas()));
        QVERIFY(!samePixels(program->document.Image2.Image(), withText));
        program->Command3_Click();
        QVERIFY(samePixels(program->document.Image2.Image(), withText));
        QCOMPARE(program->document.Image2.Width(), 750.0f);
        QCOMPARE(program->document.Image2.Height(), 750.0f);
        // the canvas and the undo state are untouched
        QVERIFY(samePixels(program->document.Image1.Image(), withText));
        QVERIFY(!program->hehe333->isEnabled());
    }

    void finishedViewIsAFrozenCopy()
    {
        Program program;
        program->Command3_Click();
        const QImage finished = program->document.Image2.Image();
        program->aimback_Click(); // changes the canvas, and whitens the finished view
        program->document.Image2.setPicture(finished);
        program->h476a_Click();
        QVERIFY(samePixels(program->document.Image2.Image(), finished));
    }

    void undoRestoresTheCopyAndDisablesItself()
    {
        Program program;
        const QImage before = program->document.Image1.Image();
        program->document.temp.setPicture(before); // what Add Text stores before stamping
        printOn(program->document.Image1, QStringLiteral("Hi"), 200, 500);
        program->hehe333->setEnabled(true);
        program->Command3_Click();
        const QImage finished = program->document.Image2.Image();

        program->hehe333_Click();
        QVERIFY(samePixels(program->document.Image1.Image(), before));
        QVERIFY(!program->hehe333->isEnabled());
        // the finished view keeps the text until Finished is pressed again
        QVERIFY(samePixels(program->document.Image2.Image(), finished));
        QCOMPARE(program->document.Image1.BackColor(), vbWindowBackground);
    }

    void undoCopyBeforeAnyStampIsAFieldOfTheBackground()
    {
        Program program;
        program->document.Image1.setBackColor(0x00123456);
        const QImage copy = program->document.undoCopy();
        QCOMPARE(copy.size(), QSize(48, 48));
        QVERIFY(isUniform(copy, resolveColor(0x00123456)));
    }

    void undoAfterANewIconBringsBackTheOlderCanvas()
    {
        Program program;
        const QImage before = program->document.Image1.Image();
        program->document.temp.setPicture(before);
        printOn(program->document.Image1, QStringLiteral("Hi"), 200, 500);
        program->hehe333->setEnabled(true);
        program->aimback_Click();
        program->hehe333_Click();
        QVERIFY(samePixels(program->document.Image1.Image(), before));
        // the restored picture covers the drawing area: the background no longer shows
        program->h476a_Click();
        QVERIFY(samePixels(program->document.Image1.Image(), before));
    }
};

AVATELLO_REGISTER_TEST(TestCanvas);

#include "tst_canvas.moc"
