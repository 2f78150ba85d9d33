// Writing a whole file: what may be replaced, what is refused and why, and exactly what is left
// behind, down to the owner, group, ACL and attributes. Each write runs in a child process, as
// nobody where a row says so and under a file-size limit, with SIGXFSZ left as it is: the writer
// must not die of it.
#include "imageio/fileaccess.h"
#include "support/testregistry.h"

#include <fcntl.h>
#include <ftw.h>
#include <grp.h>
#include <QScopeGuard>
#include <QtTest>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

using namespace avatello;

namespace {

constexpr uid_t nobody = 65534;
constexpr uid_t someone = 12345; // a third user, neither the writer nor root
const QByteArray newBytes = QByteArray(6966, 'n') + "end";
int entries = 0; // counted by nftw

// The reason the child's write gave, or "" when it wrote.
QString writeInChild(const QByteArray& path, bool asNobody, rlim_t limit)
{
    auto* answer = static_cast<char*>(
        ::mmap(nullptr, 4096, PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0));
    qstrcpy(answer, "the child died");
    if (::fork() == 0) {
        const rlimit limits{limit, limit};
        QString error = QStringLiteral("no reason");
        if ((!asNobody ||
             (::setgroups(0, nullptr) == 0 && ::setgid(nobody) == 0 && ::setuid(nobody) == 0)) &&
            (!limit || ::setrlimit(RLIMIT_FSIZE, &limits) == 0))
            qstrncpy(answer, writeWholeFile(path, newBytes, &error) ? "" : qPrintable(error), 4096);
        ::_exit(0);
    }
    ::wait(nullptr);
    const QString reason = QString::fromUtf8(answer);
    ::munmap(answer, 4096);
    return reason;
}

// Files by their bytes: a QString round trip would change a name that is not UTF-8.
bool put(const QByteArray& path, qsizetype size, mode_t mode, uid_t owner)
{
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL, 0600);
    const bool made = fd >= 0 &&
                      ::write(fd, QByteArray(size, 'o').constData(), size_t(size)) == size &&
                      ::fchown(fd, owner, owner) == 0 && ::fchmod(fd, mode) == 0;
    ::close(fd);
    return made;
}

// An access or default ACL as the kernel stores it: a version, then (tag, permissions, id) entries
// in the order of their tags.
enum AclTag : quint16 { userObj = 1, user = 2, groupObj = 4, mask = 0x10, other = 0x20 };
QByteArray aclBlob(std::initializer_list<std::tuple<AclTag, quint16, quint32>> entries)
{
    QByteArray blob;
    const auto put32 = [&blob](quint32 v) { blob.append(reinterpret_cast<const char*>(&v), 4); };
    put32(2);
    for (const auto& [tag, permissions, id] : entries) {
        blob.append(reinterpret_cast<const char*>(&tag), 2);
        blob.append(reinterpret_cast<const char*>(&permissions), 2);
        put32(tag == user ? id : quint32(-1));
    }
    return blob;
}

QString userName(uid_t id)
{
    return id == 0         ? QStringLiteral("root")
           : id == nobody  ? QStringLiteral("nobody")
           : id == someone ? QStringLiteral("someone")
                           : QString::number(id);
}

// The named users of an ACL with their rights ("nobody:rw"); the rest shows in the mode bits.
QString namedUsers(const QByteArray& acl)
{
    QStringList named;
    for (qsizetype at = 4; at + 8 <= acl.size(); at += 8) {
        quint16 tag = 0, permissions = 0;
        quint32 id = 0;
        memcpy(&tag, acl.constData() + at, 2);
        memcpy(&permissions, acl.constData() + at + 2, 2);
        memcpy(&id, acl.constData() + at + 4, 4);
        if (tag == user)
            named << QStringLiteral("%1:%2%3%4")
                         .arg(userName(id), permissions & 4 ? "r" : "", permissions & 2 ? "w" : "",
                              permissions & 1 ? "x" : "");
    }
    return named.join(u',');
}

// The extended attributes a file has, but for the system's own security labels.
QString attributesOf(const QByteArray& path)
{
    QByteArray names(4096, '\0');
    const ssize_t length = ::llistxattr(path.constData(), names.data(), names.size());
    QString shown;
    for (const QByteArray& name : names.left(qMax<ssize_t>(length, 0)).split('\0')) {
        if (name.isEmpty() || name.startsWith("security."))
            continue;
        QByteArray value(4096, '\0');
        value.truncate(qMax<ssize_t>(
            ::lgetxattr(path.constData(), name.constData(), value.data(), value.size()), 0));
        shown += name == "system.posix_acl_access" ? QStringLiteral(" acl ") + namedUsers(value)
                                                   : u' ' + QString::fromLatin1(name + '=' + value);
    }
    return shown;
}

