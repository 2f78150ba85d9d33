#include "cli/batchfiles.h"

#include <climits>
#include <cstdlib>
#include <QCryptographicHash>
#include <QtEndian>
#include <sys/stat.h>
#include <unistd.h>

namespace avatello {

QByteArray canonicalFileName(const QByteArray& path)
{
    QByteArray current = path;
    constexpr int mostLinks = 40; // as the kernel's own limit
    for (int links = 0; links < mostLinks; ++links) {
        struct stat info = {};
        if (::lstat(current.constData(), &info) != 0 || !S_ISLNK(info.st_mode))
            break;
        QByteArray points(qsizetype(info.st_size) + 1, '\0');
        const ssize_t length = ::readlink(current.constData(), points.data(), points.size());
        if (length <= 0 || length >= points.size())
            break;
        points.truncate(length);
        const qsizetype slash = current.lastIndexOf('/');
        current = points.startsWith('/') || slash < 0 ? points : current.left(slash + 1) + points;
    }
    const qsizetype slash = current.lastIndexOf('/');
    const QByteArray folder = slash < 0    ? QByteArrayLiteral(".")
                              : slash == 0 ? QByteArrayLiteral("/")
                                           : current.left(slash);
    const QByteArray name = current.mid(slash + 1);
    char resolved[PATH_MAX];
    if (::realpath(folder.constData(), resolved))
        return QByteArray(resolved) + '/' + name;
    return current; // a folder that does not exist: nothing can be written there
}

BatchFiles::BatchFiles(const QByteArray& table, std::optional<FileIdentity> tableFile)
    : tableFile_(tableFile)
{
    if (table == "-")
        standardInput_ = tableFile;
    else
        table_ = keyOf(table);
}

BatchFiles::Key BatchFiles::keyOf(const QByteArray& path)
{
    const QByteArray digest =
        QCryptographicHash::hash(canonicalFileName(path), QCryptographicHash::Sha256);
    return {qFromBigEndian<quint64>(digest.constData()),
            qFromBigEndian<quint64>(digest.constData() + 8)};
}

void BatchFiles::plan(const QByteArray& picture, const QByteArray& out)
{
    if (picture == "-") {
        struct stat info = {};
        if (::fstat(STDIN_FILENO, &info) == 0 && S_ISREG(info.st_mode))
            standardInput_ = FileIdentity{quint64(info.st_dev), quint64(info.st_ino)};
    } else if (!picture.isEmpty()) {
        const Key key = keyOf(picture);
        if (!planned_.contains(key))
            originals_.insert(key);
    }
    planned_.insert(keyOf(out));
}

void BatchFiles::planned()
{
    planned_ = {};
}

QString BatchFiles::refusal(const QByteArray& out) const
{
    const Key key = keyOf(out);
    if (const auto line = written_.constFind(key); line != written_.constEnd())
        return QStringLiteral("was written by line %1; not written again").arg(*line);
    const std::optional<FileIdentity> file = fileIdentity(out);
    if (key == table_ || (file && file == tableFile_))
        return QStringLiteral("is the table this batch reads; not written over");
    if (file && file == standardInput_)
        return QStringLiteral("is standard input, which this batch reads; not written over");
    if (originals_.contains(key))
        return QStringLiteral("is a picture this batch reads; not written over");
    return QString();
}

void BatchFiles::wrote(const QByteArray& out, int line)
{
    written_.insert(keyOf(out), line);
}

} // namespace avatello
