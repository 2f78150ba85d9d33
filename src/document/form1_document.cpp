// The main window's icon commands: Finished, Undo, the new-icon and background-colour commands,
// Load and Save.
#include "app/form1.h"

#include "app/platformservices.h"
#include "document/bmpwriter.h"
#include "document/picturedecoder.h"
#include "document/stockpictures.h"

#include <QAction>
#include <QDir>

namespace avatello {

namespace {

const QString loadFilter = QStringLiteral(
    "All Files (*.*)|*.*|JPG Files (*.jpg)|*.jpg|GIF Files (*.gif)|*.gif|BMP Files (*.bmp)|*.bmp");
const QString saveFilter = QStringLiteral(
    "JPG Files (*.jpg)|*.jpg|GIF Files (*.gif)|*.gif|BMP Files (*.bmp)|*.bmp|All Files (*.*)|*.*");

} // namespace

void Form1::Command3_Click()
{
    Image2.setPicture(Image1.Image());
    Image2.setWidth(750);
    Image2.setHeight(750);
}

void Form1::hehe333_Click()
{
    Image1.setPicture(undoCopy());
    hehe333->setEnabled(false);
}

void Form1::hehe_Click()
{
    if (!CommonDialog4.ShowColor())
        return;
    Image1.setPicture(QImage());
    Image1.setBackColor(CommonDialog4.Color);
    Image2.setPicture(whiteBitmap());
}

void Form1::aimback_Click()
{
    Image1.setPicture(QImage());
    Image1.setBackColor(vbButtonFace);
    Image2.setPicture(whiteBitmap());
}

void Form1::hahaha33_Click()
{
    CommonDialog3.setColor(Image1.BackColor());
    CommonDialog3.DialogTitle = QStringLiteral("Choose Back Color");
    if (!CommonDialog3.ShowColor())
        return;
    Image1.setBackColor(CommonDialog3.Color);
}

void Form1::h476a_Click()
{
    Image1.setBackColor(vbButtonFace);
}

void Form1::hd444_Click()
{
    Image1.setPicture(whiteBitmap()); // the picture held by the hidden holder "blank"
    Image1.setWidth(750);
    Image1.setHeight(750);
    Image2.setPicture(QImage()); // the empty hidden holder "Image3"
}

void Form1::hhhhhhh_Click()
{
    Image1.setPicture(blackBitmap()); // the picture held by the hidden holder "Image4"
    Image1.setWidth(750);
    Image1.setHeight(750);
    Image2.setPicture(QImage());
}

void Form1::Command1_Click()
{
    CommonDialog1.DialogTitle = QStringLiteral("Load Icon");
    CommonDialog1.Filter = loadFilter;
    if (!CommonDialog1.ShowOpen())
        return;
    const std::optional<QImage> picture = decodePictureFile(CommonDialog1.FileName);
    if (!picture)
        return;
    Image1.setPicture(*picture);
    Image1.setBackColor(vbWhite);
    Image1.setWidth(750);
    Image1.setHeight(750);
}

void Form1::Command2_Click()
{
    CommonDialog1.DialogTitle = QStringLiteral("Save Icon");
    CommonDialog1.Filter = saveFilter;
    if (!CommonDialog1.ShowSave())
        return;
    QString reason;
    if (saveIconBmp(Image2.Image(), CommonDialog1.FileName, &reason))
        return;
    // A save that did not happen must not look like one that did.
    services_.message(this, QStringLiteral("Save Icon"),
                      QStringLiteral("The icon could not be saved to\n%1\n\n%2")
                          .arg(QDir::toNativeSeparators(CommonDialog1.FileName), reason),
                      MessageIcon::Warning);
}

} // namespace avatello
