// Placing text, Add Text, Undo of a stamp and the text colour.
#include "model/colour.h"
#include "model/textstate.h"
#include "support/fonts.h"
#include "support/pixels.h"
#include "support/testregistry.h"
#include "support/texttool.h"
#include "ui/pictureboxview.h"

#include <QLabel>
#include <QtTest>

using namespace avatello;
using namespace avatello::test;

class TestTextTool : public QObject
{
    Q_OBJECT

private slots:
    void pressSetsThePositionInTwips_data()
    {
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::newRow("left") << Qt::LeftButton;
        QTest::newRow("right") << Qt::RightButton;
        QTest::newRow("middle") << Qt::MiddleButton;
    }
    void pressSetsThePositionInTwips()
    {
        QFETCH(Qt::MouseButton, button);
        Program program;
        program->show();
        const QImage before = program->document.Image1.Image();
        // pixel (10, 20) of the drawing area is (11, 21) of the framed box
        QTest::mousePress(program->Image1View, button, Qt::NoModifier, QPoint(11, 21));
        QCOMPARE(program->textx->text(), QStringLiteral("150"));
        QCOMPARE(program->texty->text(), QStringLiteral("300"));
        QVERIFY(samePixels(program->document.Image1.Image(), before));
        QVERIFY(program->document.temp.Picture().isNull());
        QVERIFY(!program->hehe333->isEnabled());
    }

    void addTextStampsAtTheStartPosition()
    {
        AVATELLO_REQUIRE_FAMILY(QStringLiteral("Tahoma")); // its glyphs' places are measured
        Program program;
        const QImage before = program->document.Image1.Image();
        addText(program, QStringLiteral("HI"));
        QCOMPARE(program.user.textQuestions.size(), 1);
        QCOMPARE(program.user.textQuestions.first().title, QStringLiteral("Add Text"));
        QCOMPARE(program.user.textQuestions.first().prompt, QStringLiteral("Text To Add:"));
        QCOMPARE(program->document.textstring, QStringLiteral("HI"));
        QVERIFY(program->hehe333->isEnabled());
        QVERIFY(samePixels(program->document.temp.Image(), before));

        // (200, 500) twips is pixel (13, 33): the line's top, so the glyphs start at or below it
        QImage stamped = program->document.Image1.Image();
        QImage difference(48, 48, QImage::Format_RGB32);
        difference.fill(Qt::white);
        for (int y = 0; y < 48; ++y)
            for (int x = 0; x < 48; ++x)
                if (stamped.pixel(x, y) != before.pixel(x, y))
                    difference.setPixel(x, y, qRgb(0, 0, 0));
        const QRect text = boundsUnlike(difference, Qt::white);
        QVERIFY2(text.left() >= 13 && text.left() <= 14, qPrintable(QString::number(text.left())));
        QVERIFY2(text.top() >= 33 && text.top() <= 36, qPrintable(QString::number(text.top())));
        // the stamp is black, the text colour at start
        QCOMPARE(rgbAt(stamped, text.left(), text.top() + 2), qRgb(0, 0, 0));
    }

    void stampIsAlignedToThePressedPixel()
    {
        Program a;
        a->document.Image1.setPicture(QImage());
        pressAt(a, 5, 4);
        addText(a, QStringLiteral("Ag"));
        Program b;
        b->document.Image1.setPicture(QImage());
        pressAt(b, 9, 11);
        addText(b, QStringLiteral("Ag"));
        const QColor field = resolveColor(vbWindowBackground);
        const QRect boundsA = boundsUnlike(a->document.Image1.Image(), field);
        const QRect boundsB = boundsUnlike(b->document.Image1.Image(), field);
        QVERIFY(!boundsA.isEmpty());
        QCOMPARE(boundsB, boundsA.translated(4, 7));
        // glyphs only: no box is filled behind them
        QVERIFY(countUnlike(a->document.Image1.Image(), boundsA, field) <
                boundsA.width() * boundsA.height());
        // crisp: only the background and the text colour appear
        const QImage image = a->document.Image1.Image();
        for (int y = 0; y < 48; ++y)
            for (int x = 0; x < 48; ++x)
                QVERIFY(rgbAt(image, x, y) == field.rgb() || rgbAt(image, x, y) == qRgb(0, 0, 0));
    }

    void cancelOrEmptyTextStillTakesTheUndoCopy_data()
    {
        QTest::addColumn<bool>("cancel");
        QTest::newRow("Cancel") << true;
        QTest::newRow("empty OK") << false;
    }
    void cancelOrEmptyTextStillTakesTheUndoCopy()
    {
        QFETCH(bool, cancel);
        Program program;
        program->document.textstring = QStringLiteral("old");
        const QImage before = program->document.Image1.Image();
        if (cancel)
            program.user.texts.push_back(std::nullopt);
        else
            program.user.texts.push_back(QString());
        program->ha3ah_Click();
        QCOMPARE(program->document.textstring, QString());
        QVERIFY(program->hehe333->isEnabled());
        QVERIFY(samePixels(program->document.temp.Image(), before));
        QVERIFY(samePixels(program->document.Image1.Image(), before));
    }

