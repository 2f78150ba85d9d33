#pragma once

#include "imageio/decodelimits.h"

#include <optional>
#include <QByteArray>
#include <QByteArrayView>
#include <QHashFunctions>
#include <QString>

namespace avatello {

// Which files may be read and written, in one place for Save, Load, drops, Open With and the
// command line, so that the windows and the command line never disagree.
//
// Paths here are the bytes the system gave (the command line, a table cell, a drop), not text:
// a Linux file name need not be UTF-8, and a QString round trip turns such a name into another
// one. Windows pass QFile::encodeName() of what a dialog returned.

// Words for why a file was not read, for messages ("no such file", "a folder", ...).
QString refusalReason(Refusal why);

// Whether the bytes were written now and synced to disk, or the caller syncs the folders later
// (a batch of thousands of icons syncs once at the end).
enum class SyncToDisk { Now, Later };

// Writes `bytes` as the whole content of the file at `path`.
// - A path where nothing exists gets a new file; an existing regular file is replaced, keeping
//   its permissions; a symbolic link is written through to the regular file it names, but only
//   where opening through it would be allowed (the link belongs to the user or to the folder's
//   owner, or the folder is not a sticky world-writable one such as /tmp): a link planted by
//   another user is refused, naming the link.
// - Any other existing target (a named pipe, a device, a socket, a folder) is refused and left
//   untouched, as is a file the user may not write.
// - The old content is replaced only by the complete new one: the new file is written beside the
//   target and renamed over it. Where the folder takes no new file but the file may be written
//   (a writable file in a read-only folder), it is written in place, after the space for the new
//   content has been reserved, so a full disk leaves the old content whole.
// On failure returns false with a reason the user can read (the system's own words where it
// gave one, such as "No space left on device"), and the target is as it was. `writtenFolder`,
// if given, receives the folder that was written to (for SyncToDisk::Later).
bool writeWholeFile(const QByteArray& path, const QByteArray& bytes, QString* error,
                    SyncToDisk sync = SyncToDisk::Now, QByteArray* writtenFolder = nullptr);

// Writes all of the bytes to a descriptor at its offset, through short writes and interruptions;
// 0, or an errno.
int writeAllTo(int fd, QByteArrayView bytes);

// Syncs the file system holding this folder; false, with the system's reason, on failure.
bool syncFolder(const QByteArray& folder, QString* error);

// What a path names once links are followed: one file however it is spelled ("x.bmp",
// "./x.bmp", a link to it). Nothing when no file exists there.
struct FileIdentity
{
    quint64 device = 0;
    quint64 inode = 0;
    friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
};
inline size_t qHash(const FileIdentity& file, size_t seed = 0)
{
    return qHashMulti(seed, file.device, file.inode);
}
std::optional<FileIdentity> fileIdentity(const QByteArray& path);

} // namespace avatello
