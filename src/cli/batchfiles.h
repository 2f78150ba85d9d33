#pragma once

#include "imageio/fileaccess.h"

#include <optional>
#include <QByteArray>
#include <QHash>
#include <QSet>
#include <QString>

namespace avatello {

// Which files a batch reads and writes, and which it may therefore write over. The rules go by
// the rows' order alone, so the same table gives the same answer whatever earlier runs left:
// - no row writes over the table, or over standard input when the batch reads it;
// - no row writes a file an earlier row wrote;
// - no row writes over a picture the batch reads as it found it, that is, a picture a row reads
//   that no earlier row writes. A row may read the icon an earlier row wrote.
// A file is one however it is spelled ("x.bmp", "./x.bmp", a link to it), whether it exists yet
// or not. What is kept of each row is a fixed-size key, not its cells, so that a table of any
// length costs little.
class BatchFiles
{
public:
    // `table` is the table's name, or "-" for standard input; `tableFile` what file it is.
    BatchFiles(const QByteArray& table, std::optional<FileIdentity> tableFile);

    // The first reading: a row reads `picture` ("" for none, "-" for standard input) and writes
    // `out`, in this order.
    void plan(const QByteArray& picture, const QByteArray& out);
    // Between the readings: the keys only the first reading needs are let go.
    void planned();

    // The second reading: why a row may not write `out`, or "" if it may.
    QString refusal(const QByteArray& out) const;
    // A row wrote `out`.
    void wrote(const QByteArray& out, int line);

private:
    struct Key
    {
        quint64 high = 0, low = 0;
        friend bool operator==(const Key&, const Key&) = default;
        friend size_t qHash(const Key& key, size_t seed = 0)
        {
            return qHashMulti(seed, key.high, key.low);
        }
    };
    static Key keyOf(const QByteArray& path);

    std::optional<Key> table_;
    std::optional<FileIdentity> tableFile_;
    std::optional<FileIdentity> standardInput_; // when the batch reads it
    QSet<Key> originals_;                       // pictures read as the batch found them
    QSet<Key> planned_;                         // files the rows write, in the first reading
    QHash<Key, int> written_;                   // files written, and the line that wrote each
};

// A file's name once its links are followed and its folder is made absolute: the same bytes for
// every spelling of one file, whether it exists or not.
QByteArray canonicalFileName(const QByteArray& path);

} // namespace avatello
