// The Move Text window and its four steps.
#include "model/colour.h"
#include "support/pixels.h"
#include "support/testregistry.h"
#include "support/texttool.h"
#include "ui/desktop/keepontop.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using namespace avatello;
using namespace avatello::test;

namespace {

Form2& moveWindow(Program& program)
{
    program->hhhhhhhhhhhhhhh22_Click();
    return *program->form2;
}

} // namespace

class TestMoveText : public QObject
{
    Q_OBJECT

private slots:
    void window()
    {
        Program program;
        Form2& form = moveWindow(program);
        QCOMPARE(form.windowTitle(), QStringLiteral("Move Text"));
        QCOMPARE(form.geometry(), QRect(262, 258, 154, 89));
        QCOMPARE(form.minimumSize(), form.maximumSize());
        QVERIFY(form.windowFlags() & Qt::WindowStaysOnTopHint);
        QVERIFY(!(form.windowFlags() & Qt::WindowMinimizeButtonHint));
        QVERIFY(!(form.windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(form.parent() == nullptr);
        QCOMPARE(form.windowIcon().cacheKey(), program->windowIcon().cacheKey());
        QCOMPARE(form.Command3->text(), QStringLiteral("&Move Up"));
        QCOMPARE(form.Command3->geometry(), QRect(40, 8, 65, 25));
        QCOMPARE(form.Command4->text(), QStringLiteral("Move &Left"));
        QCOMPARE(form.Command4->geometry(), QRect(8, 32, 65, 25));
        QCOMPARE(form.Command1->text(), QStringLiteral("Move &Right"));
        QCOMPARE(form.Command1->geometry(), QRect(72, 32, 73, 25));
        QCOMPARE(form.Command2->text(), QStringLiteral("Move &Down"));
        QCOMPARE(form.Command2->geometry(), QRect(40, 56, 73, 25));
        QVERIFY(QTest::qWaitForWindowActive(&form));
        QCOMPARE(QApplication::focusWidget(), form.Text1);
        QVERIFY(!QRect(0, 0, 154, 89).contains(form.Text1->geometry()));
    }

    void oneWindowAtATime()
    {
        Program program;
        Form2* first = &moveWindow(program);
        QCOMPARE(&moveWindow(program), first);
        first->close();
        processDeferredDeletes();
        QVERIFY(!program->form2);
        Form2* second = &moveWindow(program);
        QVERIFY(second->windowFlags() & Qt::WindowStaysOnTopHint);
    }

    void threeStepsRightLandWhereAPressWould()
    {
        Program program;
        addText(program, QStringLiteral("Hi"));
        Form2& form = moveWindow(program);
        for (int i = 0; i < 3; ++i)
            form.Command1_Click();
        QCOMPARE(program->textx->text(), QStringLiteral("260"));
        QCOMPARE(program->texty->text(), QStringLiteral("500"));

        Program pressed;
        pressed->Image1_MouseDown(1, 0, 260, 500);
        addText(pressed, QStringLiteral("Hi"));
        QVERIFY(samePixels(program->document.Image1.Image(), pressed->document.Image1.Image()));
        QVERIFY(program->hehe333->isEnabled());
        QVERIFY(samePixels(program->document.temp.Image(), pressed->document.temp.Image()));
    }

    void stepsMoveByTwentyTwips_data()
    {
        QTest::addColumn<int>("button");
        QTest::addColumn<QString>("x");
        QTest::addColumn<QString>("y");
        QTest::newRow("Move Right") << 1 << "470"
                                    << "150";
        QTest::newRow("Move Down") << 2 << "450"
                                   << "170";
        QTest::newRow("Move Up") << 3 << "450"
                                 << "130";
        QTest::newRow("Move Left") << 4 << "430"
                                   << "150";
    }
    void stepsMoveByTwentyTwips()
    {
        QFETCH(int, button);
        QFETCH(QString, x);
        QFETCH(QString, y);
        Program program;
        pressAt(program, 30, 10);
        Form2& form = moveWindow(program);
        void (Form2::*steps[])() = {&Form2::Command1_Click, &Form2::Command2_Click,
                                    &Form2::Command3_Click, &Form2::Command4_Click};
        (form.*steps[button - 1])();
        QCOMPARE(program->textx->text(), x);
        QCOMPARE(program->texty->text(), y);
    }

    void moveLeftPastTheEdgeIsClipped()
    {
        Program program;
        program->document.Image1.setPicture(QImage());
        pressAt(program, 0, 20);
        addText(program, QStringLiteral("W"));
        const QColor field = resolveColor(vbWindowBackground);
        const int whole = countUnlike(program->document.Image1.Image(), QRect(0, 0, 48, 48), field);
        Form2& form = moveWindow(program);
        form.Command4_Click();
        form.Command4_Click();
        form.Command4_Click();
        QCOMPARE(program->textx->text(), QStringLiteral("-60"));
        const QImage image = program->document.Image1.Image();
        QCOMPARE(boundsUnlike(image, field).left(), 0);
        QVERIFY(countUnlike(image, image.rect(), field) < whole);
    }

    void upThenDownRestoresThePixels()
    {
        Program program;
        addText(program, QStringLiteral("Hi"));
        const QImage stamped = program->document.Image1.Image();
        Form2& form = moveWindow(program);
        form.Command3_Click();
        QVERIFY(!samePixels(program->document.Image1.Image(), stamped));
        form.Command2_Click();
        QVERIFY(samePixels(program->document.Image1.Image(), stamped));
        QCOMPARE(program->texty->text(), QStringLiteral("500"));
    }

    void stepAfterTextColourRedrawsInTheNewColour()
    {
        Program program;
        program->document.Image1.setPicture(QImage());
        addText(program, QStringLiteral("HH"));
        program.user.colors.push_back(QColor(0, 0, 255));
        program->djd_Click();
        QVERIFY(countUnlike(program->document.Image1.Image(), QRect(0, 0, 48, 48), Qt::blue) ==
                48 * 48);
        Form2& form = moveWindow(program);
        form.Command1_Click();
        form.Command4_Click();
        const QImage image = program->document.Image1.Image();
        QVERIFY(countUnlike(image, image.rect(), Qt::blue) < 48 * 48);
        QVERIFY(countUnlike(image, image.rect(), Qt::black) == 48 * 48);
    }

    void stepAfterUndoBringsTheTextBack()
    {
        Program program;
        addText(program, QStringLiteral("Hi"));
        const QImage stamped = program->document.Image1.Image();
        program->hehe333_Click();
        Form2& form = moveWindow(program);
        form.Command1_Click();
        form.Command4_Click();
        QVERIFY(samePixels(program->document.Image1.Image(), stamped));
        QVERIFY(!program->hehe333->isEnabled());
    }

    void stepAfterANewIconReturnsThePictureFromBeforeAddText()
    {
        Program program;
        const QImage start = program->document.Image1.Image();
        addText(program, QStringLiteral("Hi"));
        const QImage stamped = program->document.Image1.Image();
        program->aimback_Click();
        program->h476a_Click();
        Form2& form = moveWindow(program);
        form.Command2_Click();
        form.Command3_Click();
        QVERIFY(samePixels(program->document.Image1.Image(), stamped));
        QVERIFY(samePixels(program->document.temp.Image(), start));
    }

    void stepBeforeAnyAddTextDrawsNothing()
    {
        Program program;
        program->document.Image1.setBackColor(0x00336699);
        Form2& form = moveWindow(program);
        form.Command1_Click();
        QCOMPARE(program->textx->text(), QStringLiteral("220"));
        QVERIFY(isUniform(program->document.Image1.Image(), resolveColor(0x00336699)));
        QVERIFY(program->document.temp.Picture().isNull());
    }

    void stepWithAnUnusableSizeRestoresAndMovesButDrawsNothing()
    {
        Program program;
        const QImage start = program->document.Image1.Image();
        addText(program, QStringLiteral("Hi"));
        program->document.textsize = QString();
        Form2& form = moveWindow(program);
        form.Command2_Click();
        QCOMPARE(program->texty->text(), QStringLiteral("520"));
        QVERIFY(samePixels(program->document.Image1.Image(), start));
    }
};

AVATELLO_REGISTER_TEST(TestMoveText);

#include "tst_movetext.moc"