    void twoTextsThenUndoRemovesOnlyTheSecond()
    {
        Program program;
        pressAt(program, 2, 2);
        addText(program, QStringLiteral("AB"));
        const QImage afterFirst = program->document.Image1.Image();
        pressAt(program, 2, 30);
        addText(program, QStringLiteral("CD"));
        QVERIFY(!samePixels(program->document.Image1.Image(), afterFirst));
        program->hehe333_Click();
        QVERIFY(samePixels(program->document.Image1.Image(), afterFirst));
        QVERIFY(!program->hehe333->isEnabled());
    }

    void pressAfterAddTextMovesNothing()
    {
        Program program;
        addText(program, QStringLiteral("Hi"));
        const QImage stamped = program->document.Image1.Image();
        pressAt(program, 30, 5);
        QVERIFY(samePixels(program->document.Image1.Image(), stamped));
    }

    void textRunsOffTheEdgesAndIsCut()
    {
        Program program;
        program->document.Image1.setPicture(QImage());
        pressAt(program, 40, 40);
        addText(program, QStringLiteral("WWWWWW"));
        const QImage image = program->document.Image1.Image();
        QCOMPARE(image.size(), QSize(48, 48));
        const QRect text = boundsUnlike(image, resolveColor(vbWindowBackground));
        QCOMPARE(text.right(), 47);
        QCOMPARE(text.bottom(), 47);
        QVERIFY(text.left() >= 40);
    }

    void unusableSizeEndsAddTextAfterThePrompt_data()
    {
        QTest::addColumn<QString>("size");
        QTest::newRow("empty") << QString();
        QTest::newRow("not a number") << QStringLiteral("big");
    }
    void unusableSizeEndsAddTextAfterThePrompt()
    {
        QFETCH(QString, size);
        Program program;
        program->document.textsize = size;
        const QImage before = program->document.Image1.Image();
        addText(program, QStringLiteral("Hi"));
        QCOMPARE(program->document.textstring, QStringLiteral("Hi"));
        QVERIFY(!program->document.temp.Picture().isNull());
        QVERIFY(samePixels(program->document.Image1.Image(), before));
        QVERIFY(!program->hehe333->isEnabled()); // Undo keeps its previous state
    }

    void textColour()
    {
        Program program;
        program.user.colors.push_back(QColor(255, 0, 0));
        program->djd_Click();
        QCOMPARE(program.user.colorQuestions.size(), 1);
        QCOMPARE(program.user.colorQuestions.first().title,
                 QStringLiteral("Choose New Icon Color"));
        QCOMPARE(program.user.colorQuestions.first().initial, std::optional(QColor(0, 0, 0)));
        QCOMPARE(program->document.textcolor, QStringLiteral("255"));

        // the dialog starts from the current colour; Cancel keeps it
        program.user.colors.push_back(std::nullopt);
        program->djd_Click();
        QCOMPARE(program.user.colorQuestions.last().initial, std::optional(QColor(255, 0, 0)));
        QCOMPARE(program->document.textcolor, QStringLiteral("255"));

        program.user.colors.push_back(QColor(1, 2, 3));
        program->djd_Click();
        QCOMPARE(program->document.textcolor, QString::number(0x030201));

        // nothing is redrawn: the colour reaches the canvas at the next stamp
        program->document.Image1.setPicture(QImage());
        addText(program, QStringLiteral("H"));
        const QImage image = program->document.Image1.Image();
        const QRect text = boundsUnlike(image, resolveColor(vbWindowBackground));
        QVERIFY(!text.isEmpty());
        bool sawColour = false;
        for (int y = text.top(); y <= text.bottom(); ++y)
            for (int x = text.left(); x <= text.right(); ++x)
                sawColour |= rgbAt(image, x, y) == qRgb(1, 2, 3);
        QVERIFY(sawColour);
    }

    void decimalTextIsShortest_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("whole") << 345.0 << "345";
        QTest::newRow("negative") << -20.0 << "-20";
        QTest::newRow("zero") << 0.0 << "0";
        QTest::newRow("large") << 2000000.0 << "2000000";
        QTest::newRow("fraction") << 12.5 << "12.5";
    }
    void decimalTextIsShortest()
    {
        QFETCH(double, value);
        QFETCH(QString, text);
        QCOMPARE(decimalText(value), text);
        QCOMPARE(readDouble(text), std::optional(value));
    }

    void conversionsRefuseWhatIsNotANumber()
    {
        QVERIFY(!readSingle(QString()));
        QVERIFY(!readSingle(QStringLiteral("12px")));
        QVERIFY(!readDouble(QStringLiteral("nan")));
        QVERIFY(!readLong(QStringLiteral("1.5")));
        QVERIFY(!readLong(QStringLiteral("99999999999")));
        QCOMPARE(readLong(QStringLiteral(" 255 ")), std::optional<quint32>(255));
        QCOMPARE(readSingle(QStringLiteral("8")), std::optional<float>(8));
    }
};

AVATELLO_REGISTER_TEST(TestTextTool);

#include "tst_texttool.moc"
