#pragma once

// What the template tests share: where each built-in picture lives, what its tile must show, and
// a way to open the gallery as the New menu does.
#include "imageio/templates.h"
#include "model/colour.h"
#include "support/fixture.h"
#include "ui/pictureboxview.h"

#include <QApplication>
#include <QImageReader>
#include <QPalette>
#include <QPointer>
#include <QtTest>

namespace avatello::test {

inline constexpr int tileCount = templateCount;

// The picture exactly as stored, before the program's own decoder cuts it down.
inline QImage storedPicture(int n)
{
    return QImageReader(templatePath(n)).read().convertToFormat(QImage::Format_ARGB32);
}

// What tile n shows, worked out from the stored picture: its top-left 48 x 48 pixels over the
// window-background colour.
inline QImage expectedTile(int n)
{
    const QImage stored = storedPicture(n);
    QImage tile(48, 48, QImage::Format_RGB32);
    tile.fill(resolveColor(vbWindowBackground));
    for (int y = 0; y < qMin(48, stored.height()); ++y)
        for (int x = 0; x < qMin(48, stored.width()); ++x)
            if (qAlpha(stored.pixel(x, y)) == 255)
                tile.setPixel(x, y, stored.pixel(x, y));
    return tile;
}

// Opens the gallery through the New menu's "Templates" command.
inline QPointer<Form5> openGallery(Program& program)
{
    program->tempsss_Click();
    return program->form5;
}

// A double-click as the window system delivers it: press, release, then a second press that
// also arrives as a double-click, and its release.
inline void doubleClick(QWidget* widget)
{
    QTest::mousePress(widget, Qt::LeftButton);
    QTest::mouseRelease(widget, Qt::LeftButton);
    QTest::mousePress(widget, Qt::LeftButton);
    QTest::mouseDClick(widget, Qt::LeftButton);
    QTest::mouseRelease(widget, Qt::LeftButton);
}

// Chooses tile n the way a user does: a double-click, or one click on tile 12.
inline void chooseTile(Form5& gallery, int n)
{
    if (n == 12)
        QTest::mouseClick(gallery.tileView(n), Qt::LeftButton);
    else
        doubleClick(gallery.tileView(n));
}

// Gives the system window-background colour a value of its own for one test, so that it cannot
// be mistaken for white pixels drawn in a picture.
class WindowBackgroundColour
{
public:
    explicit WindowBackgroundColour(QColor colour) : saved_(QApplication::palette())
    {
        QPalette palette = saved_;
        palette.setColor(QPalette::Base, colour);
        QApplication::setPalette(palette);
    }
    ~WindowBackgroundColour() { QApplication::setPalette(saved_); }
    WindowBackgroundColour(const WindowBackgroundColour&) = delete;
    WindowBackgroundColour& operator=(const WindowBackgroundColour&) = delete;

private:
    QPalette saved_;
};

} // namespace avatello::test
