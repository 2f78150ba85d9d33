#pragma once

#include "ui/platformservices.h"

#include <deque>
#include <QList>

namespace avatello::test {

// A user who answers every modal question from a script and remembers what was asked. A question
// with no scripted answer is answered with Cancel and counted in `unanswered`.
class ScriptedUser final : public PlatformServices
{
public:
    enum class FileKind { Open, Save };
    struct FileQuestion
    {
        FileKind kind;
        FileDialogRequest request;
    };
    struct TextQuestion
    {
        QString title;
        QString prompt;
    };
    struct Message
    {
        QString title;
        QString text;
        MessageIcon icon;
    };

    std::deque<std::optional<QString>> files; // answers to file dialogs; nullopt = Cancel
    std::deque<std::optional<QColor>> colors; // answers to colour dialogs
    std::deque<std::optional<QString>> texts; // answers to the text prompt
    bool launcherWorks = true;

    QList<FileQuestion> fileQuestions;
    QList<ColorDialogRequest> colorQuestions;
    QList<TextQuestion> textQuestions;
    QList<Message> messages;
    QList<QUrl> launched;
    int unanswered = 0;

    std::optional<QString> openFileName(QWidget*, const FileDialogRequest& request,
                                        int* chosenFilter) override;
    std::optional<QString> saveFileName(QWidget*, const FileDialogRequest& request,
                                        int* chosenFilter) override;
    std::optional<QColor> color(QWidget*, const ColorDialogRequest& request) override;
    std::optional<QString> text(QWidget*, const QString& title, const QString& prompt) override;
    void message(QWidget*, const QString& title, const QString& text, MessageIcon icon) override;
    bool openUrl(const QUrl& url) override;

private:
    template <typename T> std::optional<T> next(std::deque<std::optional<T>>& answers);
};

} // namespace avatello::test
