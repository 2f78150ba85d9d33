#include "model/icondocument.h"

#include <QFile>

#include "imageio/picturedecoder.h"
#include "imageio/stockpictures.h"
#include "imageio/templates.h"
#include "model/textstate.h"
#include "model/twips.h"

#include <QRect>

namespace avatello {

namespace {

constexpr double moveStepTwips = 20;

} // namespace

IconDocument::IconDocument()
    : temp(750, 750, PictureBox::Frame::None, PictureBox::Sizing::FitPicture)
{
}

void IconDocument::start()
{
    textstring = QString();
    textcolor = QStringLiteral("0");
    Image1.setPicture(startupPicture());
    Image1.setWidth(750);
    Image1.setHeight(750);
    textsize = QStringLiteral("8");
    textfont = QStringLiteral("Tahoma");
    emit changed();
}

void IconDocument::finish()
{
    Image2.setPicture(Image1.Image());
    Image2.setWidth(750);
    Image2.setHeight(750);
    emit changed();
}

void IconDocument::undo()
{
    Image1.setPicture(undoCopy());
    undoAvailable_ = false;
    emit changed();
}

QImage IconDocument::undoCopy() const
{
    if (!temp.Picture().isNull())
        return temp.Image();
    QImage field(Image1.drawingAreaSize(), QImage::Format_RGB32);
    field.fill(resolveColor(Image1.BackColor()));
    return field;
}

void IconDocument::newFromColor(OleColor colour)
{
    Image1.setPicture(QImage());
    Image1.setBackColor(colour);
    Image2.setPicture(whiteBitmap());
    emit changed();
}

void IconDocument::newBlank()
{
    newFromPicture(whiteBitmap());
}

void IconDocument::newBlack()
{
    newFromPicture(blackBitmap());
}

void IconDocument::newFromPicture(const QImage& picture)
{
    Image1.setPicture(picture);
    Image1.setWidth(750);
    Image1.setHeight(750);
    Image2.setPicture(QImage());
    emit changed();
}

void IconDocument::setBackColor(OleColor colour)
{
    Image1.setBackColor(colour);
    emit changed();
}

void IconDocument::loadPicture(const QImage& picture)
{
    Image1.setPicture(picture);
    Image1.setBackColor(vbWhite);
    Image1.setWidth(750);
    Image1.setHeight(750);
    emit changed();
}

bool IconDocument::loadFile(const QString& path, Refusal* why)
{
    return loadFile(QFile::encodeName(path), why);
}

bool IconDocument::loadFile(const QByteArray& path, Refusal* why)
{
    const std::optional<QImage> picture = decodePictureFile(path, why);
    if (!picture)
        return false;
    loadPicture(*picture);
    return true;
}

void IconDocument::chooseTemplate(int n)
{
    // A tile keeps the picture box defaults: a transparent template shows the window-background
    // colour behind it.
    PictureBox tile;
    tile.setPicture(templatePicture(n));
    Image1.setPicture(tile.Image());
    emit changed();
}

void IconDocument::placeText(float x, float y)
{
    textx = decimalText(x);
    texty = decimalText(y);
    emit changed();
}

bool IconDocument::centreText(const QString& text)
{
    // The text is drawn in black on a white field with room on every side, and its drawn pixels
    // measured; whole-pixel positions draw the same pixels wherever they are.
    constexpr int room = 256;
    PictureBox probe(2 * room * twipsPerPixel, 2 * room * twipsPerPixel, PictureBox::Frame::None);
    probe.setBackColor(vbWhite);
    probe.CurrentX = room * twipsPerPixel;
    probe.CurrentY = room * twipsPerPixel;
    if (!textStamp(probe, text, QStringLiteral("0"), textfont, textsize, textlanguage))
        return false;
    const QImage drawn = probe.Image();
    QRect ink;
    for (int y = 0; y < drawn.height(); ++y)
        for (int x = 0; x < drawn.width(); ++x)
            if ((drawn.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF)
                ink |= QRect(x, y, 1, 1);
    if (ink.isEmpty())
        return false;
    const QSize area = Image1.drawingAreaSize();
    const int left = (area.width() - ink.width()) / 2 - (ink.left() - room);
    const int top = (area.height() - ink.height()) / 2 - (ink.top() - room);
    placeText(float(left * twipsPerPixel), float(top * twipsPerPixel));
    return true;
}

bool IconDocument::setTextPosition()
{
    const std::optional<float> x = readSingle(textx);
    if (!x)
        return false;
    Image1.CurrentX = *x;
    const std::optional<float> y = readSingle(texty);
    if (!y)
        return false;
    Image1.CurrentY = *y;
    return true;
}

bool IconDocument::stampText()
{
    return textStamp(Image1, textstring, textcolor, textfont, textsize, textlanguage);
}

QStringList IconDocument::charactersWithoutGlyph() const
{
    const std::optional<float> size = readSingle(textsize);
    if (!size || *size <= 0)
        return {};
    PictureBox probe(0, 0, PictureBox::Frame::None);
    probe.FontName = textfont;
    probe.FontSize = *size;
    probe.TextLanguage = textlanguage;
    return probe.charactersWithoutGlyph(textstring);
}

bool IconDocument::addText(const std::function<QString()>& askText)
{
    temp.setPicture(Image1.Image());
    bool done = false;
    if (setTextPosition()) {
        textstring = askText();
        done = stampText();
    }
    if (done)
        undoAvailable_ = true;
    emit changed();
    return done;
}

bool IconDocument::moveText(Direction direction)
{
    Image1.setPicture(undoCopy());
    const bool across = direction == Direction::Left || direction == Direction::Right;
    const double delta =
        direction == Direction::Up || direction == Direction::Left ? -moveStepTwips : moveStepTwips;
    QString& coordinate = across ? textx : texty;
    bool done = false;
    if (const std::optional<double> position = readDouble(coordinate)) {
        coordinate = decimalText(*position + delta);
        done = setTextPosition() && stampText();
    }
    emit changed();
    return done;
}

std::optional<OleColor> IconDocument::textColour() const
{
    return readLong(textcolor);
}

void IconDocument::setTextColour(OleColor colour)
{
    textcolor = decimalText(colour);
    emit changed();
}

void IconDocument::changeFont(const QString& face, const QString& size)
{
    if (!size.isEmpty())
        textsize = size;
    if (!face.isEmpty())
        textfont = face;
    emit changed();
}

} // namespace avatello
