// Writing a whole file: what may be replaced, what is refused and why, and exactly what is left
// behind either way. Each write runs in a child process, so that it can run as an ordinary user
// and under a file-size limit without changing this process.
#include "imageio/fileaccess.h"
#include "support/testregistry.h"

#include <fcntl.h>
#include <ftw.h>
#include <QScopeGuard>
#include <QtTest>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace avatello;

namespace {

constexpr uid_t nobody = 65534;
const QByteArray oldBytes(10000, 'o');
const QByteArray smallBytes(1000, 's');
const QByteArray newBytes = QByteArray(6966, 'n') + "end";

struct Outcome
{
    bool written = false;
    QString error;
};

// Writes in a child that gives up root for nobody when asked and lowers the file-size limit
// when given one (leaving SIGXFSZ as it is: the writer must not die of it).
Outcome writeInChild(const QByteArray& path, bool asNobody, rlim_t sizeLimit)
{
    int channel[2];
    if (::pipe(channel) != 0)
        return {false, QStringLiteral("no pipe")};
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(channel[0]);
        const rlimit limit{sizeLimit, sizeLimit};
        if ((asNobody && (::setgid(nobody) != 0 || ::setuid(nobody) != 0)) ||
            (sizeLimit && ::setrlimit(RLIMIT_FSIZE, &limit) != 0))
            ::_exit(2);
        QString error;
        const bool written = writeWholeFile(path, newBytes, &error);
        const QByteArray answer = (written ? "1" : "0") + error.toUtf8();
        ::_exit(::write(channel[1], answer.constData(), size_t(answer.size())) == answer.size()
                    ? 0
                    : 3);
    }
    ::close(channel[1]);
    QFile reader;
    reader.open(channel[0], QIODevice::ReadOnly, QFileDevice::AutoCloseHandle);
    const QByteArray answer = reader.readAll();
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || answer.isEmpty())
        return {false, QStringLiteral("the child ended with status %1").arg(status)};
    return {answer.startsWith('1'), QString::fromUtf8(answer.mid(1))};
}

// Files by their bytes: a QString round trip would change a name that is not UTF-8.
bool put(const QByteArray& path, const QByteArray& bytes, mode_t mode, uid_t owner)
{
    QFile file;
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL, 0600);
    return file.open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle) &&
           file.write(bytes) == bytes.size() && file.flush() && ::fchown(fd, owner, owner) == 0 &&
           ::fchmod(fd, mode) == 0;
}

QByteArray contentOf(const QByteArray& path)
{
    QFile file;
    const int fd = ::open(path.constData(), O_RDONLY);
    return file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle) ? file.readAll()
                                                                            : "(unreadable)";
}

// What a path holds afterwards, in a word: "new", "old", a kind of special file, or a mode.
QString whatIsAt(const QByteArray& path)
{
    struct stat info = {};
    if (::lstat(path.constData(), &info) != 0)
        return QStringLiteral("nothing");
    if (S_ISFIFO(info.st_mode))
        return QStringLiteral("fifo");
    if (S_ISSOCK(info.st_mode))
        return QStringLiteral("socket");
    if (S_ISCHR(info.st_mode))
        return QStringLiteral("device");
    if (S_ISDIR(info.st_mode))
        return QStringLiteral("folder");
    if (S_ISLNK(info.st_mode))
        return QStringLiteral("link");
    const QByteArray content = contentOf(path);
    return QStringLiteral("%1 %2%3")
        .arg(content == newBytes     ? QStringLiteral("new")
             : content == oldBytes   ? QStringLiteral("old")
             : content == smallBytes ? QStringLiteral("small")
                                     : QStringLiteral("%1 other bytes").arg(content.size()))
        .arg(info.st_mode & 07777, 4, 8, QLatin1Char('0'))
        .arg(info.st_uid == nobody ? " nobody" : "");
}

int found = 0;
int countEntry(const char*, const struct stat*, int, FTW*)
{
    ++found;
    return 0;
}

int removeEntry(const char* path, const struct stat*, int, FTW*)
{
    return ::remove(path);
}