// What a path holds, in a few words: its kind, or its content, mode, owner (but root), group
// (where it is not the owner's) and attributes.
QString whatIsAt(const QByteArray& path)
{
    struct stat info = {};
    if (::lstat(path.constData(), &info) != 0)
        return QStringLiteral("nothing");
    const QHash<mode_t, QString> kinds{{S_IFIFO, "fifo"},
                                       {S_IFSOCK, "socket"},
                                       {S_IFCHR, "device"},
                                       {S_IFDIR, "folder"},
                                       {S_IFLNK, "link"}};
    if (kinds.contains(info.st_mode & S_IFMT))
        return kinds[info.st_mode & S_IFMT];
    QByteArray content(info.st_size, '\0');
    const int fd = ::open(path.constData(), O_RDONLY);
    const bool read = fd >= 0 && ::read(fd, content.data(), content.size()) == content.size();
    ::close(fd);
    return QStringLiteral("%1 %2%3%4%5")
        .arg(!read                                      ? QStringLiteral("unreadable")
             : content == newBytes                      ? QStringLiteral("new")
             : content == QByteArray(info.st_size, 'o') ? QStringLiteral("old %1").arg(info.st_size)
                                                        : QStringLiteral("other"))
        .arg(info.st_mode & 07777, 4, 8, QLatin1Char('0'))
        .arg(info.st_uid == 0 ? QString() : u' ' + userName(info.st_uid))
        .arg(info.st_gid == info.st_uid ? QString()
                                        : QStringLiteral(" group ") + userName(info.st_gid))
        .arg(attributesOf(path));
}

bool makeSocket(const QByteArray& path)
{
    sockaddr_un address = {AF_UNIX, {}};
    qstrncpy(address.sun_path, path.constData(), sizeof address.sun_path);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    const bool made = ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return made;
}

} // namespace

class TestFileWriter : public QObject
{
    Q_OBJECT

    mode_t previousUmask = 0;

private slots:
    void initTestCase() { previousUmask = ::umask(022); }
    void cleanupTestCase() { ::umask(previousUmask); }

