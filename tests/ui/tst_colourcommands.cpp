// The new-icon and background-colour commands of the New and Edit menus.
#include "imageio/stockpictures.h"
#include "model/colour.h"
#include "support/documentstate.h"
#include "support/pixels.h"
#include "support/testregistry.h"
#include "support/texttool.h"

#include <QGuiApplication>
#include <QMenu>
#include <QtTest>

using namespace avatello;
using namespace avatello::test;

namespace {

// Everything a colour command may or may not touch.
using State = DocumentState;

} // namespace

class TestColourCommands : public QObject
{
    Q_OBJECT

private slots:
    // The New menu's commands, shown and hidden: each starts a new icon on the canvas and sets
    // the finished view its own way; the undo copy and Undo stay as they were.
    void newIconCommands_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QColor>("canvas");       // the whole canvas afterwards
        QTest::addColumn<OleColor>("backColor");  // the canvas's background colour afterwards
        QTest::addColumn<bool>("pictureCleared"); // no picture: the background colour shows
        QTest::addColumn<bool>("finishedWhite");  // the finished view white, or emptied
        QTest::addColumn<int>("colourQuestions");
        QTest::newRow("Choose Color")
            << "hehe" << QColor(10, 20, 30) << OleColor(0x001E140A) << true << true << 1;
        QTest::newRow("AIM Back Color")
            << "aimback" << resolveColor(vbButtonFace) << vbButtonFace << true << true << 0;
        // the old background colour stays, covered
        QTest::newRow("New Blank Icon")
            << "hd444" << QColor(Qt::white) << OleColor(0x00FF0000) << false << false << 0;
        QTest::newRow("New Black Icon")
            << "hhhhhhh" << QColor(Qt::black) << OleColor(0x00FF0000) << false << false << 0;
    }
    void newIconCommands()
    {
        QFETCH(QString, command);
        QFETCH(QColor, canvas);
        QFETCH(OleColor, backColor);
        QFETCH(bool, pictureCleared);
        QFETCH(bool, finishedWhite);
        QFETCH(int, colourQuestions);
        const QHash<QString, void (Form1::*)()> handlers{{"hehe", &Form1::hehe_Click},
                                                         {"aimback", &Form1::aimback_Click},
                                                         {"hd444", &Form1::hd444_Click},
                                                         {"hhhhhhh", &Form1::hhhhhhh_Click}};
        Program program;
        program->document.Image1.setBackColor(0x00FF0000);
        program->Command3_Click();
        addText(program, QStringLiteral("Hi"));
        const QImage undo = program->document.temp.Image();
        program.user.colors.push_back(QColor(10, 20, 30));
        (*program.*handlers.value(command))();
        QCOMPARE(program.user.colorQuestions.size(), colourQuestions);
        QVERIFY(isUniform(program->document.Image1.Image(), canvas));
        QCOMPARE(program->document.Image1.BackColor(), backColor);
        QCOMPARE(program->document.Image1.Picture().isNull(), pictureCleared);
        if (finishedWhite) {
            QVERIFY(isUniform(program->document.Image2.Image(), Qt::white));
        } else {
            QVERIFY(program->document.Image2.Picture().isNull());
            QVERIFY(isUniform(program->document.Image2.Image(), resolveColor(vbWindowBackground)));
        }
        QVERIFY(samePixels(program->document.temp.Image(), undo));
        QVERIFY(program->hehe333->isEnabled());
        QCOMPARE(program->document.Image1.Width(), 750.0f);
        QCOMPARE(program->document.Image1.Height(), 750.0f);
    }

    void chooseColorAsksWithTheDialogsOwnTitleAndRemembers()
    {
        Program program;
        program.user.colors.push_back(QColor(10, 20, 30));
        program->hehe_Click();
        QCOMPARE(program.user.colorQuestions.size(), 1);
        QCOMPARE(program.user.colorQuestions.first().title, QString()); // the dialog's own title
        QVERIFY(!program.user.colorQuestions.first().initial);

        // the dialog remembers the last colour; the same colour again still starts afresh
        program->document.Image1.setPicture(startupPicture());
        program->Command3_Click();
        program.user.colors.push_back(QColor(10, 20, 30));
        program->hehe_Click();
        QCOMPARE(program.user.colorQuestions.last().initial, std::optional(QColor(10, 20, 30)));
        QVERIFY(program->document.Image1.Picture().isNull());
        QVERIFY(isUniform(program->document.Image2.Image(), Qt::white));
    }

    void cancelChangesNothing_data()
    {
        QTest::addColumn<QString>("command");
        QTest::newRow("Choose Color, first use") << "hehe";
        QTest::newRow("Back Color, first use") << "hahaha33";
        QTest::newRow("Text Color, first use") << "djd";
    }
    void cancelChangesNothing()
    {
        QFETCH(QString, command);
        Program program;
        addText(program, QStringLiteral("Hi"));
        program->Command3_Click();
        void (Form1::*handler)() = command == "hehe"       ? &Form1::hehe_Click
                                   : command == "hahaha33" ? &Form1::hahaha33_Click
                                                           : &Form1::djd_Click;
        for (int use = 0; use < 2; ++use) {
            const State before = State::of(program->document);
            const QString colour = program->document.textcolor;
            program.user.colors.push_back(std::nullopt);
            (*program.*handler)();
            QVERIFY(State::of(program->document) == before);
            QCOMPARE(program->document.textcolor, colour);
            // a later use, after a colour was chosen once
            program.user.colors.push_back(QColor(200, 100, 0));
            (*program.*handler)();
        }
        QCOMPARE(program.user.unanswered, 0);
    }

    // Finished after a new AIM icon freezes the actual button-face colour as plain pixels.
    void aimBackColorThenFinishedFreezesTheButtonFace()
    {
        Program program;
        program->aimback_Click();
        program->Command3_Click();
        const QColor face = resolveColor(vbButtonFace);
        QPalette changed = QGuiApplication::palette();
        const QPalette original = changed;
        changed.setColor(QPalette::Button, QColor(7, 8, 9));
        QGuiApplication::setPalette(changed);
        const bool frozen = isUniform(program->document.Image2.Image(), face);
        QGuiApplication::setPalette(original);
        QVERIFY(frozen);
        QCOMPARE(program.user.colorQuestions.size(), 0);
    }

    void backColorKeepsThePicture()
    {
        Program program;
        const QImage start = program->document.Image1.Image();
        program.user.colors.push_back(QColor(0, 255, 0));
        program->hahaha33_Click();
        QCOMPARE(program.user.colorQuestions.first().title, QStringLiteral("Choose Back Color"));
        // the dialog starts from the current background, a system colour resolved
        QCOMPARE(program.user.colorQuestions.first().initial,
                 std::optional(resolveColor(vbWindowBackground)));
        QCOMPARE(program->document.Image1.BackColor(), OleColor(0x0000FF00));
        const QImage image = program->document.Image1.Image();
        // the figure stays; the window-background pixels around it are now green
        for (int y = 0; y < 48; ++y)
            for (int x = 0; x < 48; ++x) {
                const bool wasBackground =
                    rgbAt(start, x, y) == resolveColor(vbWindowBackground).rgb() &&
                    qAlpha(startupPicture().pixel(x, y)) == 0;
                if (wasBackground)
                    QCOMPARE(rgbAt(image, x, y), qRgb(0, 255, 0));
                else if (qAlpha(startupPicture().pixel(x, y)) == 255)
                    QCOMPARE(rgbAt(image, x, y), rgbAt(start, x, y));
            }
        // next time the dialog starts from the colour now behind the picture
        program.user.colors.push_back(std::nullopt);
        program->hahaha33_Click();
        QCOMPARE(program.user.colorQuestions.last().initial, std::optional(QColor(0, 255, 0)));
    }

    void backColorAfterAddTextErasesItButUndoStillRestores_data()
    {
        QTest::addColumn<bool>("aim");
        QTest::newRow("Back Color") << false;
        QTest::newRow("AIM Back Color") << true;
    }
    void backColorAfterAddTextErasesItButUndoStillRestores()
    {
        QFETCH(bool, aim);
        Program program;
        const QImage start = program->document.Image1.Image();
        addText(program, QStringLiteral("Hi"));
        if (aim) {
            program->h476a_Click();
        } else {
            program.user.colors.push_back(QColor(255, 0, 255));
            program->hahaha33_Click();
        }
        const QColor newBack = aim ? resolveColor(vbButtonFace) : QColor(255, 0, 255);
        // the text is gone at once; only the figure and the new background show
        QImage expected(48, 48, QImage::Format_RGB32);
        expected.fill(newBack);
        for (int y = 0; y < 48; ++y)
            for (int x = 0; x < 48; ++x)
                if (qAlpha(startupPicture().pixel(x, y)) == 255)
                    expected.setPixel(x, y, startupPicture().pixel(x, y));
        QVERIFY(samePixels(program->document.Image1.Image(), expected));
        QVERIFY(program->hehe333->isEnabled());
        program->hehe333_Click();
        QVERIFY(samePixels(program->document.Image1.Image(),
                           start)); // with its old background baked in
    }

    void backColorOverAnOpaquePictureChangesNothingVisible()
    {
        Program program;
        addText(program, QStringLiteral("Hi"));
        program->hehe333_Click(); // the canvas now holds an opaque 48 x 48 snapshot
        const QImage restored = program->document.Image1.Image();
        program->h476a_Click();
        QVERIFY(samePixels(program->document.Image1.Image(), restored));
        program.user.colors.push_back(QColor(1, 1, 1));
        program->hahaha33_Click();
        QVERIFY(samePixels(program->document.Image1.Image(), restored));
    }

    void backColorAfterANewAimIconGivesAPlainField()
    {
        Program program;
        program->aimback_Click();
        program.user.colors.push_back(QColor(90, 80, 70));
        program->hahaha33_Click();
        QCOMPARE(program.user.colorQuestions.first().initial,
                 std::optional(resolveColor(vbButtonFace)));
        QVERIFY(isUniform(program->document.Image1.Image(), QColor(90, 80, 70)));
    }

    void menuItemsRunTheirCommands()
    {
        Program program;
        // choosing from the menu runs the command before the button's handler returns
        program->popupMenu = [](QMenu* menu) {
            for (QAction* action : menu->actions())
                if (action->objectName() == QLatin1String("aimback"))
                    action->trigger();
        };
        program->Command5_Click();
        QCOMPARE(program->document.Image1.BackColor(), vbButtonFace);
        QVERIFY(program->document.Image1.Picture().isNull());

        // dismissing a menu runs nothing
        const State before = State::of(program->document);
        program->popupMenu = [](QMenu*) {};
        program->Command4_Click();
        program->Command5_Click();
        program->Command6_Click();
        QVERIFY(State::of(program->document) == before);
    }

    void undoIsEnabledByAddTextAndDisabledByUndo()
    {
        Program program;
        QVERIFY(!program->hehe333->isEnabled());
        addText(program, QStringLiteral("x"));
        QVERIFY(program->hehe333->isEnabled());
        program->hehe333_Click();
        QVERIFY(!program->hehe333->isEnabled());
        // a disabled Undo cannot be chosen from the menu: a canvas changed since stays as it is
        program->hd444_Click(); // a white canvas; Undo stays off
        QVERIFY(!program->hehe333->isEnabled());
        const QImage blank = program->document.Image1.Image();
        QVERIFY(!samePixels(blank, program->document.temp.Image()));
        program->hehe333->trigger();
        QVERIFY(samePixels(program->document.Image1.Image(), blank));
        QVERIFY(!program->hehe333->isEnabled());
    }
};

AVATELLO_REGISTER_TEST(TestColourCommands);

#include "tst_colourcommands.moc"
