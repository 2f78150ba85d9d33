#pragma once

#include <optional>
#include <QColor>
#include <QString>
#include <QUrl>

class QWidget;

namespace avatello {

// What a file dialog is asked to show.
struct FileDialogRequest
{
    QString title;
    QString filter;   // "Description|pattern|Description|pattern..."
    QString fileName; // proposed path
    int filterIndex = 1;
};

struct ColorDialogRequest
{
    QString title; // empty: the dialog's own default title
    std::optional<QColor> initial;
};

enum class MessageIcon { Information, Warning, Critical };

// Everything modal or outside the program: standard dialogs, the text prompt, the message box
// and the web launcher. The program uses the Qt implementation; tests script the user's answers.
class PlatformServices
{
public:
    virtual ~PlatformServices() = default;

    // A chosen path, or nothing when the user cancelled.
    virtual std::optional<QString> openFileName(QWidget* parent, const FileDialogRequest& request,
                                                int* chosenFilter) = 0;
    virtual std::optional<QString> saveFileName(QWidget* parent, const FileDialogRequest& request,
                                                int* chosenFilter) = 0;
    // A chosen colour, or nothing when the user cancelled.
    virtual std::optional<QColor> color(QWidget* parent, const ColorDialogRequest& request) = 0;
    // The entered text, or nothing when the user cancelled.
    virtual std::optional<QString> text(QWidget* parent, const QString& title,
                                        const QString& prompt) = 0;
    virtual void message(QWidget* parent, const QString& title, const QString& text,
                         MessageIcon icon) = 0;
    // Opens the address in the user's web browser without waiting; false if it could not start.
    virtual bool openUrl(const QUrl& url) = 0;
};

} // namespace avatello
