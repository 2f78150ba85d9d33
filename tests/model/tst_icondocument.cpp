// The icon document on its own, without any window: what the command-line maker relies on.
#include "imageio/stockpictures.h"
#include "imageio/templates.h"
#include "model/icondocument.h"
#include "support/documentstate.h"
#include "support/pixels.h"
#include "support/testregistry.h"

#include <QSignalSpy>
#include <QtTest>

using namespace avatello;
using namespace avatello::test;

class TestIconDocument : public QObject
{
    Q_OBJECT

private slots:
    void startsLikeTheProgram()
    {
        IconDocument document;
        document.start();
        QCOMPARE(document.textx, QStringLiteral("200"));
        QCOMPARE(document.texty, QStringLiteral("500"));
        QCOMPARE(document.textcolor, QStringLiteral("0"));
        QCOMPARE(document.textfont, QStringLiteral("Tahoma"));
        QCOMPARE(document.textsize, QStringLiteral("8"));
        QVERIFY(!document.undoAvailable());
        PictureBox expected;
        expected.setPicture(startupPicture());
        QVERIFY(samePixels(document.Image1.Image(), expected.Image()));
    }

    // Add Text, a Move step, Undo: the undo copy is the canvas before the stamp throughout.
    void addMoveAndUndo()
    {
        IconDocument document;
        document.start();
        const QImage before = document.Image1.Image();
        QSignalSpy changed(&document, &IconDocument::changed);
        QVERIFY(document.addText([] { return QStringLiteral("Hi"); }));
        QVERIFY(document.undoAvailable());
        QCOMPARE(document.textstring, QStringLiteral("Hi"));
        QVERIFY(!samePixels(document.Image1.Image(), before));
        QVERIFY(samePixels(document.temp.Image(), before));

        const QImage stamped = document.Image1.Image();
        QVERIFY(document.moveText(IconDocument::Direction::Right));
        QCOMPARE(document.textx, QStringLiteral("220"));
        QVERIFY(!samePixels(document.Image1.Image(), stamped));
        QVERIFY(samePixels(document.temp.Image(), before));

        document.undo();
        QVERIFY(!document.undoAvailable());
        QVERIFY(samePixels(document.Image1.Image(), before));
        QCOMPARE(changed.count(), 3);
    }

    void moveSteps_data()
    {
        QTest::addColumn<int>("direction");
        QTest::addColumn<QString>("x");
        QTest::addColumn<QString>("y");
        QTest::newRow("up") << int(IconDocument::Direction::Up) << "200"
                            << "480";
        QTest::newRow("down") << int(IconDocument::Direction::Down) << "200"
                              << "520";
        QTest::newRow("left") << int(IconDocument::Direction::Left) << "180"
                              << "500";
        QTest::newRow("right") << int(IconDocument::Direction::Right) << "220"
                               << "500";
    }
    void moveSteps()
    {
        QFETCH(int, direction);
        QFETCH(QString, x);
        QFETCH(QString, y);
        IconDocument document;
        document.start();
        document.moveText(IconDocument::Direction(direction));
        QCOMPARE(document.textx, x);
        QCOMPARE(document.texty, y);
    }

    // A value that does not convert ends the command at that step: no prompt, no Undo.
    void badTextPositionEndsAddText()
    {
        IconDocument document;
        document.start();
        document.textx = QStringLiteral("left");
        bool asked = false;
        QVERIFY(!document.addText([&asked] {
            asked = true;
            return QStringLiteral("Hi");
        }));
        QVERIFY(!asked);
        QVERIFY(!document.undoAvailable());
        QVERIFY(samePixels(document.temp.Image(), document.Image1.Image()));
    }

    void templatesAndFailedLoads()
    {
        IconDocument document;
        document.start();
        for (int n = 1; n <= templateCount; ++n) {
            PictureBox tile;
            tile.setPicture(templatePicture(n));
            QVERIFY(!tile.Picture().isNull());
            document.chooseTemplate(n);
            QVERIFY(samePixels(document.Image1.Image(), tile.Image()));
        }
        QVERIFY(templatePath(0).isEmpty());
        QVERIFY(templatePath(templateCount + 1).isEmpty());

        const DocumentState before = DocumentState::of(document);
        QVERIFY(!document.loadFile(QStringLiteral("/nonexistent/picture.gif")));
        QCOMPARE(DocumentState::of(document).differenceFrom(before), QString());
    }
};

AVATELLO_REGISTER_TEST(TestIconDocument);

#include "tst_icondocument.moc"
