#include "model/picturebox.h"

#include "model/stampfonts.h"
#include "model/twips.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>

namespace avatello {

namespace {

// Dots per metre of a 96-dpi raster, so that anything measuring the image sees 96 dpi.
constexpr int dotsPerMeterAt96Dpi = 3780;

QImage blankArea(QSize size)
{
    QImage image(size.expandedTo(QSize(0, 0)), QImage::Format_RGB32);
    image.setDotsPerMeterX(dotsPerMeterAt96Dpi);
    image.setDotsPerMeterY(dotsPerMeterAt96Dpi);
    return image;
}

} // namespace

PictureBox::PictureBox(float widthTwips, float heightTwips, Frame frame, Sizing sizing)
    : width_(widthTwips), height_(heightTwips), frame_(frame), sizing_(sizing)
{
    redraw();
}

QSize PictureBox::areaForSize() const
{
    if (sizing_ == Sizing::FitPicture && !picture_.isNull())
        return picture_.size();
    const int border = frame_ == Frame::FlatSingle ? 2 : 0;
    return QSize(qMax(0, int(width_) / twipsPerPixel - border),
                 qMax(0, int(height_) / twipsPerPixel - border));
}

void PictureBox::setWidth(float twips)
{
    if (twips == width_)
        return;
    width_ = twips;
    redraw();
}

void PictureBox::setHeight(float twips)
{
    if (twips == height_)
        return;
    height_ = twips;
    redraw();
}

void PictureBox::setBackColor(OleColor colour)
{
    backColor_ = colour;
    redraw();
}

void PictureBox::setPicture(const QImage& picture)
{
    picture_ = picture;
    if (sizing_ == Sizing::FitPicture && !picture_.isNull()) {
        const int border = frame_ == Frame::FlatSingle ? 2 : 0;
        width_ = float((picture_.width() + border) * twipsPerPixel);
        height_ = float((picture_.height() + border) * twipsPerPixel);
    }
    redraw();
}

void PictureBox::redraw()
{
    image_ = blankArea(areaForSize());
    image_.fill(resolveColor(backColor_));
    if (!picture_.isNull() && !image_.isNull()) {
        // Unscaled, from the top-left corner, clipped by the area; transparent pixels let the
        // background colour through.
        QPainter painter(&image_);
        painter.drawImage(QPoint(0, 0), picture_);
    }
    if (changed)
        changed();
}

QFont PictureBox::textFont() const
{
    QFont font(FontName);
    font.setPixelSize(pointsToPixels(FontSize));
    font.setBold(false);
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    // Icons are tiny and saved as pictures: aliased glyphs stay crisp and carry no colour
    // fringes or half-tones of the background into the saved file.
    font.setStyleStrategy(QFont::NoAntialias);
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

void PictureBox::Print(const QString& text)
{
    if (image_.isNull() || text.isEmpty())
        return;
    const QFont font = textFont();
    QPainter painter(&image_);
    painter.setPen(resolveColor(ForeColor));
    const QFontMetrics metrics(font, &image_);
    const QPoint lineTop(twipsToPixels(CurrentX), twipsToPixels(CurrentY));
    drawStampLine(painter, &image_, font, lineTop + QPoint(0, metrics.ascent()), text,
                  TextLanguage);
    painter.end();
    if (changed)
        changed();
}

QStringList PictureBox::charactersWithoutGlyph(const QString& text) const
{
    return avatello::charactersWithoutGlyph(textFont(), text, TextLanguage);
}

} // namespace avatello
