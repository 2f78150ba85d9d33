#include "imageio/bmpwriter.h"

#include "imageio/fileaccess.h"
#include "imageio/iconscale.h"

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

QByteArray encodeIconBmp(const QImage& snapshot, int scale)
{
    const QImage icon = scaledIcon(snapshot, scale);
    const int side = icon.width();
    const int pixelBytes = side * side * 3; // rows of 144 N bytes need no padding
    QByteArray bytes(iconBmpHeaderSize + pixelBytes, '\0');
    char* data = bytes.data();
    data[0] = 'B';
    data[1] = 'M';
    put32(data + 2, quint32(bytes.size()));
    put32(data + 10, iconBmpHeaderSize);
    put32(data + 14, 40);
    put32(data + 18, quint32(side));
    put32(data + 22, quint32(side)); // positive height: the bottom row comes first
    put16(data + 26, 1);
    put16(data + 28, 24);
    put32(data + 34, quint32(pixelBytes));
    // compression, resolutions and colour counts stay 0

    for (int row = 0; row < side; ++row) {
        const auto* in = reinterpret_cast<const QRgb*>(icon.constScanLine(row));
        char* out = data + iconBmpHeaderSize + (side - 1 - row) * side * 3;
        for (int x = 0; x < side; ++x, out += 3) {
            out[0] = char(qBlue(in[x]));
            out[1] = char(qGreen(in[x]));
            out[2] = char(qRed(in[x]));
        }
    }
    return bytes;
}

QByteArray encodeIconPng(const QImage& snapshot, int scale)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    const QImage pixels = scale == 1 ? snapshot : scaledIcon(snapshot, scale);
    QImageWriter(&buffer, "png").write(pixels.convertToFormat(QImage::Format_RGB32));
    return bytes;
}

bool saveIconBmp(const QImage& snapshot, const QString& path, QString* error)
{
    return writeWholeFile(QFile::encodeName(path), encodeIconBmp(snapshot), error);
}

} // namespace avatello
