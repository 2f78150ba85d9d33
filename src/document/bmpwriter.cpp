#include "document/bmpwriter.h"

#include <QSaveFile>
#include <QtEndian>

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
    char* out = data + iconBmpHeaderSize;
    for (int row = iconSide - 1; row >= 0; --row) {
        for (int x = 0; x < iconSide; ++x, out += 3) {
            if (row >= rgb.height() || x >= rgb.width())
                continue;
            const QRgb pixel = reinterpret_cast<const QRgb*>(rgb.constScanLine(row))[x];
            out[0] = char(qBlue(pixel));
            out[1] = char(qGreen(pixel));
            out[2] = char(qRed(pixel));
        }
    }
    return bytes;
}

bool saveIconBmp(const QImage& snapshot, const QString& path, QString* error)
{
    // The new file is written beside the target and renamed over it only once complete, so a
    // failed or interrupted save never truncates the file that was there.
    QSaveFile file(path);
    const QByteArray bytes = encodeIconBmp(snapshot);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        if (error)
            *error = file.errorString();
        file.cancelWriting();
        return false;
    }
    return true;
}

} // namespace avatello
