// The rest of a double-click whose first click closed a window goes nowhere.
#include "support/testregistry.h"
#include "ui/desktop/doubleclicktail.h"

#include <QPushButton>
#include <QSignalSpy>
#include <QStyleHints>
#include <QtTest>

using namespace avatello;

class TestDoubleClickTail : public QObject
{
    Q_OBJECT

private slots:
    void swallowsTheSecondClickAtThatSpotOnly()
    {
        // The clicks below must come within the double-click time, however slowly a busy,
        // instrumented build gets from one to the next: make that time long for this test.
        QStyleHints* hints = QGuiApplication::styleHints();
        const int interval = hints->mouseDoubleClickInterval();
        hints->setMouseDoubleClickInterval(60'000);
        const auto restore =
            qScopeGuard([hints, interval] { hints->setMouseDoubleClickInterval(interval); });

        QWidget window;
        window.resize(200, 100);
        auto* under = new QPushButton(QStringLiteral("under"), &window);
        under->setGeometry(10, 10, 80, 30);
        auto* elsewhere = new QPushButton(QStringLiteral("elsewhere"), &window);
        elsewhere->setGeometry(110, 10, 80, 30);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QSignalSpy underClicks(under, &QPushButton::clicked);
        QSignalSpy elsewhereClicks(elsewhere, &QPushButton::clicked);

        const QPoint spot(40, 15);
        swallowRestOfDoubleClick(under->mapToGlobal(spot));
        QTest::mouseClick(elsewhere, Qt::LeftButton, {}, QPoint(40, 15));
        QCOMPARE(elsewhereClicks.count(), 1);
        QTest::mouseClick(under, Qt::LeftButton, {}, spot);
        QCOMPARE(underClicks.count(), 0);
        // once that click is over, clicks get through again
        QTest::mouseClick(under, Qt::LeftButton, {}, spot);
        QCOMPARE(underClicks.count(), 1);
    }
};

AVATELLO_REGISTER_TEST(TestDoubleClickTail);

#include "tst_doubleclicktail.moc"
