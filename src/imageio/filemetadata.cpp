// Copying a replaced file's protections onto its new copy, through descriptors only.
#include "imageio/filemetadata.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <QByteArray>
#include <QList>
#include <sys/xattr.h>
#include <unistd.h>

namespace avatello {

namespace {

constexpr char accessAclName[] = "system.posix_acl_access";
constexpr char capabilityName[] = "security.capability";

bool unsupported(int errorNumber)
{
    return errorNumber == ENOTSUP || errorNumber == EOPNOTSUPP;
}

// The extended attributes of a file, read through a descriptor. One opened O_PATH (a file the
// writer may write but not read) cannot be asked directly; its entry in /proc/self/fd names the
// very same file.
class AttributeReader
{
public:
    explicit AttributeReader(int fd) : fd_(fd)
    {
        const int flags = ::fcntl(fd, F_GETFL);
        if (flags >= 0 && (flags & O_PATH))
            path_ = QByteArrayLiteral("/proc/self/fd/") + QByteArray::number(fd);
    }

    // The attribute names, or an errno.
    int names(QList<QByteArray>* names) const
    {
        QByteArray list;
        const int failure = readSized(list, [this](char* buffer, size_t size) {
            return path_.isEmpty() ? ::flistxattr(fd_, buffer, size)
                                   : ::listxattr(path_.constData(), buffer, size);
        });
        if (unsupported(failure))
            return 0; // a file system without attributes: there are none to keep
        if (failure)
            return failure;
        for (const QByteArray& name : list.split('\0'))
            if (!name.isEmpty())
                names->append(name);
        return 0;
    }

    int value(const QByteArray& name, QByteArray* value) const
    {
        return readSized(*value, [this, &name](char* buffer, size_t size) {
            return path_.isEmpty() ? ::fgetxattr(fd_, name.constData(), buffer, size)
                                   : ::getxattr(path_.constData(), name.constData(), buffer, size);
        });
    }

private:
    // Asks for the size, then for the bytes; a value that grew in between is asked for again.
    template <typename Read> static int readSized(QByteArray& bytes, Read read)
    {
        for (int attempt = 0; attempt < 8; ++attempt) {
            const ssize_t size = read(nullptr, 0);
            if (size < 0)
                return errno;
            bytes.resize(size);
            const ssize_t got = size == 0 ? 0 : read(bytes.data(), size_t(size));
            if (got >= 0) {
                bytes.resize(got);
                return 0;
            }
            if (errno != ERANGE)
                return errno;
        }
        return ERANGE;
    }

    int fd_;
    QByteArray path_;
};

} // namespace

int copyFileMetadata(int old, const struct stat& oldInfo, int copy)
{
    struct stat copyInfo = {};
    if (::fstat(copy, &copyInfo) != 0)
        return errno;
    // Root keeps the old owner; anyone else owns what they write, in the old group if they may.
    if (::geteuid() == 0) {
        if (::fchown(copy, oldInfo.st_uid, oldInfo.st_gid) != 0)
            return errno;
    } else if (copyInfo.st_gid != oldInfo.st_gid &&
               ::fchown(copy, uid_t(-1), oldInfo.st_gid) != 0) {
        return errno;
    }

    const AttributeReader reader(old);
    QList<QByteArray> names;
    if (const int failure = reader.names(&names))
        return failure;
    for (const QByteArray& name : names) {
        if (name == capabilityName)
            continue;
        QByteArray value;
        if (const int failure = reader.value(name, &value); failure == ENODATA)
            continue; // gone since it was listed
        else if (failure)
            return failure;
        if (::fsetxattr(copy, name.constData(), value.constData(), size_t(value.size()), 0) != 0)
            return errno;
    }
    // The folder's default ACL gave the new file one of its own; the old file had none.
    if (!names.contains(QByteArray(accessAclName)) && ::fremovexattr(copy, accessAclName) != 0 &&
        errno != ENODATA && !unsupported(errno))
        return errno;

    // Last, since it also sets the ACL's mask, which the old mode bits mirror.
    return ::fchmod(copy, oldInfo.st_mode & keptPermissionBits) == 0 ? 0 : errno;
}

} // namespace avatello
