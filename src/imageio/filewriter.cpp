// Writing a whole file by the rules of fileaccess.h. Everything here works on the path's bytes
// and on descriptors (openat, renameat, fstatat), so a name that is not UTF-8 stays the name the
// user gave, and what was checked is what gets written.
#include "imageio/fileaccess.h"

#include "imageio/filemetadata.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <linux/magic.h>
#include <QFile>
#include <QList>
#include <QRandomGenerator>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

namespace avatello {

namespace {

// A descriptor closed when it goes out of scope.
class Descriptor
{
public:
    explicit Descriptor(int fd = -1) : fd_(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() { reset(); }
    int get() const { return fd_; }
    void reset(int fd = -1)
    {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = fd;
    }
    // Closes now, for the errors some file systems report only then (NFS); 0 or an errno.
    int close()
    {
        const int result = ::close(fd_) == 0 ? 0 : errno;
        fd_ = -1;
        return result;
    }

private:
    int fd_;
};

bool fail(QString* error, const QString& reason)
{
    if (error)
        *error = reason;
    return false;
}

bool failWith(QString* error, int errorNumber)
{
    return fail(error, qt_error_string(errorNumber));
}

// A file system that cannot sync a file says so; that is not a failed write.
bool syncIsUnsupported(int errorNumber)
{
    return errorNumber == EINVAL || errorNumber == ENOSYS || errorNumber == EOPNOTSUPP ||
           errorNumber == EROFS;
}

// Past the file-size limit the kernel sends SIGXFSZ, whose default action ends the process
// before the write can report "File too large". Ignored, the write fails with EFBIG and the
// user is told; a handler somebody else installed is left alone.
void reportFileSizeLimitAsAnError()
{
    struct sigaction current = {};
    if (::sigaction(SIGXFSZ, nullptr, &current) == 0 && !(current.sa_flags & SA_SIGINFO) &&
        current.sa_handler == SIG_DFL)
        ::signal(SIGXFSZ, SIG_IGN);
}

// Words for a file that is not a regular one.
QString kindOf(mode_t mode)
{
    if (S_ISDIR(mode))
        return QStringLiteral("a folder");
    if (S_ISFIFO(mode))
        return QStringLiteral("a named pipe");
    if (S_ISSOCK(mode))
        return QStringLiteral("a socket");
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return QStringLiteral("a device");
    return QStringLiteral("a special file");
}

// The file a path leads to once its links are followed by hand, one part of the path at a
// time, so that every link on the way, not only the last, is checked as the kernel checks links
// in shared folders when protected_symlinks is on.
struct Target
{
    QByteArray folderPath; // the folder as walked, for messages and for syncing later
    QByteArray name;
    Descriptor folder; // opened O_PATH: enough for *at() calls
    struct stat folderInfo = {};
    bool exists = false;
    struct stat info = {};
};

// A sticky folder where others may create files, such as /tmp.
bool isSharedFolder(const struct stat& folder)
{
    return (folder.st_mode & S_ISVTX) && (folder.st_mode & (S_IWOTH | S_IWGRP));
}

// Whether something in a shared folder is the user's own or its owner's, and so may be trusted
// there: a link may be followed, a file written.
bool mayTrust(const struct stat& entry, const struct stat& folder)
{
    return !isSharedFolder(folder) || entry.st_uid == ::geteuid() || entry.st_uid == folder.st_uid;
}

// Where a link is shared, only a world-writable sticky folder counts, as for the kernel's rule.
bool mayFollow(const struct stat& link, const struct stat& folder)
{
    return !(folder.st_mode & S_IWOTH) || mayTrust(link, folder);
}

QString shownPath(const QByteArray& path)
{
    return QFile::decodeName(path.startsWith("./") ? path.mid(2) : path);
}

bool enterFolder(Target& target, int fd, const QByteArray& path, QString* error)
{
    target.folder.reset(fd);
    if (fd < 0 || ::fstat(fd, &target.folderInfo) != 0)
        return failWith(error, errno);
    target.folderPath = path;
    return true;
}

// A link in /proc (/dev/fd/N, /proc/self/fd/N) is not a name but the open file itself, which
// its text only describes ("pipe:[1234]", "/x.bmp (deleted)"): what it stands for is looked at
// through it. -1 with the reason set, an errno, or 0 to follow its text.
int checkProcessLink(const Target& target, const QByteArray& name, const QByteArray& points,
                     QString* error)
{
    struct statfs system = {};
    if (::fstatfs(target.folder.get(), &system) != 0 || system.f_type != PROC_SUPER_MAGIC)
        return 0;
    Descriptor open(::openat(target.folder.get(), name.constData(), O_PATH | O_CLOEXEC));
    struct stat info = {};
    if (open.get() < 0 || ::fstat(open.get(), &info) != 0)
        return errno;
    if (S_ISDIR(info.st_mode))
        return 0;
    if (!S_ISREG(info.st_mode)) {
        fail(error, QStringLiteral("%1, not a regular file").arg(kindOf(info.st_mode)));
        return -1;
    }
    return points.startsWith('/') && !points.endsWith(" (deleted)") ? 0 : ENOENT;
}

bool resolve(const QByteArray& path, Target& target, QString* error)
{
    if (path.endsWith('/'))
        return failWith(error, EISDIR);
    constexpr int mostLinks = 40; // as the kernel's own limit
    int links = 0;
    QList<QByteArray> parts; // what is left to walk, the next part last
    const auto walkNext = [&parts](const QByteArray& walk) {
        const QList<QByteArray> split = walk.split('/');
        for (auto part = split.crbegin(); part != split.crend(); ++part)
            if (!part->isEmpty() && *part != ".")
                parts.append(*part);
    };
    const bool absolute = path.startsWith('/');
    if (!enterFolder(target, ::open(absolute ? "/" : ".", O_PATH | O_DIRECTORY | O_CLOEXEC),
                     absolute ? QByteArrayLiteral("") : QByteArrayLiteral("."), error))
        return false;
    walkNext(path);
    while (!parts.isEmpty()) {
        const QByteArray name = parts.takeLast();
        const bool last = parts.isEmpty();
        const QByteArray walked = target.folderPath + '/' + name;
        struct stat info = {};
        if (::fstatat(target.folder.get(), name.constData(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
            if (errno != ENOENT || !last)
                return failWith(error, errno);
            target.name = name;
            target.exists = false; // a new file, perhaps where a link points
            return true;
        }
        if (S_ISLNK(info.st_mode)) {
            if (!mayFollow(info, target.folderInfo))
                return fail(error, QStringLiteral("%1 is a link that another user made in a "
                                                  "shared folder; it is not followed")
                                       .arg(shownPath(walked)));
            if (++links > mostLinks)
                return failWith(error, ELOOP);
            QByteArray points(qsizetype(info.st_size) + 1, '\0');
            const ssize_t length =
                ::readlinkat(target.folder.get(), name.constData(), points.data(), points.size());
            if (length < 0)
                return failWith(error, errno);
            if (length == 0 || length >= points.size())
                return failWith(error, ELOOP); // it changed while being read
            points.truncate(length);
            if (const int failure = checkProcessLink(target, name, points, error); failure > 0)
                return failWith(error, failure);
            else if (failure < 0)
                return false;
            if (last && points.endsWith('/'))
                return failWith(error, EISDIR);
            if (points.startsWith('/') &&
                !enterFolder(target, ::open("/", O_PATH | O_DIRECTORY | O_CLOEXEC), "", error))
                return false;
            walkNext(points);
            continue;
        }
        if (last) {
            if (!S_ISREG(info.st_mode))
                return fail(error,
                            QStringLiteral("%1, not a regular file").arg(kindOf(info.st_mode)));
            target.name = name;
            target.exists = true;
            target.info = info;
            return true;
        }
        if (!S_ISDIR(info.st_mode))
            return failWith(error, ENOTDIR);
        if (!enterFolder(target,
                         ::openat(target.folder.get(), name.constData(),
                                  O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC),
                         walked, error))
            return false;
    }
    return failWith(error, EISDIR); // the path names a folder ("." or "..")
}

int syncFile(int fd)
{
    return ::fsync(fd) == 0 || syncIsUnsupported(errno) ? 0 : errno;
}

// Makes sure the rename reaches the disk too. Best effort: the file is replaced by then, and a
// folder that cannot be opened for reading (mode 0300) cannot be synced this way.
void syncFolderEntry(int folder)
{
    Descriptor readable(::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (readable.get() >= 0)
        ::fsync(readable.get());
}

// A new file beside the target under a short name of its own, so that a target name of up to
// the system's 255 bytes still leaves room for it.
int createTemporary(int folder, mode_t mode, QByteArray* name)
{
    static constexpr char letters[] =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    for (int attempt = 0; attempt < 100; ++attempt) {
        *name = QByteArrayLiteral(".avatello-");
        for (int i = 0; i < 6; ++i)
            name->append(letters[QRandomGenerator::global()->bounded(int(sizeof letters) - 1)]);
        const int fd = ::openat(folder, name->constData(),
                                O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    errno = EEXIST;
    return -1;
}

// The old file, opened to read its protections from: for reading where the user may, else as a
// bare reference (O_PATH). It must still be the file that was checked.
int openOld(const Target& target, Descriptor& old)
{
    const char* name = target.name.constData();
    old.reset(::openat(target.folder.get(), name,
                       O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (old.get() < 0)
        old.reset(::openat(target.folder.get(), name, O_PATH | O_NOFOLLOW | O_CLOEXEC));
    struct stat now = {};
    if (old.get() < 0 || ::fstat(old.get(), &now) != 0)
        return errno;
    if (!S_ISREG(now.st_mode) || now.st_dev != target.info.st_dev ||
        now.st_ino != target.info.st_ino)
        return EAGAIN; // it was swapped for another file since it was checked
    return 0;
}

// Why a new copy could not be given the old file's protections; the old file is then written in
// place instead, which keeps all of them.
constexpr int protectionsNotCopied = -1;

// The new content beside the target, then renamed over it. 0 or an errno; the old file is
// untouched on failure.
int replaceByRename(const Target& target, const QByteArray& bytes, SyncToDisk sync)
{
    const int folder = target.folder.get();
    Descriptor old;
    if (target.exists)
        if (const int failure = openOld(target, old))
            return failure;
    QByteArray temporary;
    // A new file gets 0666 less the umask (and the folder's default ACL) from the kernel; a
    // copy of an existing one starts private and gets the old protections once complete.
    Descriptor file(createTemporary(folder, target.exists ? 0600 : 0666, &temporary));
    if (file.get() < 0)
        return errno;
    int failure = writeAllTo(file.get(), bytes);
    struct stat written = {};
    if (!failure && (::fstat(file.get(), &written) != 0 || written.st_size != bytes.size()))
        failure = EIO;
    if (!failure && target.exists && copyFileMetadata(old.get(), target.info, file.get()) != 0)
        failure = protectionsNotCopied;
    if (!failure && sync == SyncToDisk::Now)
        failure = syncFile(file.get());
    const int closed = file.close();
    if (!failure)
        failure = closed;
    if (!failure && ::renameat(folder, temporary.constData(), folder, target.name.constData()) != 0)
        failure = errno;
    if (failure) {
        ::unlinkat(folder, temporary.constData(), 0);
        return failure;
    }
    if (sync == SyncToDisk::Now)
        syncFolderEntry(folder);
    return 0;
}

// Writing in place, for a writable file in a folder that takes no new file, a file of another
// user's, or one whose protections could not be copied: the file keeps its owner, group, ACL and
// attributes. Its space is reserved first, so a full disk or the file-size limit fails before any
// old byte is touched; the new content then overwrites the old, and what is left of the old is
// cut.
int replaceInPlace(const Target& target, const QByteArray& bytes, SyncToDisk sync)
{
    Descriptor file(::openat(target.folder.get(), target.name.constData(),
                             O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    if (file.get() < 0)
        return errno;
    struct stat now = {};
    if (::fstat(file.get(), &now) != 0)
        return errno;
    if (!S_ISREG(now.st_mode) || now.st_dev != target.info.st_dev ||
        now.st_ino != target.info.st_ino)
        return EAGAIN; // it was swapped for another file since it was checked
    // The file-size limit cuts even a write within the old size short, part-way through.
    if (rlimit limit = {}; ::getrlimit(RLIMIT_FSIZE, &limit) == 0 &&
                           limit.rlim_cur != RLIM_INFINITY && rlim_t(bytes.size()) > limit.rlim_cur)
        return EFBIG;
    // A file system that can reserve no space (glibc cannot emulate it on a write-only
    // descriptor) still takes content that fits in the space the old one has.
    if (const int reserved = ::posix_fallocate(file.get(), 0, off_t(bytes.size()));
        reserved != 0 &&
        !((reserved == EOPNOTSUPP || reserved == EBADF) && bytes.size() <= now.st_size))
        return reserved;
    int failure = writeAllTo(file.get(), bytes);
    if (!failure && ::ftruncate(file.get(), off_t(bytes.size())) != 0)
        failure = errno;
    // Writing cleared setuid and setgid, unless the writer is root: the owner clears them here.
    if (!failure && (now.st_mode & ~keptPermissionBits & 07777) &&
        (now.st_uid == ::geteuid() || ::geteuid() == 0) &&
        ::fchmod(file.get(), now.st_mode & keptPermissionBits) != 0)
        failure = errno;
    if (!failure && sync == SyncToDisk::Now)
        failure = syncFile(file.get());
    const int closed = file.close();
    return failure ? failure : closed;
}

} // namespace

bool writeWholeFile(const QByteArray& path, const QByteArray& bytes, QString* error,
                    SyncToDisk sync, QByteArray* writtenFolder)
{
    if (path.isEmpty())
        return failWith(error, ENOENT);
    if (path.contains('\0'))
        return failWith(error, EINVAL); // the system would see only the part before it
    reportFileSizeLimitAsAnError();
    Target target;
    if (!resolve(path, target, error))
        return false;
    if (target.exists) {
        // The rename below would replace a file the user may not write (the folder allows it):
        // it is refused here, as opening it for writing would be.
        if (::faccessat(target.folder.get(), target.name.constData(), W_OK, AT_EACCESS) != 0)
            return failWith(error, errno);
        // In a shared folder another user may have left the file there for the user to write
        // into (and then read or change); refused, as the kernel's protected_regular would.
        if (!mayTrust(target.info, target.folderInfo))
            return fail(error, QStringLiteral("it belongs to another user and is in a shared "
                                              "folder; it is not written"));
    }
    // Another user's file stays theirs, with every protection it has, so it is written in place:
    // a new copy would be the writer's, its rights no longer the owner's to give.
    const bool othersFile = target.exists && target.info.st_uid != ::geteuid() && ::geteuid() != 0;
    int failure =
        othersFile ? replaceInPlace(target, bytes, sync) : replaceByRename(target, bytes, sync);
    if (target.exists && !othersFile &&
        (failure == EACCES || failure == EPERM || failure == protectionsNotCopied))
        failure = replaceInPlace(target, bytes, sync);
    if (failure)
        return failWith(error, failure);
    if (writtenFolder)
        *writtenFolder = target.folderPath.isEmpty() ? QByteArrayLiteral("/") : target.folderPath;
    return true;
}

int writeAllTo(int fd, QByteArrayView bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return n < 0 ? errno : EIO;
        done += n;
    }
    return 0;
}

bool syncFolder(const QByteArray& folder, QString* error)
{
    Descriptor fd(::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.get() < 0 || ::syncfs(fd.get()) != 0)
        return fail(
            error, QStringLiteral("%1: %2").arg(QFile::decodeName(folder), qt_error_string(errno)));
    return true;
}

} // namespace avatello
