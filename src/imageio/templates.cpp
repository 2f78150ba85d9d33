#include "imageio/templates.h"

#include "imageio/stockpictures.h"

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
    const QString path = templatePath(n);
    return path.isEmpty() ? QImage() : builtInPicture(path);
}

} // namespace avatello
