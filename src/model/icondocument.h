#pragma once

#include "imageio/decodelimits.h"
#include "model/colour.h"
#include "model/picturebox.h"

#include <functional>
#include <optional>
#include <QImage>
#include <QObject>
#include <QString>

namespace avatello {

// The icon being made, and every command that changes it. The windows show it and hand the
// user's answers to these commands; the command-line maker runs the same commands without them.
//
// The text settings are held as the text they are and converted each time they are used; a
// value that does not convert ends the command at that step, and the steps before it stay done.
class IconDocument : public QObject
{
    Q_OBJECT

public:
    IconDocument();

    PictureBox Image1; // the canvas
    PictureBox Image2; // the finished view
    PictureBox temp;   // the undo copy: the canvas as it was before the last stamp

    // Where the next text goes (twips from the canvas's drawing area, as decimal text), the last
    // text, its colour (decimal 0x00BBGGRR), its font face and its size in points.
    QString textx = QStringLiteral("200");
    QString texty = QStringLiteral("500");
    QString textstring;
    QString textcolor;
    QString textfont;
    QString textsize;
    // The language of the text (a BCP 47 tag such as zh-Hans or ja), whose forms Han characters
    // take: the windows follow the desktop's, the command line takes one; empty for the default.
    QString textlanguage;

    // Whether Undo may restore the undo copy: Add Text allows it, Undo takes it back.
    bool undoAvailable() const { return undoAvailable_; }

    // Start-up: the start-up picture on the canvas and the default text settings.
    void start();

    // "Finished": the canvas as shown becomes the finished view.
    void finish();
    // Undo: the canvas goes back to the undo copy.
    void undo();
    // What the undo copy gives back: the snapshot stored by the last Add Text, or before any, a
    // plain field of the canvas's background colour.
    QImage undoCopy() const;

    // New icons: a plain field of a colour (the finished view turns white), or the stock white or
    // black picture (the finished view is emptied).
    void newFromColor(OleColor colour);
    void newBlank();
    void newBlack();
    // The colour behind the canvas's picture; drawn text goes with the change.
    void setBackColor(OleColor colour);
    // A decoded picture (its top-left corner) on a white canvas.
    void loadPicture(const QImage& picture);
    // Reads and loads a picture file; false, with nothing changed, if it cannot be read (why, if
    // given, then says whether it is a valid picture too large to open).
    bool loadFile(const QString& path, Refusal* why = nullptr);
    bool loadFile(const QByteArray& path, Refusal* why = nullptr); // the system's bytes
    // The canvas shows what the gallery's tile n (1 to 12) shows.
    void chooseTemplate(int n);

    // A press on the canvas at (x, y) twips: where the next text goes.
    void placeText(float x, float y);
    // Puts the text position where this text, in the current face and size, has its drawn
    // pixels centred on the canvas's drawing area (for initials); false, with the position kept,
    // for a text that draws nothing or a size that does not convert.
    bool centreText(const QString& text);
    // Add Text: the canvas goes to the undo copy, askText() gives the text (an empty one when
    // the user cancels), and it is stamped at the text position. False if a step failed.
    bool addText(const std::function<QString()>& askText);
    // One Move Text step: the canvas goes back to the undo copy and the last text is stamped
    // again one step (20 twips) further.
    enum class Direction { Up, Down, Left, Right };
    bool moveText(Direction direction);
    // The text colour as a number, if it converts; and a new one.
    std::optional<OleColor> textColour() const;
    void setTextColour(OleColor colour);
    // Change Font: an empty face or size keeps the one there is.
    void changeFont(const QString& face, const QString& size);

    // Sets the canvas's CurrentX/CurrentY from textx/texty; false if either does not convert.
    bool setTextPosition();
    // Stamps textstring at the canvas's current position in the current size, colour and face.
    bool stampText();
    // The characters of the last text that no installed font draws ("U+E000"), for messages.
    QStringList charactersWithoutGlyph() const;

signals:
    // After every command: the windows mirror the text position and the Undo state.
    void changed();

private:
    void newFromPicture(const QImage& picture);

    bool undoAvailable_ = false;
};

} // namespace avatello
