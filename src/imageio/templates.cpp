#include "imageio/templates.h"

#include "imageio/stockpictures.h"

#include <array>
#include <QDir>

namespace avatello {

QString templatePath(int n)
{
    if (n < 1 || n > templateCount)
        return {};
    const QString name = QStringLiteral("template%1.*").arg(n, 2, 10, QLatin1Char('0'));
    const QStringList found = QDir(QStringLiteral(":/templates")).entryList({name}, QDir::Files);
    return found.size() == 1 ? QStringLiteral(":/templates/") + found.constFirst() : QString();
}

QImage templatePicture(int n)
{
    if (n < 1 || n > templateCount)
        return {};
    // Decoded once: a batch of icons asks for the same few pictures over and over.
    static std::array<QImage, templateCount> decoded;
    QImage& picture = decoded.at(std::size_t(n - 1));
    if (picture.isNull())
        picture = builtInPicture(templatePath(n));
    return picture;
}

} // namespace avatello
