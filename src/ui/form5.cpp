#include "ui/form5.h"

#include "model/icondocument.h"
#include "ui/desktop/doubleclicktail.h"
#include "ui/desktop/windowplacement.h"
#include "ui/pictureboxview.h"

#include <QCursor>

namespace avatello {

namespace {

// Tiles are 750 twips square, 840 twips apart, five to a row.
constexpr int tileSide = 750;
constexpr int tilePitch = 840;
constexpr int tileMargin = 120;
constexpr int tilesPerRow = 5;

} // namespace

Form5::Form5(IconDocument& document, QWidget& owner)
    : QWidget(nullptr, fixedWindowFlags | Qt::WindowMinimizeButtonHint), document_(document),
      owner_(owner), tiles_{&Picture1, &Picture2, &Picture3, &Picture4,  &Picture5,  &Picture6,
                            &Picture7, &Picture8, &Picture9, &Picture10, &Picture11, &Picture12}
{
    setUpSecondaryWindow(this, QStringLiteral("Form5"), tr("Templates"), 4350, 2655);

    // Each tile keeps the picture box defaults: window-background colour behind the picture, so
    // a transparent template shows that colour, and window-text as its text colour.
    for (int n = 1; n <= tileCount; ++n) {
        PictureBox& box = tile(n);
        box.setPicture(templatePicture(n));
        auto* view = new PictureBoxView(box, this);
        view->setAccessibleName(tr("Template %1").arg(n));
        view->setObjectName(QStringLiteral("Picture%1").arg(n));
        const int index = n - 1;
        placeTwips(view, tileMargin + index % tilesPerRow * tilePitch,
                   tileMargin + index / tilesPerRow * tilePitch, tileSide, tileSide);
        if (index > 0)
            setTabOrder(views_.at(std::size_t(index - 1)), view);
        views_.at(std::size_t(index)) = view;
    }

    connect(tileView(1), &PictureBoxView::doubleClicked, this, &Form5::Picture1_DblClick);
    connect(tileView(2), &PictureBoxView::doubleClicked, this, &Form5::Picture2_DblClick);
    connect(tileView(3), &PictureBoxView::doubleClicked, this, &Form5::Picture3_DblClick);
    connect(tileView(4), &PictureBoxView::doubleClicked, this, &Form5::Picture4_DblClick);
    connect(tileView(5), &PictureBoxView::doubleClicked, this, &Form5::Picture5_DblClick);
    connect(tileView(6), &PictureBoxView::doubleClicked, this, &Form5::Picture6_DblClick);
    connect(tileView(7), &PictureBoxView::doubleClicked, this, &Form5::Picture7_DblClick);
    connect(tileView(8), &PictureBoxView::doubleClicked, this, &Form5::Picture8_DblClick);
    connect(tileView(9), &PictureBoxView::doubleClicked, this, &Form5::Picture9_DblClick);
    connect(tileView(10), &PictureBoxView::doubleClicked, this, &Form5::Picture10_DblClick);
    connect(tileView(11), &PictureBoxView::doubleClicked, this, &Form5::Picture11_DblClick);
    connect(tileView(12), &PictureBoxView::clicked, this, &Form5::Picture12_Click);

    centreWhenFirstShown(this, &owner_);
    Form_Load();
}

void Form5::Form_Load()
{
    setWindowIcon(owner_.windowIcon());
}

void Form5::choose(int n)
{
    // Tile 12 chooses on the first click of a double-click; the rest of that double-click can
    // still reach the closed window before it is deleted and must not choose a second time.
    if (chosen_)
        return;
    chosen_ = true;
    if (n == 12)
        swallowRestOfDoubleClick(QCursor::pos());
    document_.chooseTemplate(n);
    close(); // deletes the window: the next Templates command builds a new one
}

} // namespace avatello