    // The target is in folder "f" of a fresh folder: nothing, a "file" with its mode (and
    // owner, and a "group root"; an "acl" that lets nobody write, and an attribute), a special
    // file, or a "link" to "../file" beside "f". A "shared" folder is sticky and world-writable,
    // as /tmp is; a "read-only" one takes no new file; a "default acl" one gives nobody rights to
    // new files. A "planted folder" is a link "d" in "f" to a private folder "p" beside it, made
    // by someone, and the target is "d/t". Root writes, unless "by nobody"; "limit" is the
    // writer's file-size limit.
    void writeWholeFile_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QString>("words"); // in the reason; none when written
        QTest::addColumn<QString>("left");  // what the target (behind a link: "file") holds
        const auto row = [](const char* title, const char* setup, const char* words,
                            const char* left, const QByteArray& name = "t") {
            QTest::newRow(title) << setup << name << words << left;
        };
        const char* denied = "Permission denied";
        row("nothing there", "", "", "new 0644");
        row("regular file", "file 0640", "", "new 0640");
        row("another user's file, root", "file 0604 of nobody", "", "new 0604 nobody");
        row("read-only file, root", "file 0444", "", "new 0444");
        row("read-only file, user", "file 0444 of nobody, by nobody", denied,
            "old 10000 0444 nobody");
        row("write-only file, user", "file 0200 of nobody, by nobody", "", "new 0200 nobody");
        row("folder", "folder", "a folder, not a regular file", "folder");
        row("named pipe", "fifo", "a named pipe, not a regular file", "fifo");
        row("socket", "socket", "a socket, not a regular file", "socket");
        row("device like /dev/null", "device", "a device, not a regular file", "device");
        row("link to a file", "link", "", "new 0640");
        row("link to nothing", "dangling link", "", "new 0644");
        row("another user's link in a shared folder", "shared, link of nobody",
            "f/t is a link that another user made in a shared folder", "old 10000 0640");
        row("own link in a shared folder", "shared, link", "", "new 0640");
        row("folder owner's link in a shared folder", "shared of nobody, link of nobody", "",
            "new 0640");
        row("another user's link in a private folder", "link of nobody", "", "new 0640");
        row("name of 255 bytes", "file 0640", "", "new 0640", QByteArray(255, 'x'));
        row("name that is not UTF-8", "file 0640", "", "new 0640", "out\xfe.bmp");
        row("no such folder", "no folder", "No such file or directory", "nothing");
        row("read-only folder, the user's file", "read-only, file 0644 of nobody, by nobody", "",
            "new 0644 nobody");
        row("read-only folder, new file", "read-only, by nobody", denied, "nothing");
        row("file-size limit", "file 0640, limit", "File too large", "old 10000 0640");
        row("file-size limit, read-only folder", "read-only, file 0644 of nobody, by nobody, limit",
            "File too large", "old 10000 0644 nobody");
        row("file-size limit, read-only folder, small file",
            "read-only, small file 0644 of nobody, by nobody, limit", "File too large",
            "old 1000 0644 nobody");
        // what a replaced file keeps, and what it never gives
        row("setuid and setgid bits of one's own file", "file 6755", "", "new 0755");
        row("sticky bit", "file 1644", "", "new 0644");
        row("another user's setuid file, root", "file 4777 of someone", "", "new 0777 someone");
        row("another user's setuid file, user", "file 4777 of someone, by nobody", "",
            "new 0777 someone");
        row("another user's setgid file, user", "file 2777 of someone, by nobody", "",
            "new 0777 someone");
        row("ACL and attributes, own file", "file 0640 of nobody, acl, by nobody", "",
            "new 0660 nobody acl nobody:rw user.k=v");
        row("ACL and attributes, root", "file 0640, acl", "", "new 0660 acl nobody:rw user.k=v");
        row("ACL and attributes, another user's file", "file 0640 of someone, acl, by nobody", "",
            "new 0660 someone acl nobody:rw user.k=v");
        row("no ACL from the folder's default", "default acl, file 0640", "", "new 0640");
        row("a group the user is not in", "file 0640 of nobody, group root, by nobody", "",
            "new 0640 nobody group root");
        // shared folders: another user's file is not written, a link anywhere on the path is
        // followed only if it may be trusted
        const char* planted = "belongs to another user and is in a shared folder";
        row("another user's file in a shared folder, user",
            "shared, file 0666 of someone, by nobody", planted, "old 10000 0666 someone");
        row("another user's file in a shared folder, root", "shared, file 0666 of someone", planted,
            "old 10000 0666 someone");
        row("the folder owner's file in a shared folder",
            "shared of someone, file 0666 of someone, by nobody", "", "new 0666 someone");
        row("own file in a shared folder", "shared, file 0644 of nobody, by nobody", "",
            "new 0644 nobody");
        row("another user's link as a folder of the path", "shared, planted folder",
            "f/d is a link that another user made in a shared folder", "old 10000 0640", "d/t");
        row("own link as a folder of the path", "planted folder", "", "new 0640", "d/t");
    }
    void writeWholeFile()
    {
        QFETCH(QString, setup);
        QFETCH(QByteArray, name);
        QFETCH(QString, words);
        QFETCH(QString, left);
        if (::geteuid() != 0)
            QSKIP("the cases make files of other users, so they run as root");

        QTemporaryDir scratch;
        const QByteArray base = QFile::encodeName(scratch.path());
        const QByteArray folder = base + "/f", target = folder + '/' + name, file = base + "/file";
        // QTemporaryDir would miss a name that is not UTF-8: everything goes by its bytes
        const auto cleanUp = qScopeGuard([&] {
            ::chmod(folder.constData(), 0755);
            ::nftw(
                base.constData(),
                [](const char* path, const struct stat*, int, FTW*) { return ::remove(path); }, 8,
                FTW_DEPTH | FTW_PHYS);
        });
        const bool link = setup.contains(u"link");
        const uid_t owner = setup.contains(u"file") && setup.contains(u"of nobody")    ? nobody
                            : setup.contains(u"file") && setup.contains(u"of someone") ? someone
                            : setup.contains(u"link of nobody")                        ? nobody
                                                                                       : 0;
        const uid_t folderOwner = setup.startsWith(u"shared of nobody")    ? nobody
                                  : setup.startsWith(u"shared of someone") ? someone
                                                                           : 0;
        const bool planted = setup.contains(u"planted folder");
        QCOMPARE(::chmod(base.constData(), 0755), 0);
        QVERIFY(setup == u"no folder" ||
                (::mkdir(folder.constData(), 0777) == 0 &&
                 ::chown(folder.constData(), folderOwner, folderOwner) == 0 &&
                 ::chmod(folder.constData(), setup.startsWith(u"shared") ? 01777 : 0777) == 0));
        if (link) {
            QVERIFY(setup.contains(u"dangling") || put(file, 10000, 0640, 0));
            QCOMPARE(::symlink("../file", target.constData()), 0);
            QCOMPARE(::lchown(target.constData(), owner, owner), 0);
        } else if (planted) {
            const QByteArray priv = base + "/p";
            QCOMPARE(::mkdir(priv.constData(), 0700), 0);
            QVERIFY(put(priv + "/t", 10000, 0640, 0));
            QCOMPARE(::symlink("../p", (folder + "/d").constData()), 0);
            const uid_t planter = setup.startsWith(u"shared") ? someone : 0;
            QCOMPARE(::lchown((folder + "/d").constData(), planter, planter), 0);
        } else if (const qsizetype at = setup.indexOf(u"file "); at >= 0) {
            QVERIFY(put(target, setup.contains(u"small") ? 1000 : 10000,
                        setup.mid(at + 5, 4).toUInt(nullptr, 8), owner));
            if (setup.contains(u"group root"))
                QCOMPARE(::chown(target.constData(), owner, 0), 0);
            if (setup.contains(u", acl")) {
                const QByteArray acl = aclBlob({{userObj, 6, 0},
                                                {user, 6, nobody},
                                                {groupObj, 0, 0},
                                                {mask, 6, 0},
                                                {other, 0, 0}});
                if (::setxattr(target.constData(), "system.posix_acl_access", acl.constData(),
                               acl.size(), 0) != 0 &&
                    (errno == ENOTSUP || errno == EOPNOTSUPP))
                    QSKIP("this file system keeps no ACLs");
                QCOMPARE(::setxattr(target.constData(), "user.k", "v", 1, 0), 0);
            }
        } else if (setup == u"folder") {
            QCOMPARE(::mkdir(target.constData(), 0755), 0);
        } else if (setup == u"fifo") {
            QCOMPARE(::mkfifo(target.constData(), 0644), 0);
        } else if (setup == u"socket") {
            QVERIFY(makeSocket(target));
        } else if (setup == u"device" &&
                   ::mknod(target.constData(), S_IFCHR | 0666, makedev(1, 3)) != 0) {
            QSKIP("this system lets no one make a device node");
        }
        if (setup.startsWith(u"read-only"))
            QCOMPARE(::chmod(folder.constData(), 0555), 0);
        if (setup.startsWith(u"default acl")) {
            const QByteArray acl = aclBlob({{userObj, 7, 0},
                                            {user, 7, nobody},
                                            {groupObj, 5, 0},
                                            {mask, 7, 0},
                                            {other, 5, 0}});
            if (::setxattr(folder.constData(), "system.posix_acl_default", acl.constData(),
                           acl.size(), 0) != 0)
                QSKIP("this file system keeps no ACLs");
        }

        const QString reason =
            writeInChild(target, setup.contains(u"by nobody"), setup.endsWith(u"limit") ? 4096 : 0);
        ::chmod(folder.constData(), 0755); // so that it can be listed
        QVERIFY2(words.isEmpty() ? reason.isEmpty() : reason.contains(words), qPrintable(reason));
        QCOMPARE(whatIsAt(link ? file : target), left);
        QCOMPARE(whatIsAt(target), link ? QStringLiteral("link") : left);
        // and nothing else: no temporary file anywhere
        int known = 0;
        for (const QByteArray& path : {folder, target, file})
            known += whatIsAt(path) != u"nothing";
        known += planted ? 2 : 0; // the link and the private folder
        entries = 0;
        QCOMPARE(::nftw(
                     base.constData(),
                     [](const char*, const struct stat*, int, FTW*) {
                         ++entries;
                         return 0;
                     },
                     8, FTW_PHYS),
                 0);
        QCOMPARE(entries - 1, known); // the scratch folder itself is one
    }
};

AVATELLO_REGISTER_TEST(TestFileWriter);

#include "tst_filewriter.moc"
