#include "imageio/iconscale.h"

#include "imageio/bmpwriter.h"

#include <algorithm>

namespace avatello {

QImage scaledIcon(const QImage& snapshot, int scale)
{
    scale = qBound(1, scale, largestIconScale);
    const QImage rgb = snapshot.convertToFormat(QImage::Format_RGB32);
    const int side = iconSide * scale;
    QImage scaled(side, side, QImage::Format_RGB32);
    scaled.fill(Qt::black);
    scaled.setDotsPerMeterX(snapshot.dotsPerMeterX());
    scaled.setDotsPerMeterY(snapshot.dotsPerMeterY());
    const int rows = qMin(rgb.height(), iconSide);
    const int columns = qMin(rgb.width(), iconSide);
    for (int row = 0; row < rows; ++row) {
        const auto* in = reinterpret_cast<const QRgb*>(rgb.constScanLine(row));
        for (int copy = 0; copy < scale; ++copy) {
            auto* out = reinterpret_cast<QRgb*>(scaled.scanLine(row * scale + copy));
            for (int x = 0; x < columns; ++x)
                std::fill_n(out + x * scale, scale, in[x]);
        }
    }
    return scaled;
}

} // namespace avatello
