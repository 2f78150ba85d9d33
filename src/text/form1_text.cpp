// The main window's text commands: placing, adding and colouring text, and opening the Move Text
// and Change Font windows.
#include "app/form1.h"

#include "text/form2.h"
#include "text/form4.h"
#include "text/textstate.h"

#include <QAction>
#include <QLabel>

namespace avatello {

void Form1::Image1_MouseDown(int /*button*/, int /*shift*/, float x, float y)
{
    textx->setText(decimalText(x));
    texty->setText(decimalText(y));
}

bool Form1::setTextPosition()
{
    const std::optional<float> x = readSingle(textx->text());
    if (!x)
        return false;
    Image1.CurrentX = *x;
    const std::optional<float> y = readSingle(texty->text());
    if (!y)
        return false;
    Image1.CurrentY = *y;
    return true;
}

bool Form1::stampText()
{
    return textStamp(Image1, textstring, textcolor, textfont, textsize);
}

void Form1::ha3ah_Click()
{
    temp.setPicture(Image1.Image());
    if (!setTextPosition())
        return;
    // Cancel gives the empty text, and the command goes on with it.
    textstring = services_.text(this, QStringLiteral("Add Text"), QStringLiteral("Text To Add:"))
                     .value_or(QString());
    if (!stampText())
        return;
    hehe333->setEnabled(true);
}

void Form1::djd_Click()
{
    const std::optional<quint32> colour = readLong(textcolor);
    if (!colour)
        return;
    CommonDialog2.setColor(*colour);
    CommonDialog2.DialogTitle = QStringLiteral("Choose New Icon Color");
    if (!CommonDialog2.ShowColor())
        return;
    textcolor = decimalText(CommonDialog2.Color);
}

void Form1::hhhhhhhhhhhhhhh22_Click()
{
    showSecondary(form2);
}

void Form1::changefont_Click()
{
    showSecondary(form4);
}

} // namespace avatello
