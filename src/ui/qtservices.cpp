#include "ui/qtservices.h"

#include "ui/desktop/filetypelist.h"
#include "ui/desktop/keepontop.h"

#include <QColorDialog>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>

namespace avatello {

QStringList qtNameFilters(const QString& filter)
{
    // Each description already names its pattern in brackets, which is what Qt reads.
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        filters << parts.at(i);
    return filters;
}

namespace {

std::optional<QString> runFileDialog(QWidget* parent, const FileDialogRequest& request,
                                     int* chosenFilter, QFileDialog::AcceptMode mode)
{
    QFileDialog dialog(parent, request.title);
    // Qt's own dialog looks and behaves the same on every desktop.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(mode);
    // A typed name is handed back as it stands: Save writes exactly that name, replacing any
    // file there, and Load leaves the icon alone when nothing can be read from it.
    dialog.setFileMode(QFileDialog::AnyFile);
    if (mode == QFileDialog::AcceptSave)
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    const QStringList filters = qtNameFilters(request.filter);
    dialog.setNameFilters(filters);
    if (request.filterIndex >= 1 && request.filterIndex <= filters.size())
        dialog.selectNameFilter(filters.at(request.filterIndex - 1));
    followFileTypeList(dialog);
    if (!request.fileName.isEmpty())
        dialog.selectFile(request.fileName);
    openAboveKeptWindows(&dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    if (chosenFilter)
        *chosenFilter = int(filters.indexOf(dialog.selectedNameFilter())) + 1;
    return dialog.selectedFiles().constFirst();
}

QString kindOf(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Information:
        return QCoreApplication::translate("avatello::QtServices", "Information");
    case MessageIcon::Warning:
        return QCoreApplication::translate("avatello::QtServices", "Warning");
    default:
        return QCoreApplication::translate("avatello::QtServices", "Error");
    }
}

} // namespace

std::optional<QString> QtServices::openFileName(QWidget* parent, const FileDialogRequest& request,
                                                int* chosenFilter)
{
    return runFileDialog(parent, request, chosenFilter, QFileDialog::AcceptOpen);
}

std::optional<QString> QtServices::saveFileName(QWidget* parent, const FileDialogRequest& request,
                                                int* chosenFilter)
{
    return runFileDialog(parent, request, chosenFilter, QFileDialog::AcceptSave);
}

std::optional<QColor> QtServices::color(QWidget* parent, const ColorDialogRequest& request)
{
    QColorDialog dialog(parent);
    dialog.setOption(QColorDialog::DontUseNativeDialog);
    if (!request.title.isEmpty())
        dialog.setWindowTitle(request.title);
    if (request.initial)
        dialog.setCurrentColor(*request.initial);
    openAboveKeptWindows(&dialog);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.selectedColor();
}

std::optional<QString> QtServices::text(QWidget* parent, const QString& title,
                                        const QString& prompt)
{
    QInputDialog dialog(parent);
    dialog.setWindowTitle(title);
    dialog.setLabelText(prompt);
    // The prompt also describes the dialog, so a screen reader that names the dialog as it opens
    // says what it asks for even when it takes the text box's focus in silence (Orca 48 does,
    // when it hears the key that opened the dialog only after the dialog is open).
    dialog.setAccessibleDescription(prompt);
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setTextEchoMode(QLineEdit::Normal);
    openAboveKeptWindows(&dialog);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.textValue();
}

void QtServices::message(QWidget* parent, const QString& title, const QString& text,
                         MessageIcon icon)
{
    const QMessageBox::Icon qtIcon = icon == MessageIcon::Information ? QMessageBox::Information
                                     : icon == MessageIcon::Warning   ? QMessageBox::Warning
                                                                      : QMessageBox::Critical;
    QMessageBox box(qtIcon, title, text, QMessageBox::Ok, parent);
    // The picture says what kind of message it is; a screen reader says it in words.
    if (auto* picture = box.findChild<QLabel*>(QStringLiteral("qt_msgboxex_icon_label")))
        picture->setAccessibleName(kindOf(icon));
    box.setEscapeButton(QMessageBox::Ok);
    openAboveKeptWindows(&box);
    box.exec();
}

bool QtServices::openUrl(const QUrl& url)
{
    return QDesktopServices::openUrl(url);
}

} // namespace avatello
