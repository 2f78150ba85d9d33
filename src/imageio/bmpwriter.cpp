#include "imageio/bmpwriter.h"

#include "imageio/fileaccess.h"

#include <QBuffer>
#include <QFile>
#include <QImageWriter>
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

QByteArray encodeIconPng(const QImage& snapshot)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter(&buffer, "png").write(snapshot.convertToFormat(QImage::Format_RGB32));
    return bytes;
}

bool saveIconBmp(const QImage& snapshot, const QString& path, QString* error)
{
    return writeWholeFile(QFile::encodeName(path), encodeIconBmp(snapshot), error);
}

} // namespace avatello
