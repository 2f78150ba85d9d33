#pragma once

#include "model/colour.h"
#include "ui/platformservices.h"

#include <QString>

class QWidget;

namespace avatello {

// A standard-dialog component of a window. Like the component it stands for, it keeps its
// settings from one use to the next: title, filter, the path chosen last, the colour.
class CommonDialog
{
public:
    CommonDialog(PlatformServices& services, QWidget* owner) : services_(services), owner_(owner) {}

    QString DialogTitle;
    QString Filter;
    QString FileName;
    int FilterIndex = 1;
    OleColor Color = vbBlack;
    bool hasColor = false; // false until a colour is set or chosen
    // Each returns true when the user chose; FileName or Color then holds the choice. Cancel
    // returns false, and every command ends there, before it has changed anything.
    bool ShowOpen();
    bool ShowSave();
    bool ShowColor();

    void setColor(OleColor colour)
    {
        Color = colour;
        hasColor = true;
    }

private:
    FileDialogRequest fileRequest() const;

    PlatformServices& services_;
    QWidget* owner_;
};

} // namespace avatello
