// libFuzzer target: the batch table reader on arbitrary bytes, as a pipe or a file would give
// them. Whatever the input, it must neither crash, hang nor leak, no line it returns may be
// longer than the bound, and the second reading must give exactly the rows of the first.
#include "cli/batchtable.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sys/mman.h>
#include <unistd.h>

using avatello::BatchTableReader;

namespace {

// The rows of one reading, or the reason it stopped.
struct Reading
{
    QList<BatchTableReader::Row> rows;
    QString error;
};

Reading readRows(BatchTableReader& reader)
{
    Reading reading;
    BatchTableReader::Row row;
    while (reader.nextRow(&row, &reading.error)) {
        qsizetype bytes = 0;
        for (const QByteArray& cell : row.cells)
            bytes += cell.size() + 1;
        if (bytes > avatello::maxTableLineBytes + 1)
            std::abort();
        reading.rows.append(row);
    }
    return reading;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // A descriptor that reads like a file; the reader sees a file it may read twice.
    const int fd = ::memfd_create("table", MFD_CLOEXEC);
    if (fd < 0)
        return 0;
    if (size > 0 && ::write(fd, data, size) != ssize_t(size)) {
        ::close(fd);
        return 0;
    }
    ::lseek(fd, 0, SEEK_SET);
    {
        BatchTableReader reader;
        reader.openDescriptor(fd);
        QList<QString> columns;
        QString error;
        if (reader.readHeader(&columns, &error)) {
            const Reading first = readRows(reader);
            if (first.error.isEmpty()) {
                if (!reader.rewind(&error))
                    std::abort();
                const Reading second = readRows(reader);
                if (!second.error.isEmpty() || second.rows.size() != first.rows.size())
                    std::abort();
                for (qsizetype i = 0; i < first.rows.size(); ++i)
                    if (first.rows[i].line != second.rows[i].line ||
                        first.rows[i].cells != second.rows[i].cells)
                        std::abort();
            }
        } else if (error.isEmpty()) {
            std::abort(); // a table refused must say why
        }
    }
    ::close(fd);
    return 0;
}
