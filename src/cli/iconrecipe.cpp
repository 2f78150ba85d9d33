#include "cli/iconrecipe.h"

#include "cli/batchwriter.h"

#include "imageio/bmpwriter.h"
#include "imageio/fileaccess.h"
#include "imageio/templates.h"
#include "model/icondocument.h"
#include "model/twips.h"

#include <QColor>
#include <QFile>
#include <QFontDatabase>

namespace avatello {

namespace {

// The sizes Change Font offers.
constexpr int smallestSize = 6;
constexpr int largestSize = 16;

std::optional<OleColor> parseColor(const QString& text)
{
    if (!QColor::isValidColorName(text))
        return std::nullopt;
    return toOleColor(QColor::fromString(text).rgb());
}

std::optional<int> parseWhole(const QString& text, int lowest, int highest)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    if (!ok || value < lowest || value > highest)
        return std::nullopt;
    return value;
}

std::optional<bool> parseFlag(const QString& text)
{
    const QString value = text.trimmed().toLower();
    if (value.isEmpty() || value == u"yes" || value == u"1" || value == u"true")
        return true;
    if (value == u"no" || value == u"0" || value == u"false")
        return false;
    return std::nullopt;
}

bool fail(QString* error, const QString& reason)
{
    if (error)
        *error = reason;
    return false;
}

void setStart(IconRecipe& recipe, IconRecipe::Start start)
{
    recipe.start = start;
    ++recipe.startOptions;
}

} // namespace

bool isFlagOption(const QString& name)
{
    return name == u"aim-color" || name == u"center";
}

bool isRecipeOption(const QString& name)
{
    static const QStringList names{
        QStringLiteral("color"),   QStringLiteral("aim-color"),  QStringLiteral("template"),
        QStringLiteral("picture"), QStringLiteral("back-color"), QStringLiteral("text"),
        QStringLiteral("font"),    QStringLiteral("size"),       QStringLiteral("text-color"),
        QStringLiteral("at"),      QStringLiteral("center"),     QStringLiteral("format"),
        QStringLiteral("out")};
    return names.contains(name);
}

bool setRecipeOption(IconRecipe& recipe, const QString& name, const QString& value, QString* error)
{
    const auto badValue = [&](const QString& expected) {
        return fail(error, QStringLiteral("--%1 takes %2, not '%3'").arg(name, expected, value));
    };
    if (name == u"color" || name == u"back-color" || name == u"text-color") {
        const std::optional<OleColor> colour = parseColor(value);
        if (!colour)
            return badValue(QStringLiteral("#rrggbb or a colour name"));
        if (name == u"color") {
            setStart(recipe, IconRecipe::Start::Color);
            recipe.color = *colour;
        } else if (name == u"back-color") {
            recipe.backColor = colour;
        } else {
            recipe.textColor = colour;
        }
    } else if (name == u"aim-color" || name == u"center") {
        const std::optional<bool> on = parseFlag(value);
        if (!on)
            return badValue(QStringLiteral("yes or no"));
        if (name == u"center")
            recipe.center = *on;
        else if (*on)
            setStart(recipe, IconRecipe::Start::AimColor);
    } else if (name == u"template") {
        const std::optional<int> n = parseWhole(value, 1, templateCount);
        if (!n)
            return badValue(QStringLiteral("a template number from 1 to %1").arg(templateCount));
        setStart(recipe, IconRecipe::Start::Template);
        recipe.templateNumber = *n;
    } else if (name == u"picture") {
        if (value.isEmpty())
            return badValue(QStringLiteral("a file"));
        setStart(recipe, IconRecipe::Start::Picture);
        recipe.picture = value;
    } else if (name == u"text") {
        recipe.text = value;
    } else if (name == u"font") {
        if (value.trimmed().isEmpty() || !QFontDatabase::hasFamily(value))
            return fail(error, QStringLiteral("no font face '%1' is installed").arg(value));
        recipe.font = value;
    } else if (name == u"size") {
        const std::optional<int> points = parseWhole(value, smallestSize, largestSize);
        if (!points)
            return badValue(QStringLiteral("a size in points from %1 to %2")
                                .arg(smallestSize)
                                .arg(largestSize));
        recipe.size = QString::number(*points);
    } else if (name == u"at") {
        const QStringList xy = value.split(QLatin1Char(','));
        const int last = iconSide - 1;
        const std::optional<int> x = xy.size() == 2 ? parseWhole(xy[0], 0, last) : std::nullopt;
        const std::optional<int> y = xy.size() == 2 ? parseWhole(xy[1], 0, last) : std::nullopt;
        if (!x || !y)
            return badValue(QStringLiteral("X,Y, each from 0 to %1").arg(last));
        recipe.at = QPoint(*x, *y);
    } else if (name == u"format") {
        if (value == u"bmp")
            recipe.format = IconRecipe::Format::Bmp;
        else if (value == u"png")
            recipe.format = IconRecipe::Format::Png;
        else
            return badValue(QStringLiteral("bmp or png"));
    } else if (name == u"out") {
        if (value.isEmpty())
            return badValue(QStringLiteral("a file"));
        recipe.out = value;
    } else {
        return fail(error, QStringLiteral("unknown option --%1").arg(name));
    }
    return true;
}