bool makeSocket(const QByteArray& path)
{
    sockaddr_un address = {};
    address.sun_family = AF_UNIX;
    if (size_t(path.size()) >= sizeof address.sun_path)
        return false;
    qstrcpy(address.sun_path, path.constData());
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    const bool made =
        fd >= 0 && ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
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

    // Each row sets up the target in folder "f" of a fresh folder: nothing, a file with its mode
    // (and owner), a special file, or a link "../file" to a file beside "f". A "shared" folder is
    // sticky and world-writable, as /tmp is; "read-only" takes no new file.
    void writeWholeFile_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QByteArray>("name"); // the target's name in "f"
        QTest::addColumn<bool>("asNobody");   // written by an ordinary user, not by root
        QTest::addColumn<int>("sizeLimit");   // the writer's file-size limit, if any
        QTest::addColumn<QString>("words");   // in the reason; none when written
        QTest::addColumn<QString>("left");    // what the target (behind a link: "file") holds

        const QByteArray t("t");
        const QString denied = QStringLiteral("Permission denied");
        QTest::newRow("nothing there") << "" << t << false << 0 << ""
                                       << "new 0644";
        QTest::newRow("regular file") << "file 0640" << t << false << 0 << ""
                                      << "new 0640";
        QTest::newRow("another user's file, root") << "file 0604 of nobody" << t << false << 0 << ""
                                                   << "new 0604 nobody";
        QTest::newRow("read-only file, root") << "file 0444" << t << false << 0 << ""
                                              << "new 0444";
        QTest::newRow("read-only file, user")
            << "file 0444 of nobody" << t << true << 0 << denied << "old 0444 nobody";
        QTest::newRow("write-only file, user") << "file 0200 of nobody" << t << true << 0 << ""
                                               << "new 0200 nobody";
        QTest::newRow("folder") << "folder" << t << false << 0 << "a folder, not a regular file"
                                << "folder";
        QTest::newRow("named pipe")
            << "fifo" << t << false << 0 << "a named pipe, not a regular file"
            << "fifo";
        QTest::newRow("socket") << "socket" << t << false << 0 << "a socket, not a regular file"
                                << "socket";
        QTest::newRow("device like /dev/null")
            << "device" << t << false << 0 << "a device, not a regular file"
            << "device";
        QTest::newRow("link to a file") << "link" << t << false << 0 << ""
                                        << "new 0640";
        QTest::newRow("link to nothing") << "dangling link" << t << false << 0 << ""
                                         << "new 0644";
        QTest::newRow("another user's link in a shared folder")
            << "shared, link of nobody" << t << false << 0
            << "f/t is a link that another user made in a shared folder"
            << "old 0640";
        QTest::newRow("own link in a shared folder") << "shared, link" << t << false << 0 << ""
                                                     << "new 0640";
        QTest::newRow("folder owner's link in a shared folder")
            << "shared of nobody, link of nobody" << t << false << 0 << ""
            << "new 0640";
        QTest::newRow("another user's link in a private folder")
            << "link of nobody" << t << false << 0 << ""
            << "new 0640";
        QTest::newRow("name of 255 bytes")
            << "file 0640" << QByteArray(255, 'x') << false << 0 << ""
            << "new 0640";
        QTest::newRow("name that is not UTF-8")
            << "file 0640" << QByteArray("out\xfe.bmp") << false << 0 << ""
            << "new 0640";
        QTest::newRow("no such folder")
            << "no folder" << t << false << 0 << "No such file or directory"
            << "nothing";
        QTest::newRow("read-only folder, the user's file")
            << "read-only, file 0644 of nobody" << t << true << 0 << ""
            << "new 0644 nobody";
        QTest::newRow("read-only folder, new file")
            << "read-only" << t << true << 0 << denied << "nothing";
        QTest::newRow("file-size limit") << "file 0640" << t << false << 4096 << "File too large"
                                         << "old 0640";
        QTest::newRow("file-size limit, read-only folder")
            << "read-only, file 0644 of nobody" << t << true << 4096 << "File too large"
            << "old 0644 nobody";
        QTest::newRow("file-size limit, read-only folder, smaller file")
            << "read-only, file 0644 of nobody, small" << t << true << 4096 << "File too large"
            << "small 0644 nobody";
    }
    void writeWholeFile()
    {
        QFETCH(QString, setup);
        QFETCH(QByteArray, name);
        QFETCH(bool, asNobody);
        QFETCH(int, sizeLimit);
        QFETCH(QString, words);
        QFETCH(QString, left);
        if (::geteuid() != 0)
            QSKIP("the cases make files of other users, so they run as root");

        QTemporaryDir scratch;
        const QByteArray base = QFile::encodeName(scratch.path());
        const QByteArray folder = base + "/f";
        const QByteArray target = folder + '/' + name;
        const QByteArray file = base + "/file";
        // QTemporaryDir would miss a name that is not UTF-8: everything goes by its bytes
        const auto cleanUp = qScopeGuard([&] {
            ::chmod(folder.constData(), 0755);
            ::nftw(base.constData(), removeEntry, 8, FTW_DEPTH | FTW_PHYS);
        });
        const bool link = setup.contains(u"link");
        const uid_t owner = setup.contains(u"of nobody") ? nobody : 0;
        QCOMPARE(::chmod(base.constData(), 0755), 0);
        if (setup != u"no folder") {
            QCOMPARE(::mkdir(folder.constData(), 0777), 0);
            const uid_t folderOwner = setup.startsWith(u"shared of nobody") ? nobody : 0;
            QCOMPARE(::chown(folder.constData(), folderOwner, folderOwner), 0);
            QCOMPARE(::chmod(folder.constData(), setup.startsWith(u"shared") ? 01777 : 0777), 0);
        }
        if (link) {
            QVERIFY(setup.contains(u"dangling") || put(file, oldBytes, 0640, 0));
            QCOMPARE(::symlink("../file", target.constData()), 0);
            QCOMPARE(::lchown(target.constData(), owner, owner), 0);
        } else if (const qsizetype at = setup.indexOf(u"file "); at >= 0) {
            const bool small = setup.endsWith(u"small");
            QVERIFY(put(target, small ? smallBytes : oldBytes,
                        setup.mid(at + 5, 4).toUInt(nullptr, 8), owner));
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

        const Outcome outcome = writeInChild(target, asNobody, rlim_t(sizeLimit));
        ::chmod(folder.constData(), 0755); // so that it can be listed and removed
        QVERIFY2(words.isEmpty() ? outcome.error.isEmpty() : outcome.error.contains(words),
                 qPrintable(outcome.error));
        QCOMPARE(outcome.written, words.isEmpty());
        QCOMPARE(whatIsAt(link ? file : target), left);
        if (link)
            QCOMPARE(whatIsAt(target), QStringLiteral("link"));
        // and nothing else: no temporary file anywhere
        int known = 0;
        for (const QByteArray& path : {folder, target, file}) {
            struct stat info = {};
            known += ::lstat(path.constData(), &info) == 0;
        }
        found = 0;
        QCOMPARE(::nftw(base.constData(), countEntry, 8, FTW_PHYS), 0);
        QCOMPARE(found - 1, known); // the scratch folder itself is one
    }
};

AVATELLO_REGISTER_TEST(TestFileWriter);

#include "tst_filewriter.moc"
