// Choosing a template: which gestures choose, what arrives on the canvas, and what stays as it
// was.
#include "gallery.h"
#include "model/colour.h"
#include "support/documentstate.h"
#include "support/pixels.h"
#include "support/testregistry.h"
#include "support/texttool.h"

#include <QtTest>

using namespace avatello;
using namespace avatello::test;

namespace {

constexpr OleColor canvasColour = 0x00123456; // unlike anything in the templates
const QColor windowBackground(250, 236, 180); // likewise

// Counts the redraws of a picture box while it lives.
class Redraws
{
public:
    explicit Redraws(PictureBox& box) : box_(box), previous_(box.changed)
    {
        box_.changed = [this] {
            ++count;
            if (previous_)
                previous_();
        };
    }
    ~Redraws() { box_.changed = previous_; }
    Redraws(const Redraws&) = delete;
    Redraws& operator=(const Redraws&) = delete;

    int count = 0;

private:
    PictureBox& box_;
    std::function<void()> previous_;
};

// A main window well into a session: a finished icon, an undo copy, Undo enabled, its own
// text state and a canvas colour of its own.
void useForAWhile(Form1& form)
{
    IconDocument& document = form.document;
    form.Image1_MouseDown(1, 0, 150, 300);
    document.textcolor = QStringLiteral("255");
    document.textfont = QStringLiteral("Courier New");
    document.textsize = QStringLiteral("12");
    document.addText([] { return QStringLiteral("Hi"); });
    form.Command3_Click();
    document.setBackColor(canvasColour);
    document.textstring = QStringLiteral("Yo");
    QVERIFY(document.setTextPosition() && document.stampText());
}

// Everything of the main window that choosing a template leaves alone: the document but its
// canvas, and what the window shows of it.
struct Untouched
{
    DocumentState document;
    bool undoItem;
    QString position;

    static Untouched of(Form1& form)
    {
        DocumentState document = DocumentState::of(form.document);
        document.canvas = document.canvasPicture = QImage();
        return {document, form.hehe333->isEnabled(),
                form.textx->text() + QLatin1Char(',') + form.texty->text()};
    }

    // The first thing that differs, or nothing.
    QString differenceFrom(const Untouched& other) const
    {
        if (const QString difference = document.differenceFrom(other.document);
            !difference.isEmpty())
            return difference;
        if (undoItem != other.undoItem)
            return QStringLiteral("the Undo item");
        if (position != other.position)
            return QStringLiteral("the text position shown");
        return {};
    }
};

void addTiles(const QList<int>& tiles)
{
    QTest::addColumn<int>("n");
    for (int n : tiles)
        QTest::addRow("Picture%d", n) << n;
}

QList<int> allTiles()
{
    QList<int> tiles;
    for (int n = 1; n <= tileCount; ++n)
        tiles.append(n);
    return tiles;
}

} // namespace

class TestChoosingTemplate : public QObject
{
    Q_OBJECT

private slots:
    void singleClick_data()
    {
        QTest::addColumn<int>("n");
        QTest::addColumn<bool>("chooses");
        for (int n = 1; n <= tileCount; ++n)
            QTest::addRow("Picture%d", n) << n << (n == 12);
    }
    void singleClick()
    {
        QFETCH(int, n);
        QFETCH(bool, chooses);
        Program program;
        const QImage before = program->document.Image1.Image();
        const QPointer<Form5> gallery = openGallery(program);
        const Redraws redraws(program->document.Image1);

        QTest::mouseClick(gallery->tileView(n), Qt::LeftButton);
        processDeferredDeletes();
        QCOMPARE(redraws.count, chooses ? 1 : 0);
        QCOMPARE(bool(gallery), !chooses);
        QVERIFY(samePixels(program->document.Image1.Image(), chooses ? expectedTile(n) : before));
        if (!chooses)
            QVERIFY(gallery->isVisible());
    }