QString refusalText(const QString& path, Refusal why)
{
    if (why == Refusal::TooLarge)
        return QStringLiteral("%1: the picture is too large to open").arg(path);
    return QStringLiteral("%1: not a BMP, GIF or JPEG picture that can be read").arg(path);
}

bool checkRecipe(const IconRecipe& recipe, QString* error)
{
    if (recipe.startOptions > 1)
        return fail(error, QStringLiteral(
                               "give at most one of --color, --aim-color, --template, --picture"));
    if (recipe.center && recipe.at)
        return fail(error, QStringLiteral("give --at or --center, not both"));
    if (recipe.out.isEmpty())
        return fail(error, QStringLiteral("no output file (-o OUT)"));
    return true;
}

QString makeIcon(const IconRecipe& recipe, BatchWriter* batch)
{
    IconDocument document;
    document.start();
    switch (recipe.start) {
    case IconRecipe::Start::Program:
        break;
    case IconRecipe::Start::Color:
        document.newFromColor(recipe.color);
        break;
    case IconRecipe::Start::AimColor:
        document.newFromColor(vbButtonFace);
        break;
    case IconRecipe::Start::Template:
        document.chooseTemplate(recipe.templateNumber);
        break;
    case IconRecipe::Start::Picture:
        if (Refusal why = Refusal::None; !document.loadFile(recipe.picture, &why))
            return refusalText(recipe.picture, why);
        break;
    }
    if (recipe.backColor)
        document.setBackColor(*recipe.backColor);
    document.changeFont(recipe.font, recipe.size);
    if (recipe.textColor)
        document.setTextColour(*recipe.textColor);
    if (recipe.at)
        document.placeText(float(recipe.at->x() * twipsPerPixel),
                           float(recipe.at->y() * twipsPerPixel));
    if (recipe.text) {
        if (recipe.center)
            document.centreText(*recipe.text);
        document.addText([&recipe] { return *recipe.text; });
    }
    document.finish();

    const QImage snapshot = document.Image2.Image();
    const QByteArray bytes = recipe.format == IconRecipe::Format::Png ? encodeIconPng(snapshot)
                                                                      : encodeIconBmp(snapshot);
    const QByteArray out = QFile::encodeName(recipe.out);
    QString reason;
    const bool written =
        batch ? batch->write(bytes, out, &reason) : writeWholeFile(out, bytes, &reason);
    if (!written)
        return QStringLiteral("%1: cannot be written: %2").arg(recipe.out, reason);
    return QString();
}

} // namespace avatello
