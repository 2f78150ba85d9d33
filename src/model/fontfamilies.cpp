#include "model/fontfamilies.h"

#include <algorithm>
#include <QFontDatabase>
#include <QHash>
#include <QRegularExpression>
#include <vector>

namespace avatello {

namespace {

// How many single-character edits turn one name into the other, letter case aside.
int editDistance(const QString& a, const QString& b)
{
    const QString x = a.toCaseFolded();
    const QString y = b.toCaseFolded();
    std::vector<int> row(size_t(y.size()) + 1);
    for (size_t j = 0; j < row.size(); ++j)
        row[j] = int(j);
    for (qsizetype i = 1; i <= x.size(); ++i) {
        int diagonal = row[0];
        row[0] = int(i);
        for (qsizetype j = 1; j <= y.size(); ++j) {
            const int above = row[size_t(j)];
            row[size_t(j)] = std::min(
                {above + 1, row[size_t(j - 1)] + 1, diagonal + (x[i - 1] == y[j - 1] ? 0 : 1)});
            diagonal = above;
        }
    }
    return row.back();
}

} // namespace

QStringList familyNames(const QStringList& reported)
{
    // Qt reports a family that several foundries offer once per foundry, as "Family [foundry]".
    // A user knows it by the family name, and a font of that name is drawn by one of them.
    static const QRegularExpression foundryTag(QStringLiteral(" \\[[^\\]]*\\]$"));
    // Only a name that shares its family with another is one of those: a lone family may have
    // brackets in its own name.
    QStringList bases;
    QHash<QString, int> reports;
    for (const QString& name : reported)
        ++reports[bases.emplace_back(QString(name).remove(foundryTag))];
    QStringList names;
    for (qsizetype i = 0; i < reported.size(); ++i)
        names << (reports.value(bases.at(i)) > 1 ? bases.at(i) : reported.at(i));
    names.removeDuplicates();
    return names;
}

QStringList screenFontNames()
{
    QStringList names = familyNames(QFontDatabase::families());
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        const int order = a.compare(b, Qt::CaseInsensitive);
        return order != 0 ? order < 0 : a < b;
    });
    return names;
}

QString listedFontName(const QString& face)
{
    const QStringList names = screenFontNames();
    const auto exact = std::find(names.begin(), names.end(), face);
    if (exact != names.end())
        return *exact;
    for (const QString& name : names)
        if (name.compare(face, Qt::CaseInsensitive) == 0)
            return name;
    return {};
}

QStringList nearestFontNames(const QString& face, int count)
{
    // A name that starts the same way ("Liberation" for "Liberation Sans") is nearer than any
    // spelling slip; among the rest, the fewest edits.
    const auto distance = [&face](const QString& name) {
        const int edits = editDistance(face, name);
        return name.startsWith(face.left(4), Qt::CaseInsensitive) ? edits - 1000 : edits;
    };
    QStringList names = screenFontNames();
    std::stable_sort(names.begin(), names.end(),
                     [&](const QString& a, const QString& b) { return distance(a) < distance(b); });
    return names.mid(0, count);
}

} // namespace avatello
