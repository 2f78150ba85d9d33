#include "cli/batchtable.h"

#include "imageio/fileaccess.h"

#include <cerrno>
#include <fcntl.h>
#include <QFile>
#include <QStringDecoder>
#include <sys/stat.h>
#include <unistd.h>

namespace avatello {

namespace {

QByteArray withoutLineEnd(QByteArray line)
{
    if (line.endsWith('\n'))
        line.chop(1);
    if (line.endsWith('\r'))
        line.chop(1);
    return line;
}

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

// Opens the table: any file that can be read as a stream (a pipe from a shell's <(...) too),
// but not a folder.
bool openTable(QFile& file, const QByteArray& path, QString* error)
{
    if (path == "-")
        return file.open(STDIN_FILENO,
                         QIODevice::ReadOnly); // by descriptor: a FILE* is read as C strings
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
    return file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle);
}

} // namespace

BatchTable readBatchTable(const QByteArray& path)
{
    BatchTable table;
    QFile file;
    if (!openTable(file, path, &table.error)) {
        if (table.error.isEmpty())
            table.error = file.errorString();
        return table;
    }
    const auto notText = [&table](const QString& why) {
        table.error = QStringLiteral("not a text table (%1); a table is UTF-8 text, its cells "
                                     "separated by tabs")
                          .arg(why);
        return table;
    };
    bool header = true;
    for (int lineNumber = 1;; ++lineNumber) {
        QByteArray line = file.readLine(maxTableLineBytes + 2);
        if (line.isEmpty())
            break;
        if (line.contains('\0'))
            return notText(lineNumber == 1 &&
                                   (line.startsWith("\xFF\xFE") || line.startsWith("\xFE\xFF"))
                               ? QStringLiteral("it is UTF-16")
                               : QStringLiteral("line %1 holds a NUL byte").arg(lineNumber));
        if (!line.endsWith('\n') && line.size() > maxTableLineBytes) {
            table.error = QStringLiteral("line %1 is longer than %2 bytes; is it a table?")
                              .arg(lineNumber)
                              .arg(maxTableLineBytes);
            return table;
        }
        if (header) {
            if (line.startsWith("\xEF\xBB\xBF")) // a byte-order mark some editors write
                line.remove(0, 3);
            if (isPassedOver(line))
                continue;
            QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
            const QString names = decoder.decode(withoutLineEnd(line));
            if (decoder.hasError())
                return notText(QStringLiteral("its first line is not UTF-8"));
            for (const QChar c : names)
                if (c != u'\t' && c.category() == QChar::Other_Control)
                    return notText(QStringLiteral("its first line holds control characters"));
            for (const QByteArray& cell : cellsOf(withoutLineEnd(line)))
                table.columns << QString::fromUtf8(cell);
            header = false;
            continue;
        }
        if (isPassedOver(line))
            continue;
        if (table.rows.size() == maxTableRows) {
            table.error = QStringLiteral("more than %1 rows").arg(maxTableRows);
            return table;
        }
        table.rows.append({lineNumber, cellsOf(withoutLineEnd(line))});
    }
    if (header)
        table.error = QStringLiteral("the table is empty; its first line names the columns");
    return table;
}

} // namespace avatello
