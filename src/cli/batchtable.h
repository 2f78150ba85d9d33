#pragma once

#include "imageio/fileaccess.h"

#include <optional>
#include <QByteArray>
#include <QList>
#include <QString>

namespace avatello {

// The longest line a table may have, without its line ending ("\n" or "\r\n"): far more than any
// row of options needs, and a bound that stops a table that never ends a line (a device, a
// picture given by mistake) at once.
inline constexpr qsizetype maxTableLineBytes = 32 * 1024;
// The most rows one batch takes.
inline constexpr qsizetype maxTableRows = 1000000;

// A batch table, read a line at a time, so that what it costs does not grow with the table: its
// first line names the columns, every later line is a row. Cells are the system's bytes (a file
// name need not be UTF-8), split at tabs, with the spaces around each taken off. Blank lines and
// lines starting with '#' are passed over.
//
// A batch reads its table twice (once for the files each row reads and writes, once to make the
// icons), so a table that cannot be read again (a pipe) is kept in an unnamed temporary file as
// it is read the first time.
class BatchTableReader
{
public:
    struct Row
    {
        int line = 0;
        QList<QByteArray> cells;
    };

    BatchTableReader() = default;
    BatchTableReader(const BatchTableReader&) = delete;
    BatchTableReader& operator=(const BatchTableReader&) = delete;
    ~BatchTableReader();

    // Opens a table file, or standard input for "-"; false with the reason.
    bool open(const QByteArray& path, QString* error);
    // Reads from a descriptor the caller keeps open (for the fuzzer and the tests).
    void openDescriptor(int fd);

    // The column names of the first line that is not passed over; false with the reason the
    // table as a whole cannot be used.
    bool readHeader(QList<QString>* columns, QString* error);
    // The next row; false at the end, or with a reason that stops the table.
    bool nextRow(Row* row, QString* error);
    // Back to the first row after the header, for the second reading.
    bool rewind(QString* error);

    // What file the table is, when it is one (standard input's file too).
    std::optional<FileIdentity> identity() const { return identity_; }

private:
    enum class Line { Read, End, Failed };
    Line readLine(QByteArray* line, QString* error);
    int fill();

    int fd_ = -1;
    bool ownsFd_ = false;
    int spool_ = -1; // the copy of a table that cannot be read again, or -1
    bool rewound_ = false;
    off_t start_ = 0;     // where the table starts in a file that can be read again
    off_t headerEnd_ = 0; // where its rows start
    int headerLines_ = 0;
    int lineNumber_ = 0;
    qsizetype rows_ = 0;
    QByteArray buffer_;
    qsizetype used_ = 0; // bytes of buffer_ already returned
    off_t consumed_ = 0; // bytes of the table returned as lines so far
    bool atEnd_ = false;
    std::optional<FileIdentity> identity_;
};

} // namespace avatello
