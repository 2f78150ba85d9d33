#include "ui/commondialog.h"

namespace avatello {

FileDialogRequest CommonDialog::fileRequest() const
{
    return FileDialogRequest{DialogTitle, Filter, FileName, FilterIndex};
}

bool CommonDialog::ShowOpen()
{
    const auto path = services_.openFileName(owner_, fileRequest(), &FilterIndex);
    if (!path)
        return false;
    FileName = *path;
    return true;
}

bool CommonDialog::ShowSave()
{
    const auto path = services_.saveFileName(owner_, fileRequest(), &FilterIndex);
    if (!path)
        return false;
    FileName = *path;
    return true;
}

bool CommonDialog::ShowColor()
{
    ColorDialogRequest request{DialogTitle, std::nullopt};
    if (hasColor)
        request.initial = resolveColor(Color);
    const auto chosen = services_.color(owner_, request);
    if (!chosen)
        return false;
    setColor(toOleColor(chosen->rgb()));
    return true;
}

} // namespace avatello
