#include "model/stampfonts.h"

#include <algorithm>
#include <array>
#include <QFontInfo>
#include <QGlyphRun>
#include <QLocale>
#include <QPainter>
#include <QRawFont>
#include <QTextBoundaryFinder>
#include <QTextLayout>

namespace avatello {

namespace {

struct CodeRange
{
    char32_t first;
    char32_t last;
};

// The characters shown as pictures by default (Unicode's Emoji_Presentation), up to Emoji 15.0,
// the version the colour emoji font draws.
constexpr std::array<CodeRange, 83> emojiPresentation{{
    {0x231A, 0x231B},   {0x23E9, 0x23EC},   {0x23F0, 0x23F0},   {0x23F3, 0x23F3},
    {0x25FD, 0x25FE},   {0x2614, 0x2615},   {0x2648, 0x2653},   {0x267F, 0x267F},
    {0x2693, 0x2693},   {0x26A1, 0x26A1},   {0x26AA, 0x26AB},   {0x26BD, 0x26BE},
    {0x26C4, 0x26C5},   {0x26CE, 0x26CE},   {0x26D4, 0x26D4},   {0x26EA, 0x26EA},
    {0x26F2, 0x26F3},   {0x26F5, 0x26F5},   {0x26FA, 0x26FA},   {0x26FD, 0x26FD},
    {0x2705, 0x2705},   {0x270A, 0x270B},   {0x2728, 0x2728},   {0x274C, 0x274C},
    {0x274E, 0x274E},   {0x2753, 0x2755},   {0x2757, 0x2757},   {0x2795, 0x2797},
    {0x27B0, 0x27B0},   {0x27BF, 0x27BF},   {0x2B1B, 0x2B1C},   {0x2B50, 0x2B50},
    {0x2B55, 0x2B55},   {0x1F004, 0x1F004}, {0x1F0CF, 0x1F0CF}, {0x1F18E, 0x1F18E},
    {0x1F191, 0x1F19A}, {0x1F1E6, 0x1F1FF}, {0x1F201, 0x1F201}, {0x1F21A, 0x1F21A},
    {0x1F22F, 0x1F22F}, {0x1F232, 0x1F236}, {0x1F238, 0x1F23A}, {0x1F250, 0x1F251},
    {0x1F300, 0x1F320}, {0x1F32D, 0x1F335}, {0x1F337, 0x1F37C}, {0x1F37E, 0x1F393},
    {0x1F3A0, 0x1F3CA}, {0x1F3CF, 0x1F3D3}, {0x1F3E0, 0x1F3F0}, {0x1F3F4, 0x1F3F4},
    {0x1F3F8, 0x1F43E}, {0x1F440, 0x1F440}, {0x1F442, 0x1F4FC}, {0x1F4FF, 0x1F53D},
    {0x1F54B, 0x1F54E}, {0x1F550, 0x1F567}, {0x1F57A, 0x1F57A}, {0x1F595, 0x1F596},
    {0x1F5A4, 0x1F5A4}, {0x1F5FB, 0x1F64F}, {0x1F680, 0x1F6C5}, {0x1F6CC, 0x1F6CC},
    {0x1F6D0, 0x1F6D2}, {0x1F6D5, 0x1F6D7}, {0x1F6DC, 0x1F6DF}, {0x1F6EB, 0x1F6EC},
    {0x1F6F4, 0x1F6FC}, {0x1F7E0, 0x1F7EB}, {0x1F7F0, 0x1F7F0}, {0x1F90C, 0x1F93A},
    {0x1F93C, 0x1F945}, {0x1F947, 0x1F9FF}, {0x1FA70, 0x1FA7C}, {0x1FA80, 0x1FA88},
    {0x1FA90, 0x1FABD}, {0x1FABF, 0x1FAC5}, {0x1FACE, 0x1FADB}, {0x1FAE0, 0x1FAE8},
    {0x1FAF0, 0x1FAF8},
}};

constexpr char32_t emojiPresentationSelector = 0xFE0F;
constexpr char32_t textPresentationSelector = 0xFE0E;
constexpr CodeRange skinTones{0x1F3FB, 0x1F3FF};

bool inRange(char32_t c, CodeRange range)
{
    return c >= range.first && c <= range.last;
}

bool isEmojiPresentation(char32_t c)
{
    const auto after = std::upper_bound(
        emojiPresentation.begin(), emojiPresentation.end(), c,
        [](char32_t value, const CodeRange& range) { return value < range.first; });
    return after != emojiPresentation.begin() && inRange(c, *(after - 1));
}

// Punctuation, symbols and compatibility forms written with Han, kana and hangul.
constexpr std::array<CodeRange, 5> cjkBlocks{{
    {0x2E80, 0x2FDF}, // radicals
    {0x3000, 0x303F}, // CJK symbols and punctuation
    {0x3190, 0x31FF}, // kanbun, strokes, katakana extensions
    {0x3200, 0x33FF}, // enclosed letters and months, compatibility
    {0xFF00, 0xFFEF}, // half-width and full-width forms
}};

QList<QStringView> graphemes(const QString& text)
{
    QList<QStringView> found;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    qsizetype start = 0;
    while (finder.toNextBoundary() != -1) {
        found.append(QStringView(text).mid(start, finder.position() - start));
        start = finder.position();
    }
    return found;
}

// The fonts a text is drawn in, and what each of them has.
class StampFonts
{
public:
    explicit StampFonts(const QFont& face) : face_(face), faceGlyphs_(QRawFont::fromFont(face))
    {
        emoji_ = face;
        emoji_.setFamilies({QString::fromLatin1(colourEmojiFamily)});
        if (QFontInfo(emoji_).family() == QLatin1String(colourEmojiFamily))
            emojiGlyphs_ = QRawFont::fromFont(emoji_);
    }

