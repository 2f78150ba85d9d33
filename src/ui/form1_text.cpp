// The main window's text commands: placing, adding and colouring text, and opening the Move Text
// and Change Font windows.
#include "ui/form1.h"
#include "ui/form2.h"
#include "ui/form4.h"

namespace avatello {

// A press on the canvas: the next text goes there.
void Form1::Image1_MouseDown(int /*button*/, int /*shift*/, float x, float y)
{
    document.placeText(x, y);
}

// Edit > Add Text.
void Form1::ha3ah_Click()
{
    // Cancel gives the empty text, and the command goes on with it.
    document.addText([this] {
        return services_.text(this, tr("Add Text", "the prompt's title"), tr("Text To Add:"))
            .value_or(QString());
    });
}

// Edit > Text Color.
void Form1::djd_Click()
{
    const std::optional<OleColor> colour = document.textColour();
    if (!colour)
        return;
    CommonDialog2.setColor(*colour);
    CommonDialog2.DialogTitle = tr("Choose New Icon Color");
    if (!CommonDialog2.ShowColor())
        return;
    document.setTextColour(CommonDialog2.Color);
}

// Edit > Move Text.
void Form1::hhhhhhhhhhhhhhh22_Click()
{
    showSecondary(form2, [this] { return new Form2(document, *this); });
}

// Edit > Change Font.
void Form1::changefont_Click()
{
    showSecondary(form4, [this] { return new Form4(document, *this); });
}

} // namespace avatello
