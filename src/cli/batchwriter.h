#pragma once

#include <QByteArray>
#include <QSet>
#include <QString>

namespace avatello {

// Writes the icons of a batch by the same rules as a single icon (fileaccess.h): each target is
// only ever replaced by a whole icon. But the disk is synced once for the whole batch, at the
// end, rather than once a file: syncing thousands of 7 KB files one by one costs a batch almost
// all of its time.
class BatchWriter
{
public:
    // False, with a reason, if the file could not be written; the target is then untouched.
    bool write(const QByteArray& bytes, const QByteArray& path, QString* error);
    // Syncs every folder written to; false, with a reason, if the disk reported a failure.
    bool finish(QString* error);

private:
    QSet<QByteArray> folders_;
};

} // namespace avatello
