#pragma once

#include "model/colour.h"

#include <functional>
#include <QFont>
#include <QImage>
#include <QString>
#include <QStringList>

namespace avatello {

// A picture box: a background colour, an optional background picture drawn unscaled from the
// top-left corner, and a persistent image that text is drawn into. Setting the picture or the
// background colour redraws the persistent image from those two, which erases drawn text.
// Reading Image gives an independent, opaque snapshot of the drawing area.
class PictureBox
{
public:
    enum class Frame { FlatSingle, None };
    enum class Sizing { Fixed, FitPicture };

    // Width and height are the outer size in twips; a flat frame takes one pixel on each side.
    explicit PictureBox(float widthTwips = 750, float heightTwips = 750,
                        Frame frame = Frame::FlatSingle, Sizing sizing = Sizing::Fixed);

    float Width() const { return width_; }
    float Height() const { return height_; }
    void setWidth(float twips);
    void setHeight(float twips);

    OleColor BackColor() const { return backColor_; }
    void setBackColor(OleColor colour);

    // A null image means "no picture".
    const QImage& Picture() const { return picture_; }
    void setPicture(const QImage& picture);

    // Opaque snapshot of the drawing area, system colours resolved as of now.
    QImage Image() const { return image_.copy(); }
    // What the box shows, without copying (for painting on screen).
    const QImage& shownImage() const { return image_; }
    QSize drawingAreaSize() const { return image_.size(); }

    // Text drawing state, used by Print.
    OleColor ForeColor = vbWindowText;
    QString FontName = QStringLiteral("Tahoma");
    float FontSize = 8.25f;
    float CurrentX = 0; // twips from the drawing area's left edge
    float CurrentY = 0; // twips from the drawing area's top edge
    // The language of the text (a BCP 47 tag), whose forms Han characters take; empty for the
    // default.
    QString TextLanguage;

    // Draws one line of regular text with its line box's top-left corner at (CurrentX,
    // CurrentY): glyphs only, no background, clipped to the drawing area, kept in Image.
    void Print(const QString& text);
    // The font Print draws in, from FontName and FontSize.
    QFont textFont() const;
    // The characters of a text that Print would draw as empty boxes, for no installed font has
    // them ("U+E000").
    QStringList charactersWithoutGlyph(const QString& text) const;

    // Called after every change of what the box shows.
    std::function<void()> changed;

private:
    void redraw();
    QSize areaForSize() const;

    float width_;
    float height_;
    Frame frame_;
    Sizing sizing_;
    OleColor backColor_ = vbWindowBackground;
    QImage picture_;
    QImage image_;
};

} // namespace avatello
