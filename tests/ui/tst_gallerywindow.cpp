// The Templates window: how it looks, where its tiles are, and how the New menu opens it.
#include "gallery.h"
#include "support/pixels.h"
#include "support/testregistry.h"

#include <QtTest>

using namespace avatello;
using namespace avatello::test;

namespace {

// The named tiles, so that a name that points at the wrong tile is caught.
constexpr PictureBox Form5::*namedTiles[tileCount] = {
    &Form5::Picture1, &Form5::Picture2,  &Form5::Picture3,  &Form5::Picture4,
    &Form5::Picture5, &Form5::Picture6,  &Form5::Picture7,  &Form5::Picture8,
    &Form5::Picture9, &Form5::Picture10, &Form5::Picture11, &Form5::Picture12};

QImage iconPixels(const QIcon& icon)
{
    return icon.pixmap(QSize(32, 32)).toImage().convertToFormat(QImage::Format_ARGB32);
}

} // namespace

class TestGalleryWindow : public QObject
{
    Q_OBJECT

private slots:
    void window()
    {
        Program program;
        const QPointer<Form5> gallery = openGallery(program);
        QVERIFY(gallery);
        QVERIFY(gallery->isVisible());
        QVERIFY(gallery->isWindow());
        QCOMPARE(gallery->parentWidget(), nullptr); // a window of its own, not owned
        QCOMPARE(gallery->windowTitle(), QStringLiteral("Templates"));
        QCOMPARE(gallery->size(), QSize(290, 177));
        QCOMPARE(gallery->minimumSize(), QSize(290, 177));
        QCOMPARE(gallery->maximumSize(), QSize(290, 177));
        const Qt::WindowFlags flags = gallery->windowFlags();
        QVERIFY(flags & Qt::WindowCloseButtonHint);
        QVERIFY(flags & Qt::WindowMinimizeButtonHint);
        QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
        QVERIFY(!(flags & Qt::WindowStaysOnTopHint));
        QVERIFY(!gallery->windowIcon().isNull());
        QCOMPARE(iconPixels(gallery->windowIcon()), iconPixels(program->windowIcon()));
    }

    void tiles_data()
    {
        QTest::addColumn<int>("n");
        QTest::addColumn<QRect>("geometry"); // pixels, inside the client area
        const int left[] = {8, 64, 120, 176, 232};
        const int top[] = {8, 64, 120};
        for (int n = 1; n <= tileCount; ++n)
            QTest::addRow("Picture%d", n)
                << n << QRect(left[(n - 1) % 5], top[(n - 1) / 5], 50, 50);
    }
    void tiles()
    {
        QFETCH(int, n);
        QFETCH(QRect, geometry);
        const WindowBackgroundColour background(QColor(250, 236, 180));
        Program program;
        Form5& gallery = *openGallery(program);

        PictureBox& tile = gallery.tile(n);
        QCOMPARE(&(gallery.*namedTiles[n - 1]), &tile);
        PictureBoxView* view = gallery.tileView(n);
        QCOMPARE(&view->box(), &tile);
        QCOMPARE(view->parentWidget(), &gallery);
        QCOMPARE(view->geometry(), geometry);
        QVERIFY(view->isVisible());
        QCOMPARE(view->toolTip(), QString());

        QCOMPARE(tile.Width(), 750.0f);
        QCOMPARE(tile.Height(), 750.0f);
        QCOMPARE(tile.BackColor(), vbWindowBackground);
        QCOMPARE(tile.ForeColor, vbWindowText);
        QVERIFY(samePixels(tile.Image(), expectedTile(n)));

        // On screen: a one-pixel frame in the window-frame colour around what the tile shows.
        const QImage shown = gallery.grab().toImage().copy(geometry);
        const QColor frame = resolveColor(vbWindowFrame);
        QCOMPARE(countUnlike(shown, QRect(0, 0, 50, 1), frame), 0);
        QCOMPARE(countUnlike(shown, QRect(0, 49, 50, 1), frame), 0);
        QCOMPARE(countUnlike(shown, QRect(0, 0, 1, 50), frame), 0);
        QCOMPARE(countUnlike(shown, QRect(49, 0, 1, 50), frame), 0);
        QVERIFY(samePixels(shown.copy(1, 1, 48, 48), expectedTile(n)));
    }

    void theTilesAreAllThereIsAndTabInOrder()
    {
        Program program;
        Form5& gallery = *openGallery(program);
        const QList<QWidget*> children = gallery.findChildren<QWidget*>();
        QCOMPARE(children.size(), tileCount);
        for (int n = 1; n <= tileCount; ++n) {
            QVERIFY(children.contains(gallery.tileView(n)));
            QVERIFY(gallery.tileView(n)->focusPolicy() & Qt::TabFocus);
        }
        for (int n = 1; n < tileCount; ++n)
            QCOMPARE(gallery.tileView(n)->nextInFocusChain(), gallery.tileView(n + 1));
        QCOMPARE(gallery.tileView(tileCount)->nextInFocusChain()->nextInFocusChain(),
                 gallery.tileView(1));
    }

    void opensCentredOverTheMainWindowOnce()
    {
        Program program;
        program->move(40, 30);
        program->show();
        Form5& gallery = *openGallery(program);
        const QPoint offset = gallery.frameGeometry().center() - program->frameGeometry().center();
        QVERIFY2(offset.manhattanLength() <= 1,
                 qPrintable(QStringLiteral("off by %1, %2").arg(offset.x()).arg(offset.y())));

        // Shown again, after a minimize or through Templates, it stays where the user put it.
        gallery.move(300, 200);
        gallery.showMinimized();
        gallery.showNormal();
        program->tempsss_Click();
        QCOMPARE(gallery.pos(), QPoint(300, 200));
    }

    void templatesAgainBringsTheSameWindowForward()
    {
        Program program;
        const QPointer<Form5> first = openGallery(program);
        first->setWindowIcon(QIcon()); // would come back if the load step ran again

        program->tempsss_Click();
        QCOMPARE(program->form5, first);
        QVERIFY(first->isVisible());
        QVERIFY(first->windowIcon().isNull());
    }

    void closedWindowIsBuiltAnewByTheNextTemplates()
    {
        Program program;
        const QPointer<Form5> first = openGallery(program);
        first->setWindowIcon(QIcon());
        first->close();
        processDeferredDeletes();
        QVERIFY(!first);
        QVERIFY(!program->form5);

        const QPointer<Form5> second = openGallery(program);
        QVERIFY(second);
        QVERIFY(second->isVisible());
        QCOMPARE(iconPixels(second->windowIcon()), iconPixels(program->windowIcon()));
    }
};

AVATELLO_REGISTER_TEST(TestGalleryWindow);

#include "tst_gallerywindow.moc"
