#include "cli/batchtable.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <QFile>
#include <QStringDecoder>
#include <sys/stat.h>
#include <unistd.h>

namespace avatello {

namespace {

constexpr qsizetype readSize = 64 * 1024;

QList<QByteArray> cellsOf(const QByteArray& line)
{
    QList<QByteArray> cells = line.split('\t');
    for (QByteArray& cell : cells) {
        qsizetype start = 0;
        qsizetype end = cell.size();
        while (start < end && cell[start] == ' ')
            ++start;
        while (end > start && cell[end - 1] == ' ')
            --end;
        cell = cell.mid(start, end - start);
    }
    return cells;
}

bool isPassedOver(const QByteArray& line)
{
    const QByteArray trimmed = line.trimmed();
    return trimmed.isEmpty() || trimmed.startsWith('#');
}

QString notText(const QString& why)
{
    return QStringLiteral("not a text table (%1); a table is UTF-8 text, its cells separated by "
                          "tabs")
        .arg(why);
}

// An unnamed file that disappears with the process: the copy of a table read from a pipe.
int unnamedTemporaryFile()
{
    const char* folder = std::getenv("TMPDIR");
    if (!folder || !*folder)
        folder = "/tmp";
    const int fd = ::open(folder, O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (fd >= 0)
        return fd;
    QByteArray name = QByteArray(folder) + "/.avatello-table-XXXXXX";
    const int named = ::mkostemp(name.data(), O_CLOEXEC);
    if (named >= 0)
        ::unlink(name.constData());
    return named;
}

} // namespace

BatchTableReader::~BatchTableReader()
{
    if (ownsFd_ && fd_ >= 0)
        ::close(fd_);
    if (spool_ >= 0)
        ::close(spool_);
}

bool BatchTableReader::open(const QByteArray& path, QString* error)
{
    if (path == "-") {
        openDescriptor(STDIN_FILENO);
        return true;
    }
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        const int reason = errno;
        *error = reason == ENOENT   ? refusalReason(Refusal::Missing)
                 : reason == EACCES ? refusalReason(Refusal::NotAllowed)
                                    : qt_error_string(reason);
        return false;
    }
    struct stat info = {};
    if (::fstat(fd, &info) == 0 && S_ISDIR(info.st_mode)) {
        ::close(fd);
        *error = QStringLiteral("a folder, not a table");
        return false;
    }
    openDescriptor(fd);
    ownsFd_ = true;
    return true;
}

void BatchTableReader::openDescriptor(int fd)
{
    fd_ = fd;
    struct stat info = {};
    const bool regular = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    if (regular)
        identity_ = FileIdentity{quint64(info.st_dev), quint64(info.st_ino)};
    start_ = regular ? ::lseek(fd, 0, SEEK_CUR) : off_t(-1);
    if (start_ < 0) // a pipe, a terminal, a device: kept as it is read
        spool_ = unnamedTemporaryFile();
}

int BatchTableReader::fill()
{
    const int source = rewound_ && spool_ >= 0 ? spool_ : fd_;
    const qsizetype old = buffer_.size();
    buffer_.resize(old + readSize);
    ssize_t got = 0;
    do
        got = ::read(source, buffer_.data() + old, size_t(readSize));
    while (got < 0 && errno == EINTR);
    const int reason = errno;
    buffer_.resize(old + qMax<ssize_t>(got, 0));
    if (got > 0 && spool_ >= 0 && !rewound_)
        if (const int failure = writeAllTo(spool_, QByteArrayView(buffer_.constData() + old, got)))
            return -failure;
    return got < 0 ? -reason : int(got);
}

BatchTableReader::Line BatchTableReader::readLine(QByteArray* line, QString* error)
{
    const auto tooLong = [&] {
        // A long run of bytes with NULs in it is no text at all (a device, UTF-16, a picture):
        // said as such rather than as a long line.
        const QByteArray pending = buffer_.mid(used_, maxTableLineBytes + 2);
        if (pending.contains('\0'))
            *error = notText(lineNumber_ == 0 && (pending.startsWith("\xFF\xFE") ||
                                                  pending.startsWith("\xFE\xFF"))
                                 ? QStringLiteral("it is UTF-16")
                                 : QStringLiteral("line %1 holds a NUL byte").arg(lineNumber_ + 1));
        else
            *error = QStringLiteral("line %1 is longer than %2 bytes; is it a table?")
                         .arg(lineNumber_ + 1)
                         .arg(maxTableLineBytes);
        return Line::Failed;
    };
    for (;;) {
        const qsizetype newline = buffer_.indexOf('\n', used_);
        const qsizetype available = buffer_.size() - used_;
        // a line's content and its ending, "\r\n" at the most
        if (newline < 0 && !atEnd_ && available > maxTableLineBytes + 1)
            return tooLong();
        if (newline >= 0 || atEnd_) {
            if (newline < 0 && available == 0)
                return Line::End;
            const qsizetype length = newline >= 0 ? newline - used_ : available;
            *line = buffer_.mid(used_, length);
            used_ += length + (newline >= 0 ? 1 : 0);
            consumed_ += length + (newline >= 0 ? 1 : 0);
            if (line->endsWith('\r'))
                line->chop(1);
            if (line->size() > maxTableLineBytes)
                return tooLong();
            ++lineNumber_;
            return Line::Read;
        }
        buffer_.remove(0, used_);
        used_ = 0;
        const int got = fill();
        if (got < 0) {
            *error = qt_error_string(-got);
            return Line::Failed;
        }
        atEnd_ = got == 0;
    }
}

bool BatchTableReader::readHeader(QList<QString>* columns, QString* error)
{
    QByteArray line;
    for (;;) {
        switch (readLine(&line, error)) {
        case Line::Failed:
            return false;
        case Line::End:
            *error = QStringLiteral("the table is empty; its first line names the columns");
            return false;
        case Line::Read:
            break;
        }
        if (line.contains('\0')) {
            *error = notText(lineNumber_ == 1 &&
                                     (line.startsWith("\xFF\xFE") || line.startsWith("\xFE\xFF"))
                                 ? QStringLiteral("it is UTF-16")
                                 : QStringLiteral("line %1 holds a NUL byte").arg(lineNumber_));
            return false;
        }
        if (lineNumber_ == 1 && line.startsWith("\xEF\xBB\xBF")) // a mark some editors write
            line.remove(0, 3);
        if (!isPassedOver(line))
            break;
    }
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString names = decoder.decode(line);
    if (decoder.hasError()) {
        *error = notText(QStringLiteral("its first line is not UTF-8"));
        return false;
    }
    for (const QChar c : names)
        if (c != u'\t' && c.category() == QChar::Other_Control) {
            *error = notText(QStringLiteral("its first line holds control characters"));
            return false;
        }
    columns->clear();
    for (const QByteArray& cell : cellsOf(line))
        columns->append(QString::fromUtf8(cell));
    headerEnd_ = consumed_;
    headerLines_ = lineNumber_;
    return true;
}

bool BatchTableReader::nextRow(Row* row, QString* error)
{
    error->clear();
    QByteArray line;
    for (;;) {
        const Line read = readLine(&line, error);
        if (read != Line::Read)
            return false;
        if (line.contains('\0')) {
            *error = notText(QStringLiteral("line %1 holds a NUL byte").arg(lineNumber_));
            return false;
        }
        if (isPassedOver(line))
            continue;
        if (rows_ == maxTableRows) {
            *error = QStringLiteral("more than %1 rows").arg(maxTableRows);
            return false;
        }
        ++rows_;
        row->line = lineNumber_;
        row->cells = cellsOf(line);
        return true;
    }
}

bool BatchTableReader::rewind(QString* error)
{
    const int source = spool_ >= 0 ? spool_ : fd_;
    const off_t offset = (spool_ >= 0 ? 0 : start_) + headerEnd_;
    if (spool_ < 0 && start_ < 0) {
        *error = QStringLiteral("the table cannot be read a second time");
        return false;
    }
    if (::lseek(source, offset, SEEK_SET) != offset) {
        *error = qt_error_string(errno);
        return false;
    }
    rewound_ = true;
    buffer_.clear();
    used_ = 0;
    consumed_ = headerEnd_;
    atEnd_ = false;
    lineNumber_ = headerLines_;
    rows_ = 0;
    return true;
}

} // namespace avatello
