#include "cli/iconrecipe.h"

#include "cli/batchwriter.h"

#include "imageio/bmpwriter.h"
#include "imageio/fileaccess.h"
#include "imageio/iconscale.h"
#include "imageio/picturedecoder.h"
#include "imageio/templates.h"
#include "model/fontfamilies.h"
#include "model/icondocument.h"
#include "model/stampfonts.h"
#include "model/twips.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <QColor>
#include <QFile>
#include <QStringDecoder>
#include <QTextBoundaryFinder>
#include <unistd.h>

namespace avatello {

namespace {

// The sizes Change Font offers.
constexpr int smallestSize = 6;
constexpr int largestSize = 16;

// #rgb, #rrggbb or a colour name. An icon is opaque, so a colour with transparency (#rrggbbaa,
// #aarrggbb, "transparent") has no meaning on it and is refused rather than quietly changed.
std::optional<OleColor> parseColor(const QString& text)
{
    if (text.startsWith(u'#')) {
        if (text.size() != 4 && text.size() != 7)
            return std::nullopt;
    } else if (text.compare(u"transparent", Qt::CaseInsensitive) == 0 ||
               !QColor::colorNames().contains(text, Qt::CaseInsensitive)) {
        return std::nullopt;
    }
    const QColor colour = QColor::fromString(text);
    if (!colour.isValid())
        return std::nullopt;
    return toOleColor(colour.rgb());
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

// Text that is not UTF-8 would be changed on the way in; it is refused instead.
std::optional<QString> utf8Text(const QByteArray& bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

// What a control character is called in a message.
QString controlName(QChar c)
{
    const QString code = QStringLiteral("U+%1").arg(c.unicode(), 4, 16, QLatin1Char('0')).toUpper();
    if (c == u'\n' || c == u'\r')
        return QStringLiteral("a line break (%1)").arg(code);
    if (c == u'\t')
        return QStringLiteral("a tab (%1)").arg(code);
    return QStringLiteral("a control character (%1)").arg(code);
}

// Characters as the eye counts them: an emoji, a flag or a letter with its accents is one.
qsizetype characterCount(const QString& text)
{
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    qsizetype count = 0;
    while (finder.toNextBoundary() > 0)
        ++count;
    return count;
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

// Writes to an open descriptor, all of it; false with the system's reason.
bool writeDescriptor(int fd, const QByteArray& bytes, QString* error)
{
    std::fflush(stdout);
    const int failure = writeAllTo(fd, bytes);
    return failure == 0 || fail(error, qt_error_string(failure));
}

// The picture named by --picture: a file, or standard input for "-", read as Load reads a file.
// Standard input can be read only once: it is read the first time a recipe asks for it, and
// every later one (the rows of a batch) gets the same picture, or the same reason.
std::optional<QImage> readPicture(const QByteArray& picture, Refusal* why)
{
    if (picture != "-")
        return decodePictureFile(picture, why);
    static const std::pair<std::optional<QImage>, Refusal> standardInput = [] {
        Refusal refused = Refusal::Unreadable;
        QFile input;
        if (!input.open(STDIN_FILENO, QIODevice::ReadOnly))
            return std::pair{std::optional<QImage>(), refused};
        std::optional<QImage> image = decodePicture(&input, &refused);
        return std::pair{std::move(image), refused};
    }();
    *why = standardInput.second;
    return standardInput.first;
}

} // namespace

std::optional<int> outputDescriptor(const QByteArray& out)
{
    if (out == "-" || out == "/dev/stdout")
        return STDOUT_FILENO;
    if (out == "/dev/stderr")
        return STDERR_FILENO;
    for (const QByteArrayView folder :
         {QByteArrayView("/dev/fd/"), QByteArrayView("/proc/self/fd/")})
        if (out.startsWith(folder)) {
            const QByteArray number = out.mid(folder.size());
            bool ok = false;
            const int fd = number.toInt(&ok);
            if (ok && std::all_of(number.begin(), number.end(),
                                  [](char c) { return c >= '0' && c <= '9'; }))
                return fd;
        }
    return std::nullopt;
}

IconRecipe::Format IconRecipe::formatWritten() const
{
    if (format)
        return *format;
    return out.toLower().endsWith(".png") ? Format::Png : Format::Bmp;
}

bool setRecipeOption(IconRecipe& recipe, const QString& name, const QByteArray& bytes,
                     QString* error)
{
    // File names are the system's bytes; everything else is text.
    if (name == u"picture" || name == u"out") {
        if (bytes.isEmpty())
            return fail(error, QStringLiteral("--%1 takes a file, not ''").arg(name));
        if (bytes.contains('\0'))
            return fail(error,
                        QStringLiteral("--%1: a file name cannot hold a NUL byte").arg(name));
        if (name == u"out") {
            recipe.out = bytes;
        } else {
            setStart(recipe, IconRecipe::Start::Picture);
            recipe.picture = bytes;
        }
        return true;
    }
    const std::optional<QString> text = utf8Text(bytes);
    if (!text)
        return fail(error, QStringLiteral("--%1 takes UTF-8 text").arg(name));
    const QString& value = *text;
    const auto badValue = [&](const QString& expected) {
        return fail(error, QStringLiteral("--%1 takes %2, not '%3'").arg(name, expected, value));
    };
    if (name == u"color" || name == u"back-color" || name == u"text-color") {
        const std::optional<OleColor> colour = parseColor(value);
        if (!colour)
            return badValue(QStringLiteral(
                "#rgb, #rrggbb or a colour name such as navy, without transparency"));
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
    } else if (name == u"text") {
        for (const QChar c : value)
            if (c.category() == QChar::Other_Control)
                return fail(
                    error,
                    QStringLiteral("--text holds %1; a text is one line").arg(controlName(c)));
        if (const qsizetype characters = characterCount(value); characters > maxTextLength)
            return fail(error, QStringLiteral("--text is %1 characters long; at most %2 fit a "
                                              "48-pixel icon")
                                   .arg(characters)
                                   .arg(maxTextLength));
        if (value.size() > maxTextUnits)
            return fail(error, QStringLiteral("--text holds more than %1 code units; it is not "
                                              "text a 48-pixel icon can show")
                                   .arg(maxTextUnits));
        recipe.text = value;
    } else if (name == u"font") {
        const QString listed = listedFontName(value.trimmed());
        if (listed.isEmpty())
            return fail(error, QStringLiteral("no font face '%1' is installed; the nearest are %2")
                                   .arg(value, nearestFontNames(value.trimmed()).join(u", ")));
        recipe.font = listed;
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
    } else if (name == u"lang") {
        if (!isKnownLanguage(value.trimmed()))
            return badValue(QStringLiteral("a language tag such as zh-Hans, zh-Hant, ja or ko"));
        recipe.lang = value.trimmed();
    } else if (name == u"scale") {
        const std::optional<int> n = parseWhole(value, 1, largestIconScale);
        if (!n)
            return badValue(QStringLiteral("a scale from 1 to %1").arg(largestIconScale));
        recipe.scale = *n;
    } else if (name == u"format") {
        if (value == u"bmp")
            recipe.format = IconRecipe::Format::Bmp;
        else if (value == u"png")
            recipe.format = IconRecipe::Format::Png;
        else
            return badValue(QStringLiteral("bmp or png"));
    } else {
        return fail(error, QStringLiteral("unknown option --%1").arg(name));
    }
    return true;
}

QString shownName(const QByteArray& path)
{
    return path == "-" ? QStringLiteral("standard input") : QFile::decodeName(path);
}

QString refusalText(const QByteArray& path, Refusal why)
{
    return QStringLiteral("%1: %2").arg(shownName(path), refusalReason(why));
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

QString makeIcon(const IconRecipe& recipe, BatchWriter* batch, QStringList* notes)
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
        Refusal why = Refusal::None;
        const std::optional<QImage> picture = readPicture(recipe.picture, &why);
        if (!picture)
            return refusalText(recipe.picture, why);
        document.loadPicture(*picture);
        break;
    }
    if (recipe.backColor)
        document.setBackColor(*recipe.backColor);
    document.changeFont(recipe.font, recipe.size);
    document.textlanguage = recipe.lang;
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
    const QByteArray bytes = recipe.formatWritten() == IconRecipe::Format::Png
                                 ? encodeIconPng(snapshot, recipe.scale)
                                 : encodeIconBmp(snapshot, recipe.scale);
    QString reason;
    const std::optional<int> descriptor = outputDescriptor(recipe.out);
    const bool written = descriptor ? writeDescriptor(*descriptor, bytes, &reason)
                         : batch    ? batch->write(bytes, recipe.out, &reason)
                                    : writeWholeFile(recipe.out, bytes, &reason);
    const QString shownOut =
        descriptor == STDOUT_FILENO ? QStringLiteral("standard output") : shownName(recipe.out);
    if (!written)
        return QStringLiteral("%1: cannot be written: %2").arg(shownOut, reason);
    if (notes && recipe.text)
        for (const QString& character : document.charactersWithoutGlyph())
            notes->append(QStringLiteral("%1: no installed font draws %2; the icon was written "
                                         "with an empty box in its place")
                              .arg(shownOut, character));
    return QString();
}

} // namespace avatello
