#include "imageio/bmpwriter.h"

#include <QFile>
#include <QSaveFile>
#include <QtEndian>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <unistd.h>
#endif

namespace avatello {

namespace {

void put16(char* at, quint16 value)
{
    qToLittleEndian(value, at);
}

void put32(char* at, quint32 value)
{
    qToLittleEndian(value, at);
}

#ifdef Q_OS_UNIX
// A file system that cannot sync a file says so; that is not a failed save.
bool syncIsUnsupported(int error)
{
    return error == EINVAL || error == ENOSYS || error == EOPNOTSUPP || error == EROFS;
}
#endif

// Whether the file now holds exactly these bytes.
bool readsBack(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.size() == bytes.size() &&
           file.read(bytes.size() + 1) == bytes;
}

} // namespace

QByteArray encodeIconBmp(const QImage& snapshot)
{
    QByteArray bytes(iconBmpFileSize, '\0');
    char* data = bytes.data();
    data[0] = 'B';
    data[1] = 'M';
    put32(data + 2, iconBmpFileSize);
    put32(data + 10, iconBmpHeaderSize);
    put32(data + 14, 40);
    put32(data + 18, iconSide);
    put32(data + 22, iconSide); // positive height: the bottom row comes first
    put16(data + 26, 1);
    put16(data + 28, 24);
    put32(data + 34, iconBmpPixelBytes);
    // compression, resolutions and colour counts stay 0

    const QImage rgb = snapshot.convertToFormat(QImage::Format_RGB32);
    const int rows = qMin(rgb.height(), iconSide);
    const int columns = qMin(rgb.width(), iconSide);
    for (int row = 0; row < rows; ++row) {
        const auto* in = reinterpret_cast<const QRgb*>(rgb.constScanLine(row));
        char* out = data + iconBmpHeaderSize + (iconSide - 1 - row) * iconSide * 3;
        for (int x = 0; x < columns; ++x, out += 3) {
            out[0] = char(qBlue(in[x]));
            out[1] = char(qGreen(in[x]));
            out[2] = char(qRed(in[x]));
        }
    }
    return bytes;
}

bool saveIconBmp(const QImage& snapshot, const QString& path, QString* error)
{
    // The new file is written beside the target and renamed over it only once complete, so a
    // failed or interrupted save never truncates the file that was there.
    //
    // Where the folder refuses that new file but the file itself may be written (a writable file
    // in a read-only folder), the file is written in place, as any other program would: the user
    // asked for it to be replaced, and may replace it. It is then read back to be sure it holds
    // the whole bitmap.
    //
    // QSaveFile::commit() (Qt 6.4) looks neither at the flush it does nor at the sync to disk:
    // a write that fails only when the buffered data goes out (a full disk, the file-size limit)
    // or when it reaches the disk (delayed allocation, an I/O error) would still be renamed over
    // the old file, cut short. So the data is flushed and synced here first, and any failure
    // cancels the save before the rename.
    QSaveFile file(path);
    file.setDirectWriteFallback(true);
    const QByteArray bytes = encodeIconBmp(snapshot);
    QString reason;
    bool complete =
        file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush();
    if (!complete)
        reason = file.errorString();
#ifdef Q_OS_UNIX
    if (complete && ::fsync(file.handle()) != 0 && !syncIsUnsupported(errno)) {
        reason = qt_error_string(errno);
        complete = false;
    }
#endif
    if (complete && !file.commit()) {
        reason = file.errorString();
        complete = false;
    }
    if (!complete) {
        if (error)
            *error = reason;
        file.cancelWriting(); // the temporary file is removed, the old file stays
        return false;
    }
    if (!readsBack(path, bytes)) {
        if (error)
            *error = QStringLiteral("The file does not hold what was written.");
        return false;
    }
    return true;
}

} // namespace avatello
