// The main window's icon commands: Load, Save, Finished, the New menu, Back Color and Undo.
#include "imageio/bmpwriter.h"
#include "imageio/fileaccess.h"
#include "imageio/picturedecoder.h"
#include "ui/form1.h"
#include "ui/form5.h"
#include "ui/platformservices.h"

#include <QDir>
#include <QFile>

namespace avatello {

namespace {

const QString loadFilter = QStringLiteral(
    "All Files (*.*)|*.*|JPG Files (*.jpg)|*.jpg|GIF Files (*.gif)|*.gif|BMP Files (*.bmp)|*.bmp");
const QString saveFilter = QStringLiteral(
    "JPG Files (*.jpg)|*.jpg|GIF Files (*.gif)|*.gif|BMP Files (*.bmp)|*.bmp|All Files (*.*)|*.*");

} // namespace

// The "Finished" button.
void Form1::Command3_Click()
{
    document.finish();
}

// Edit > Undo.
void Form1::hehe333_Click()
{
    document.undo();
}

// New > Choose Color.
void Form1::hehe_Click()
{
    if (!CommonDialog4.ShowColor())
        return;
    document.newFromColor(CommonDialog4.Color);
}

// New > AIM Back Color: a new icon on the button-face colour.
void Form1::aimback_Click()
{
    document.newFromColor(vbButtonFace);
}

// New > Templates.
void Form1::tempsss_Click()
{
    showSecondary(form5, [this] { return new Form5(document, *this); });
}

// Edit > Back Color.
void Form1::hahaha33_Click()
{
    CommonDialog3.setColor(document.Image1.BackColor());
    CommonDialog3.DialogTitle = QStringLiteral("Choose Back Color");
    if (!CommonDialog3.ShowColor())
        return;
    document.setBackColor(CommonDialog3.Color);
}

// Edit > AIM Back Color: only the colour behind the picture changes.
void Form1::h476a_Click()
{
    document.setBackColor(vbButtonFace);
}

// New > New Blank Icon (hidden item).
void Form1::hd444_Click()
{
    document.newBlank();
}

// New > New Black Icon (hidden item).
void Form1::hhhhhhh_Click()
{
    document.newBlack();
}

// The "Load" button.
void Form1::Command1_Click()
{
    CommonDialog1.DialogTitle = QStringLiteral("Load Icon");
    CommonDialog1.Filter = loadFilter;
    if (!CommonDialog1.ShowOpen())
        return;
    loadPictureFile(CommonDialog1.FileName);
}

// A file dropped on the canvas.
void Form1::Image1_DragDrop(const QByteArray& path)
{
    openPictureFile(path);
}

bool Form1::openPictureFile(const QByteArray& path)
{
    Refusal why = Refusal::None;
    if (document.loadFile(path, &why))
        return true;
    showRefusal(QFile::decodeName(path), why);
    return false;
}

void Form1::loadPictureFile(const QString& path)
{
    Refusal why = Refusal::None;
    // A file picked in the dialog that is no picture leaves the icon as it was, as the dialog's
    // own choices suggest; one refused only for its size must not look like that.
    if (!document.loadFile(path, &why) && why == Refusal::TooLarge)
        showRefusal(path, why);
}

void Form1::showRefusal(const QString& path, Refusal why)
{
    const QString shown = QDir::toNativeSeparators(path);
    const QString text =
        why == Refusal::TooLarge
            ? QStringLiteral("The picture\n%1\nis too large to open.\n\nSave a smaller copy of it, "
                             "or of its top-left corner, and load that.")
                  .arg(shown)
            : QStringLiteral("The file\n%1\ncannot be opened: %2.").arg(shown, refusalReason(why));
    services_.message(this, QStringLiteral("Load Icon"), text, MessageIcon::Warning);
}

// The "Save" button.
void Form1::Command2_Click()
{
    CommonDialog1.DialogTitle = QStringLiteral("Save Icon");
    CommonDialog1.Filter = saveFilter;
    if (!CommonDialog1.ShowSave())
        return;
    QString reason;
    if (saveIconBmp(document.Image2.Image(), CommonDialog1.FileName, &reason))
        return;
    // A save that did not happen must not look like one that did.
    services_.message(this, QStringLiteral("Save Icon"),
                      QStringLiteral("The icon could not be saved to\n%1\n\n%2")
                          .arg(QDir::toNativeSeparators(CommonDialog1.FileName), reason),
                      MessageIcon::Warning);
}

} // namespace avatello
