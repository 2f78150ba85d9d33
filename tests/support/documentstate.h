#pragma once

// Everything an icon document holds, taken at one moment, to tell what a command changed.
#include "model/icondocument.h"

#include <QImage>
#include <QString>

namespace avatello::test {

// Prints a text in black straight onto a picture box, the way the text stamp draws, without any
// command around it.
inline void printOn(PictureBox& box, const QString& text, float x, float y)
{
    box.ForeColor = vbBlack;
    box.CurrentX = x;
    box.CurrentY = y;
    box.Print(text);
}

struct DocumentState
{
    QImage canvas;
    QImage canvasPicture;
    OleColor canvasBack = 0;
    OleColor canvasFore = 0;
    float canvasWidth = 0;
    float canvasHeight = 0;
    QImage finished;
    QImage finishedPicture;
    OleColor finishedBack = 0;
    QImage undoPicture;
    QImage undoCopy;
    bool undoAvailable = false;
    QString textstring, textcolor, textfont, textsize, textx, texty;

    static DocumentState of(const IconDocument& document)
    {
        DocumentState s;
        s.canvas = document.Image1.Image();
        s.canvasPicture = document.Image1.Picture();
        s.canvasBack = document.Image1.BackColor();
        s.canvasFore = document.Image1.ForeColor;
        s.canvasWidth = document.Image1.Width();
        s.canvasHeight = document.Image1.Height();
        s.finished = document.Image2.Image();
        s.finishedPicture = document.Image2.Picture();
        s.finishedBack = document.Image2.BackColor();
        s.undoPicture = document.temp.Picture();
        s.undoCopy = document.undoCopy();
        s.undoAvailable = document.undoAvailable();
        s.textstring = document.textstring;
        s.textcolor = document.textcolor;
        s.textfont = document.textfont;
        s.textsize = document.textsize;
        s.textx = document.textx;
        s.texty = document.texty;
        return s;
    }

    static bool samePixels(const QImage& a, const QImage& b)
    {
        return a.size() == b.size() &&
               a.convertToFormat(QImage::Format_RGB32) == b.convertToFormat(QImage::Format_RGB32);
    }

    // The first part that differs, or an empty string.
    QString differenceFrom(const DocumentState& o) const
    {
        if (!samePixels(canvas, o.canvas))
            return QStringLiteral("the canvas");
        if (canvasPicture != o.canvasPicture)
            return QStringLiteral("the canvas picture");
        if (canvasBack != o.canvasBack)
            return QStringLiteral("the canvas colour");
        if (canvasFore != o.canvasFore)
            return QStringLiteral("the canvas ForeColor");
        if (canvasWidth != o.canvasWidth || canvasHeight != o.canvasHeight)
            return QStringLiteral("the canvas size");
        if (!samePixels(finished, o.finished) || finishedPicture != o.finishedPicture ||
            finishedBack != o.finishedBack)
            return QStringLiteral("the finished view");
        if (undoPicture != o.undoPicture || !samePixels(undoCopy, o.undoCopy))
            return QStringLiteral("the undo copy");
        if (undoAvailable != o.undoAvailable)
            return QStringLiteral("the Undo item");
        if (textstring != o.textstring || textcolor != o.textcolor || textfont != o.textfont ||
            textsize != o.textsize || textx != o.textx || texty != o.texty)
            return QStringLiteral("the text settings");
        return QString();
    }

    bool operator==(const DocumentState& o) const { return differenceFrom(o).isEmpty(); }
};

} // namespace avatello::test
