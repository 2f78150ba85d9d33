#include "imageio/stockpictures.h"

#include "imageio/picturedecoder.h"

#include <QFile>

namespace avatello {

QImage builtInPicture(const QString& resourcePath)
{
    QFile file(resourcePath);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return decodePicture(&file).value_or(QImage());
}

QImage startupPicture()
{
    static const QImage picture = builtInPicture(QStringLiteral(":/pictures/startup.gif"));
    return picture;
}

QImage whiteBitmap()
{
    static const QImage picture = builtInPicture(QStringLiteral(":/pictures/white.bmp"));
    return picture;
}

QImage blackBitmap()
{
    static const QImage picture = builtInPicture(QStringLiteral(":/pictures/black.gif"));
    return picture;
}

} // namespace avatello
