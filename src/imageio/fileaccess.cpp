#include "imageio/fileaccess.h"

#include <QCoreApplication>
#include <sys/stat.h>

namespace avatello {

QString refusalReason(Refusal why)
{
    // The windows show these in the user's language; the command line, which installs no
    // translation, keeps them English.
    const char* text = nullptr;
    switch (why) {
    case Refusal::None:
        return {};
    case Refusal::NotAPicture:
        text = QT_TRANSLATE_NOOP("avatello::Refusal",
                                 "not a BMP, GIF or JPEG picture, or a damaged one");
        break;
    case Refusal::TooLarge:
        text = QT_TRANSLATE_NOOP("avatello::Refusal", "the picture is too large to open");
        break;
    case Refusal::Missing:
        text = QT_TRANSLATE_NOOP("avatello::Refusal", "no such file");
        break;
    case Refusal::BrokenLink:
        text = QT_TRANSLATE_NOOP("avatello::Refusal", "a link to a file that does not exist");
        break;
    case Refusal::Folder:
        text = QT_TRANSLATE_NOOP("avatello::Refusal", "a folder, not a picture file");
        break;
    case Refusal::NotRegular:
        text = QT_TRANSLATE_NOOP("avatello::Refusal",
                                 "a named pipe, device or socket, not a picture file");
        break;
    case Refusal::NotAllowed:
        text = QT_TRANSLATE_NOOP("avatello::Refusal", "not allowed to read it");
        break;
    case Refusal::Unreadable:
        text = QT_TRANSLATE_NOOP("avatello::Refusal", "the file cannot be read");
        break;
    case Refusal::Remote:
        text = QT_TRANSLATE_NOOP("avatello::Refusal", "a file on another computer");
        break;
    case Refusal::BadName:
        text = QT_TRANSLATE_NOOP("avatello::Refusal", "a name that no file can have");
        break;
    }
    return text ? QCoreApplication::translate("avatello::Refusal", text) : QString();
}

std::optional<FileIdentity> fileIdentity(const QByteArray& path)
{
    struct stat info = {};
    if (path.isEmpty() || ::stat(path.constData(), &info) != 0)
        return std::nullopt;
    return FileIdentity{quint64(info.st_dev), quint64(info.st_ino)};
}

} // namespace avatello
