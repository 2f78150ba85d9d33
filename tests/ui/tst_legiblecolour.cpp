// The link and the arrow of the main window on dark and high-contrast desktop palettes.
#include "support/fixture.h"
#include "support/testregistry.h"
#include "ui/desktop/legiblecolour.h"
#include "ui/linklabel.h"

#include <QApplication>
#include <QtTest>

using avatello::contrastRatio;

class TestLegibleColour : public QObject
{
    Q_OBJECT

private slots:
    // The window's colour (its button face) on each palette; whether the link and the arrow keep
    // the program's own colours there: always where those already stand out enough.
    void linkAndArrowOnAPalette_data()
    {
        QTest::addColumn<QColor>("face");
        QTest::addColumn<bool>("ownLink");
        QTest::addColumn<bool>("ownArrow");
        QTest::newRow("standard") << QApplication::palette().color(QPalette::Button) << true
                                  << true;
        QTest::newRow("qt6ct darker") << QColor(0x42, 0x42, 0x45) << false << false;
        QTest::newRow("black") << QColor(Qt::black) << false << true;
        QTest::newRow("dark blue") << QColor(0, 0, 0x60) << false << true;
        QTest::newRow("mid grey") << QColor(0x80, 0x80, 0x80) << false << false;
        QTest::newRow("white") << QColor(Qt::white) << true << true;
    }
    void linkAndArrowOnAPalette()
    {
        QFETCH(QColor, face);
        QFETCH(bool, ownLink);
        QFETCH(bool, ownArrow);
        // The measure itself, on known pairs.
        QCOMPARE(qRound(contrastRatio(Qt::black, Qt::white) * 100), 2100);
        QCOMPARE(qRound(contrastRatio(QColor(0, 0, 0xC0), QColor(0x42, 0x42, 0x45)) * 100), 119);
        QCOMPARE(qRound(contrastRatio(Qt::white, Qt::red) * 100), 400);

        const QPalette standard = QApplication::palette();
        QApplication::setPalette(QPalette(face, face)); // button face, window
        avatello::test::Program program;
        QApplication::setPalette(standard);
        const QColor behind = program->palette().color(QPalette::Window);
        QCOMPARE(behind, face);
        const QColor link = program->Label1->palette().color(QPalette::WindowText);
        const QColor arrow = program->Label2->palette().color(QPalette::WindowText);
        QVERIFY2(contrastRatio(link, behind) >= 4.5, qPrintable(link.name()));
        QVERIFY2(contrastRatio(arrow, behind) >= 3.0, qPrintable(arrow.name()));
        QCOMPARE(link == QColor(0, 0, 0xC0), ownLink);
        QCOMPARE(arrow == QColor(0xFF, 0, 0), ownArrow);
        // Still a blue link and a red arrow.
        QVERIFY(link.blue() > link.red() && link.blue() > link.green());
        QVERIFY(arrow.red() > arrow.green() && arrow.red() > arrow.blue());
    }
};

AVATELLO_REGISTER_TEST(TestLegibleColour);
#include "tst_legiblecolour.moc"