    // Tile 12 chooses on the first click and closes; the rest of the double-click must neither
    // choose again nor reach a window that is gone.
    void doubleClickChoosesOnce_data() { addTiles(allTiles()); }
    void doubleClickChoosesOnce()
    {
        QFETCH(int, n);
        Program program;
        useForAWhile(*program);
        const Untouched before = Untouched::of(*program);
        const QPointer<Form5> gallery = openGallery(program);
        const QImage tileShows = gallery->tile(n).Image();
        const Redraws redraws(program->document.Image1);

        doubleClick(gallery->tileView(n));
        QCOMPARE(redraws.count, 1);
        QVERIFY(!gallery->isVisible());
        processDeferredDeletes();
        QVERIFY(!gallery);
        QVERIFY(!program->form5);

        const QImage canvas = program->document.Image1.Image();
        QCOMPARE(canvas.size(), QSize(48, 48));
        QVERIFY(samePixels(canvas, tileShows));
        QVERIFY(samePixels(canvas, expectedTile(n)));
        const QString changed = Untouched::of(*program).differenceFrom(before);
        QVERIFY2(changed.isEmpty(), qPrintable(changed + QStringLiteral(" changed")));
    }

    void transparentAreasShowTheWindowBackground_data() { addTiles({1, 2, 3, 5}); }
    void transparentAreasShowTheWindowBackground()
    {
        QFETCH(int, n);
        const WindowBackgroundColour background(windowBackground);
        Program program;
        program->document.Image1.setBackColor(canvasColour);
        chooseTile(*openGallery(program), n);

        const QImage canvas = program->document.Image1.Image();
        QVERIFY(samePixels(canvas, expectedTile(n)));
        const QRect all = canvas.rect();
        QVERIFY(countUnlike(canvas, all, windowBackground) < all.width() * all.height() / 4);
        QCOMPARE(countUnlike(canvas, all, resolveColor(canvasColour)), all.width() * all.height());
        QCOMPARE(program->document.Image1.BackColor(), canvasColour);
    }

    // The template covers the whole drawing area, so a new canvas colour shows nowhere; it only
    // erases text stamped since.
    void backColourAfterATemplateChangesNothingVisible_data() { addTiles(allTiles()); }
    void backColourAfterATemplateChangesNothingVisible()
    {
        QFETCH(int, n);
        Program program;
        chooseTile(*openGallery(program), n);
        const QImage chosen = program->document.Image1.Image();

        printOn(program->document.Image1, QStringLiteral("Hi"), 150, 300);
        QVERIFY(!samePixels(program->document.Image1.Image(), chosen));
        program->h476a_Click();
        QCOMPARE(program->document.Image1.BackColor(), vbButtonFace);
        QVERIFY(samePixels(program->document.Image1.Image(), chosen));

        program.user.colors.push_back(QColor(10, 200, 30));
        program->hahaha33_Click();
        QCOMPARE(program->document.Image1.BackColor(), toOleColor(qRgb(10, 200, 30)));
        QVERIFY(samePixels(program->document.Image1.Image(), chosen));
    }

    void undoAfterATemplateBringsBackTheOlderCanvas()
    {
        Program program;
        const QImage older = program->document.Image1.Image();
        addText(program, QStringLiteral("Hi")); // the undo copy is the older canvas

        chooseTile(*openGallery(program), 9);
        QVERIFY(samePixels(program->document.Image1.Image(), expectedTile(9)));
        QVERIFY(program->hehe333->isEnabled());
        program->hehe333_Click();
        QVERIFY(samePixels(program->document.Image1.Image(), older));
        QVERIFY(!program->hehe333->isEnabled());
    }

    void closeBoxChangesNothing()
    {
        Program program;
        useForAWhile(*program);
        const Untouched before = Untouched::of(*program);
        const QImage canvas = program->document.Image1.Image();
        const QPointer<Form5> gallery = openGallery(program);
        const Redraws redraws(program->document.Image1);

        gallery->close();
        processDeferredDeletes();
        QVERIFY(!gallery);
        QCOMPARE(redraws.count, 0);
        QVERIFY(samePixels(program->document.Image1.Image(), canvas));
        const QString changed = Untouched::of(*program).differenceFrom(before);
        QVERIFY2(changed.isEmpty(), qPrintable(changed + QStringLiteral(" changed")));
    }
};

AVATELLO_REGISTER_TEST(TestChoosingTemplate);

#include "tst_choosingtemplate.moc"
