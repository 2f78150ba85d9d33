// The link and the arrow of the main window on dark and high-contrast desktop palettes.
#include "support/fixture.h"
#include "support/testregistry.h"
#include "ui/legiblecolour.h"
#include "ui/linklabel.h"

#include <QApplication>
#include <QtTest>

using namespace avatello;
using namespace avatello::test;

namespace {

// A desktop palette whose window and button faces are one colour, as qt6ct's schemes have.
QPalette desktopPalette(const QColor& face, const QColor& text)
{
    QPalette palette(text, face, face.lighter(), face.darker(), face.darker(120), text, text, face,
                     face);
    return palette;
}

} // namespace

class TestLegibleColour : public QObject
{
    Q_OBJECT

private slots:
    void contrastRatio_data()
    {
        QTest::addColumn<QColor>("a");
        QTest::addColumn<QColor>("b");
        QTest::addColumn<double>("ratio");
        QTest::newRow("black on white") << QColor(Qt::black) << QColor(Qt::white) << 21.0;
        QTest::newRow("same colour") << QColor(0x42, 0x42, 0x45) << QColor(0x42, 0x42, 0x45) << 1.0;
        QTest::newRow("link on darker") << QColor(0, 0, 0xC0) << QColor(0x42, 0x42, 0x45) << 1.19;
        QTest::newRow("red on white") << QColor(Qt::red) << QColor(Qt::white) << 4.0;
    }
    void contrastRatio()
    {
        QFETCH(QColor, a);
        QFETCH(QColor, b);
        QFETCH(double, ratio);
        QCOMPARE(std::round(avatello::contrastRatio(a, b) * 100) / 100, ratio);
        QCOMPARE(avatello::contrastRatio(b, a), avatello::contrastRatio(a, b));
    }

    // The main window built on each palette: the link reads as text and the arrow is seen, in
    // the program's own colours wherever those already do (always on the standard palette).
    void linkAndArrowOnAPalette_data()
    {
        QTest::addColumn<QPalette>("palette");
        QTest::addColumn<bool>("ownLink");
        QTest::addColumn<bool>("ownArrow");
        QTest::newRow("standard") << QApplication::palette() << true << true;
        QTest::newRow("darker") << desktopPalette(QColor(0x42, 0x42, 0x45), Qt::white) << false
                                << false;
        QTest::newRow("black") << desktopPalette(Qt::black, Qt::white) << false << true;
        QTest::newRow("dark blue")
            << desktopPalette(QColor(0, 0, 0x60), Qt::yellow) << false << true;
        QTest::newRow("mid grey") << desktopPalette(QColor(0x80, 0x80, 0x80), Qt::black) << false
                                  << false;
        QTest::newRow("white") << desktopPalette(Qt::white, Qt::black) << true << true;
    }
    void linkAndArrowOnAPalette()
    {
        QFETCH(QPalette, palette);
        QFETCH(bool, ownLink);
        QFETCH(bool, ownArrow);
        const QPalette standard = QApplication::palette();
        QApplication::setPalette(palette);
        Program program;
        QApplication::setPalette(standard);

        const QColor behind = program->palette().color(QPalette::Window);
        const QColor link = program->Label1->palette().color(QPalette::WindowText);
        const QColor arrow = program->Label2->palette().color(QPalette::WindowText);
        QVERIFY2(avatello::contrastRatio(link, behind) >= 4.5, qPrintable(link.name()));
        QVERIFY2(avatello::contrastRatio(arrow, behind) >= 3.0, qPrintable(arrow.name()));
        QCOMPARE(link == QColor(0, 0, 0xC0), ownLink);
        QCOMPARE(arrow == QColor(0xFF, 0, 0), ownArrow);
        // Still a blue link and a red arrow, not plain white.
        QVERIFY(link.blue() > link.red() && link.blue() > link.green());
        QVERIFY(arrow.red() > arrow.green() && arrow.red() > arrow.blue());
    }
};

AVATELLO_REGISTER_TEST(TestLegibleColour);
#include "tst_legiblecolour.moc"
