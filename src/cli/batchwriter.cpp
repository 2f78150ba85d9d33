#include "cli/batchwriter.h"

#include <cerrno>
#include <fcntl.h>
#include <QFileInfo>
#include <QTemporaryFile>
#include <sys/stat.h>
#include <unistd.h>

namespace avatello {

namespace {

// The permissions a new file gets from this process: read and write for all, less the umask.
QFileDevice::Permissions newFilePermissions()
{
    static const mode_t mask = [] {
        const mode_t current = ::umask(0);
        ::umask(current);
        return current;
    }();
    const mode_t mode = 0666 & ~mask;
    QFileDevice::Permissions permissions;
    if (mode & S_IRUSR)
        permissions |= QFileDevice::ReadOwner | QFileDevice::ReadUser;
    if (mode & S_IWUSR)
        permissions |= QFileDevice::WriteOwner | QFileDevice::WriteUser;
    if (mode & S_IRGRP)
        permissions |= QFileDevice::ReadGroup;
    if (mode & S_IWGRP)
        permissions |= QFileDevice::WriteGroup;
    if (mode & S_IROTH)
        permissions |= QFileDevice::ReadOther;
    if (mode & S_IWOTH)
        permissions |= QFileDevice::WriteOther;
    return permissions;
}

} // namespace

bool BatchWriter::write(const QByteArray& bytes, const QString& path, QString* error)
{
    const QFileInfo target(path);
    const QString folder = target.absolutePath();
    QTemporaryFile file(folder + QStringLiteral("/.") + target.fileName() +
                        QStringLiteral(".XXXXXX"));
    const bool complete =
        file.open() && file.write(bytes) == bytes.size() && file.flush() &&
        file.setPermissions(target.exists() ? target.permissions() : newFilePermissions());
    if (complete && ::rename(QFile::encodeName(file.fileName()).constData(),
                             QFile::encodeName(target.absoluteFilePath()).constData()) == 0) {
        file.setAutoRemove(false); // it is the target now
        folders_.insert(folder);
        return true;
    }
    if (error)
        *error = complete ? qt_error_string(errno) : file.errorString();
    return false; // the temporary file goes with `file`
}

bool BatchWriter::finish(QString* error)
{
    bool synced = true;
    for (const QString& folder : std::as_const(folders_)) {
        const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
        if (fd < 0 || ::syncfs(fd) != 0) {
            synced = false;
            if (error)
                *error = QStringLiteral("%1: %2").arg(folder, qt_error_string(errno));
        }
        if (fd >= 0)
            ::close(fd);
    }
    folders_.clear();
    return synced;
}

} // namespace avatello
