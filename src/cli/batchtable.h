#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace avatello {

// A batch table as read: the column names of its first line and its rows, each with its line
// number. Cells are the system's bytes (a file name need not be UTF-8), split at tabs, with the
// spaces around each taken off. Blank lines and lines starting with '#' are passed over.
struct BatchTable
{
    struct Row
    {
        int line = 0;
        QList<QByteArray> cells;
    };
    QList<QString> columns;
    QList<Row> rows;
    QString error; // non-empty: the table as a whole cannot be used, and why
};

// The longest line a table may have: far more than any row of options needs, and a bound that
// stops a table that never ends a line (a device, a picture given by mistake) at once.
inline constexpr qsizetype maxTableLineBytes = 32 * 1024;
// The most rows one batch takes.
inline constexpr qsizetype maxTableRows = 1000000;

// Reads a table from a file, or from standard input for "-".
BatchTable readBatchTable(const QByteArray& path);

} // namespace avatello