    StampRun::Font fontFor(QStringView grapheme) const
    {
        const QList<uint> characters = grapheme.toUcs4();
        if (isEmojiCharacter(grapheme) && emojiGlyphs_.isValid() &&
            emojiGlyphs_.supportsCharacter(characters.first()))
            return StampRun::Font::Emoji;
        // A face the user chose that has these characters draws them in its own forms.
        if (isCjkCharacter(grapheme) &&
            !std::all_of(characters.begin(), characters.end(),
                         [this](uint c) { return faceGlyphs_.supportsCharacter(c); }))
            return StampRun::Font::Cjk;
        return StampRun::Font::Face;
    }

    // The font of a run: the face's size and style in the run's family. Each is one family (a
    // list of several would let Qt reuse the fallbacks found for another list), and Qt's own
    // fallback fonts follow it.
    QFont fontOf(StampRun::Font font, const QString& language) const
    {
        if (font == StampRun::Font::Emoji)
            return emoji_;
        QFont chosen = face_;
        if (font == StampRun::Font::Cjk)
            chosen.setFamilies({cjkFamily(language)});
        return chosen;
    }

private:
    QFont face_;
    QRawFont faceGlyphs_;
    QFont emoji_;
    QRawFont emojiGlyphs_;
};

QList<StampRun> runsOf(const QString& text, const StampFonts& fonts)
{
    QList<StampRun> runs;
    qsizetype start = 0;
    for (const QStringView grapheme : graphemes(text)) {
        const StampRun::Font font = fonts.fontFor(grapheme);
        if (!runs.isEmpty() && runs.last().font == font)
            runs.last().length += grapheme.size();
        else
            runs.append({start, grapheme.size(), font});
        start += grapheme.size();
    }
    return runs;
}

// The colour emoji font has no U+FE0F: Qt would give that one character to a fallback font and so
// cut the sequence it is part of (a keycap, a rainbow flag) into pictures of its pieces. In an
// emoji it has done its work, choosing the picture, and is left out of the text drawn.
QString withoutPresentationSelectors(const QString& text, QList<StampRun>& runs)
{
    QString drawn;
    for (StampRun& run : runs) {
        QString part = text.mid(run.start, run.length);
        if (run.font == StampRun::Font::Emoji)
            part.remove(QChar(char16_t(emojiPresentationSelector)));
        run.start = drawn.size();
        run.length = part.size();
        drawn += part;
    }
    return drawn;
}

// A layout of one line of `text`, each run in its font, the base direction that of a plain line.
void layOut(QTextLayout& layout, const StampFonts& fonts, QList<StampRun> runs,
            const QString& language, Qt::LayoutDirection direction)
{
    layout.setText(withoutPresentationSelectors(layout.text(), runs));
    QList<QTextLayout::FormatRange> formats;
    for (const StampRun& run : runs) {
        if (run.font == StampRun::Font::Face)
            continue;
        QTextCharFormat format;
        format.setFont(fonts.fontOf(run.font, language), QTextCharFormat::FontPropertiesAll);
        formats.append({int(run.start), int(run.length), format});
    }
    layout.setFormats(formats);
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    option.setAlignment(Qt::AlignLeft | Qt::AlignAbsolute);
    option.setTextDirection(direction);
    layout.setTextOption(option);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    if (line.isValid())
        line.setLineWidth(1e6);
    layout.endLayout();
}

QString codePoints(QStringView grapheme)
{
    QStringList names;
    for (const char32_t c : grapheme.toUcs4())
        names.append(QStringLiteral("U+%1").arg(uint(c), 4, 16, QLatin1Char('0')).toUpper());
    return names.join(u' ');
}

} // namespace

bool isEmojiCharacter(QStringView grapheme)
{
    const QList<uint> characters = grapheme.toUcs4();
    if (characters.contains(textPresentationSelector))
        return false;
    return std::any_of(characters.begin(), characters.end(), [](char32_t c) {
        return c == emojiPresentationSelector || inRange(c, skinTones) || isEmojiPresentation(c);
    });
}

bool isCjkCharacter(QStringView grapheme)
{
    const QList<uint> characters = grapheme.toUcs4();
    if (characters.isEmpty())
        return false;
    const char32_t c = characters.first();
    switch (QChar::script(c)) {
    case QChar::Script_Han:
    case QChar::Script_Hiragana:
    case QChar::Script_Katakana:
    case QChar::Script_Bopomofo:
    case QChar::Script_Hangul:
        return true;
    default:
        return std::any_of(cjkBlocks.begin(), cjkBlocks.end(),
                           [c](CodeRange block) { return inRange(c, block); });
    }
}

bool isKnownLanguage(const QString& language)
{
    const QLocale locale(language);
    return !language.trimmed().isEmpty() && locale.language() != QLocale::C &&
           locale.language() != QLocale::AnyLanguage;
}

QString cjkFamily(const QString& language)
{
    const QLocale locale(isKnownLanguage(language) ? language
                                                   : QString::fromLatin1(defaultTextLanguage));
    switch (locale.language()) {
    case QLocale::Chinese:
        if (locale.script() != QLocale::TraditionalHanScript)
            return QStringLiteral("Noto Sans CJK SC");
        if (locale.territory() == QLocale::HongKong || locale.territory() == QLocale::Macao)
            return QStringLiteral("Noto Sans CJK HK");
        return QStringLiteral("Noto Sans CJK TC");
    case QLocale::Korean:
        return QStringLiteral("Noto Sans CJK KR");
    case QLocale::Japanese:
        return QStringLiteral("Noto Sans CJK JP");
    default:
        return cjkFamily(QString::fromLatin1(defaultTextLanguage));
    }
}

QList<StampRun> stampRuns(const QString& text, const QFont& face)
{
    return runsOf(text, StampFonts(face));
}

void drawStampLine(QPainter& painter, QPaintDevice* device, const QFont& face,
                   const QPointF& baseline, const QString& text, const QString& language)
{
    const StampFonts fonts(face);
    const QList<StampRun> runs = runsOf(text, fonts);
    if (std::all_of(runs.begin(), runs.end(),
                    [](const StampRun& run) { return run.font == StampRun::Font::Face; })) {
        painter.setFont(face);
        painter.drawText(baseline, text);
        return;
    }
    // The baseline stays where the face alone puts it: an emoji or a Han character taller than
    // the face's letters reaches higher, it does not push the line down.
    QTextLayout layout(text, face, device);
    layOut(layout, fonts, runs, language, painter.layoutDirection());
    const QTextLine line = layout.lineAt(0);
    layout.draw(&painter, QPointF(baseline.x(), baseline.y() - line.ascent()));
}

QStringList charactersWithoutGlyph(const QFont& face, const QString& text, const QString& language)
{
    const StampFonts fonts(face);
    QStringList missing;
    for (const QStringView grapheme : graphemes(text)) {
        // Alone, so that each glyph run belongs to this character.
        const QString alone = grapheme.toString();
        QTextLayout layout(alone, face);
        layOut(layout, fonts, {{0, alone.size(), fonts.fontFor(grapheme)}}, language,
               Qt::LeftToRight);
        const QList<QGlyphRun> runs = layout.glyphRuns();
        const bool box = std::any_of(runs.begin(), runs.end(), [](const QGlyphRun& run) {
            return run.glyphIndexes().contains(0);
        });
        const QString name = codePoints(grapheme);
        if (box && !missing.contains(name))
            missing.append(name);
    }
    return missing;
}

} // namespace avatello
