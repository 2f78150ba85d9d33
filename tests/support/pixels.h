#pragma once

#include <QColor>
#include <QImage>
#include <QRect>

namespace avatello::test {

inline QRgb rgbAt(const QImage& image, int x, int y)
{
    return image.pixel(x, y) | 0xFF000000u;
}

// True when every pixel of the region has this colour.
inline bool isUniform(const QImage& image, const QRect& region, QColor colour)
{
    const QRect r = region.intersected(image.rect());
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (rgbAt(image, x, y) != (colour.rgb() | 0xFF000000u))
                return false;
    return true;
}

inline bool isUniform(const QImage& image, QColor colour)
{
    return isUniform(image, image.rect(), colour);
}

// Pixels whose colour differs from the colour given.
inline int countUnlike(const QImage& image, const QRect& region, QColor colour)
{
    int count = 0;
    const QRect r = region.intersected(image.rect());
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            count += rgbAt(image, x, y) != (colour.rgb() | 0xFF000000u);
    return count;
}

// The bounding box of pixels unlike the colour given; empty if there are none.
inline QRect boundsUnlike(const QImage& image, QColor colour)
{
    QRect bounds;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (rgbAt(image, x, y) != (colour.rgb() | 0xFF000000u))
                bounds |= QRect(x, y, 1, 1);
    return bounds;
}

inline bool samePixels(const QImage& a, const QImage& b)
{
    return a.size() == b.size() &&
           a.convertToFormat(QImage::Format_RGB32) == b.convertToFormat(QImage::Format_RGB32);
}

} // namespace avatello::test
