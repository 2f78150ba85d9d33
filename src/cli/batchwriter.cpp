#include "cli/batchwriter.h"

#include "imageio/fileaccess.h"

namespace avatello {

bool BatchWriter::write(const QByteArray& bytes, const QByteArray& path, QString* error)
{
    QByteArray folder;
    if (!writeWholeFile(path, bytes, error, SyncToDisk::Later, &folder))
        return false;
    folders_.insert(folder);
    return true;
}

bool BatchWriter::finish(QString* error)
{
    bool synced = true;
    for (const QByteArray& folder : std::as_const(folders_))
        synced = syncFolder(folder, error) && synced;
    folders_.clear();
    return synced;
}

} // namespace avatello
