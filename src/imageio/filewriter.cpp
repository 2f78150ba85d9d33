// Writing a whole file by the rules of fileaccess.h. Everything here works on the path's bytes
// and on descriptors (openat, renameat, fstatat), so a name that is not UTF-8 stays the name the
// user gave, and what was checked is what gets written.
#include "imageio/fileaccess.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <QFile>
#include <QRandomGenerator>
#include <sys/resource.h>
#include <sys/stat.h>
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

struct Place
{
    QByteArray folder; // "." for a bare name
    QByteArray name;   // empty when the path ends in a slash
};

Place splitPath(const QByteArray& path)
{
    const qsizetype slash = path.lastIndexOf('/');
    if (slash < 0)
        return {QByteArrayLiteral("."), path};
    return {slash == 0 ? QByteArrayLiteral("/") : path.left(slash), path.mid(slash + 1)};
}

// The file a path leads to once its links are followed by hand, one at a time, so that each
// can be checked as the kernel checks links in shared folders when protected_symlinks is on.
struct Target
{
    Place place;
    Descriptor folder; // opened O_PATH: enough for *at() calls
    bool exists = false;
    struct stat info = {};
};

// Whether a link may be followed: where other users may create files (a sticky,
// world-writable folder such as /tmp), only a link of the user's own or of the folder's owner.
bool mayFollow(const struct stat& link, const struct stat& folder)
{
    const bool shared = (folder.st_mode & S_ISVTX) && (folder.st_mode & S_IWOTH);
    return !shared || link.st_uid == ::geteuid() || link.st_uid == folder.st_uid;
}

bool resolve(const QByteArray& path, Target& target, QString* error)
{
    constexpr int mostLinks = 40; // as the kernel's own limit
    QByteArray current = path;
    for (int links = 0; links <= mostLinks; ++links) {
        target.place = splitPath(current);
        if (target.place.name.isEmpty())
            return failWith(error, EISDIR);
        target.folder.reset(
            ::open(target.place.folder.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC));
        if (target.folder.get() < 0)
            return failWith(error, errno);
        const char* name = target.place.name.constData();
        if (::fstatat(target.folder.get(), name, &target.info, AT_SYMLINK_NOFOLLOW) != 0) {
            if (errno != ENOENT)
                return failWith(error, errno);
            target.exists = false; // a new file, perhaps where a link points
            return true;
        }
        target.exists = true;
        if (S_ISREG(target.info.st_mode))
            return true;
        if (!S_ISLNK(target.info.st_mode))
            return fail(error,
                        QStringLiteral("%1, not a regular file").arg(kindOf(target.info.st_mode)));
        struct stat folder = {};
        if (::fstat(target.folder.get(), &folder) != 0)
            return failWith(error, errno);
        if (!mayFollow(target.info, folder))
            return fail(error, QStringLiteral("%1 is a link that another user made in a shared "
                                              "folder; it is not followed")
                                   .arg(QFile::decodeName(current)));
        QByteArray points(qsizetype(target.info.st_size) + 1, '\0');
        const ssize_t length =
            ::readlinkat(target.folder.get(), name, points.data(), points.size());
        if (length < 0)
            return failWith(error, errno);
        if (length == 0 || length >= points.size())
            return failWith(error, ELOOP); // it changed while being read
        points.truncate(length);
        current = points.startsWith('/') ? points : target.place.folder + '/' + points;
    }
    return failWith(error, ELOOP);
}

// Writes all of the bytes at this offset, through short writes and interruptions; 0 or an errno.
int writeAll(int fd, const QByteArray& bytes, off_t offset)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::pwrite(fd, bytes.constData() + done, size_t(bytes.size() - done),
                                   offset + off_t(done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return n < 0 ? errno : EIO;
        done += n;
    }
    return 0;
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

// Gives the new copy the old file's owner (where the system lets us: root, or a group of
// ours) and permissions.
int keepOwnerAndMode(int fd, const struct stat& old)
{
    if (::geteuid() == 0)
        (void)::fchown(fd, old.st_uid, old.st_gid);
    else if (old.st_gid != ::getegid())
        (void)::fchown(fd, uid_t(-1), old.st_gid); // only a group the user is in
    return ::fchmod(fd, old.st_mode & 07777) == 0 ? 0 : errno;
}

// The new content beside the target, then renamed over it. 0 or an errno; the old file is
// untouched on failure.
int replaceByRename(const Target& target, const QByteArray& bytes, SyncToDisk sync)
{
    const int folder = target.folder.get();
    QByteArray temporary;
    // A new file gets 0666 less the umask (and the folder's default ACL) from the kernel; a
    // copy of an existing one starts private and gets the old mode once complete.
    Descriptor file(createTemporary(folder, target.exists ? 0600 : 0666, &temporary));
    if (file.get() < 0)
        return errno;
    int failure = writeAll(file.get(), bytes, 0);
    struct stat written = {};
    if (!failure && (::fstat(file.get(), &written) != 0 || written.st_size != bytes.size()))
        failure = EIO;
    if (!failure && target.exists)
        failure = keepOwnerAndMode(file.get(), target.info);
    if (!failure && sync == SyncToDisk::Now)
        failure = syncFile(file.get());
    const int closed = file.close();
    if (!failure)
        failure = closed;
    if (!failure &&
        ::renameat(folder, temporary.constData(), folder, target.place.name.constData()) != 0)
        failure = errno;
    if (failure) {
        ::unlinkat(folder, temporary.constData(), 0);
        return failure;
    }
    if (sync == SyncToDisk::Now)
        syncFolderEntry(folder);
    return 0;
}

// The fallback for a writable file in a folder that takes no new file: the file is written in
// place. Its space is reserved first, so a full disk or the file-size limit fails before any old
// byte is touched; the new content then overwrites the old, and what is left of the old is cut.
int replaceInPlace(const Target& target, const QByteArray& bytes, SyncToDisk sync)
{
    Descriptor file(::openat(target.folder.get(), target.place.name.constData(),
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
    int failure = writeAll(file.get(), bytes, 0);
    if (!failure && ::ftruncate(file.get(), off_t(bytes.size())) != 0)
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
    // The rename below would replace a file the user may not write (the folder allows it): it
    // is refused here, as opening it for writing would be.
    if (target.exists &&
        ::faccessat(target.folder.get(), target.place.name.constData(), W_OK, AT_EACCESS) != 0)
        return failWith(error, errno);
    int failure = replaceByRename(target, bytes, sync);
    if (target.exists && (failure == EACCES || failure == EPERM))
        failure = replaceInPlace(target, bytes, sync);
    if (failure)
        return failWith(error, failure);
    if (writtenFolder)
        *writtenFolder = target.place.folder;
    return true;
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
