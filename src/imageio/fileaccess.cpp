#include "imageio/fileaccess.h"

#include <sys/stat.h>

namespace avatello {

QString refusalReason(Refusal why)
{
    switch (why) {
    case Refusal::None:
        return {};
    case Refusal::NotAPicture:
        return QStringLiteral("not a BMP, GIF or JPEG picture, or a damaged one");
    case Refusal::TooLarge:
        return QStringLiteral("the picture is too large to open");
    case Refusal::Missing:
        return QStringLiteral("no such file");
    case Refusal::BrokenLink:
        return QStringLiteral("a link to a file that does not exist");
    case Refusal::Folder:
        return QStringLiteral("a folder, not a picture file");
    case Refusal::NotRegular:
        return QStringLiteral("a named pipe, device or socket, not a picture file");
    case Refusal::NotAllowed:
        return QStringLiteral("not allowed to read it");
    case Refusal::Unreadable:
        return QStringLiteral("the file cannot be read");
    }
    return {};
}

std::optional<FileIdentity> fileIdentity(const QByteArray& path)
{
    struct stat info = {};
    if (path.isEmpty() || ::stat(path.constData(), &info) != 0)
        return std::nullopt;
    return FileIdentity{quint64(info.st_dev), quint64(info.st_ino)};
}

} // namespace avatello
