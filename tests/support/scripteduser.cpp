#include "support/scripteduser.h"

namespace avatello::test {

template <typename T> std::optional<T> ScriptedUser::next(std::deque<std::optional<T>>& answers)
{
    if (answers.empty()) {
        ++unanswered;
        return std::nullopt;
    }
    const bool cancelled = !answers.front().has_value();
    const T answer = cancelled ? T() : *answers.front();
    answers.pop_front();
    if (cancelled)
        return std::nullopt;
    return answer;
}

std::optional<QString> ScriptedUser::openFileName(QWidget*, const FileDialogRequest& request, int*)
{
    fileQuestions.append({FileKind::Open, request});
    return next(files);
}

std::optional<QString> ScriptedUser::saveFileName(QWidget*, const FileDialogRequest& request, int*)
{
    fileQuestions.append({FileKind::Save, request});
    return next(files);
}

std::optional<QColor> ScriptedUser::color(QWidget*, const ColorDialogRequest& request)
{
    colorQuestions.append(request);
    return next(colors);
}

std::optional<QString> ScriptedUser::text(QWidget*, const QString& title, const QString& prompt)
{
    textQuestions.append({title, prompt});
    return next(texts);
}

void ScriptedUser::message(QWidget*, const QString& title, const QString& text, MessageIcon icon)
{
    messages.append({title, text, icon});
}

bool ScriptedUser::openUrl(const QUrl& url)
{
    launched.append(url);
    return launcherWorks;
}

} // namespace avatello::test
