// A first, plain version of writing a whole file; the rules of fileaccess.h are being built here.
#include "imageio/fileaccess.h"

#include <cerrno>
#include <fcntl.h>
#include <QFile>
#include <QSaveFile>
#include <unistd.h>

namespace avatello {

bool writeWholeFile(const QByteArray& path, const QByteArray& bytes, QString* error,
                    SyncToDisk sync, QByteArray* writtenFolder)
{
    QSaveFile file(QFile::decodeName(path));
    file.setDirectWriteFallback(true);
    bool complete =
        file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush();
    QString reason = complete ? QString() : file.errorString();
    if (complete && sync == SyncToDisk::Now && ::fsync(file.handle()) != 0 && errno != EINVAL) {
        reason = qt_error_string(errno);
        complete = false;
    }
    if (complete && !file.commit()) {
        reason = file.errorString();
        complete = false;
    }
    if (!complete) {
        file.cancelWriting();
        if (error)
            *error = reason;
        return false;
    }
    if (writtenFolder) {
        const qsizetype slash = path.lastIndexOf('/');
        *writtenFolder = slash < 0    ? QByteArray(".")
                         : slash == 0 ? QByteArray("/")
                                      : path.left(slash);
    }
    return true;
}

bool syncFolder(const QByteArray& folder, QString* error)
{
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    const bool synced = fd >= 0 && ::syncfs(fd) == 0;
    if (!synced && error)
        *error = QStringLiteral("%1: %2").arg(QFile::decodeName(folder), qt_error_string(errno));
    if (fd >= 0)
        ::close(fd);
    return synced;
}

} // namespace avatello
